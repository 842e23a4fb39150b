#pragma once

#include "NoteFileCommands.h"

#include <korvelin/NoteDocument.h>

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class InputModel;
class MessageSink;
class QAction;
class QPagedPaintDevice;
class QWidget;

// The commands of the calculation note, "Сохранить расчет в PDF…" (Ctrl+E), "Сохранить расчет в
// ODT…", "Печать…" (Ctrl+P) and "Копировать результаты" (Ctrl+Shift+C): enabled only while the
// input model holds a completed calculation, whose note they write, print or copy. The PDF and
// the printout get the frame and the title block when the document fields ask for them; the ODT,
// which goes into a word processor's own template, never does.
class CalculationNoteCommands final : public QObject, private NoteSource
{
    Q_OBJECT

public:
    // The dialogs stand over `window`.
    CalculationNoteCommands(InputModel& model, MessageSink& sink, QWidget& window);
    ~CalculationNoteCommands() override;

    // In the order the menu "Файл" shows them.
    QList<QAction*> Actions() const { return {SavePdfAction(), SaveOdtAction(), PrintAction(), Copy}; }
    QAction* SavePdfAction() const { return Files->SavePdfAction(); }
    QAction* SaveOdtAction() const { return Files->SaveOdtAction(); }
    QAction* PrintAction() const { return Files->PrintAction(); }
    QAction* CopyAction() const { return Copy; }

    bool HasResults() const;
    // The note of the calculation (only while HasResults()), framed as the document fields ask,
    // or without the frame.
    korvelin::NoteDocument Note(bool frameAsAsked = true) const override;
    // "Пролет 89x3,2.pdf": the name the save dialog suggests, with that extension.
    QString SuggestedPdfName(const QString& extension = QStringLiteral("pdf")) const;
    // Writes the note; a failure is reported with a message box. Returns whether it was written.
    bool SavePdfTo(const QString& path) { return Files->SavePdfTo(path); }
    bool SaveOdtTo(const QString& path) { return Files->SaveOdtTo(path); }
    void PrintOn(QPagedPaintDevice& device) { Files->PrintOn(device); }
    void CopyResults();

private:
    bool HasNote() const override { return HasResults(); }
    QString SuggestedName(const QString& extension) const override { return SuggestedPdfName(extension); }
    void UpdateEnabled();

    InputModel& Model;
    std::unique_ptr<NoteFileCommands> Files;
    QAction* Copy;
};

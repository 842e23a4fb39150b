#pragma once

#include <korvelin/NoteDocument.h>

#include <QList>
#include <QObject>
#include <QString>

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
class CalculationNoteCommands final : public QObject
{
    Q_OBJECT

public:
    // The dialogs stand over `window`.
    CalculationNoteCommands(InputModel& model, MessageSink& sink, QWidget& window);
    ~CalculationNoteCommands() override;

    // In the order the menu "Файл" shows them.
    QList<QAction*> Actions() const { return {SavePdf, SaveOdt, Print, Copy}; }
    QAction* SavePdfAction() const { return SavePdf; }
    QAction* SaveOdtAction() const { return SaveOdt; }
    QAction* PrintAction() const { return Print; }
    QAction* CopyAction() const { return Copy; }

    bool HasResults() const;
    // The note of the calculation (only while HasResults()), framed as the document fields ask,
    // or without the frame.
    korvelin::NoteDocument Note(bool frameAsAsked = true) const;
    // "Пролет 89x3,2.pdf": the name the save dialog suggests, with that extension.
    QString SuggestedPdfName(const QString& extension = QStringLiteral("pdf")) const;
    // Writes the note; a failure is reported with a message box. Returns whether it was written.
    bool SavePdfTo(const QString& path);
    bool SaveOdtTo(const QString& path);
    void PrintOn(QPagedPaintDevice& device);
    void CopyResults();

private:
    void UpdateEnabled();
    void AskAndSavePdf();
    void AskAndSaveOdt();
    void AskAndPrint();

    InputModel& Model;
    MessageSink& Sink;
    QWidget& Window;
    QAction* SavePdf;
    QAction* SaveOdt;
    QAction* Print;
    QAction* Copy;
};

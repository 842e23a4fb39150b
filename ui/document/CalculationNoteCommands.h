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

// The commands of the calculation note, "Сохранить расчет в PDF…" (Ctrl+E), "Печать…" (Ctrl+P)
// and "Копировать результаты" (Ctrl+Shift+C): enabled only while the input model holds a
// completed calculation, whose note they write, print or copy.
class CalculationNoteCommands final : public QObject
{
    Q_OBJECT

public:
    // The dialogs stand over `window`.
    CalculationNoteCommands(InputModel& model, MessageSink& sink, QWidget& window);
    ~CalculationNoteCommands() override;

    // In the order the menu "Файл" shows them.
    QList<QAction*> Actions() const { return {SavePdf, Print, Copy}; }
    QAction* SavePdfAction() const { return SavePdf; }
    QAction* PrintAction() const { return Print; }
    QAction* CopyAction() const { return Copy; }

    bool HasResults() const;
    // The note of the calculation (only while HasResults()).
    korvelin::NoteDocument Note() const;
    // "Пролет 89x3,2.pdf": the name the save dialog suggests.
    QString SuggestedPdfName() const;
    // Writes the note; a failure is reported with a message box. Returns whether it was written.
    bool SavePdfTo(const QString& path);
    void PrintOn(QPagedPaintDevice& device);
    void CopyResults();

private:
    void UpdateEnabled();
    void AskAndSavePdf();
    void AskAndPrint();

    InputModel& Model;
    MessageSink& Sink;
    QWidget& Window;
    QAction* SavePdf;
    QAction* Print;
    QAction* Copy;
};

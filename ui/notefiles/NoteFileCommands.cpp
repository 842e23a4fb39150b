#include "NoteFileCommands.h"

#include "MessageSink.h"
#include "NoteRenderer.h"

#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QWidget>

NoteSource::~NoteSource() = default;

NoteFileCommands::NoteFileCommands(NoteSource& source, MessageSink& sink, QWidget& window,
                                   const NoteFileTexts& texts, const QString& pdfAction,
                                   const QString& odtAction, const QString& printAction)
    : Source(source)
    , Sink(sink)
    , Window(window)
    , Texts(texts)
    , SavePdf(new QAction(pdfAction, &window))
    , SaveOdt(new QAction(odtAction, &window))
    , Print(new QAction(printAction, &window))
{
    connect(SavePdf, &QAction::triggered, this, &NoteFileCommands::AskAndSavePdf);
    connect(SaveOdt, &QAction::triggered, this, &NoteFileCommands::AskAndSaveOdt);
    connect(Print, &QAction::triggered, this, &NoteFileCommands::AskAndPrint);
    UpdateEnabled();
}

NoteFileCommands::~NoteFileCommands() = default;

void NoteFileCommands::UpdateEnabled()
{
    const bool has = Source.HasNote();
    for (QAction* action : Actions())
        action->setEnabled(has);
}

bool NoteFileCommands::SavePdfTo(const QString& path)
{
    if (!Source.HasNote())
        return false;
    const QString error = WriteNotePdf(Source.Note(true), path);
    if (!error.isEmpty()) {
        Sink.ShowError(error);
        return false;
    }
    return true;
}

bool NoteFileCommands::SaveOdtTo(const QString& path)
{
    if (!Source.HasNote())
        return false;
    const QString error = WriteNoteOdt(Source.Note(true), path);
    if (!error.isEmpty()) {
        Sink.ShowError(error);
        return false;
    }
    return true;
}

void NoteFileCommands::PrintOn(QPagedPaintDevice& device)
{
    if (Source.HasNote())
        PrintNote(Source.Note(true), device);
}

void NoteFileCommands::AskAndSavePdf()
{
    if (!Source.HasNote())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        &Window, Texts.PdfCaption, folder + QLatin1Char('/') + Source.SuggestedName(QStringLiteral("pdf")),
        QStringLiteral("Документ PDF (*.pdf)"));
    if (!path.isEmpty())
        SavePdfTo(path);
}

void NoteFileCommands::AskAndSaveOdt()
{
    if (!Source.HasNote())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        &Window, Texts.OdtCaption, folder + QLatin1Char('/') + Source.SuggestedName(QStringLiteral("odt")),
        QStringLiteral("Текст OpenDocument (*.odt)"));
    if (!path.isEmpty())
        SaveOdtTo(path);
}

void NoteFileCommands::AskAndPrint()
{
    if (!Source.HasNote())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &Window);
    dialog.setWindowTitle(Texts.PrintCaption);
    if (dialog.exec() == QDialog::Accepted)
        PrintOn(printer);
}

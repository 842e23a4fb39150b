#include "NoteFileCommands.h"

#include "MessageSink.h"
#include "NoteRenderer.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QPromise>
#include <QThreadPool>
#include <QWidget>

#include <memory>

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

// A file still being written is completed by the worker; nobody is told of it.
NoteFileCommands::~NoteFileCommands()
{
    if (IsWriting()) {
        Writing->disconnect(this);
        QGuiApplication::restoreOverrideCursor();
    }
}

void NoteFileCommands::UpdateEnabled()
{
    const bool has = Source.HasNote() && !IsWriting();
    for (QAction* action : Actions())
        action->setEnabled(has);
}

bool NoteFileCommands::StartSavingPdf(const QString& path) { return StartSaving(FileKind::Pdf, path); }

bool NoteFileCommands::StartSavingOdt(const QString& path) { return StartSaving(FileKind::Odt, path); }

bool NoteFileCommands::StartSaving(FileKind kind, const QString& path)
{
    if (!Source.HasNote() || IsWriting())
        return false;
    // The note is taken here, from the window's data; the worker has its own copy.
    korvelin::NoteDocument note = Source.Note(true);
    Writing = std::make_unique<QFutureWatcher<QString>>();
    connect(Writing.get(), &QFutureWatcherBase::finished, this, &NoteFileCommands::FinishSaving);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    UpdateEnabled();
    // On a thread of Qt's pool (Qt Core's own: the Windows edition's Qt has no QtConcurrent).
    auto promise = std::make_shared<QPromise<QString>>();
    Writing->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, kind, path, note = std::move(note)] {
        promise->addResult(kind == FileKind::Pdf ? WriteNotePdf(note, path) : WriteNoteOdt(note, path));
        promise->finish();
    });
    return true;
}

bool NoteFileCommands::FinishSaving()
{
    if (!IsWriting())
        return false;
    const QString error = Writing->result();
    Writing.reset();
    QGuiApplication::restoreOverrideCursor();
    UpdateEnabled();
    if (!error.isEmpty())
        Sink.ShowError(error);
    emit Written(error.isEmpty());
    return error.isEmpty();
}

bool NoteFileCommands::SaveAndWait(FileKind kind, const QString& path)
{
    if (!StartSaving(kind, path))
        return false;
    Writing->waitForFinished();
    return FinishSaving();
}

bool NoteFileCommands::SavePdfTo(const QString& path) { return SaveAndWait(FileKind::Pdf, path); }

bool NoteFileCommands::SaveOdtTo(const QString& path) { return SaveAndWait(FileKind::Odt, path); }

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
        StartSavingPdf(path);
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
        StartSavingOdt(path);
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

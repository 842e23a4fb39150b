#pragma once

#include <korvelin/NoteDocument.h>

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class MessageSink;
class QAction;
class QPagedPaintDevice;
class QWidget;

// The document the commands write: the note while there is one, and what its dialogs say.
class NoteSource
{
public:
    virtual ~NoteSource();
    virtual bool HasNote() const = 0;
    // The note (only while HasNote()), framed as the document fields ask, or without the frame.
    virtual korvelin::NoteDocument Note(bool frameAsAsked) const = 0;
    // The file name the save dialogs suggest, with that extension: "Пролет 89x3,2.pdf".
    virtual QString SuggestedName(const QString& extension) const = 0;
};

// The words of one set of commands: the captions of the save dialogs and of the print dialog.
struct NoteFileTexts {
    QString PdfCaption;    // "Сохранить расчет в PDF"
    QString OdtCaption;    // "Сохранить расчет в ODT"
    QString PrintCaption;  // "Печать расчета"
};

// The commands that write a note, "… в PDF…", "… в ODT…" and "Печать…", enabled while the source
// has a note (the owner calls UpdateEnabled when that may have changed). The PDF, the ODT and the
// printout get the frame and the title block when the document fields ask for them. A failure is
// reported to the sink.
//
// A PDF or an ODT is written on a worker thread: the window keeps answering, with the busy cursor
// over the application and the three commands disabled until the file is complete.
class NoteFileCommands final : public QObject
{
    Q_OBJECT

public:
    // The actions get the given texts; the dialogs stand over `window`.
    NoteFileCommands(NoteSource& source, MessageSink& sink, QWidget& window, const NoteFileTexts& texts,
                     const QString& pdfAction, const QString& odtAction, const QString& printAction);
    ~NoteFileCommands() override;

    QList<QAction*> Actions() const { return {SavePdf, SaveOdt, Print}; }
    QAction* SavePdfAction() const { return SavePdf; }
    QAction* SaveOdtAction() const { return SaveOdt; }
    QAction* PrintAction() const { return Print; }

    void UpdateEnabled();
    // Starts writing the note, as the commands do; false when there is no note or a file is
    // being written already. Written() tells how it ended, after the sink has the failure.
    bool StartSavingPdf(const QString& path);
    bool StartSavingOdt(const QString& path);
    bool IsWriting() const { return Writing != nullptr; }
    // Writes the note and waits for the file; returns whether it was written.
    bool SavePdfTo(const QString& path);
    bool SaveOdtTo(const QString& path);
    void PrintOn(QPagedPaintDevice& device);

signals:
    void Written(bool written);

private:
    enum class FileKind { Pdf, Odt };
    bool StartSaving(FileKind kind, const QString& path);
    bool SaveAndWait(FileKind kind, const QString& path);
    bool FinishSaving();  // whether the file was written
    void AskAndSavePdf();
    void AskAndSaveOdt();
    void AskAndPrint();

    NoteSource& Source;
    MessageSink& Sink;
    QWidget& Window;
    NoteFileTexts Texts;
    QAction* SavePdf;
    QAction* SaveOdt;
    QAction* Print;
    // The file being written: its message (empty on success) comes from the worker.
    std::unique_ptr<QFutureWatcher<QString>> Writing;
};

#include "NoteFiles.h"

#include "DocumentFieldCheck.h"
#include "NoteRenderer.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>

#include <algorithm>

namespace korvelin::cli {
namespace {

// Names are UTF-8 on Windows (the arguments are read as such), the file system's bytes elsewhere.
QString FileName(const std::string& path)
{
#ifdef Q_OS_WIN
    return QString::fromStdString(path);
#else
    return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

}  // namespace

// Fonts and the PDF writer need a GUI application. On Linux the offscreen platform needs no
// display; on Windows, whose window system is always there, the system's own platform finds the
// installed fonts (the offscreen one knows none there), with FreeType as in the window.
struct OffscreenNoteWriter::Application {
    Application()
        : Previous(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}))
    {
    }
    ~Application() { qInstallMessageHandler(Previous); }

    // Qt's notes about the session (no runtime folder, no display) are not the user's concern:
    // a failure comes back as the message.
    QtMessageHandler Previous;
    int Argc = 1;
    char Name[16] = "korvelin-calc";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<QGuiApplication> Gui;
};

OffscreenNoteWriter::OffscreenNoteWriter() = default;
OffscreenNoteWriter::~OffscreenNoteWriter() = default;

void OffscreenNoteWriter::Start()
{
    if (Qt)
        return;
#ifdef Q_OS_WIN
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:fontengine=freetype"));
#else
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#endif
    Qt = std::make_unique<Application>();
    Qt->Gui = std::make_unique<QGuiApplication>(Qt->Argc, Qt->Argv);
}

std::string OffscreenNoteWriter::FieldsProblem(const DocumentFields& fields)
{
    const auto given = [&fields](const DocumentFieldKey& key) { return !(fields.*key.Field).empty(); };
    if (std::none_of(kDocumentFieldKeys.begin(), kDocumentFieldKeys.end(), given))
        return {};
    Start();
    return CheckDocumentFields(fields).toStdString();
}

std::string OffscreenNoteWriter::WritePdf(const NoteDocument& note, const std::string& path)
{
    Start();
    return WriteNotePdf(note, FileName(path)).toStdString();
}

std::string OffscreenNoteWriter::WriteOdt(const NoteDocument& note, const std::string& path)
{
    Start();
    return WriteNoteOdt(note, FileName(path)).toStdString();
}

std::string OffscreenNoteWriter::WriteFile(const std::string& bytes, const std::string& path)
{
    return WriteFileAtomically(FileName(path), QByteArray::fromStdString(bytes)).toStdString();
}

}  // namespace korvelin::cli

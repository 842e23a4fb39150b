#include "PdfNote.h"

#include "NoteRenderer.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>

namespace korvelin::cli {

std::string WritePdfNoteOffscreen(const NoteDocument& note, const std::string& path)
{
    // Fonts and the PDF writer need a GUI application. On Linux the offscreen platform needs no
    // display; on Windows, whose window system is always there, the system's own platform finds
    // the installed fonts (the offscreen one knows none there), with FreeType as in the window.
#ifdef Q_OS_WIN
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:fontengine=freetype"));
#else
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#endif
    int argc = 1;
    char name[] = "korvelin-calc";
    char* argv[] = {name, nullptr};
    // Qt's notes about the session (no runtime folder, no display) are not the user's concern:
    // a failure comes back as the message.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const QGuiApplication application(argc, argv);
    // Names are UTF-8 on Windows (the arguments are read as such), the file system's bytes elsewhere.
#ifdef Q_OS_WIN
    const QString fileName = QString::fromStdString(path);
#else
    const QString fileName = QFile::decodeName(QByteArray::fromStdString(path));
#endif
    const std::string failure = WriteNotePdf(note, fileName).toStdString();
    qInstallMessageHandler(previous);
    return failure;
}

}  // namespace korvelin::cli

#include "PdfNote.h"

#include "NoteRenderer.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>

namespace korvelin::cli {

std::string WritePdfNoteOffscreen(const NoteDocument& note, const std::string& path)
{
    // Fonts and the PDF writer need a GUI application; the offscreen platform needs no display.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    int argc = 1;
    char name[] = "korvelin-calc";
    char* argv[] = {name, nullptr};
    // Qt's notes about the session (no runtime folder, no display) are not the user's concern:
    // a failure comes back as the message.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const QGuiApplication application(argc, argv);
    const std::string failure =
        WriteNotePdf(note, QFile::decodeName(QByteArray::fromStdString(path))).toStdString();
    qInstallMessageHandler(previous);
    return failure;
}

}  // namespace korvelin::cli

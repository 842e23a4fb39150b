// Start-up: the application title, the three windows in their order, the event loop.

#include "AppWindows.h"
#include "MessageSink.h"
#include "Unit1.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The caption of every message box and the program's name on the desktop. The display name
    // is left unset, so that the windows keep their own captions.
    QApplication::setApplicationName(QStringLiteral("Korvelin"));

    DialogMessageSink sink;
    AppWindows windows = CreateAppWindows(sink, QLocale::system().decimalPoint());
    windows.FormProlet->show();
    return QApplication::exec();
}

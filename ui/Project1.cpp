// Start-up: the application title, the three windows in their order, the event loop.

#include "AppWindows.h"
#include "MessageSink.h"
#include "Startup.h"
#include "Unit1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SetApplicationTitle();
    DialogMessageSink sink;
    AppWindows windows = CreateAppWindows(sink, UserDecimalSeparator());
    windows.FormProlet->show();
    return QApplication::exec();
}

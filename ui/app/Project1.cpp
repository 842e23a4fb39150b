// Start-up: the application title, Qt's own texts in the user's language, the program's windows in
// their order, the file named on the command line, the event loop.

#include "AppWindows.h"
#include "InputSetDocument.h"
#include "MessageSink.h"
#include "Startup.h"
#include "Unit1.h"

#include <QApplication>
#include <QLocale>
#include <QSettings>

int main(int argc, char* argv[])
{
    ChoosePlatformOptions();
    QApplication application(argc, argv);
    SetApplicationTitle();
    InstallQtTranslations(application, QLocale::system());
    DialogMessageSink sink;
    // The program's one settings object: the recent files, the span table's rows and place.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvelin"),
                       QStringLiteral("korvelin"));
    AppWindows windows = CreateAppWindows(sink, UserDecimalSeparator(), settings);
    windows.FormProlet->show();
    // After the window is shown, so that a message about the file stands over it.
    OpenCommandLineFile(*windows.Document, QApplication::arguments());
    return QApplication::exec();
}

// Start-up: the application title, the three windows in their order, the file named on the
// command line, the event loop.

#include "AppWindows.h"
#include "InputSetDocument.h"
#include "MessageSink.h"
#include "SpanTableWindow.h"
#include "Startup.h"
#include "SummaryPage.h"
#include "Unit1.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char* argv[])
{
    ChoosePlatformOptions();
    QApplication application(argc, argv);
    SetApplicationTitle();
    DialogMessageSink sink;
    AppWindows windows = CreateAppWindows(sink, UserDecimalSeparator());
    // The recent files are kept in the user's settings of the program.
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvelin"),
                       QStringLiteral("korvelin"));
    SystemDocumentDialogs dialogs(windows.FormProlet.get());
    InputSetDocument document(*windows.FormProlet, sink, dialogs, settings);
    windows.FormProlet->SummaryPage().AttachDocument(document);
    windows.SpanTable->AttachDocument(document);
    windows.FormProlet->show();
    // After the window is shown, so that a message about the file stands over it.
    OpenCommandLineFile(document, QApplication::arguments());
    return QApplication::exec();
}

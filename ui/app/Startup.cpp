#include "Startup.h"

#include "InputSetDocument.h"

#include <QGuiApplication>
#include <QLocale>

void ChoosePlatformOptions()
{
#ifdef Q_OS_WIN
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#endif
}

void SetApplicationTitle()
{
    // The display name falls back to the application name; leaving it unset keeps the captions
    // of the windows free of a suffix.
    QGuiApplication::setApplicationName(QStringLiteral("Korvelin"));
}

QString UserDecimalSeparator()
{
    return QLocale::system().decimalPoint();
}

void OpenCommandLineFile(InputSetDocument& document, const QStringList& arguments)
{
    if (arguments.size() > 1 && !arguments[1].isEmpty())
        document.OpenFile(arguments[1]);
}

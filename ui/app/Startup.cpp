#include "Startup.h"

#include "InputSetDocument.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

bool InstallQtTranslations(QCoreApplication& application, const QLocale& locale)
{
    auto* translator = new QTranslator(&application);
    for (const QString& folder : {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
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

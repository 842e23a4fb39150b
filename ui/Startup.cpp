#include "Startup.h"

#include <QGuiApplication>
#include <QLocale>

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

#include "CalculationStamp.h"

#include <korvelin/Version.h>

std::string DocumentMoment(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("dd.MM.yyyy HH:mm")).toStdString();
}

std::string ProgramNameAndVersion()
{
    return "Korvelin " KORVELIN_VERSION;
}

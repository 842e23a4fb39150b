#pragma once

#include <QString>
#include <QStringList>

// The folder of the running executable, without a trailing separator.
QString ProgramFolder();

// The places where map n (1 snow, 2 wind, 3 ice) may be, in the order they are looked in:
// "Карты/n.jpg" in the program's folder, then in "../share/korvelin/Карты" relative to it,
// where an installed program keeps its data. Empty for any other n.
QStringList MapFileCandidates(const QString& programFolder, int n);

// The first candidate that exists; when none exists, the first one, so that the error
// of opening it names the first place looked in. Empty for any n other than 1, 2 and 3.
QString MapFilePath(const QString& programFolder, int n);

#pragma once

#include <QString>
#include <QStringList>

// The folder of the running executable, without a trailing separator.
QString ProgramFolder();

// The user's own folder of maps, "Карты" in the program's data folder of the user
// (~/.local/share/Korvelin/Карты): maps put there take the place of the program's own without
// administrator rights. Empty when the user has no home folder.
QString UserMapFolder();

// Map n (1 snow, 2 wind, 3 ice) in the user's own folder; empty for any other n.
QString UserMapFile(int n);

// The places where map n may be, in the order they are looked in: the user's own folder, then
// "Карты/n.jpg" in the program's folder, then in "../share/korvelin/Карты" relative to it,
// where an installed program keeps its data. Empty for any other n.
QStringList MapFileCandidates(const QString& programFolder, int n);

// What the viewer says when map n is in none of its places: the map, every place looked in, and
// how to put the maps there or show a picture of one's own with «Заменить карту…».
QString MissingMapMessage(const QString& programFolder, int n);

// The first candidate that exists; when none exists, the place beside the program, so that the
// error of opening it names where the program keeps its maps. Empty for any n other than 1, 2
// and 3.
QString MapFilePath(const QString& programFolder, int n);

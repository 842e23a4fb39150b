#pragma once

#include <QDateTime>

#include <string>

// How the documents the program writes name their moment and their maker:
// "08.12.2026 14:05" and "Korvelin 1.0".
std::string DocumentMoment(const QDateTime& moment);
std::string ProgramNameAndVersion();

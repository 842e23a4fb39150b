#include "MapFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

namespace {

QString MapFileName(int n)
{
    return QStringLiteral("%1.jpg").arg(n);
}

} // namespace

QString UserMapFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        return {}; // no home folder: the user has no folder of maps
    return QDir::toNativeSeparators(data + QStringLiteral("/Карты"));
}

QString UserMapFile(int n)
{
    if (n < 1 || n > 3 || UserMapFolder().isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir(UserMapFolder()).filePath(MapFileName(n)));
}

QStringList MapFileCandidates(const QString& programFolder, int n)
{
    if (n < 1 || n > 3)
        return {};
    const QString relative = QStringLiteral("Карты/") + MapFileName(n);
    const QDir folder(programFolder);
    QStringList candidates{
        QDir::toNativeSeparators(folder.filePath(relative)),
        QDir::toNativeSeparators(QDir::cleanPath(folder.filePath(QStringLiteral("../share/korvelin/") + relative))),
    };
    const QString own = UserMapFile(n);
    if (!own.isEmpty())
        candidates.prepend(own);
    return candidates;
}

QString MapFilePath(const QString& programFolder, int n)
{
    const QStringList candidates = MapFileCandidates(programFolder, n);
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    // The error of opening names the program's own place: the user's folder is optional.
    return candidates.isEmpty() ? QString() : candidates.value(candidates.size() - 2);
}

#include "MapFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QStringList MapFileCandidates(const QString& programFolder, int n)
{
    if (n < 1 || n > 3)
        return {};
    const QString relative = QStringLiteral("Карты/%1.jpg").arg(n);
    const QDir folder(programFolder);
    return {
        QDir::toNativeSeparators(folder.filePath(relative)),
        QDir::toNativeSeparators(QDir::cleanPath(folder.filePath(QStringLiteral("../share/korvelin/") + relative))),
    };
}

QString MapFilePath(const QString& programFolder, int n)
{
    const QStringList candidates = MapFileCandidates(programFolder, n);
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return candidates.value(0);
}

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

QString MissingMapMessage(const QString& programFolder, int n)
{
    static const char* const Names[] = {"снеговых", "ветровых", "гололедных"};
    if (n < 1 || n > 3)
        return {};
    QString text = QStringLiteral("Карта %1 районов не найдена. Программа искала файл %2 здесь:")
                       .arg(QString::fromUtf8(Names[n - 1]), MapFileName(n));
    for (const QString& candidate : MapFileCandidates(programFolder, n))
        text += QStringLiteral("\n• ") + candidate;
    text += QStringLiteral("\nПоложите карты 1.jpg (снег), 2.jpg (ветер) и 3.jpg (гололед) в папку «%1»")
                .arg(QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("Карты"))));
    if (!UserMapFolder().isEmpty())
        text += QStringLiteral(" или в свою папку карт «%1»").arg(UserMapFolder());
    text += QStringLiteral(", либо покажите свой рисунок: щелкните по окну карты правой кнопкой мыши и выберите "
                           "«Заменить карту…».");
    return text;
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

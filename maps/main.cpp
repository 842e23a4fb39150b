// Writes the three pictures that stand in for the region maps: korvelin-mapgen <folder>.

#include "JpegWriter.h"
#include "RegionMap.h"
#include "RegionTables.h"

#include <QDir>
#include <QSaveFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv); // QPainter needs it to draw text
    QTextStream err(stderr);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: korvelin-mapgen <output folder>\n";
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << folder.path() << '\n';
        return 1;
    }
    for (const RegionTable& table : RegionTables()) {
        const QByteArray jpeg = EncodeJpeg(DrawRegionMap(table));
        QSaveFile file(folder.filePath(table.FileName));
        if (jpeg.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit()) {
            err << "cannot write " << file.fileName() << ": " << file.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}

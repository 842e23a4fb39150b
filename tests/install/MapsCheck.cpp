// Checks that a program in the given folder finds and reads the three maps where an installed
// program keeps them; exits non-zero with the reason otherwise.
#include "ErrorReport.h"
#include "JpegLoader.h"
#include "MapFiles.h"

#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: maps-check PROGRAM_FOLDER EXPECTED_MAP_FOLDER\n";
        return 2;
    }
    const QString programFolder = QString::fromLocal8Bit(argv[1]);
    const QString expectedFolder = QDir(QString::fromLocal8Bit(argv[2])).canonicalPath();
    for (int n = 1; n <= 3; ++n) {
        const QString path = MapFilePath(programFolder, n);
        if (QFileInfo(path).canonicalPath() != expectedFolder) {
            err << "map " << n << " is looked for at " << path << ", not in " << expectedFolder << '\n';
            return 1;
        }
        try {
            const QImage image = LoadJpegFile(path);
            if (image.width() < 100 || image.height() < 100) {
                err << "map " << n << " is only " << image.width() << "x" << image.height() << '\n';
                return 1;
            }
        } catch (const CommandError& error) {
            err << error.message() << '\n';
            return 1;
        }
    }
    return 0;
}

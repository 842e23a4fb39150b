#include "OdtZip.h"

// Qt's own ZIP writer, the one its ODF writer uses; a private header of QtGui, kept to this file.
#include <QtGui/private/qzipwriter_p.h>

#include <QBuffer>

namespace odt {

QByteArray ZipPackage(const std::vector<PackageEntry>& entries)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QZipWriter zip(&buffer);
    for (const PackageEntry& entry : entries) {
        zip.setCompressionPolicy(entry.Compressed ? QZipWriter::AlwaysCompress : QZipWriter::NeverCompress);
        zip.addFile(entry.Path, entry.Bytes);
    }
    zip.close();
    if (zip.status() != QZipWriter::NoError)
        return {};
    return bytes;
}

} // namespace odt

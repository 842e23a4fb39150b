#pragma once

// The ZIP container of an OpenDocument package.

#include <QByteArray>
#include <QString>

#include <vector>

namespace odt {

struct PackageEntry {
    QString Path;
    QByteArray Bytes;
    bool Compressed = true;  // the mimetype and the pictures are stored as they are
};

// The entries zipped in their order (the mimetype first, so that a reader knows the package by
// its first bytes); empty if the archive could not be written.
QByteArray ZipPackage(const std::vector<PackageEntry>& entries);

} // namespace odt

#pragma once

// The parts of the ODT that describe the package: meta.xml (the generator, the title, the
// language) and the manifest that lists every part.

#include <korvelin/NoteDocument.h>

#include <QByteArray>
#include <QString>

#include <vector>

namespace odt {

QByteArray MetaXml(const korvelin::NoteDocument& note);
// The manifest of content.xml, styles.xml, meta.xml and the pictures at those paths.
QByteArray ManifestXml(const std::vector<QString>& pictures);

} // namespace odt

#include "OdtManifest.h"

#include "OdtXml.h"

namespace odt {

QByteArray MetaXml(const korvelin::NoteDocument& note)
{
    Fragment meta;
    QXmlStreamWriter& xml = meta.Xml;
    Start(xml, "office:meta");
    Start(xml, "meta:generator");
    xml.writeCharacters(QStringLiteral("Korvelin"));
    End(xml);
    Start(xml, "dc:title");
    xml.writeCharacters(Text(note.Title));
    End(xml);
    Start(xml, "dc:language");
    xml.writeCharacters(QStringLiteral("ru-RU"));
    End(xml);
    End(xml);
    return PartStart("office:document-meta") + meta.Done() + PartEnd("office:document-meta");
}

QByteArray ManifestXml(const std::vector<QString>& pictures)
{
    Fragment manifest;
    QXmlStreamWriter& xml = manifest.Xml;
    const auto entry = [&xml](const QString& path, const QString& type) {
        Empty(xml, "manifest:file-entry", {{"manifest:full-path", path}, {"manifest:media-type", type}});
    };
    Empty(xml, "manifest:file-entry",
          {{"manifest:full-path", QStringLiteral("/")}, {"manifest:version", QStringLiteral("1.3")},
           {"manifest:media-type", QStringLiteral("application/vnd.oasis.opendocument.text")}});
    for (const char* part : {"content.xml", "styles.xml", "meta.xml"})
        entry(QLatin1StringView(part), QStringLiteral("text/xml"));
    for (const QString& picture : pictures)
        entry(picture, QStringLiteral("image/png"));
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
                             "manifest:version=\"1.3\">")
           + manifest.Done() + QByteArrayLiteral("</manifest:manifest>\n");
}

} // namespace odt

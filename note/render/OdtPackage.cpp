#include "OdtPackage.h"

#include "OdtContent.h"
#include "OdtManifest.h"
#include "OdtSheet.h"
#include "OdtStyles.h"
#include "OdtZip.h"

// The package follows OpenDocument 1.3: content.xml holds the text, styles.xml the styles and the
// sheet (OdtStyles.h), meta.xml and the manifest describe the package, the pictures of the
// drawings stand beside them.

QByteArray NoteOdtPackage(const korvelin::NoteDocument& note)
{
    const odt::Sheet sheet(note);
    odt::Content content(sheet);
    const QByteArray contentXml = content.Xml();
    odt::Styles styles(sheet);
    std::vector<odt::PackageEntry> entries = {
        {QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.text"), false},
        {QStringLiteral("content.xml"), contentXml, true},
        {QStringLiteral("styles.xml"), styles.Xml(), true},
        {QStringLiteral("meta.xml"), odt::MetaXml(note), true},
    };
    std::vector<QString> pictures;
    for (const auto& [path, png] : content.Pictures()) {
        entries.push_back({path, png, false});
        pictures.push_back(path);
    }
    entries.push_back({QStringLiteral("META-INF/manifest.xml"), odt::ManifestXml(pictures), true});
    return odt::ZipPackage(entries);
}

#include "OdtXml.h"

#include <korvelin/NoteDocument.h>

#include <vector>

namespace odt {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }
QString Mm(qreal mm) { return QString::number(mm, 'f', 2) + QStringLiteral("mm"); }
QString Pt(qreal points) { return QString::number(points, 'f', 2) + QStringLiteral("pt"); }

void Start(QXmlStreamWriter& xml, const char* name, Attributes attributes)
{
    xml.writeStartElement(QLatin1StringView(name));
    for (const auto& [key, value] : attributes)
        xml.writeAttribute(QLatin1StringView(key), value);
}

void Empty(QXmlStreamWriter& xml, const char* name, Attributes attributes)
{
    xml.writeEmptyElement(QLatin1StringView(name));
    for (const auto& [key, value] : attributes)
        xml.writeAttribute(QLatin1StringView(key), value);
}

void End(QXmlStreamWriter& xml) { xml.writeEndElement(); }

const QByteArray& Fragment::Done()
{
    Xml.writeCharacters(QString());
    return Bytes;
}

QByteArray PartStart(const char* root)
{
    static constexpr std::pair<const char*, const char*> Namespaces[] = {
        {"office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0"},
        {"style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0"},
        {"text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0"},
        {"table", "urn:oasis:names:tc:opendocument:xmlns:table:1.0"},
        {"draw", "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"},
        {"fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"},
        {"xlink", "http://www.w3.org/1999/xlink"},
        {"dc", "http://purl.org/dc/elements/1.1/"},
        {"meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"},
        {"svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"},
    };
    QByteArray start = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<") + root;
    for (const auto& [prefix, uri] : Namespaces)
        start += QByteArray(" xmlns:") + prefix + "=\"" + uri + '"';
    return start + " office:version=\"1.3\">";
}

QByteArray PartEnd(const char* root) { return QByteArray("</") + root + ">\n"; }

void TextWriter::Write(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Format)
            continue;
        if (c == QLatin1Char(' ')) {
            ++Spaces;
            continue;
        }
        FlushSpaces();
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            Flush();
            Empty(Xml, c == QLatin1Char('\t') ? "text:tab" : "text:line-break");
            AtStart = c == QLatin1Char('\n');
            continue;
        }
        Pending += c;
        AtStart = false;
    }
}

void TextWriter::Finish()
{
    FlushSpaces();
    Flush();
}

void TextWriter::Flush()
{
    if (!Pending.isEmpty())
        Xml.writeCharacters(Pending);
    Pending.clear();
}

// The first space of a run is a character; the others, and one at the start of a line, are an
// element that counts them.
void TextWriter::FlushSpaces()
{
    if (Spaces == 0)
        return;
    int counted = Spaces;
    if (!AtStart) {
        Pending += QLatin1Char(' ');
        --counted;
    }
    if (counted > 0) {
        Flush();
        Empty(Xml, "text:s", {{"text:c", QString::number(counted)}});
    }
    Spaces = 0;
    AtStart = false;
}

void WriteRuns(QXmlStreamWriter& xml, const std::string& text, bool formula, bool bold)
{
    TextWriter writer(xml);
    const std::vector<korvelin::FormulaRun> runs =
        formula ? korvelin::FormulaRuns(text) : std::vector<korvelin::FormulaRun>{{text, 0}};
    for (const korvelin::FormulaRun& run : runs) {
        const char* style = run.Shift < 0 ? "Korvelin_Sub" : run.Shift > 0 ? "Korvelin_Sup" : bold ? "Korvelin_Strong" : nullptr;
        if (style == nullptr) {
            writer.Write(Text(run.Text));
            continue;
        }
        writer.Finish();
        Start(xml, "text:span", {{"text:style-name", QLatin1StringView(style)}});
        TextWriter inner(xml);
        inner.Write(Text(run.Text));
        inner.Finish();
        End(xml);
    }
    writer.Finish();
}

} // namespace odt

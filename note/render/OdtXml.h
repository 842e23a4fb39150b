#pragma once

// The pieces every part of the OpenDocument package is written with: elements with their
// attributes, fragments of XML written in memory, the start and end of a part with the
// namespaces of OpenDocument, and texts as OpenDocument keeps them.

#include <QByteArray>
#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace odt {

QString Text(std::string_view utf8);
// A length in millimetres or points as OpenDocument writes it: "12.50mm", "9.50pt".
QString Mm(qreal mm);
QString Pt(qreal points);

using Attributes = std::initializer_list<std::pair<const char*, QString>>;

// An element opened with its attributes (closed by End), or an empty one.
void Start(QXmlStreamWriter& xml, const char* name, Attributes attributes = {});
void Empty(QXmlStreamWriter& xml, const char* name, Attributes attributes = {});
void End(QXmlStreamWriter& xml);

// A piece of XML written in memory, to be put into a part of the package.
struct Fragment {
    Fragment() : Xml(&Bytes) {}
    // The bytes written, the last element closed.
    const QByteArray& Done();
    QByteArray Bytes;
    QXmlStreamWriter Xml;
};

// The start of a part: the declaration, the root with the namespaces of OpenDocument; its end.
QByteArray PartStart(const char* root);
QByteArray PartEnd(const char* root);

// Writes a text as OpenDocument keeps it: runs of spaces, tabs and line ends as their elements;
// characters that show nothing (format characters: joiners, soft hyphens, marks of direction)
// left out.
class TextWriter
{
public:
    explicit TextWriter(QXmlStreamWriter& xml) : Xml(xml) {}

    void Write(const QString& text);
    // The spaces at the end of a paragraph are kept too.
    void Finish();

private:
    void Flush();
    void FlushSpaces();

    QXmlStreamWriter& Xml;
    QString Pending;
    int Spaces = 0;
    bool AtStart = true;
};

// A text with the formula marks as runs set lower or higher; a bold text as a bold run.
void WriteRuns(QXmlStreamWriter& xml, const std::string& text, bool formula, bool bold);

} // namespace odt

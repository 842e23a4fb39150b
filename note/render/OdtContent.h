#pragma once

// content.xml of the ODT: the text of the note (the title, the headings, the paragraphs with
// their formula marks, the tables, the drawings as pictures) and its automatic styles.

#include "OdtSheet.h"
#include "OdtXml.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <map>
#include <utility>
#include <vector>

namespace odt {

class Content
{
public:
    explicit Content(const Sheet& sheet);

    // The part, written once; then the pictures it refers to, by their paths in the package.
    QByteArray Xml();
    const std::vector<std::pair<QString, QByteArray>>& Pictures() const { return PictureFiles; }

    // The height a table takes with the word processor's fonts, estimated in millimetres: its
    // rows' texts wrapped in their columns, with the cells' padding and lines.
    qreal EstimatedHeightMm(const korvelin::NoteTable& table, std::size_t columns) const;
    // Whether the table fits the text of one sheet, with room to spare for the estimate.
    bool FitsOneSheet(const korvelin::NoteTable& table, std::size_t columns) const;

private:
    QString ParagraphStyle(const char* parent, bool keepWithNext, bool firstPage = false);
    void Paragraph(const QString& style, const std::string& text, bool formula = false);
    void WriteBody();
    void Table(const korvelin::NoteTable& table, int index);
    void Drawing(const korvelin::NoteDrawing& drawing, int index);
    void SharedTableStyles();
    std::vector<qreal> ColumnWidthsMm(const korvelin::NoteTable& table, std::size_t columns) const;

    const odt::Sheet& Page;
    Fragment Body;
    Fragment ContentStyles;  // the automatic styles of content.xml
    std::map<QString, QString> ContentStyleNames;
    std::vector<std::pair<QString, QByteArray>> PictureFiles;
    QImage Measure{1, 1, QImage::Format_RGB32};  // 72 dots per inch: its pixels are points
};

} // namespace odt

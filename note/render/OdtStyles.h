#pragma once

// styles.xml of the ODT: the styles of the text, the page layouts of the first and the following
// sheets, and their master pages that carry the sheet: the frame and the graphs of the binding
// margin as shapes anchored in the header and placed on the page, the form as a table of fixed
// rows in the foot (where the word processor fills in its page fields), so that every sheet gets
// them whatever the text does. A text frame placed on the page would do for the form too, but
// LibreOffice neither shows a table inside one nor fills the page fields in it.

#include "OdtSheet.h"
#include "OdtXml.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <map>

namespace odt {

class Styles
{
public:
    explicit Styles(const Sheet& sheet);

    // The part, written once.
    QByteArray Xml();

private:
    static void ParagraphStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName,
                                 Attributes paragraph, Attributes text, const char* parent = "Standard");
    static void TextStyleOf(QXmlStreamWriter& xml, const char* name, const char* displayName, Attributes text);
    void CommonStyles(QXmlStreamWriter& xml) const;
    void PageLayout(QXmlStreamWriter& xml, const QString& name, qreal formHeightMm) const;
    static void ShapeStyles(QXmlStreamWriter& xml);
    static void FormCellStyles(QXmlStreamWriter& xml);
    QString FormParagraphStyle(qreal points, Qt::Alignment alignment);
    qreal FittedPoints(const FormCell& cell, const FormGrid& grid) const;
    void WriteFormText(QXmlStreamWriter& xml, const FormCell& cell, const FormGrid& grid);
    void WriteForm(QXmlStreamWriter& xml, const FormGrid& grid);
    void WriteMarginGraphs(QXmlStreamWriter& xml, const QString& suffix);

    const odt::Sheet& Page;
    Fragment FormStyles;  // the automatic styles of the forms
    std::map<QString, QString> FormStyleNames;
    int ZIndex = 0;
    int Forms = 0;
    QImage Measure{1, 1, QImage::Format_RGB32};  // 72 dots per inch: its pixels are points
};

} // namespace odt

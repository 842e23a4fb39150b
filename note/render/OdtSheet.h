#pragma once

// What every part of the ODT knows of the sheet: the note, whether its sheets are framed, the
// paper and the frame in millimetres, the width of the text, and the fonts' declaration.

#include "SheetForms.h"

#include <korvelin/NoteDocument.h>

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace odt {

struct Sheet {
    explicit Sheet(const korvelin::NoteDocument& note)
        : Note(note)
        , Framed(note.TitleBlock.has_value())
        , PaperMm(note.Orientation == korvelin::PageOrientation::Landscape ? QSizeF(297, 210) : QSizeF(210, 297))
        , Frame(FrameRectMm(PaperMm))
        // The text between the frame's sides less the padding, or between the margins.
        , TextWidthMm(Framed ? Frame.width() - 2 * FramePaddingMm : PaperMm.width() - 2 * UnframedMarginMm)
    {
    }

    // The master page of the first sheet: the one with the large form when framed.
    QString FirstMasterName() const { return Framed ? QStringLiteral("Korvelin_First") : QStringLiteral("Standard"); }

    const korvelin::NoteDocument& Note;
    const bool Framed;
    const QSizeF PaperMm;
    const QRectF Frame;
    const qreal TextWidthMm;
};

// The declaration of the one font family, in content.xml and styles.xml alike.
inline QByteArray FontFaceDeclarations()
{
    return QByteArrayLiteral("<style:font-face style:name=\"") + NoteFontFamily
           + QByteArrayLiteral("\" svg:font-family=\"'") + NoteFontFamily
           + QByteArrayLiteral("'\" style:font-family-generic=\"swiss\" style:font-pitch=\"variable\"/>");
}

} // namespace odt

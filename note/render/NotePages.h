#pragma once

// The sheets of a note: the body of every sheet in its place on the paper, the text cut into
// sheets so that no heading, step or table that fits one sheet is split, and each sheet painted
// with its frame and title block or with its number at the foot.

#include "NoteLayout.h"

#include <QRectF>
#include <QSizeF>

#include <functional>

class QPagedPaintDevice;

// In device pixels, on the paper (its top left corner at 0, 0).
struct SheetGeometry {
    qreal DotsPerMm = 1;
    QSizeF Paper;
    QRectF FirstBody;  // the body of the first sheet: over the large title block when framed
    QRectF NextBody;   // of the following sheets: as wide and high, or higher
};

SheetGeometry GeometryOf(const korvelin::NoteDocument& note, qreal dotsPerMm);

// Lays the note out in sheets of that geometry (measuring its fonts on `device`), then paints
// every sheet on the device. Returns the number of sheets.
int PaintNoteSheets(const korvelin::NoteDocument& note, QPagedPaintDevice& device);

// The sheets the note takes on a device of that resolution: the page breaks are set in the
// document, whose page height is then that of the following sheets' body. `more`, when given,
// writes more of the note into the document and says whether there was more to write; the
// note is complete when the sheets are counted.
int CutIntoSheets(LaidOutNote& laidOut, const SheetGeometry& geometry, const std::function<bool()>& more = {});

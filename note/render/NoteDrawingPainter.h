#pragma once

// A NoteDrawing painted with QPainter: on the sheets of the note (as an object of the laid-out
// text, so it flows with the text and stays vectors in a PDF) and in any window that shows the
// same picture.

#include <korvelin/NoteDocument.h>

#include <QRectF>

class QPainter;
class QTextCursor;
class QTextDocument;

// Paints the drawing into `target`, scaled uniformly to fit it and centred; the line widths and
// the text heights scale with it.
void PaintNoteDrawing(QPainter& painter, const korvelin::NoteDrawing& drawing, const QRectF& target);

// Inserts the drawing at the cursor as one object of the document, sized in millimetres on the
// document's paint device (points where it has none). The document keeps a copy of the drawing.
void InsertNoteDrawing(QTextDocument& document, QTextCursor& cursor, const korvelin::NoteDrawing& drawing);

// Inserts the drawing as a picture of the document (painted at 300 dots per inch, of its size on
// the sheet), for a writer that takes pictures and no objects of its own: the ODT.
void InsertNoteDrawingPicture(QTextDocument& document, QTextCursor& cursor, const korvelin::NoteDrawing& drawing);

#pragma once

#include <korvelin/NoteDocument.h>

#include <QByteArray>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

// Lays a document out for A4 pages: the title centred in bold, headings in bold, tables with
// thin ruled cells and their header rows repeated on every page. Fonts are real fonts, so the
// text stays text in a PDF (selectable, searchable, the fonts embedded).
std::unique_ptr<QTextDocument> RenderNote(const korvelin::NoteDocument& note);

// Prints the document on a paged device (a printer, a PDF writer) in the document's A4
// orientation; the pages get 2 cm margins and a page number at the foot.
void PrintNote(const korvelin::NoteDocument& note, QPagedPaintDevice& device);

// Writes the document as a PDF file. The file appears only when it is complete (the old file,
// if any, stays untouched otherwise). Returns an empty text on success, else a message that names
// the file and the reason.
QString WriteNotePdf(const korvelin::NoteDocument& note, const QString& path);

// Writes the bytes to a file that appears only when it is complete, like WriteNotePdf: for the
// other files the program saves (tables as CSV). Returns an empty text on success, else a message
// that names the file and the reason.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

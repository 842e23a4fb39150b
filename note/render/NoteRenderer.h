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

// Prints the document on a paged device (a printer, a PDF writer) on A4 sheets of its
// orientation: a document with a title block gets the frame on every sheet, the large title block
// on the first and the small one on the others, "Лист" and "Листов" filled in; one without gets
// 2 cm margins and "Лист N" at the foot. No heading, step of a calculation or table that fits a
// sheet is split between sheets.
void PrintNote(const korvelin::NoteDocument& note, QPagedPaintDevice& device);

// Writes the document as a PDF file. The file appears only when it is complete (the old file,
// if any, stays untouched otherwise). Returns an empty text on success, else a message that names
// the file and the reason.
QString WriteNotePdf(const korvelin::NoteDocument& note, const QString& path);

// Writes the document as an OpenDocument text (ODT) for a word processor to edit, laid out on A4
// as the PDF (with the frame, the forms and the margin's graphs when it has a title block):
// atomically, and with the same messages, as WriteNotePdf.
QString WriteNoteOdt(const korvelin::NoteDocument& note, const QString& path);

// Writes the bytes to a file that appears only when it is complete, like WriteNotePdf: for the
// other files the program saves (tables as CSV). Returns an empty text on success, else a message
// that names the file and the reason.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

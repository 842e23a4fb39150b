#pragma once

// The note as an OpenDocument text that a word processor shows as the PDF shows it: A4 of the
// note's orientation with the PDF's margins; with a title block, the frame, the first sheet's
// form and the following sheets' form in the page styles ("Лист" and "Листов" as the word
// processor's page-number and page-count fields) and the graphs of the binding margin; without
// one, "Лист N" at the foot. Headings and the lines of a step keep with what follows, tables
// repeat their header rows on every page, formulas set their marks as sub- and superscripts,
// drawings are pictures of high resolution. Characters that show nothing (joiners, soft hyphens)
// are left out.

#include <korvelin/NoteDocument.h>

#include <QByteArray>

// The bytes of the .odt file: a ZIP package with the mimetype first and uncompressed, the
// manifest, content.xml, styles.xml, meta.xml and the pictures.
QByteArray NoteOdtPackage(const korvelin::NoteDocument& note);

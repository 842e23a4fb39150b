#pragma once

// The note laid out as a QTextDocument, with where each block of the model stands in it, for
// the pages: they keep headings, the lines of a step and tables on one sheet.

#include <korvelin/NoteDocument.h>

#include <QTextDocument>

#include <memory>
#include <vector>

class QTextFrame;

struct LaidOutBlock {
    int Position = 0;            // of its first character in the document
    QTextFrame* Table = nullptr;  // the table, for a table block
    bool KeepWithNext = false;
};

struct LaidOutNote {
    std::unique_ptr<QTextDocument> Document;
    std::vector<LaidOutBlock> Blocks;  // the title first, then the blocks of the model in order
};

// `fixedTableWidth`: the tables' width in points, for an ODT (whose drawings then go in as
// pictures: its writer knows no objects of the program's own); 0 for the width of the text.
LaidOutNote LayOutNote(const korvelin::NoteDocument& note, qreal fixedTableWidth = 0);

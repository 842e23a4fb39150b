#pragma once

// The note laid out as a QTextDocument, with where each block of the model stands in it, for
// the pages: they keep headings, the lines of a step and tables on one sheet.

#include <korvelin/NoteDocument.h>

#include <QSizeF>
#include <QTextDocument>

#include <memory>
#include <vector>

class QPaintDevice;
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

// What the note is laid out for; by default for no device in particular, on one page without end.
struct LayoutTarget {
    QPaintDevice* Device = nullptr;  // whose fonts are measured
    QSizeF PageSize;                 // of a sheet's body, in the device's pixels
    // A word joiner after every slash between two other characters of a block, so that no line
    // breaks after it ("Н/м", "t/q", "L/150"): for the painted sheets only.
    bool KeepSlashedTermsWhole = false;
};

LaidOutNote LayOutNote(const korvelin::NoteDocument& note, const LayoutTarget& target = {});

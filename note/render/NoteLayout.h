#pragma once

// The note laid out as a QTextDocument, with where each block of the model stands in it, for
// the pages: they keep headings, the lines of a step and tables on one sheet.

#include <korvelin/NoteDocument.h>

#include <QSizeF>
#include <QTextDocument>

#include <memory>
#include <utility>
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

// Writes a note into its document with a cursor that only appends: the title at once, then the
// blocks of the model as they are asked for, each time in one edit.
class NoteLayoutBuilder
{
public:
    NoteLayoutBuilder(const korvelin::NoteDocument& note, const LayoutTarget& target);
    ~NoteLayoutBuilder();

    // Writes the next `count` blocks of the model (fewer at its end); false when none was left.
    bool Append(std::size_t count);
    LaidOutNote& Note() { return LaidOut; }
    LaidOutNote Take() { return std::move(LaidOut); }

private:
    struct Writer;
    const korvelin::NoteDocument& Model;
    std::size_t Next = 0;  // the first block of the model not yet written
    LaidOutNote LaidOut;
    std::unique_ptr<Writer> Out;
};

// The whole note at once.
LaidOutNote LayOutNote(const korvelin::NoteDocument& note, const LayoutTarget& target = {});

#pragma once

#include "korvelin/NoteDocument.h"

#include <string>

namespace korvelin::cli {

// Writes the note as a PDF file with Qt on its offscreen platform, started here and only for
// this: korvelin-calc needs no display. Returns an empty text on success, else the message that
// names the file and the reason.
std::string WritePdfNoteOffscreen(const NoteDocument& note, const std::string& path);

}  // namespace korvelin::cli

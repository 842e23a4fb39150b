#pragma once

#include "CliOptions.h"
#include "NoteFiles.h"

#include "korvelin/CalculationNote.h"
#include "korvelin/NoteDocument.h"

#include <functional>
#include <string>
#include <string_view>

namespace korvelin::cli {

// The local date and time as the note shows it: "08.12.2026 14:05".
std::string NowText();

// What the note says besides the outcome: the options' inputs and document fields, the moment and
// the program.
NoteInputs NoteInputsOf(const CliOptions& options, std::string_view separator);

// Writes the note to the files the options name, the PDF and the ODT alike framed as the
// document fields ask. `build` makes the note framed or not. Returns an empty text, or the message of the first file not written.
std::string WriteNoteFiles(const CliOptions& options, NoteWriter& notes,
                           const std::function<NoteDocument(bool framed)>& build);

}  // namespace korvelin::cli

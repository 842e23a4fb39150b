#pragma once

#include "korvelin/DocumentFields.h"
#include "korvelin/NoteDocument.h"

#include <memory>
#include <string>

namespace korvelin::cli {

// What korvelin-calc does with the calculation note: checks that the fonts show the document
// fields, writes the note as PDF or ODT. Every function returns an empty text on success, else
// the message.
class NoteWriter {
public:
    virtual ~NoteWriter() = default;
    virtual std::string FieldsProblem(const DocumentFields& fields) = 0;
    virtual std::string WritePdf(const NoteDocument& note, const std::string& path) = 0;
    virtual std::string WriteOdt(const NoteDocument& note, const std::string& path) = 0;
    // Any other file the program writes (a table as CSV), as atomically as the note.
    virtual std::string WriteFile(const std::string& bytes, const std::string& path) = 0;
};

// The note's renderer with Qt on its offscreen platform, started at the first use and only for
// this: korvelin-calc needs no display.
class OffscreenNoteWriter final : public NoteWriter {
public:
    OffscreenNoteWriter();
    ~OffscreenNoteWriter() override;
    std::string FieldsProblem(const DocumentFields& fields) override;
    std::string WritePdf(const NoteDocument& note, const std::string& path) override;
    std::string WriteOdt(const NoteDocument& note, const std::string& path) override;
    std::string WriteFile(const std::string& bytes, const std::string& path) override;

private:
    void Start();
    struct Application;
    std::unique_ptr<Application> Qt;
};

}  // namespace korvelin::cli

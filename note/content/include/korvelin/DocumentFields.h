#pragma once

// The fields of the calculation note as a project document: what its title block and its first
// lines say about the object, the document and the people who sign it.

#include "korvelin/NoteDocument.h"
#include "korvelin/Utf8Text.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

struct DocumentFields {
    std::string Object;         // e.g. "Газопровод к котельной по ул. …"
    std::string Designation;    // the document's designation (шифр), e.g. "123-2026-ГСН.РР"
    std::string Organization;
    std::string Stage;          // e.g. "Р"
    std::string Author;         // "Разраб."
    std::string Checker;        // "Пров."
    std::string NormControl;    // "Н. контр."
    std::string ChiefEngineer;  // "ГИП"
    // The additional graphs in the binding margin of every framed sheet.
    std::string ReplacedInventory;  // "Взам. инв. №": the inventory number this document replaces
    std::string OriginalSigned;     // "Подп. и дата": the signature and date on the original
    std::string OriginalInventory;  // "Инв. № подл.": the original's inventory number
    // The sheet frame with the title block: when not set, drawn when a designation is given.
    std::optional<bool> Frame;

    bool operator==(const DocumentFields&) const = default;
};

// Longer texts are refused: they would not fit the title block.
inline constexpr std::size_t kMaxDocumentFieldLength = 200;  // characters

// One text field: its key in the input-set file and on the command line, and its caption.
struct DocumentFieldKey {
    std::string_view Key;      // "object", also the option "--object"
    std::string_view Option;   // "--object"
    std::string_view Caption;  // "Объект"
    std::string DocumentFields::*Field;
};

inline constexpr std::array<DocumentFieldKey, 11> kDocumentFieldKeys = {{
    {"object", "--object", "Объект", &DocumentFields::Object},
    {"designation", "--designation", "Обозначение документа", &DocumentFields::Designation},
    {"organization", "--organization", "Организация", &DocumentFields::Organization},
    {"stage", "--stage", "Стадия", &DocumentFields::Stage},
    {"author", "--author", "Разраб.", &DocumentFields::Author},
    {"checker", "--checker", "Пров.", &DocumentFields::Checker},
    {"normControl", "--norm-control", "Н. контр.", &DocumentFields::NormControl},
    {"chiefEngineer", "--chief-engineer", "ГИП", &DocumentFields::ChiefEngineer},
    {"replacedInventory", "--replaced-inventory", "Взам. инв. №", &DocumentFields::ReplacedInventory},
    {"originalSigned", "--original-signed", "Подп. и дата", &DocumentFields::OriginalSigned},
    {"originalInventory", "--original-inventory", "Инв. № подл.", &DocumentFields::OriginalInventory},
}};

// The title block of a framed document of that name: the fields, and the date of "08.12.2026 14:05"
// as the narrow column takes it ("08.12.26").
NoteTitleBlock DocumentTitleBlock(const DocumentFields& fields, std::string_view documentName,
                                  std::string_view dateTime);

// Whether the note gets the frame and the title block: as set, else when a designation is given.
bool FrameWanted(const DocumentFields& fields);

// The beginning of a landscape table document (the span table, the schedule of supports): its
// title, the frame and title block when wanted, the line of the date and the program.
NoteDocument LandscapeTableNote(std::string title, const DocumentFields& fields,
                                std::string_view dateTime, std::string_view program);

// What makes a field's text unfit, in Russian, naming the field by its caption ("поле «Объект»
// длиннее 200 знаков (201)"), or an empty string: not UTF-8, longer than kMaxDocumentFieldLength,
// control characters (line ends too).
// Whether the fonts can show every character is the renderer's check (it knows the fonts).
std::string DocumentFieldProblem(const DocumentFieldKey& key, std::string_view text);
std::string DocumentFieldsProblem(const DocumentFields& fields);
// A problem as a sentence of its own: "Поле «Объект» …".
std::string AsSentence(std::string_view problem);

}  // namespace korvelin

#include "korvelin/DocumentFields.h"

#include <algorithm>
#include <utility>

namespace korvelin {

namespace {

// "08.12.26" of "08.12.2026 14:05".
std::string ShortDate(std::string_view dateTime)
{
    const std::string_view date = dateTime.substr(0, dateTime.find(' '));
    if (date.size() == 10 && date[2] == '.' && date[5] == '.') {
        return std::string(date.substr(0, 6)) + std::string(date.substr(8, 2));
    }
    return std::string(date);
}

}  // namespace

NoteTitleBlock DocumentTitleBlock(const DocumentFields& fields, std::string_view documentName,
                                  std::string_view dateTime)
{
    NoteTitleBlock block;
    block.Designation = fields.Designation;
    block.Object = fields.Object;
    block.DocumentName = std::string(documentName);
    block.Organization = fields.Organization;
    block.Stage = fields.Stage;
    block.Author = fields.Author;
    block.Checker = fields.Checker;
    block.NormControl = fields.NormControl;
    block.ChiefEngineer = fields.ChiefEngineer;
    block.Date = ShortDate(dateTime);
    block.ReplacedInventory = fields.ReplacedInventory;
    block.OriginalSigned = fields.OriginalSigned;
    block.OriginalInventory = fields.OriginalInventory;
    return block;
}

bool FrameWanted(const DocumentFields& fields)
{
    return fields.Frame.value_or(!fields.Designation.empty());
}

NoteDocument LandscapeTableNote(std::string title, const DocumentFields& fields,
                                std::string_view dateTime, std::string_view program)
{
    NoteDocument note;
    note.Title = std::move(title);
    note.Orientation = PageOrientation::Landscape;
    if (FrameWanted(fields)) {
        note.TitleBlock = DocumentTitleBlock(fields, note.Title, dateTime);
    }
    note.AddParagraph("Дата и время расчета: " + std::string(dateTime) + ". Программа: " +
                      std::string(program) + ".");
    return note;
}

std::string DocumentFieldProblem(const DocumentFieldKey& key, std::string_view text)
{
    const std::string field = "поле «" + std::string(key.Caption) + "»";
    const std::optional<std::size_t> length = Utf8Length(text);
    if (!length) {
        return field + " не в кодировке UTF-8";
    }
    if (*length > kMaxDocumentFieldLength) {
        return field + " длиннее " + std::to_string(kMaxDocumentFieldLength) + " знаков (" +
               std::to_string(*length) + ")";
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return field + " содержит управляющие знаки (переводы строки, табуляцию)";
    }
    return {};
}

std::string AsSentence(std::string_view problem)
{
    constexpr std::string_view kField = "поле";
    if (problem.starts_with(kField)) {
        return "Поле" + std::string(problem.substr(kField.size()));
    }
    return std::string(problem);
}

std::string DocumentFieldsProblem(const DocumentFields& fields)
{
    for (const DocumentFieldKey& key : kDocumentFieldKeys) {
        if (std::string problem = DocumentFieldProblem(key, fields.*key.Field); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace korvelin

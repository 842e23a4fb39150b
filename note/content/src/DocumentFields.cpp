#include "korvelin/DocumentFields.h"

#include <algorithm>

namespace korvelin {

bool FrameWanted(const DocumentFields& fields)
{
    return fields.Frame.value_or(!fields.Designation.empty());
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

#include "korvelin/NoteSources.h"

#include <algorithm>
#include <array>

namespace korvelin {
namespace {

constexpr std::array<std::string_view, kFixedSources> kDocuments = {
    "СП 42-102-2004 «Проектирование и строительство газопроводов из металлических труб»",
    "СНиП 2.04.12-86 «Расчет на прочность стальных трубопроводов»",
    "СНиП 2.01.07-85* «Нагрузки и воздействия» (актуализированная редакция — СП 20.13330): "
    "районы по весу снегового покрова, по ветровому давлению и по толщине стенки гололеда, "
    "коэффициенты ветрового давления по высоте и пульсации",
    "ГОСТ Р 21.101-2020 «Система проектной документации для строительства. Основные требования "
    "к проектной и рабочей документации»: оформление документа",
};

bool IsBlank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

std::vector<std::string> OwnSources(const OwnClimateTexts& own)
{
    std::vector<std::string> sources;
    for (const ClimateValue which : kClimateValues) {
        const OwnClimateEntry& entry = own.*InfoOf(which).Entry;
        if (entry.InForce && !IsBlank(entry.Source) &&
            std::find(sources.begin(), sources.end(), entry.Source) == sources.end()) {
            sources.push_back(entry.Source);
        }
    }
    return sources;
}

std::string OwnSourceNumber(const OwnClimateTexts& own, std::string_view source)
{
    const std::vector<std::string> sources = OwnSources(own);
    const auto found = std::find(sources.begin(), sources.end(), source);
    if (found == sources.end()) {
        return {};
    }
    return "[" + std::to_string(kFixedSources + 1 + (found - sources.begin())) + "]";
}

void AddLiterature(NoteDocument& note, const OwnClimateTexts& own, const std::vector<std::string>& more)
{
    note.AddHeading("Литература");
    int number = 0;
    // The list stays whole on one sheet: every item keeps with the next one.
    const auto add = [&note, &number](std::string_view text) {
        std::string line = std::to_string(++number) + ". " + std::string(text);
        if (!line.ends_with('.')) {
            line += '.';
        }
        note.Blocks.emplace_back(NoteParagraph{std::move(line), false, false, true});
    };
    for (const std::string_view document : kDocuments) {
        add(document);
    }
    for (const std::string& source : OwnSources(own)) {
        add(source);
    }
    for (const std::string& source : more) {
        add(source);
    }
    std::get<NoteParagraph>(note.Blocks.back()).KeepWithNext = false;
}

}  // namespace korvelin

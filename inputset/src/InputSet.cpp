#include "korvelin/InputSet.h"

#include "WindowTexts.h"

#include "korvelin/RouteSchedule.h"
#include "korvelin/Selectors.h"
#include "korvelin/SupportLoads.h"
#include "korvelin/Utf8Text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <tuple>

namespace korvelin {
namespace {

using Json = nlohmann::json;
// Written with its members in the order below, so that the file reads like the window.
using OrderedJson = nlohmann::ordered_json;

constexpr std::string_view kFormatKey = "format";
constexpr std::string_view kVersionKey = "version";
constexpr std::string_view kSteelGradeKey = "steelGrade";
constexpr std::string_view kChosenSpanKey = "chosenSpan";
constexpr std::string_view kRouteLengthKey = "routeLength";
constexpr std::string_view kPipeTableKey = "pipeTable";
constexpr std::string_view kDiameterKey = "diameter";
constexpr std::string_view kWallKey = "wall";
constexpr std::string_view kFrictionKey = "friction";
constexpr std::string_view kOwnValueKey = "value";
constexpr std::string_view kOwnSourceKey = "source";

// The own climatic values in force, each an object {"value": "1,8", "source": "…"}.
struct OwnClimateKey {
    std::string_view Name;
    ClimateValue Which;
};
constexpr std::array<OwnClimateKey, 3> kOwnClimateKeys = {{
    {"ownSnowWeight", ClimateValue::SnowWeight},
    {"ownWindPressure", ClimateValue::WindPressure},
    {"ownIceThickness", ClimateValue::IceThickness},
}};
constexpr std::string_view kDocumentKey = "document";
// The compensation: {"closingTemperature", "minTemperature", "maxTemperature", "allowableStress",
// "shoeLength", "sections": [{"name", "legs": [{"length", "turn"}…], "bendRadius", "supportStep",
// "guides"}…]}; the texts of the check values, a last leg's empty turn and a section's empty
// texts are left out.
constexpr std::string_view kCompensationKey = "compensation";
constexpr std::string_view kSectionsKey = "sections";
constexpr std::string_view kSectionNameKey = "name";
constexpr std::string_view kLegsKey = "legs";
constexpr std::string_view kLegLengthKey = "length";
constexpr std::string_view kLegTurnKey = "turn";
// Format 2: a section's bend radius (mm), support step (m) and guides ("LEG:S; LEG:S"), each left
// out when empty.
struct SectionTextKey {
    std::string_view Name;
    std::string SectionTexts::*Field;
    std::size_t MaxLength;
};
constexpr std::array<SectionTextKey, 3> kSectionTextKeys = {{
    {"bendRadius", &SectionTexts::BendRadius, kMaxInputTextLength},
    {"supportStep", &SectionTexts::SupportStep, kMaxInputTextLength},
    {"guides", &SectionTexts::Guides, kMaxGuidesTextLength},
}};

// The grade list as format 1 wrote it, by index: what an old file's number means, whatever the
// list becomes.
constexpr std::array<std::string_view, 7> kFormat1SteelGrades = {
    "ст2сп/ГОСТ 10705-80", "ст3сп/ГОСТ 10705-80", "08/ГОСТ 10705-80", "10/ГОСТ 10705-80",
    "15/ГОСТ 10705-80",    "20/ГОСТ 10705-80",    "Свой"};

// The place of a grade in today's list, none for a name it does not hold.
std::optional<int> SteelGradeIndex(std::string_view name)
{
    const std::span<const std::string_view> items = SteelGradeItems();
    const auto it = std::find(items.begin(), items.end(), name);
    if (it == items.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - items.begin());
}
struct CompensationTextKey {
    std::string_view Name;
    std::string CompensationTexts::*Field;
    bool Optional;
};
constexpr std::array<CompensationTextKey, 7> kCompensationTextKeys = {{
    {"closingTemperature", &CompensationTexts::ClosingTemperature, false},
    {"minTemperature", &CompensationTexts::MinTemperature, false},
    {"maxTemperature", &CompensationTexts::MaxTemperature, false},
    {"allowableStress", &CompensationTexts::AllowableStress, true},
    {"shoeLength", &CompensationTexts::ShoeLength, true},
    // The route's schedule of supports, both optional in format 2 and absent from format 1.
    {"placementRules", &CompensationTexts::PlacementRules, true},
    {"supportEdits", &CompensationTexts::SupportEdits, true},
}};
constexpr std::string_view kFrameKey = "frame";

struct TextKey {
    std::string_view Name;
    std::string FieldTexts::*Field;
};
constexpr std::array<TextKey, 5> kTextKeys = {{
    {"outerDiameter", &FieldTexts::OuterDiameter},
    {"wallThickness", &FieldTexts::WallThickness},
    {"ultimateStrength", &FieldTexts::UltimateStrength},
    {"yieldStrength", &FieldTexts::YieldStrength},
    {"pressure", &FieldTexts::Pressure},
}};

struct IndexKey {
    std::string_view Name;
    int SelectorIndexes::*Field;
    std::span<const std::string_view> (*Items)();
};
constexpr std::array<IndexKey, 6> kIndexKeys = {{
    {"heightCategory", &SelectorIndexes::HeightCategory, &HeightCategoryItems},
    {"snowRegion", &SelectorIndexes::SnowRegion, &SnowRegionItems},
    {"windRegion", &SelectorIndexes::WindRegion, &WindRegionItems},
    {"iceRegion", &SelectorIndexes::IceRegion, &IceRegionItems},
    {"spanCount", &SelectorIndexes::SpanCount, &SpanCountItems},
    {"slope", &SelectorIndexes::Slope, &SlopeItems},
}};

std::string Quoted(std::string_view key)
{
    return "«" + std::string(key) + "»";
}

// A problem found while reading: ends the reading with its text.
struct Refusal {
    std::string Problem;
};

std::string TextProblem(std::string_view key, std::string_view text,
                        std::size_t maxLength = kMaxInputTextLength)
{
    const std::optional<std::size_t> length = Utf8Length(text);
    if (!length) {
        return "значение ключа " + Quoted(key) + " не в кодировке UTF-8";
    }
    if (*length > maxLength) {
        return "значение ключа " + Quoted(key) + " длиннее " + std::to_string(maxLength) +
               " символов";
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return "значение ключа " + Quoted(key) + " содержит управляющие символы";
    }
    return {};
}

std::string IndexProblem(std::string_view key, std::int64_t index, std::size_t items)
{
    if (index >= 0 && static_cast<std::uint64_t>(index) < items) {
        return {};
    }
    return "значение ключа " + Quoted(key) + " (" + std::to_string(index) +
           ") вне списка: допустимо от 0 до " + std::to_string(items - 1);
}

// The members of an object, each present once and none besides.
class ObjectReader
{
public:
    ObjectReader(const Json& object, std::string prefix)
        : Object(object), Prefix(std::move(prefix))
    {
    }

    // Refuses a key that is not among those read so far; called after every member was read.
    void RefuseOthers() const
    {
        for (const auto& [key, value] : Object.items()) {
            if (std::find(Read.begin(), Read.end(), key) == Read.end()) {
                throw Refusal{"лишний ключ " + Quoted(Prefix + key)};
            }
        }
    }

    const Json* Find(std::string_view key)
    {
        Read.emplace_back(key);
        const auto it = Object.find(key);
        return it == Object.end() ? nullptr : &*it;
    }

    const Json& Get(std::string_view key)
    {
        const Json* value = Find(key);
        if (value == nullptr) {
            throw Refusal{"нет ключа " + Quoted(Prefix + std::string(key))};
        }
        return *value;
    }

    std::string Text(std::string_view key) { return TextOf(key, Get(key)); }

    std::optional<std::string> OptionalText(std::string_view key)
    {
        const Json* value = Find(key);
        return value == nullptr ? std::nullopt : std::optional(TextOf(key, *value));
    }

    std::int64_t Integer(std::string_view key)
    {
        const Json& value = Get(key);
        if (!value.is_number_integer()) {
            throw Refusal{"значение ключа " + Quoted(Prefix + std::string(key)) +
                          " должно быть целым числом"};
        }
        if (value.is_number_unsigned()) {
            return static_cast<std::int64_t>(
                std::min<std::uint64_t>(value.get<std::uint64_t>(), INT64_MAX));
        }
        return value.get<std::int64_t>();
    }

    // An index of a list of `items`, refused outside it.
    int Index(std::string_view key, std::size_t items)
    {
        const std::int64_t value = Integer(key);
        if (std::string problem = IndexProblem(Prefix + std::string(key), value, items); !problem.empty()) {
            throw Refusal{problem};
        }
        return static_cast<int>(value);
    }

private:
    std::string TextOf(std::string_view key, const Json& value) const
    {
        if (!value.is_string()) {
            throw Refusal{"значение ключа " + Quoted(Prefix + std::string(key)) + " должно быть строкой"};
        }
        return value.get<std::string>();
    }

    const Json& Object;
    std::string Prefix;
    std::vector<std::string> Read;
};

std::vector<PipeTableRow> ReadPipeTable(const Json& value)
{
    if (!value.is_array()) {
        throw Refusal{"значение ключа " + Quoted(kPipeTableKey) + " должно быть массивом"};
    }
    if (value.size() > kMaxPipeTableRows) {
        throw Refusal{"в ключе " + Quoted(kPipeTableKey) + " больше " +
                      std::to_string(kMaxPipeTableRows) + " строк"};
    }
    std::vector<PipeTableRow> rows;
    rows.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string prefix = std::string(kPipeTableKey) + "[" + std::to_string(i) + "].";
        const Json& row = value[i];
        if (!row.is_object()) {
            throw Refusal{"значение ключа " + Quoted(prefix.substr(0, prefix.size() - 1)) +
                          " должно быть объектом"};
        }
        ObjectReader reader(row, prefix);
        PipeTableRow& read = rows.emplace_back();
        read.Diameter = reader.Text(kDiameterKey);
        read.Wall = reader.Text(kWallKey);
        reader.RefuseOthers();
    }
    return rows;
}

OwnClimateEntry ReadOwnClimateEntry(const Json& value, std::string_view key)
{
    if (!value.is_object()) {
        throw Refusal{"значение ключа " + Quoted(key) + " должно быть объектом"};
    }
    ObjectReader reader(value, std::string(key) + ".");
    OwnClimateEntry entry;
    entry.InForce = true;
    entry.Value = reader.Text(kOwnValueKey);
    entry.Source = reader.OptionalText(kOwnSourceKey).value_or(std::string());
    reader.RefuseOthers();
    return entry;
}

DocumentFields ReadDocumentFields(const Json& value)
{
    if (!value.is_object()) {
        throw Refusal{"значение ключа " + Quoted(kDocumentKey) + " должно быть объектом"};
    }
    ObjectReader reader(value, std::string(kDocumentKey) + ".");
    DocumentFields fields;
    for (const DocumentFieldKey& key : kDocumentFieldKeys) {
        fields.*key.Field = reader.OptionalText(key.Key).value_or(std::string());
    }
    if (const Json* frame = reader.Find(kFrameKey)) {
        if (!frame->is_boolean()) {
            throw Refusal{"значение ключа " + Quoted(std::string(kDocumentKey) + "." +
                                                     std::string(kFrameKey)) +
                          " должно быть true или false"};
        }
        fields.Frame = frame->get<bool>();
    }
    reader.RefuseOthers();
    return fields;
}

const Json& ArrayOf(const Json& value, const std::string& key, std::size_t maxItems)
{
    if (!value.is_array()) {
        throw Refusal{"значение ключа " + Quoted(key) + " должно быть массивом"};
    }
    if (value.size() > maxItems) {
        throw Refusal{"в ключе " + Quoted(key) + " больше " + std::to_string(maxItems) + " элементов"};
    }
    return value;
}

const Json& ObjectOf(const Json& value, const std::string& key)
{
    if (!value.is_object()) {
        throw Refusal{"значение ключа " + Quoted(key) + " должно быть объектом"};
    }
    return value;
}

CompensationTexts ReadCompensation(const Json& value, std::int64_t version)
{
    const std::string prefix = std::string(kCompensationKey) + ".";
    ObjectReader reader(ObjectOf(value, std::string(kCompensationKey)), prefix);
    CompensationTexts texts;
    for (const CompensationTextKey& key : kCompensationTextKeys) {
        texts.*key.Field = key.Optional ? reader.OptionalText(key.Name).value_or(std::string())
                                        : reader.Text(key.Name);
    }
    const std::string sectionsKey = prefix + std::string(kSectionsKey);
    const Json& sections = ArrayOf(reader.Get(kSectionsKey), sectionsKey, kMaxCompensationSections);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const std::string sectionKey = sectionsKey + "[" + std::to_string(i) + "]";
        ObjectReader section(ObjectOf(sections[i], sectionKey), sectionKey + ".");
        SectionTexts& read = texts.Sections.emplace_back();
        read.Name = section.Text(kSectionNameKey);
        const std::string legsKey = sectionKey + "." + std::string(kLegsKey);
        const Json& legs = ArrayOf(section.Get(kLegsKey), legsKey, kMaxSectionLegs);
        for (std::size_t j = 0; j < legs.size(); ++j) {
            const std::string legKey = legsKey + "[" + std::to_string(j) + "]";
            ObjectReader leg(ObjectOf(legs[j], legKey), legKey + ".");
            SectionLegTexts& row = read.Legs.emplace_back();
            row.Length = leg.Text(kLegLengthKey);
            row.Turn = leg.OptionalText(kLegTurnKey).value_or(std::string());
            leg.RefuseOthers();
        }
        if (version >= 2) {
            for (const SectionTextKey& key : kSectionTextKeys) {
                read.*key.Field = section.OptionalText(key.Name).value_or(std::string());
            }
        }
        section.RefuseOthers();
    }
    reader.RefuseOthers();
    return texts;
}

// Format 1: the place in the list of that time; format 2: the name, looked up in today's list.
int ReadSteelGrade(ObjectReader& reader, std::int64_t version)
{
    if (version < 2) {
        const int old = reader.Index(kSteelGradeKey, kFormat1SteelGrades.size());
        const std::optional<int> index = SteelGradeIndex(kFormat1SteelGrades[static_cast<std::size_t>(old)]);
        if (!index) {
            throw Refusal{"марки стали " + Quoted(kFormat1SteelGrades[static_cast<std::size_t>(old)]) +
                          " из файла нет в списке марок"};
        }
        return *index;
    }
    const std::string name = reader.Text(kSteelGradeKey);
    if (std::string problem = TextProblem(kSteelGradeKey, name); !problem.empty()) {
        throw Refusal{problem};
    }
    const std::optional<int> index = SteelGradeIndex(name);
    if (!index) {
        throw Refusal{"марки стали " + Quoted(name) + " (ключ " + Quoted(kSteelGradeKey) +
                      ") нет в списке марок этой версии программы"};
    }
    return *index;
}

InputSet ReadObject(const Json& json)
{
    if (!json.is_object()) {
        throw Refusal{"в файле не объект JSON"};
    }
    ObjectReader reader(json, {});
    const Json* format = reader.Find(kFormatKey);
    if (format == nullptr || !format->is_string() || format->get<std::string>() != kInputSetFormatName) {
        throw Refusal{"это не файл исходных данных Korvelin (нет ключа " + Quoted(kFormatKey) +
                      " со значением " + Quoted(kInputSetFormatName) + ")"};
    }
    InputSet set;
    const std::int64_t version = reader.Integer(kVersionKey);
    if (version > kInputSetVersion) {
        throw Refusal{"файл записан более новой версией программы (версия формата " +
                      std::to_string(version) + ", эта версия читает до " +
                      std::to_string(kInputSetVersion) + ")"};
    }
    if (version < 1) {
        throw Refusal{"версии формата " + std::to_string(version) + " не бывает"};
    }
    for (const TextKey& key : kTextKeys) {
        set.Texts.*key.Field = reader.Text(key.Name);
    }
    set.SteelGrade = ReadSteelGrade(reader, version);
    for (const IndexKey& key : kIndexKeys) {
        set.Indexes.*key.Field = reader.Index(key.Name, key.Items().size());
    }
    set.ChosenSpan = reader.OptionalText(kChosenSpanKey);
    set.RouteLength = reader.OptionalText(kRouteLengthKey);
    if (const Json* table = reader.Find(kPipeTableKey)) {
        set.PipeTable = ReadPipeTable(*table);
    }
    set.Friction = reader.OptionalText(kFrictionKey);
    for (const OwnClimateKey& key : kOwnClimateKeys) {
        if (const Json* own = reader.Find(key.Name)) {
            set.OwnClimate.*InfoOf(key.Which).Entry = ReadOwnClimateEntry(*own, key.Name);
        }
    }
    if (const Json* document = reader.Find(kDocumentKey)) {
        set.Document = ReadDocumentFields(*document);
    }
    if (const Json* compensation = reader.Find(kCompensationKey)) {
        set.Compensation = ReadCompensation(*compensation, version);
    }
    reader.RefuseOthers();
    // Converted: the set in memory is of the current format.
    set.Version = kInputSetVersion;
    return set;
}

// The coefficient of friction and the own values in force, as the window reads them.
std::string OwnValuesProblem(const InputSet& set)
{
    if (set.Friction) {
        if (std::string problem = TextProblem(kFrictionKey, *set.Friction); !problem.empty()) {
            return problem;
        }
        if (const FrictionReading friction = ReadFriction(*set.Friction, ","); !friction.Ok()) {
            return "значение ключа " + Quoted(kFrictionKey) + ": " + friction.Error;
        }
    }
    for (const OwnClimateKey& key : kOwnClimateKeys) {
        const OwnClimateEntry& entry = set.OwnClimate.*InfoOf(key.Which).Entry;
        if (!entry.InForce) {
            continue;
        }
        const std::string prefix = std::string(key.Name) + ".";
        if (std::string problem = TextProblem(prefix + std::string(kOwnValueKey), entry.Value); !problem.empty()) {
            return problem;
        }
        if (std::string problem = TextProblem(prefix + std::string(kOwnSourceKey), entry.Source,
                                              kMaxSourceTextLength);
            !problem.empty()) {
            return problem;
        }
        if (const OwnValueReading value = ReadOwnClimateValue(key.Which, entry.Value, ","); !value.Ok()) {
            return "значение ключа " + Quoted(prefix + std::string(kOwnValueKey)) + ": " + value.Error;
        }
    }
    return {};
}

// The texts of the compensation as the window reads them: every section, each temperature and
// check value that is given.
std::string CompensationProblem(const CompensationTexts& texts)
{
    const std::string prefix = std::string(kCompensationKey) + ".";
    for (const CompensationTextKey& key : kCompensationTextKeys) {
        if (std::string problem = TextProblem(prefix + std::string(key.Name), texts.*key.Field);
            !problem.empty()) {
            return problem;
        }
    }
    if (!texts.PlacementRules.empty() && !ReadPlacementRules(texts.PlacementRules)) {
        return "в ключе " + Quoted(prefix + "placementRules") + " не «sp» и не «snip»";
    }
    if (const SupportEditsReading edits = ReadSupportEdits(texts.SupportEdits, ","); !edits.Ok()) {
        return "в ключе " + Quoted(prefix + "supportEdits") + ": " + edits.Error;
    }
    if (texts.Sections.size() > kMaxCompensationSections) {
        return "в ключе " + Quoted(prefix + std::string(kSectionsKey)) + " больше " +
               std::to_string(kMaxCompensationSections) + " элементов";
    }
    for (std::size_t i = 0; i < texts.Sections.size(); ++i) {
        const SectionTexts& section = texts.Sections[i];
        const std::string sectionKey =
            prefix + std::string(kSectionsKey) + "[" + std::to_string(i) + "].";
        if (std::string problem = TextProblem(sectionKey + std::string(kSectionNameKey), section.Name);
            !problem.empty()) {
            return problem;
        }
        for (const SectionTextKey& key : kSectionTextKeys) {
            if (std::string problem = TextProblem(sectionKey + std::string(key.Name), section.*key.Field,
                                                  key.MaxLength);
                !problem.empty()) {
                return problem;
            }
        }
        for (std::size_t j = 0; j < section.Legs.size(); ++j) {
            const std::string legKey =
                sectionKey + std::string(kLegsKey) + "[" + std::to_string(j) + "].";
            for (const auto& [key, text] : {std::pair{kLegLengthKey, &section.Legs[j].Length},
                                            std::pair{kLegTurnKey, &section.Legs[j].Turn}}) {
                if (std::string problem = TextProblem(legKey + std::string(key), *text); !problem.empty()) {
                    return problem;
                }
            }
        }
    }
    return CompensationTextsProblem(texts, ",");
}

}  // namespace

std::span<const std::string_view> Format1SteelGrades()
{
    return kFormat1SteelGrades;
}

bool operator==(const InputSet& a, const InputSet& b)
{
    const auto tie = [](const InputSet& s) {
        const FieldTexts& t = s.Texts;
        const SelectorIndexes& i = s.Indexes;
        return std::tie(s.FormatName, s.Version, t.OuterDiameter, t.WallThickness, t.UltimateStrength,
                        t.YieldStrength, t.Pressure, s.SteelGrade, i.HeightCategory, i.SnowRegion,
                        i.WindRegion, i.IceRegion, i.SpanCount, i.Slope, s.ChosenSpan, s.RouteLength,
                        s.PipeTable, s.Friction, s.OwnClimate, s.Document, s.Compensation);
    };
    return tie(a) == tie(b);
}

InputSet StartUpInputSet()
{
    InputSet set;
    set.Texts = FieldTexts{"89", "3,2", "333", "206", "0,6"};
    return set;
}

InputSetParse ParseInputSet(std::string_view bytes)
{
    InputSetParse parse;
    if (bytes.empty()) {
        parse.Problem = "файл пуст";
        return parse;
    }
    std::size_t bad = 0;
    if (!Utf8Length(bytes, &bad)) {
        parse.Problem = "текст не в кодировке UTF-8 (байт " + std::to_string(bad + 1) + ")";
        return parse;
    }
    Json json;
    try {
        json = Json::parse(bytes.begin(), bytes.end());
    } catch (const Json::parse_error& error) {
        parse.Problem = "это не JSON (ошибка в байте " + std::to_string(error.byte) + ")";
        return parse;
    } catch (const Json::exception&) {
        parse.Problem = "это не JSON";
        return parse;
    }
    try {
        InputSet set = ReadObject(json);
        parse.Problem = InputSetProblem(set);
        if (parse.Problem.empty()) {
            parse.Set = std::move(set);
        }
    } catch (const Refusal& refusal) {
        parse.Problem = refusal.Problem;
    }
    return parse;
}

std::string InputSetProblem(const InputSet& set)
{
    if (set.FormatName != kInputSetFormatName) {
        return "это не файл исходных данных Korvelin";
    }
    if (set.Version < 1 || set.Version > kInputSetVersion) {
        return "версия формата " + std::to_string(set.Version) + " не поддерживается";
    }
    for (const TextKey& key : kTextKeys) {
        const std::string& text = set.Texts.*key.Field;
        if (std::string problem = TextProblem(key.Name, text); !problem.empty()) {
            return problem;
        }
    }
    if (std::string problem = IndexProblem(kSteelGradeKey, set.SteelGrade, SteelGradeItems().size());
        !problem.empty()) {
        return problem;
    }
    const SteelGrade& grade = *FindSteelGrade(set.SteelGrade);
    if (!grade.UserDefined && (set.Texts.UltimateStrength != grade.UltimateStrength ||
                               set.Texts.YieldStrength != grade.YieldStrength)) {
        return "прочности " + Quoted(set.Texts.UltimateStrength) + " и " +
               Quoted(set.Texts.YieldStrength) + " не те, что у стали " +
               Quoted(SteelGradeItems()[static_cast<std::size_t>(set.SteelGrade)]) + ": " +
               std::string(grade.UltimateStrength) + " и " + std::string(grade.YieldStrength);
    }
    for (const IndexKey& key : kIndexKeys) {
        if (std::string problem = IndexProblem(key.Name, set.Indexes.*key.Field, key.Items().size());
            !problem.empty()) {
            return problem;
        }
    }
    for (const auto& [key, text] : {std::pair{kChosenSpanKey, &set.ChosenSpan},
                                    std::pair{kRouteLengthKey, &set.RouteLength}}) {
        if (*text) {
            if (std::string problem = TextProblem(key, **text); !problem.empty()) {
                return problem;
            }
        }
    }
    if (set.PipeTable) {
        if (set.PipeTable->size() > kMaxPipeTableRows) {
            return "в ключе " + Quoted(kPipeTableKey) + " больше " + std::to_string(kMaxPipeTableRows) +
                   " строк";
        }
        for (std::size_t i = 0; i < set.PipeTable->size(); ++i) {
            const PipeTableRow& row = (*set.PipeTable)[i];
            const std::string prefix = std::string(kPipeTableKey) + "[" + std::to_string(i) + "].";
            for (const auto& [key, text] : {std::pair{kDiameterKey, &row.Diameter},
                                            std::pair{kWallKey, &row.Wall}}) {
                if (std::string problem = TextProblem(prefix + std::string(key), *text); !problem.empty()) {
                    return problem;
                }
            }
        }
    }
    if (std::string own = OwnValuesProblem(set); !own.empty()) {
        return own;
    }
    if (std::string document = DocumentFieldsProblem(set.Document); !document.empty()) {
        return document;
    }
    if (set.Compensation) {
        if (std::string compensation = CompensationProblem(*set.Compensation); !compensation.empty()) {
            return compensation;
        }
    }
    return WindowTextProblem(set);
}

std::string SerializeInputSet(const InputSet& set)
{
    OrderedJson json = OrderedJson::object();
    json[std::string(kFormatKey)] = set.FormatName;
    json[std::string(kVersionKey)] = set.Version;
    for (const TextKey& key : kTextKeys) {
        json[std::string(key.Name)] = set.Texts.*key.Field;
    }
    // By name: a grade added to the list leaves the file's meaning as it is.
    json[std::string(kSteelGradeKey)] =
        FindSteelGrade(set.SteelGrade) != nullptr
            ? std::string(SteelGradeItems()[static_cast<std::size_t>(set.SteelGrade)])
            : std::string();
    for (const IndexKey& key : kIndexKeys) {
        json[std::string(key.Name)] = set.Indexes.*key.Field;
    }
    if (set.ChosenSpan) {
        json[std::string(kChosenSpanKey)] = *set.ChosenSpan;
    }
    if (set.RouteLength) {
        json[std::string(kRouteLengthKey)] = *set.RouteLength;
    }
    if (set.PipeTable) {
        OrderedJson rows = OrderedJson::array();
        for (const PipeTableRow& row : *set.PipeTable) {
            rows.push_back(OrderedJson{{std::string(kDiameterKey), row.Diameter},
                                       {std::string(kWallKey), row.Wall}});
        }
        json[std::string(kPipeTableKey)] = std::move(rows);
    }
    if (set.Friction) {
        json[std::string(kFrictionKey)] = *set.Friction;
    }
    for (const OwnClimateKey& key : kOwnClimateKeys) {
        if (const OwnClimateEntry& entry = set.OwnClimate.*InfoOf(key.Which).Entry; entry.InForce) {
            json[std::string(key.Name)] = OrderedJson{{std::string(kOwnValueKey), entry.Value},
                                                      {std::string(kOwnSourceKey), entry.Source}};
        }
    }
    OrderedJson document = OrderedJson::object();
    for (const DocumentFieldKey& key : kDocumentFieldKeys) {
        if (const std::string& text = set.Document.*key.Field; !text.empty()) {
            document[std::string(key.Key)] = text;
        }
    }
    if (set.Document.Frame) {
        document[std::string(kFrameKey)] = *set.Document.Frame;
    }
    if (!document.empty()) {
        json[std::string(kDocumentKey)] = std::move(document);
    }
    if (set.Compensation) {
        OrderedJson compensation = OrderedJson::object();
        for (const CompensationTextKey& key : kCompensationTextKeys) {
            if (const std::string& text = (*set.Compensation).*key.Field; !key.Optional || !text.empty()) {
                compensation[std::string(key.Name)] = text;
            }
        }
        OrderedJson sections = OrderedJson::array();
        for (const SectionTexts& section : set.Compensation->Sections) {
            OrderedJson legs = OrderedJson::array();
            for (const SectionLegTexts& leg : section.Legs) {
                OrderedJson row{{std::string(kLegLengthKey), leg.Length}};
                if (!leg.Turn.empty()) {
                    row[std::string(kLegTurnKey)] = leg.Turn;
                }
                legs.push_back(std::move(row));
            }
            OrderedJson written{{std::string(kSectionNameKey), section.Name},
                                {std::string(kLegsKey), std::move(legs)}};
            for (const SectionTextKey& key : kSectionTextKeys) {
                if (const std::string& text = section.*key.Field; !text.empty()) {
                    written[std::string(key.Name)] = text;
                }
            }
            sections.push_back(std::move(written));
        }
        compensation[std::string(kSectionsKey)] = std::move(sections);
        json[std::string(kCompensationKey)] = std::move(compensation);
    }
    return json.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + '\n';
}

}  // namespace korvelin

#include "CliOptions.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
#include "korvelin/RouteSchedule.h"
#include "PipesRun.h"

#include "korvelin/Selectors.h"

#include <algorithm>
#include <charconv>
#include <span>
#include <string_view>

namespace korvelin::cli {
namespace {

bool ParseIndex(std::string_view text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    const auto result = std::from_chars(first, last, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == last;
}

void AppendItems(std::string& out, std::string_view option, std::string_view meaning,
                 std::span<const std::string_view> items)
{
    out += "  ";
    out += option;
    out += " (";
    out += meaning;
    out += "):";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? " " : ", ";
        out += std::to_string(i);
        out += " \"";
        out += items[i];
        out += '"';
    }
    out += '\n';
}

// The options that pick an item of a list: the list and what it means, for the help and the
// check of the range.
struct IndexOption {
    std::string_view Name;
    std::string_view Meaning;
    std::span<const std::string_view> (*Items)();
    int SelectorIndexes::*Field;  // null for the steel grade
};
constexpr IndexOption kIndexOptions[] = {
    {"--steel", "марка стали", &SteelGradeItems, nullptr},
    {"--height", "застройка", &HeightCategoryItems, &SelectorIndexes::HeightCategory},
    {"--snow", "снеговой район", &SnowRegionItems, &SelectorIndexes::SnowRegion},
    {"--wind", "ветровой район", &WindRegionItems, &SelectorIndexes::WindRegion},
    {"--ice", "гололедный район", &IceRegionItems, &SelectorIndexes::IceRegion},
    {"--spans", "количество пролетов", &SpanCountItems, &SelectorIndexes::SpanCount},
    {"--slope", "уклон", &SlopeItems, &SelectorIndexes::Slope},
};

std::string NoValue(std::string_view option)
{
    return "У параметра " + std::string(option) + " нет значения";
}

std::string NoValueTaken(std::string_view option)
{
    return "Параметр " + std::string(option) + " задается без значения";
}

// The index of "Свой", whose strengths the user types.
int UserDefinedSteelGrade()
{
    for (int i = 0;; ++i) {
        if (FindSteelGrade(i)->UserDefined) {
            return i;
        }
    }
}

}  // namespace

CompensationOptions ReadCompensationOptions(const CliOptions& options, std::string_view separator)
{
    CompensationOptions read;
    read.Texts = options.Compensation;
    if (!options.SectionRoutes.empty()) {
        read.Texts.Sections.clear();
    }
    for (std::size_t i = 0; i < options.SectionRoutes.size(); ++i) {
        const std::string& route = options.SectionRoutes[i];
        SectionReading reading = ParseSectionRoute(route, separator);
        if (!reading.Ok()) {
            read.Error = "--section «" + route + "»: " + reading.Message;
            return read;
        }
        reading.Section->Name = "Участок " + std::to_string(i + 1);
        SectionTexts texts = SectionToTexts(*reading.Section, separator);
        if (i < options.SectionGuides.size()) {
            texts.Guides = options.SectionGuides[i];
        }
        if (!options.BendRadius) {
            // Bends of 1,5 outer diameters unless the command gives a radius.
            if (const std::optional<double> diameter =
                    ParseNumberToDouble(options.Texts.OuterDiameter, separator);
                diameter && *diameter > 0) {
                texts.BendRadius = FormatGeneral(
                    static_cast<double>(static_cast<long double>(*diameter) * kDefaultBendRadiusInDiameters),
                    separator);
            }
        }
        read.Texts.Sections.push_back(std::move(texts));
    }
    for (SectionTexts& texts : read.Texts.Sections) {
        if (options.BendRadius) {
            texts.BendRadius = *options.BendRadius;
        }
        if (options.SupportStep) {
            texts.SupportStep = *options.SupportStep;
        }
    }
    if (read.Texts.Sections.size() > kMaxCompensationSections) {
        read.Error = "--section: участков больше " + std::to_string(kMaxCompensationSections);
        return read;
    }
    if (std::string problem = CompensationTextsProblem(read.Texts, separator); !problem.empty()) {
        read.Error = std::move(problem);
        return read;
    }
    if (!read.Texts.PlacementRules.empty() && !ReadPlacementRules(read.Texts.PlacementRules)) {
        read.Error = "--placement-rules: свод правил «" + read.Texts.PlacementRules +
                     "» — не sp и не snip";
        return read;
    }
    if (const SupportEditsReading edits = ReadSupportEdits(read.Texts.SupportEdits, separator);
        !edits.Ok()) {
        read.Error = "--support-edits: " + edits.Error;
        return read;
    }
    if (!options.ScheduleFile.empty()) {
        if (read.Texts.Sections.empty()) {
            read.Error = "--schedule: ведомость опор составляется по участкам трассы (--section или "
                         "участки из --input)";
            return read;
        }
        if (!ScheduleFileKind(options.ScheduleFile)) {
            read.Error = "--schedule: файл «" + options.ScheduleFile +
                         "» должен оканчиваться на .csv или .pdf";
            return read;
        }
    }
    if (!options.DxfFile.empty() && read.Texts.Sections.empty()) {
        read.Error = "--dxf: чертеж трассы строится по участкам трассы (--section или участки из "
                     "--input)";
        return read;
    }
    // Sections need all three temperatures.
    if (!read.Texts.Sections.empty()) {
        const TemperaturesReading temperatures =
            ReadTemperatures(read.Texts.ClosingTemperature, read.Texts.MinTemperature,
                             read.Texts.MaxTemperature, separator);
        if (!temperatures.Ok()) {
            static constexpr std::string_view kOptions[] = {"--t-closing", "--t-min", "--t-max"};
            const std::string* texts[] = {&read.Texts.ClosingTemperature, &read.Texts.MinTemperature,
                                          &read.Texts.MaxTemperature};
            for (std::size_t i = 0; i < 3; ++i) {
                if (texts[i]->find_first_not_of(" \t") == std::string::npos) {
                    read.Error = std::string(kOptions[i]) + ": " + temperatures.Message;
                    return read;
                }
            }
            read.Error = temperatures.Message;
        }
    }
    return read;
}

std::optional<ScheduleFileType> ScheduleFileKind(std::string_view path)
{
    const auto ends = [path](std::string_view ending) {
        if (path.size() <= ending.size()) {
            return false;
        }
        const std::string_view tail = path.substr(path.size() - ending.size());
        for (std::size_t i = 0; i < ending.size(); ++i) {
            const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
            if (c != ending[i]) {
                return false;
            }
        }
        return true;
    };
    if (ends(".csv")) {
        return ScheduleFileType::Csv;
    }
    if (ends(".pdf")) {
        return ScheduleFileType::Pdf;
    }
    return std::nullopt;
}

InputSet OptionsInputSet(const CliOptions& options, const InputSet* base,
                         const CompensationTexts* compensation)
{
    InputSet set = base != nullptr ? *base : StartUpInputSet();
    set.Texts = options.Texts;
    set.Indexes = options.Indexes;
    set.SteelGrade = options.SteelGrade;
    set.OwnClimate = options.OwnClimate;
    set.Friction = options.Friction;
    set.Document = options.Document;
    const CompensationTexts& texts = compensation != nullptr ? *compensation : options.Compensation;
    set.Compensation = texts == CompensationTexts{} ? std::nullopt : std::optional(texts);
    // The page "Итог"'s two fields, and the pipes of --pipes as the rows of the span table.
    set.ChosenSpan = options.ChosenSpan.empty() ? std::nullopt : std::optional(options.ChosenSpan);
    set.RouteLength = options.RouteLength.empty() ? std::nullopt : std::optional(options.RouteLength);
    if (options.Pipes && !options.PipesFromTable) {
        std::vector<PipeTableRow> rows;
        for (const PipeSize& pipe : *options.Pipes) {
            rows.push_back({pipe.OuterDiameter, pipe.WallThickness});
        }
        set.PipeTable = std::move(rows);
    }
    return set;
}

std::string UnreadableValueError(const CliOptions& options, std::string_view separator)
{
    struct NumberOption {
        std::string_view Name;
        std::string_view Meaning;
        const std::string FieldTexts::*Text;
    };
    // In the order the calculation reads them.
    constexpr NumberOption kNumberOptions[] = {
        {"--diameter", "наружный диаметр, мм", &FieldTexts::OuterDiameter},
        {"--wall", "толщина стенки, мм", &FieldTexts::WallThickness},
        {"--ultimate", "предел сопротивления, МПа", &FieldTexts::UltimateStrength},
        {"--yield", "предел текучести, МПа", &FieldTexts::YieldStrength},
        {"--pressure", "давление, МПа", &FieldTexts::Pressure},
    };
    for (const NumberOption& option : kNumberOptions) {
        const std::string& text = options.Texts.*option.Text;
        if (!ParseNumber(text, separator).Ok) {
            return std::string(option.Name) + " (" + std::string(option.Meaning) + "): нужно число, а не «" +
                   text + "»";
        }
    }
    return {};
}

namespace {

// What one command line builds up while its options are read.
struct ParseState {
    CliOptions& Options;
    const InputSet* Base;
    std::optional<int> Steel;
    std::optional<std::string> Ultimate;
    std::optional<std::string> Yield;
    std::string SingleRunOption;  // the first option that only a single run takes
    std::string PipeOption;       // --diameter or --wall, which a note of several pipes does not take
    std::string PipesOption;      // --pipes or --table-pipes
};

// How an option takes its value: after "=" or as the next argument (which may start with "-": a
// negative number is a value the engine refuses with its own message).
enum class Takes {
    Nothing,   // a switch: a value after "=" is refused
    Ignored,   // a switch that pays no attention to a value after "="
    Value,     // a value, possibly empty
    NonEmpty,  // a value that is not empty
    Optional,  // --batch: a value after "=", or the next argument unless it is another option
};

// Stores the option's value; returns the usage error, empty when the value is taken.
using Setter = std::string (*)(ParseState& state, std::string_view option, std::string_view value);

// One option of the command line: how it is read and stored, and its lines of the help.
struct CliOption {
    std::string_view Name;
    Takes Value;
    bool SingleRun;  // an option for one run, refused beside --batch
    Setter Set;
    // The left column of the help ("--diameter ТЕКСТ") and its text, a line each; an empty usage
    // leaves the option to the lines of the option before it ("--snow-source ТЕКСТ, …").
    std::string_view Usage;
    std::string_view Help;
    // The message of a missing value or of a value given to a switch; NoValue / NoValueTaken when
    // null.
    std::string (*Wrong)(std::string_view option) = nullptr;
    // A heading printed before the option's lines in the help.
    std::string_view Heading = {};
};

std::string Done()
{
    return {};
}

std::string SetText(std::string& target, std::string_view value)
{
    target = value;
    return Done();
}

// --diameter and --wall: the pipe of a single run, which a list of pipes replaces.
std::string SetPipeText(ParseState& state, std::string_view option, std::string& target, std::string_view value)
{
    if (state.PipeOption.empty()) {
        state.PipeOption = option;
    }
    return SetText(target, value);
}

std::string SetIndex(ParseState& state, std::string_view option, std::string_view value)
{
    const auto found = std::find_if(std::begin(kIndexOptions), std::end(kIndexOptions),
                                    [option](const IndexOption& index) { return index.Name == option; });
    int index = 0;
    const int last = static_cast<int>(found->Items().size()) - 1;
    if (!ParseIndex(value, index) || index < 0 || index > last) {
        return std::string(option) + ": нужен номер пункта списка от 0 до " + std::to_string(last) +
               ", а не «" + std::string(value) + "»";
    }
    if (found->Field != nullptr) {
        state.Options.Indexes.*found->Field = index;
    } else {
        state.Steel = index;
    }
    return Done();
}

// An own climatic value is in force when given a text; an empty one gives the region's value back.
std::string SetOwn(OwnClimateEntry& entry, std::string_view value)
{
    entry.Value = value;
    entry.InForce = !value.empty();
    return Done();
}

std::string SetDocumentField(ParseState& state, std::string_view option, std::string_view value)
{
    const auto field = std::find_if(kDocumentFieldKeys.begin(), kDocumentFieldKeys.end(),
                                    [option](const DocumentFieldKey& key) { return key.Option == option; });
    state.Options.Document.*field->Field = value;
    return Done();
}

std::string SetPipes(ParseState& state, std::string_view option, std::string_view value)
{
    if (!state.PipesOption.empty()) {
        return std::string(option) + " нельзя задать вместе с " + state.PipesOption;
    }
    state.PipesOption = option;
    if (option == "--pipes") {
        PipeListReading reading = ReadPipeList(value);
        if (!reading.Ok()) {
            return reading.Error;
        }
        state.Options.Pipes = std::move(reading.Pipes);
        return Done();
    }
    std::vector<PipeSize> rows;
    if (state.Base != nullptr && state.Base->PipeTable) {
        for (const PipeTableRow& row : *state.Base->PipeTable) {
            // A row left blank in the window is no pipe.
            if (row.Diameter.find_first_not_of(' ') != std::string::npos ||
                row.Wall.find_first_not_of(' ') != std::string::npos) {
                rows.push_back({row.Diameter, row.Wall});
            }
        }
    } else {
        rows = DefaultPipeSizes();
    }
    if (rows.empty()) {
        return "--table-pipes: в таблице пролетов нет труб";
    }
    state.Options.Pipes = std::move(rows);
    state.Options.PipesFromTable = true;
    return Done();
}

std::string NeedsText(std::string_view option)
{
    return "для " + std::string(option) + " нужен текст";
}

std::string TakesNoValue(std::string_view option)
{
    return std::string(option) + " — параметр без значения";
}

// The options in the order of the help. Every option is read and described from this table.
constexpr CliOption kCliOptions[] = {
    {"--diameter", Takes::Value, true,
     [](ParseState& s, std::string_view o, std::string_view v) { return SetPipeText(s, o, s.Options.Texts.OuterDiameter, v); },
     "--diameter ТЕКСТ", "наружный диаметр, мм (по умолчанию «89»)"},
    {"--wall", Takes::Value, true,
     [](ParseState& s, std::string_view o, std::string_view v) { return SetPipeText(s, o, s.Options.Texts.WallThickness, v); },
     "--wall ТЕКСТ", "толщина стенки трубы, мм (по умолчанию «3,2»)"},
    {"--pressure", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Texts.Pressure, v); },
     "--pressure ТЕКСТ", "давление в трубопроводе, МПа (по умолчанию «0,6»)"},
    {"--steel", Takes::Value, true, &SetIndex, "--steel N", "марка стали; задает оба предела (по умолчанию 0)"},
    {"--ultimate", Takes::Value, false,
     [](ParseState& s, std::string_view, std::string_view v) { s.Ultimate = std::string(v); return Done(); },
     "--ultimate ТЕКСТ", "предел сопротивления, МПа (вместе с --yield, вместо --steel)"},
    {"--yield", Takes::Value, false,
     [](ParseState& s, std::string_view, std::string_view v) { s.Yield = std::string(v); return Done(); },
     "--yield ТЕКСТ", "предел текучести, МПа (вместе с --ultimate, вместо --steel)"},
    {"--height", Takes::Value, true, &SetIndex, "--height N",
     "расположение трубопровода в районе застройки (по умолчанию 0)"},
    {"--snow", Takes::Value, true, &SetIndex, "--snow N", "район по снеговой нагрузке (по умолчанию 0)"},
    {"--wind", Takes::Value, true, &SetIndex, "--wind N", "район по ветровой нагрузке (по умолчанию 0)"},
    {"--ice", Takes::Value, true, &SetIndex, "--ice N", "район по гололедной нагрузке (по умолчанию 0)"},
    {"--spans", Takes::Value, true, &SetIndex, "--spans N", "количество пролетов (по умолчанию 0)"},
    {"--slope", Takes::Value, true, &SetIndex, "--slope N", "уклон трубопровода (по умолчанию 0)"},
    {"--sep", Takes::Value, false,
     [](ParseState& s, std::string_view, std::string_view v) {
         if (v != "," && v != ".") {
             return "--sep: десятичный разделитель — «,» или «.», а не «" + std::string(v) + "»";
         }
         s.Options.Separator = std::string(v);
         return Done();
     },
     "--sep C",
     "десятичный разделитель чтения и вывода: «,» или «.»\n"
     "(по умолчанию — разделитель языковых настроек)"},
    {"--report", Takes::Nothing, false,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Report = true; return Done(); },
     "--report", "вывести также промежуточные данные расчета"},
    {"--json", Takes::Nothing, false,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Json = true; return Done(); },
     "--json",
     "вывести один объект JSON вместо текста (с --batch — по одному\n"
     "на строку, все значения до последнего бита)"},
    {"--input", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.InputFile, v); },
     "--input ФАЙЛ",
     "начать с исходных данных из ФАЙЛА (файл .korvelin окна);\n"
     "заданные параметры заменяют его значения"},
    {"--save", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.SaveFile, v); },
     "--save ФАЙЛ", "сохранить исходные данные параметров в ФАЙЛ, затем рассчитать"},
    {"--span", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.ChosenSpan, v); },
     "--span L", "проверить принятый пролет L м по каждому критерию"},
    {"--route", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.RouteLength, v); },
     "--route L", "подсчитать опоры участка трассы длиной L м"},
    {"--pdf", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.PdfFile, v); },
     "--pdf ФАЙЛ", "записать расчетную записку в ФАЙЛ (PDF, A4); дисплей не нужен"},
    {"--snow-weight", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetOwn(s.Options.OwnClimate.SnowWeight, v); },
     "--snow-weight S",
     "свой нормативный вес снегового покрова, кН/м² (от 0 до 20),\n"
     "вместо значения района; пустое значение — по району"},
    {"--wind-pressure", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetOwn(s.Options.OwnClimate.WindPressure, v); },
     "--wind-pressure W", "свое нормативное ветровое давление, кПа (от 0 до 5)"},
    {"--ice-thickness", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetOwn(s.Options.OwnClimate.IceThickness, v); },
     "--ice-thickness MM", "своя толщина стенки гололеда, мм (от 0 до 100)"},
    {"--snow-source", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.OwnClimate.SnowWeight.Source, v); },
     "--snow-source ТЕКСТ, --wind-source ТЕКСТ, --ice-source ТЕКСТ",
     "источник своего значения для записки, например\n"
     "«СП 20.13330.2016, табл. К.1»"},
    {"--wind-source", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.OwnClimate.WindPressure.Source, v); },
     {}, {}},
    {"--ice-source", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.OwnClimate.IceThickness.Source, v); },
     {}, {}},
    {"--friction", Takes::NonEmpty, false,
     [](ParseState& s, std::string_view, std::string_view v) { s.Options.Friction = std::string(v); return Done(); },
     "--friction MU",
     "коэффициент трения в опорах, от 0 до 1 (по умолчанию 0,3:\n"
     "сталь по стали; 0,1 — фторопласт; 0 — без трения)",
     [](std::string_view) { return std::string("--friction: не задан коэффициент трения в опорах"); }},
    {"--odt", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.OdtFile, v); },
     "--odt ФАЙЛ", "записать расчетную записку в ФАЙЛ в формате ODT (A4, как PDF)",
     [](std::string_view) { return std::string("для --odt нужно имя файла"); }},
    {"--section", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) {
         s.Options.SectionRoutes.emplace_back(v);
         s.Options.SectionGuides.emplace_back();
         return Done();
     },
     "--section МАРШРУТ",
     "участок: длины плеч в метрах и повороты на 90° между ними,\n"
     "Л (L) — налево, П (R) — направо, например «20 Л 8 П 15»;\n"
     "повторяется, по участку на параметр",
     nullptr, "Компенсация температурных деформаций участка между неподвижными опорами:"},
    {"--guides", Takes::Value, false,
     [](ParseState& s, std::string_view, std::string_view v) {
         if (s.Options.SectionRoutes.empty()) {
             return std::string("--guides задается после --section своего участка");
         }
         s.Options.SectionGuides.back() = std::string(v);
         return Done();
     },
     "--guides СПИСОК",
     "направляющие опоры участка предыдущего --section: номер\n"
     "плеча от 1 и расстояние в метрах от его начала (точки\n"
     "пересечения осей), через «;», например «1:16; 5:4»"},
    {"--bend-radius", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { s.Options.BendRadius = std::string(v); return Done(); },
     "--bend-radius MM",
     "радиус отводов на всех поворотах участков, мм (по умолчанию\n"
     "1,5·D; 0 — острые углы); отвод — дуга, касательная к плечам,\n"
     "длины плеч — между точками пересечения осей"},
    {"--support-step", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { s.Options.SupportStep = std::string(v); return Done(); },
     "--support-step M",
     "шаг скользящих опор вдоль плеч, м (по умолчанию — определяющий\n"
     "пролет своего свода правил); опора ставится и на каждом\n"
     "повороте"},
    {"--t-closing", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.ClosingTemperature, v); },
     "--t-closing T",
     "температура замыкания, °C (от −70 до +100, не ниже t_min и\n"
     "не выше t_max)"},
    {"--t-min", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.MinTemperature, v); },
     "--t-min T", "наименьшая температура стенки трубы, °C"},
    {"--t-max", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.MaxTemperature, v); },
     "--t-max T", "наибольшая температура стенки трубы, °C"},
    {"--allowable-compensation", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.AllowableStress, v); },
     "--allowable-compensation S",
     "допускаемое напряжение компенсации [σ]к, МПа; без него\n"
     "напряжение выводится без оценки"},
    {"--shoe-length", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.ShoeLength, v); },
     "--shoe-length MM",
     "длина башмака скользящей опоры, мм: наибольшее перемещение\n"
     "угла сравнивается с ее половиной\n"
     "Опора А — в начале координат, первое плечо — по оси +x,\n"
     "поворот налево — на +90°. Реакция — сила, с которой опора\n"
     "действует на трубу; моменты положительны против часовой\n"
     "стрелки; продольная сила N положительна при растяжении.\n"
     "Момент на конце плеча — момент нагрузок на часть трубы от\n"
     "этой точки до опоры Б (ее реакций): в опоре Б он равен M\n"
     "опоры Б, в опоре А — M опоры А с обратным знаком.\n"
     "Отводы гибче прямой трубы в K = max(1; 1,65/λ) раз, напряжение\n"
     "в отводе больше в i = max(1; 0,9/λ^(2/3)) раз, λ = t·R/r²,\n"
     "r = (D − t)/2 (гладкий отвод по Карману; влияние давления\n"
     "на гибкость не учитывается). Трение μ·V на каждой скользящей\n"
     "опоре и направляющей (V — вертикальная нагрузка опоры по\n"
     "нагрузке q выполненного расчета пролета) противостоит ее\n"
     "перемещению; опора, сила на которую меньше μ·V, не\n"
     "скользит. Трение решается по шагам температуры от t_з до\n"
     "t_max и до t_min с точностью 0,1 % сил; --friction 0 — без\n"
     "трения. Сжатые плечи проверяются на продольную\n"
     "устойчивость (сила Эйлера шарнирного стержня: в\n"
     "вертикальной плоскости — пролет между опорами, в\n"
     "горизонтальной — участок между направляющими, отводами и\n"
     "неподвижными опорами); при N/N_cr > 1 — предупреждение.\n"
     "Продольное напряжение — от давления p·d/(4t), от веса\n"
     "(опорный момент пролета q·l²/12), от температуры (в отводе с\n"
     "i) и их сумма; [σ]к сравнивается с температурной частью."},
    {"--placement-rules", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.PlacementRules, v); },
     "--placement-rules sp|snip",
     "свод правил, по определяющему пролету которого расставляются\n"
     "скользящие опоры трассы из участков (по умолчанию sp)",
     nullptr, "Трасса из участков и ведомость опор:"},
    {"--support-edits", Takes::Value, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.Compensation.SupportEdits, v); },
     "--support-edits ПРАВКИ",
     "правки расставленных опор через «;»: «участок:плечо:S -> S2»\n"
     "перенести, «участок:плечо:S x» удалить, «участок:плечо:S н»\n"
     "сделать направляющей (номера с 1, S — м от начала плеча)"},
    {"--schedule", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.ScheduleFile, v); },
     "--schedule ФАЙЛ",
     "записать ведомость опор трассы в ФАЙЛ: .csv — таблица для\n"
     "электронных таблиц, .pdf — документ A4 (в рамке, как записка)",
     [](std::string_view) { return std::string("для --schedule нужно имя файла"); }},
    {"--dxf", Takes::NonEmpty, true,
     [](ParseState& s, std::string_view, std::string_view v) { return SetText(s.Options.DxfFile, v); },
     "--dxf ФАЙЛ",
     "записать чертеж трассы в плане в ФАЙЛ DXF для САПР: ось с\n"
     "отводами, опоры с номерами, длины плеч; миллиметры",
     [](std::string_view) { return std::string("для --dxf нужно имя файла"); }},
    {"--pipes", Takes::Value, true, &SetPipes, "--pipes СПИСОК",
     "одна записка по нескольким трубам (вместе с --pdf или --odt):\n"
     "наружный диаметр и толщина стенки в мм через «x» или «×»,\n"
     "трубы через «;», например «57x3; 108x4; 159x4,5»; остальные\n"
     "исходные данные — общие для всех труб"},
    {"--table-pipes", Takes::Nothing, true, &SetPipes, "--table-pipes",
     "то же по строкам таблицы пролетов из --input ФАЙЛ (без него —\n"
     "по списку таблицы по умолчанию)"},
    {"--object", Takes::Value, true, &SetDocumentField, "--object ТЕКСТ", "объект", &NeedsText,
     "Сведения о документе для записки (ТЕКСТ — до 200 знаков):"},
    {"--designation", Takes::Value, true, &SetDocumentField, "--designation ТЕКСТ",
     "обозначение документа (шифр); с ним записка в PDF и ODT\n"
     "выходит в рамке с основной надписью",
     &NeedsText},
    {"--organization", Takes::Value, true, &SetDocumentField, "--organization ТЕКСТ", "организация", &NeedsText},
    {"--stage", Takes::Value, true, &SetDocumentField, "--stage ТЕКСТ", "стадия", &NeedsText},
    {"--author", Takes::Value, true, &SetDocumentField, "--author ТЕКСТ", "разработал (Разраб.)", &NeedsText},
    {"--checker", Takes::Value, true, &SetDocumentField, "--checker ТЕКСТ", "проверил (Пров.)", &NeedsText},
    {"--norm-control", Takes::Value, true, &SetDocumentField, "--norm-control ТЕКСТ", "нормоконтроль (Н. контр.)",
     &NeedsText},
    {"--chief-engineer", Takes::Value, true, &SetDocumentField, "--chief-engineer ТЕКСТ",
     "главный инженер проекта (ГИП)", &NeedsText},
    {"--replaced-inventory", Takes::Value, true, &SetDocumentField, "--replaced-inventory ТЕКСТ",
     "взамен инвентарного номера (Взам. инв. №)", &NeedsText},
    {"--original-signed", Takes::Value, true, &SetDocumentField, "--original-signed ТЕКСТ",
     "подпись и дата подлинника (Подп. и дата)", &NeedsText},
    {"--original-inventory", Takes::Value, true, &SetDocumentField, "--original-inventory ТЕКСТ",
     "инвентарный номер подлинника (Инв. № подл.)", &NeedsText},
    {"--frame", Takes::Nothing, true,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Document.Frame = true; return Done(); },
     "--frame, --no-frame",
     "рамка и основная надпись в PDF и ODT: да или нет (без этих\n"
     "параметров — да, если задано обозначение документа)",
     &TakesNoValue},
    {"--no-frame", Takes::Nothing, true,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Document.Frame = false; return Done(); },
     {}, {}, &TakesNoValue},
    {"--batch", Takes::Optional, false,
     [](ParseState& s, std::string_view, std::string_view v) {
         s.Options.Batch = true;
         s.Options.BatchFile = v;
         return Done();
     },
     "--batch [ФАЙЛ]", "по расчету на строку ФАЙЛА или стандартного ввода (см. ниже)"},
    {"--version", Takes::Ignored, false,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Version = true; return Done(); },
     "--version", "вывести версию"},
    {"--help", Takes::Ignored, false,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Help = true; return Done(); },
     "--help", "вывести эту справку"},
    {"-h", Takes::Ignored, false,
     [](ParseState& s, std::string_view, std::string_view) { s.Options.Help = true; return Done(); }, {}, {}},
};

// The width of the help's left column: a usage that leaves less than two blanks before it stands
// on a line of its own.
constexpr std::size_t kHelpColumn = 18;

std::size_t Characters(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void AppendOptionHelp(std::string& out, const CliOption& option)
{
    if (!option.Heading.empty()) {
        out += option.Heading;
        out += '\n';
    }
    if (option.Usage.empty()) {
        return;
    }
    out += "  ";
    out += option.Usage;
    const std::size_t width = Characters(option.Usage);
    std::string_view lines = option.Help;
    bool first = true;
    if (width + 2 > kHelpColumn) {
        out += '\n';
        first = false;
    }
    while (!lines.empty() || first) {
        const std::size_t end = lines.find('\n');
        const std::string_view line = lines.substr(0, end);
        out += first ? std::string(kHelpColumn - width, ' ') : std::string(kHelpColumn + 2, ' ');
        out += line;
        out += '\n';
        first = false;
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    }
}

}  // namespace

std::vector<std::string_view> OptionNames()
{
    std::vector<std::string_view> names;
    for (const CliOption& option : kCliOptions) {
        names.push_back(option.Name);
    }
    return names;
}

std::string HelpText()
{
    std::string text =
        "Использование: korvelin-calc [параметры]\n"
        "               korvelin-calc --batch [ФАЙЛ]\n"
        "\n"
        "Рассчитывает допустимую длину среднего пролета надземного стального газопровода\n"
        "по СП 42-102-2004 и СНиП 2.04.12-86.\n"
        "\n"
        "Параметры (ТЕКСТ — как в полях окна, десятичный знак — запятая или точка;\n"
        "N — номер пункта списка, считая от 0):\n";
    for (const CliOption& option : kCliOptions) {
        AppendOptionHelp(text, option);
    }
    text += "\n"
            "Пункты списков:\n";
    for (const IndexOption& option : kIndexOptions) {
        AppendItems(text, option.Name, option.Meaning, option.Items());
    }
    text +=
        "\n"
        "Пакет на входе: строка заголовка (пропускается), затем по строке на расчет из 11 полей\n"
        "через «;»: diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n"
        "Необязательные поля 12–14: snow-weight;wind-pressure;ice-thickness — свои нормативные\n"
        "значения в единицах параметров с теми же именами (пустое поле — по району)\n"
        "Пакет на выходе: outcome;message;static_sp;dynamic_sp;condensate_sp;deflection_sp;"
        "static_snip;deflection_snip;governing_sp;governing_snip\n"
        "\n"
        "Код завершения: 0 — расчет выполнен (пакет: прочитаны все строки), 1 — расчет не\n"
        "выполнен или прерван (пакет: есть неверная строка), 2 — ошибка в параметрах или\n"
        "файл, который не удалось прочитать или записать.\n";
    return text;
}

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, const InputSet* base)
{
    CliOptions options;
    if (base != nullptr) {
        options.Texts = base->Texts;
        options.Indexes = base->Indexes;
        options.SteelGrade = base->SteelGrade;
        options.OwnClimate = base->OwnClimate;
        options.Friction = base->Friction;
        options.Document = base->Document;
        options.Compensation = base->Compensation.value_or(CompensationTexts{});
        options.ChosenSpan = base->ChosenSpan.value_or(std::string());
        options.RouteLength = base->RouteLength.value_or(std::string());
    }
    ParseState state{options, base, {}, {}, {}, {}, {}, {}};
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string message) {
        parsed.Error = std::move(message);
        return parsed;
    };

    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string_view::npos) {
                inlineValue = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            }
        }
        const auto option = std::find_if(std::begin(kCliOptions), std::end(kCliOptions),
                                         [arg](const CliOption& o) { return o.Name == arg; });
        if (option == std::end(kCliOptions)) {
            return fail("Неизвестный параметр «" + std::string(arg) + "»");
        }
        const auto wrong = [&]() {
            if (option->Wrong != nullptr) {
                return option->Wrong(arg);
            }
            return option->Value == Takes::Nothing ? NoValueTaken(arg) : NoValue(arg);
        };
        std::string_view value;
        switch (option->Value) {
        case Takes::Nothing:
            if (inlineValue) return fail(wrong());
            break;
        case Takes::Ignored:
            break;
        case Takes::Value:
        case Takes::NonEmpty:
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return fail(wrong());
            }
            if (option->Value == Takes::NonEmpty && value.empty()) return fail(wrong());
            break;
        case Takes::Optional:
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < argc && (std::string_view(argv[i + 1]) == "-" ||
                                        !std::string_view(argv[i + 1]).starts_with("--"))) {
                value = argv[++i];
            }
            break;
        }
        if (std::string error = option->Set(state, arg, value); !error.empty()) {
            return fail(std::move(error));
        }
        if (option->SingleRun && state.SingleRunOption.empty()) {
            state.SingleRunOption = arg;
        }
    }

    const std::optional<int>& steel = state.Steel;
    const std::optional<std::string>& ultimate = state.Ultimate;
    const std::optional<std::string>& yield = state.Yield;
    const std::string& singleRunOption = state.SingleRunOption;
    const std::string& pipeOption = state.PipeOption;
    const std::string& pipesOption = state.PipesOption;
    if (steel && (ultimate || yield)) {
        return fail("--steel нельзя задать вместе с --ultimate или --yield");
    }
    if (ultimate.has_value() != yield.has_value()) {
        return fail("--ultimate и --yield задаются вместе");
    }
    if (steel) {
        const SteelGrade* grade = FindSteelGrade(*steel);
        options.Texts.UltimateStrength = grade->UltimateStrength;
        options.Texts.YieldStrength = grade->YieldStrength;
        options.SteelGrade = *steel;
    }
    if (ultimate) {
        options.Texts.UltimateStrength = *ultimate;
        options.Texts.YieldStrength = *yield;
        options.SteelGrade = UserDefinedSteelGrade();
    }
    if (std::string problem = DocumentFieldsProblem(options.Document); !problem.empty()) {
        return fail(AsSentence(problem));
    }
    if (!pipesOption.empty()) {
        if (!pipeOption.empty()) {
            return fail(pipeOption + " нельзя задать вместе с " + pipesOption +
                        ": диаметр и стенку каждой трубы задает список");
        }
        for (const auto& [given, name] : {std::pair{options.Json, "--json"}, std::pair{options.Report, "--report"}}) {
            if (given) {
                return fail(std::string(name) + " нельзя задать вместе с " + pipesOption +
                            ": записка по нескольким трубам пишется только в файл");
            }
        }
        if (options.PdfFile.empty() && options.OdtFile.empty() && !options.Batch) {
            return fail(pipesOption + " задается вместе с --pdf или --odt");
        }
    }
    if (options.Batch && options.Json && options.Report) {
        return fail("--report нельзя задать вместе с --batch --json: объекты JSON уже содержат промежуточные данные");
    }
    if (options.Batch && (!singleRunOption.empty() || ultimate)) {
        // The batch takes every input from its lines; an option for one pipe would be ignored.
        return fail((singleRunOption.empty() ? std::string("--ultimate") : singleRunOption) +
                    " нельзя задать вместе с --batch: пакет берет все исходные данные из своих строк");
    }
    parsed.Options = std::move(options);
    return parsed;
}

}  // namespace korvelin::cli

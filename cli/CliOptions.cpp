#include "CliOptions.h"

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

InputSet OptionsInputSet(const CliOptions& options, const InputSet* base)
{
    InputSet set = base != nullptr ? *base : StartUpInputSet();
    set.Texts = options.Texts;
    set.Indexes = options.Indexes;
    set.SteelGrade = options.SteelGrade;
    set.OwnClimate = options.OwnClimate;
    set.Friction = options.Friction;
    set.Document = options.Document;
    return set;
}

std::string HelpText()
{
    std::string text =
        "Usage: korvelin-calc [options]\n"
        "       korvelin-calc --batch [FILE]\n"
        "\n"
        "Computes the permissible middle-span length of an above-ground steel gas pipeline\n"
        "by SP 42-102-2004 and SNiP 2.04.12-86.\n"
        "\n"
        "Options (TEXT as typed into the window's fields, comma or full stop as decimal mark;\n"
        "N a selector item index counted from 0):\n"
        "  --diameter TEXT   outer diameter, mm (default \"89\")\n"
        "  --wall TEXT       wall thickness, mm (default \"3,2\")\n"
        "  --pressure TEXT   working pressure, MPa (default \"0,6\")\n"
        "  --steel N         steel grade; fills in both strengths (default 0)\n"
        "  --ultimate TEXT   ultimate strength, MPa (with --yield, instead of --steel)\n"
        "  --yield TEXT      yield strength, MPa (with --ultimate, instead of --steel)\n"
        "  --height N        building-height category of the route (default 0)\n"
        "  --snow N          snow region (default 0)\n"
        "  --wind N          wind region (default 0)\n"
        "  --ice N           ice region (default 0)\n"
        "  --spans N         number of spans (default 0)\n"
        "  --slope N         slope of the pipeline (default 0)\n"
        "  --sep C           decimal separator of parsing and output (default: the locale's)\n"
        "  --report          also print the intermediate report\n"
        "  --json            print one JSON object instead of text (with --batch: one per\n"
        "                    line, values to the last bit)\n"
        "  --input FILE      start from the inputs saved in FILE (a .korvelin file of the\n"
        "                    window); the options given replace its values\n"
        "  --save FILE       save the inputs the options describe to FILE, then calculate\n"
        "  --span L          check a chosen span of L metres against every criterion\n"
        "  --route L         count the supports of a route of L metres\n"
        "  --pdf FILE        write the calculation note to FILE (PDF, A4); needs no display\n"
        "  --snow-weight S   свой нормативный вес снегового покрова, кН/м² (от 0 до 20),\n"
        "                    вместо значения района; пустое значение — по району\n"
        "  --wind-pressure W\n"
        "                    свое нормативное ветровое давление, кПа (от 0 до 5)\n"
        "  --ice-thickness MM\n"
        "                    своя толщина стенки гололеда, мм (от 0 до 100)\n"
        "  --snow-source TEXT, --wind-source TEXT, --ice-source TEXT\n"
        "                    источник своего значения для записки, например\n"
        "                    «СП 20.13330.2016, табл. К.1»\n"
        "  --friction MU     коэффициент трения в опорах, больше 0 и не больше 1\n"
        "                    (по умолчанию 0,3: сталь по стали; 0,1 — фторопласт)\n"
        "  --odt FILE        записать расчетную записку в FILE в формате ODT (без рамки)\n"
        "Сведения о документе для записки (TEXT — до 200 знаков):\n"
        "  --object TEXT     объект\n"
        "  --designation TEXT\n"
        "                    обозначение документа (шифр); с ним записка в PDF выходит\n"
        "                    в рамке с основной надписью\n"
        "  --organization TEXT\n"
        "                    организация\n"
        "  --stage TEXT      стадия\n"
        "  --author TEXT     разработал (Разраб.)\n"
        "  --checker TEXT    проверил (Пров.)\n"
        "  --norm-control TEXT\n"
        "                    нормоконтроль (Н. контр.)\n"
        "  --chief-engineer TEXT\n"
        "                    главный инженер проекта (ГИП)\n"
        "  --frame, --no-frame\n"
        "                    рамка и основная надпись в PDF: да или нет (без этих\n"
        "                    параметров — да, если задано обозначение документа)\n"
        "  --batch [FILE]    one calculation per line of FILE or standard input (see below)\n"
        "  --version         print the version\n"
        "  --help            print this help\n"
        "\n"
        "Selector items:\n";
    AppendItems(text, "--steel", "steel grade", SteelGradeItems());
    AppendItems(text, "--height", "building height", HeightCategoryItems());
    AppendItems(text, "--snow", "snow region", SnowRegionItems());
    AppendItems(text, "--wind", "wind region", WindRegionItems());
    AppendItems(text, "--ice", "ice region", IceRegionItems());
    AppendItems(text, "--spans", "number of spans", SpanCountItems());
    AppendItems(text, "--slope", "slope", SlopeItems());
    text +=
        "\n"
        "Batch input: a header line (skipped), then one line per calculation with 11 fields\n"
        "separated by \";\": diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n"
        "Необязательные поля 12–14: snow-weight;wind-pressure;ice-thickness — свои нормативные\n"
        "значения в единицах параметров с теми же именами (пустое поле — по району)\n"
        "Batch output: outcome;message;static_sp;dynamic_sp;condensate_sp;deflection_sp;"
        "static_snip;deflection_snip;governing_sp;governing_snip\n"
        "\n"
        "Exit status: 0 completed (batch: every line read), 1 refused or failed (batch: a line\n"
        "was invalid), 2 usage error, or a file that cannot be read or written.\n";
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
    }
    std::optional<int> steel;
    std::optional<std::string> ultimate;
    std::optional<std::string> yield;
    std::string singleRunOption;  // the first option that only a single run takes
    ParsedCommandLine parsed;
    auto fail = [&parsed](std::string message) {
        parsed.Error = std::move(message);
        return parsed;
    };

    struct IndexOption {
        std::string_view Name;
        int* Target;
    };
    const IndexOption indexOptions[] = {
        {"--height", &options.Indexes.HeightCategory}, {"--snow", &options.Indexes.SnowRegion},
        {"--wind", &options.Indexes.WindRegion},       {"--ice", &options.Indexes.IceRegion},
        {"--spans", &options.Indexes.SpanCount},       {"--slope", &options.Indexes.Slope},
    };
    struct TextOption {
        std::string_view Name;
        std::string* Target;
    };
    const TextOption textOptions[] = {
        {"--diameter", &options.Texts.OuterDiameter},
        {"--wall", &options.Texts.WallThickness},
        {"--pressure", &options.Texts.Pressure},
        {"--snow-source", &options.OwnClimate.SnowWeight.Source},
        {"--wind-source", &options.OwnClimate.WindPressure.Source},
        {"--ice-source", &options.OwnClimate.IceThickness.Source},
    };
    // An own value is in force when given a text; an empty one gives the region's value back.
    const std::pair<std::string_view, OwnClimateEntry*> ownOptions[] = {
        {"--snow-weight", &options.OwnClimate.SnowWeight},
        {"--wind-pressure", &options.OwnClimate.WindPressure},
        {"--ice-thickness", &options.OwnClimate.IceThickness},
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
        // The value of an option: after "=" or the next argument, which may start with "-"
        // (a negative number is a value the engine refuses with its own message).
        auto value = [&](std::string_view& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                return false;
            }
            target = true;
            return true;
        };
        std::string_view v;
        bool handled = false;
        for (const auto& option : textOptions) {
            if (arg == option.Name) {
                if (!value(v)) return fail(std::string(arg) + " needs a value");
                *option.Target = v;
                handled = true;
            }
        }
        for (const auto& option : indexOptions) {
            if (arg == option.Name) {
                if (!value(v)) return fail(std::string(arg) + " needs a value");
                if (!ParseIndex(v, *option.Target)) {
                    return fail(std::string(arg) + " needs an integer item index, not '" +
                                std::string(v) + "'");
                }
                handled = true;
            }
        }
        for (const auto& [name, entry] : ownOptions) {
            if (arg == name) {
                if (!value(v)) return fail(std::string(arg) + " needs a value");
                entry->Value = v;
                entry->InForce = !v.empty();
                handled = true;
            }
        }
        if (handled) {
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
            continue;
        }
        if (arg == "--steel") {
            int index = 0;
            if (!value(v)) return fail("--steel needs a value");
            if (!ParseIndex(v, index) || FindSteelGrade(index) == nullptr) {
                return fail("--steel needs a steel grade index from 0 to " +
                            std::to_string(SteelGradeItems().size() - 1) + ", not '" +
                            std::string(v) + "'");
            }
            steel = index;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--ultimate") {
            if (!value(v)) return fail("--ultimate needs a value");
            ultimate = std::string(v);
        } else if (arg == "--yield") {
            if (!value(v)) return fail("--yield needs a value");
            yield = std::string(v);
        } else if (arg == "--span" || arg == "--route") {
            if (!value(v)) return fail(std::string(arg) + " needs a length in metres");
            (arg == "--span" ? options.ChosenSpan : options.RouteLength) = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--pdf") {
            if (!value(v) || v.empty()) return fail("--pdf needs a file name");
            options.PdfFile = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--input" || arg == "--save") {
            if (!value(v) || v.empty()) return fail(std::string(arg) + " needs a file name");
            (arg == "--input" ? options.InputFile : options.SaveFile) = std::string(v);
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--friction") {
            if (!value(v) || v.empty()) return fail("--friction: не задан коэффициент трения в опорах");
            options.Friction = std::string(v);
        } else if (const auto field = std::find_if(
                       kDocumentFieldKeys.begin(), kDocumentFieldKeys.end(),
                       [arg](const DocumentFieldKey& key) { return key.Option == arg; });
                   field != kDocumentFieldKeys.end()) {
            if (!value(v)) return fail("для " + std::string(arg) + " нужен текст");
            options.Document.*field->Field = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--frame" || arg == "--no-frame") {
            if (inlineValue) return fail(std::string(arg) + " — параметр без значения");
            options.Document.Frame = arg == "--frame";
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--odt") {
            if (!value(v) || v.empty()) return fail("для --odt нужно имя файла");
            options.OdtFile = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--sep") {
            if (!value(v)) return fail("--sep needs a value");
            if (v.empty()) return fail("--sep needs a character");
            options.Separator = std::string(v);
        } else if (arg == "--report") {
            if (!flag(options.Report)) return fail("--report takes no value");
        } else if (arg == "--json") {
            if (!flag(options.Json)) return fail("--json takes no value");
        } else if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else if (arg == "--version") {
            options.Version = true;
        } else if (arg == "--batch") {
            options.Batch = true;
            if (inlineValue) {
                options.BatchFile = *inlineValue;
            } else if (i + 1 < argc && (std::string_view(argv[i + 1]) == "-" ||
                                        !std::string_view(argv[i + 1]).starts_with("--"))) {
                options.BatchFile = argv[++i];
            }
        } else {
            return fail("unknown option '" + std::string(arg) + "'");
        }
    }

    if (steel && (ultimate || yield)) {
        return fail("--steel cannot be combined with --ultimate or --yield");
    }
    if (ultimate.has_value() != yield.has_value()) {
        return fail("--ultimate and --yield go together");
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
    if (options.Batch && options.Json && options.Report) {
        return fail("--report cannot be combined with --batch --json (the objects hold the report)");
    }
    if (options.Batch && (!singleRunOption.empty() || ultimate)) {
        // The batch takes every input from its lines; an option for one pipe would be ignored.
        return fail((singleRunOption.empty() ? std::string("--ultimate") : singleRunOption) +
                    " cannot be combined with --batch");
    }
    parsed.Options = std::move(options);
    return parsed;
}

}  // namespace korvelin::cli

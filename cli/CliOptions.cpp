#include "CliOptions.h"

#include "korvelin/Selectors.h"

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

InputSet OptionsInputSet(const CliOptions& options, const InputSet* base)
{
    InputSet set = base != nullptr ? *base : StartUpInputSet();
    set.Texts = options.Texts;
    set.Indexes = options.Indexes;
    set.SteelGrade = options.SteelGrade;
    return set;
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
        "N — номер пункта списка, считая от 0):\n"
        "  --diameter ТЕКСТ  наружный диаметр, мм (по умолчанию «89»)\n"
        "  --wall ТЕКСТ      толщина стенки трубы, мм (по умолчанию «3,2»)\n"
        "  --pressure ТЕКСТ  давление в трубопроводе, МПа (по умолчанию «0,6»)\n"
        "  --steel N         марка стали; задает оба предела (по умолчанию 0)\n"
        "  --ultimate ТЕКСТ  предел сопротивления, МПа (вместе с --yield, вместо --steel)\n"
        "  --yield ТЕКСТ     предел текучести, МПа (вместе с --ultimate, вместо --steel)\n"
        "  --height N        расположение трубопровода в районе застройки (по умолчанию 0)\n"
        "  --snow N          район по снеговой нагрузке (по умолчанию 0)\n"
        "  --wind N          район по ветровой нагрузке (по умолчанию 0)\n"
        "  --ice N           район по гололедной нагрузке (по умолчанию 0)\n"
        "  --spans N         количество пролетов (по умолчанию 0)\n"
        "  --slope N         уклон трубопровода (по умолчанию 0)\n"
        "  --sep C           десятичный разделитель чтения и вывода: «,» или «.»\n"
        "                    (по умолчанию — разделитель языковых настроек)\n"
        "  --report          вывести также промежуточные данные расчета\n"
        "  --json            вывести один объект JSON вместо текста (с --batch — по одному\n"
        "                    на строку, все значения до последнего бита)\n"
        "  --input ФАЙЛ      начать с исходных данных из ФАЙЛА (файл .korvelin окна);\n"
        "                    заданные параметры заменяют его значения\n"
        "  --save ФАЙЛ       сохранить исходные данные параметров в ФАЙЛ, затем рассчитать\n"
        "  --span L          проверить принятый пролет L м по каждому критерию\n"
        "  --route L         подсчитать опоры участка трассы длиной L м\n"
        "  --pdf ФАЙЛ        записать расчетную записку в ФАЙЛ (PDF, A4); дисплей не нужен\n"
        "  --batch [ФАЙЛ]    по расчету на строку ФАЙЛА или стандартного ввода (см. ниже)\n"
        "  --version         вывести версию\n"
        "  --help            вывести эту справку\n"
        "\n"
        "Пункты списков:\n";
    for (const IndexOption& option : kIndexOptions) {
        AppendItems(text, option.Name, option.Meaning, option.Items());
    }
    text +=
        "\n"
        "Пакет на входе: строка заголовка (пропускается), затем по строке на расчет из 11 полей\n"
        "через «;»: diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n"
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

    struct TextOption {
        std::string_view Name;
        std::string* Target;
    };
    const TextOption textOptions[] = {
        {"--diameter", &options.Texts.OuterDiameter},
        {"--wall", &options.Texts.WallThickness},
        {"--pressure", &options.Texts.Pressure},
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
                if (!value(v)) return fail(NoValue(arg));
                *option.Target = v;
                handled = true;
            }
        }
        for (const IndexOption& option : kIndexOptions) {
            if (arg != option.Name) {
                continue;
            }
            if (!value(v)) return fail(NoValue(arg));
            int index = 0;
            const int last = static_cast<int>(option.Items().size()) - 1;
            if (!ParseIndex(v, index) || index < 0 || index > last) {
                return fail(std::string(arg) + ": нужен номер пункта списка от 0 до " + std::to_string(last) +
                            ", а не «" + std::string(v) + "»");
            }
            if (option.Field != nullptr) {
                options.Indexes.*option.Field = index;
            } else {
                steel = index;
            }
            handled = true;
        }
        if (handled) {
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
            continue;
        }
        if (arg == "--ultimate") {
            if (!value(v)) return fail(NoValue(arg));
            ultimate = std::string(v);
        } else if (arg == "--yield") {
            if (!value(v)) return fail(NoValue(arg));
            yield = std::string(v);
        } else if (arg == "--span" || arg == "--route") {
            if (!value(v)) return fail(NoValue(arg));
            (arg == "--span" ? options.ChosenSpan : options.RouteLength) = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--pdf") {
            if (!value(v) || v.empty()) return fail(NoValue(arg));
            options.PdfFile = v;
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--input" || arg == "--save") {
            if (!value(v) || v.empty()) return fail(NoValue(arg));
            (arg == "--input" ? options.InputFile : options.SaveFile) = std::string(v);
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--sep") {
            if (!value(v)) return fail(NoValue(arg));
            if (v != "," && v != ".") {
                return fail("--sep: десятичный разделитель — «,» или «.», а не «" + std::string(v) + "»");
            }
            options.Separator = std::string(v);
        } else if (arg == "--report") {
            if (!flag(options.Report)) return fail(NoValueTaken(arg));
        } else if (arg == "--json") {
            if (!flag(options.Json)) return fail(NoValueTaken(arg));
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
            return fail("Неизвестный параметр «" + std::string(arg) + "»");
        }
    }

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

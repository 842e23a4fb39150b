#include "CliOptions.h"

#include "korvelin/NumberFormat.h"
#include "korvelin/ParseNumber.h"
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
        "  --snow-weight S   свой нормативный вес снегового покрова, кН/м² (от 0 до 20),\n"
        "                    вместо значения района; пустое значение — по району\n"
        "  --wind-pressure W\n"
        "                    свое нормативное ветровое давление, кПа (от 0 до 5)\n"
        "  --ice-thickness MM\n"
        "                    своя толщина стенки гололеда, мм (от 0 до 100)\n"
        "  --snow-source ТЕКСТ, --wind-source ТЕКСТ, --ice-source ТЕКСТ\n"
        "                    источник своего значения для записки, например\n"
        "                    «СП 20.13330.2016, табл. К.1»\n"
        "  --friction MU     коэффициент трения в опорах, от 0 до 1 (по умолчанию 0,3:\n"
        "                    сталь по стали; 0,1 — фторопласт; 0 — без трения)\n"
        "  --odt ФАЙЛ        записать расчетную записку в ФАЙЛ в формате ODT (A4, как PDF)\n"
        "Компенсация температурных деформаций участка между неподвижными опорами:\n"
        "  --section МАРШРУТ участок: длины плеч в метрах и повороты на 90° между ними,\n"
        "                    Л (L) — налево, П (R) — направо, например «20 Л 8 П 15»;\n"
        "                    повторяется, по участку на параметр\n"
        "  --guides СПИСОК   направляющие опоры участка предыдущего --section: номер\n"
        "                    плеча от 1 и расстояние в метрах от его начала (точки\n"
        "                    пересечения осей), через «;», например «1:16; 5:4»\n"
        "  --bend-radius MM  радиус отводов на всех поворотах участков, мм (по умолчанию\n"
        "                    1,5·D; 0 — острые углы); отвод — дуга, касательная к плечам,\n"
        "                    длины плеч — между точками пересечения осей\n"
        "  --support-step M  шаг скользящих опор вдоль плеч, м (по умолчанию — определяющий\n"
        "                    пролет своего свода правил); опора ставится и на каждом\n"
        "                    повороте\n"
        "  --t-closing T     температура замыкания, °C (от −70 до +100, не ниже t_min и\n"
        "                    не выше t_max)\n"
        "  --t-min T         наименьшая температура стенки трубы, °C\n"
        "  --t-max T         наибольшая температура стенки трубы, °C\n"
        "  --allowable-compensation S\n"
        "                    допускаемое напряжение компенсации [σ]к, МПа; без него\n"
        "                    напряжение выводится без оценки\n"
        "  --shoe-length MM  длина башмака скользящей опоры, мм: наибольшее перемещение\n"
        "                    угла сравнивается с ее половиной\n"
        "                    Опора А — в начале координат, первое плечо — по оси +x,\n"
        "                    поворот налево — на +90°. Реакция — сила, с которой опора\n"
        "                    действует на трубу; моменты положительны против часовой\n"
        "                    стрелки; продольная сила N положительна при растяжении.\n"
        "                    Момент на конце плеча — момент нагрузок на часть трубы от\n"
        "                    этой точки до опоры Б (ее реакций): в опоре Б он равен M\n"
        "                    опоры Б, в опоре А — M опоры А с обратным знаком.\n"
        "                    Отводы гибче прямой трубы в K = max(1; 1,65/λ) раз, напряжение\n"
        "                    в отводе больше в i = max(1; 0,9/λ^(2/3)) раз, λ = t·R/r²,\n"
        "                    r = (D − t)/2 (гладкий отвод по Карману; влияние давления\n"
        "                    на гибкость не учитывается). Трение μ·V на каждой скользящей\n"
        "                    опоре и направляющей (V — вертикальная нагрузка опоры по\n"
        "                    нагрузке q выполненного расчета пролета) противостоит ее\n"
        "                    перемещению; опора, сила на которую меньше μ·V, не\n"
        "                    скользит. Трение решается по шагам температуры от t_з до\n"
        "                    t_max и до t_min с точностью 0,1 % сил; --friction 0 — без\n"
        "                    трения. Сжатые плечи проверяются на продольную\n"
        "                    устойчивость (сила Эйлера шарнирного стержня: в\n"
        "                    вертикальной плоскости — пролет между опорами, в\n"
        "                    горизонтальной — участок между направляющими, отводами и\n"
        "                    неподвижными опорами); при N/N_cr > 1 — предупреждение.\n"
        "                    Продольное напряжение — от давления p·d/(4t), от веса\n"
        "                    (опорный момент пролета q·l²/12), от температуры (в отводе с\n"
        "                    i) и их сумма; [σ]к сравнивается с температурной частью.\n"
        "  --pipes СПИСОК    одна записка по нескольким трубам (вместе с --pdf или --odt):\n"
        "                    наружный диаметр и толщина стенки в мм через «x» или «×»,\n"
        "                    трубы через «;», например «57x3; 108x4; 159x4,5»; остальные\n"
        "                    исходные данные — общие для всех труб\n"
        "  --table-pipes     то же по строкам таблицы пролетов из --input ФАЙЛ (без него —\n"
        "                    по списку таблицы по умолчанию)\n"
        "Сведения о документе для записки (ТЕКСТ — до 200 знаков):\n"
        "  --object ТЕКСТ    объект\n"
        "  --designation ТЕКСТ\n"
        "                    обозначение документа (шифр); с ним записка в PDF и ODT\n"
        "                    выходит в рамке с основной надписью\n"
        "  --organization ТЕКСТ\n"
        "                    организация\n"
        "  --stage ТЕКСТ     стадия\n"
        "  --author ТЕКСТ    разработал (Разраб.)\n"
        "  --checker ТЕКСТ   проверил (Пров.)\n"
        "  --norm-control ТЕКСТ\n"
        "                    нормоконтроль (Н. контр.)\n"
        "  --chief-engineer ТЕКСТ\n"
        "                    главный инженер проекта (ГИП)\n"
        "  --replaced-inventory ТЕКСТ\n"
        "                    взамен инвентарного номера (Взам. инв. №)\n"
        "  --original-signed ТЕКСТ\n"
        "                    подпись и дата подлинника (Подп. и дата)\n"
        "  --original-inventory ТЕКСТ\n"
        "                    инвентарный номер подлинника (Инв. № подл.)\n"
        "  --frame, --no-frame\n"
        "                    рамка и основная надпись в PDF и ODT: да или нет (без этих\n"
        "                    параметров — да, если задано обозначение документа)\n"
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
    }
    std::optional<int> steel;
    std::optional<std::string> ultimate;
    std::optional<std::string> yield;
    std::string singleRunOption;  // the first option that only a single run takes
    std::string pipeOption;       // --diameter or --wall, which a note of several pipes does not take
    std::string pipesOption;      // --pipes or --table-pipes
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
        {"--snow-source", &options.OwnClimate.SnowWeight.Source},
        {"--wind-source", &options.OwnClimate.WindPressure.Source},
        {"--ice-source", &options.OwnClimate.IceThickness.Source},
        {"--t-closing", &options.Compensation.ClosingTemperature},
        {"--t-min", &options.Compensation.MinTemperature},
        {"--t-max", &options.Compensation.MaxTemperature},
        {"--allowable-compensation", &options.Compensation.AllowableStress},
        {"--shoe-length", &options.Compensation.ShoeLength},
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
                if (!value(v)) return fail(NoValue(arg));
                *option.Target = v;
                handled = true;
                if ((arg == "--diameter" || arg == "--wall") && pipeOption.empty()) {
                    pipeOption = arg;
                }
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
        for (const auto& [name, entry] : ownOptions) {
            if (arg == name) {
                if (!value(v)) return fail(NoValue(arg));
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
        } else if (arg == "--section") {
            if (!value(v)) return fail(NoValue(arg));
            options.SectionRoutes.emplace_back(v);
            options.SectionGuides.emplace_back();
            if (singleRunOption.empty()) {
                singleRunOption = arg;
            }
        } else if (arg == "--guides") {
            if (!value(v)) return fail(NoValue(arg));
            if (options.SectionRoutes.empty()) {
                return fail("--guides задается после --section своего участка");
            }
            options.SectionGuides.back() = std::string(v);
        } else if (arg == "--bend-radius" || arg == "--support-step") {
            if (!value(v) || v.empty()) return fail(NoValue(arg));
            (arg == "--bend-radius" ? options.BendRadius : options.SupportStep) = std::string(v);
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
        } else if (arg == "--pipes" || arg == "--table-pipes") {
            if (!pipesOption.empty()) {
                return fail(std::string(arg) + " нельзя задать вместе с " + pipesOption);
            }
            pipesOption = arg;
            if (arg == "--pipes") {
                if (!value(v)) return fail(NoValue(arg));
                PipeListReading reading = ReadPipeList(v);
                if (!reading.Ok()) return fail(reading.Error);
                options.Pipes = std::move(reading.Pipes);
            } else {
                if (inlineValue) return fail(NoValueTaken(arg));
                std::vector<PipeSize> rows;
                if (base != nullptr && base->PipeTable) {
                    for (const PipeTableRow& row : *base->PipeTable) {
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
                    return fail("--table-pipes: в таблице пролетов нет труб");
                }
                options.Pipes = std::move(rows);
            }
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

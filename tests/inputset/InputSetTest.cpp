#include "korvelin/InputSet.h"
#include "korvelin/Selectors.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>

namespace korvelin {
namespace {

using Json = nlohmann::json;

constexpr const char* kStartUpFile = R"({
  "format": "korvelin-inputs",
  "version": 2,
  "outerDiameter": "89",
  "wallThickness": "3,2",
  "ultimateStrength": "333",
  "yieldStrength": "206",
  "pressure": "0,6",
  "steelGrade": "ст2сп/ГОСТ 10705-80",
  "heightCategory": 0,
  "snowRegion": 0,
  "windRegion": 0,
  "iceRegion": 0,
  "spanCount": 0,
  "slope": 0
}
)";

// The same set as format 1 wrote it: the grade by its place in the list.
constexpr const char* kStartUpFile1 = R"({
  "format": "korvelin-inputs",
  "version": 1,
  "outerDiameter": "89",
  "wallThickness": "3,2",
  "ultimateStrength": "333",
  "yieldStrength": "206",
  "pressure": "0,6",
  "steelGrade": 0,
  "heightCategory": 0,
  "snowRegion": 0,
  "windRegion": 0,
  "iceRegion": 0,
  "spanCount": 0,
  "slope": 0
}
)";

TEST(InputSetFormat, StartUpSetIsWrittenInItsDocumentedForm)
{
    EXPECT_EQ(SerializeInputSet(StartUpInputSet()), kStartUpFile);
    const InputSetParse parse = ParseInputSet(kStartUpFile);
    ASSERT_TRUE(parse.Set) << parse.Problem;
    EXPECT_EQ(*parse.Set, StartUpInputSet());
    // Format 1 reads to the same set, and is written back as format 2.
    const InputSetParse old = ParseInputSet(kStartUpFile1);
    ASSERT_TRUE(old.Set) << old.Problem;
    EXPECT_EQ(*old.Set, StartUpInputSet());
    EXPECT_EQ(SerializeInputSet(*old.Set), kStartUpFile);
    // A file of an earlier version has no document fields: they stay empty, the frame unset.
    EXPECT_EQ(parse.Set->Document, DocumentFields{});
}

// Every item of every selector and every steel grade comes back as written, with the optional
// texts and table rows of the other windows.
TEST(InputSetFormat, EveryItemRoundTrips)
{
    const std::size_t grades = SteelGradeItems().size();
    for (std::size_t item = 0; item < 11; ++item) {
        InputSet set = StartUpInputSet();
        set.SteelGrade = static_cast<int>(item % grades);
        const SteelGrade& grade = *FindSteelGrade(set.SteelGrade);
        set.Texts.UltimateStrength = grade.UserDefined ? "410,5" : std::string(grade.UltimateStrength);
        set.Texts.YieldStrength = grade.UserDefined ? "245" : std::string(grade.YieldStrength);
        set.Texts.OuterDiameter = "159";
        set.Texts.Pressure = "1,2";
        auto pick = [item](std::span<const std::string_view> items) {
            return static_cast<int>(item % items.size());
        };
        set.Indexes = {pick(HeightCategoryItems()), pick(SnowRegionItems()), pick(WindRegionItems()),
                       pick(IceRegionItems()),      pick(SpanCountItems()),  pick(SlopeItems())};
        if (item % 2 == 1) {
            set.ChosenSpan = "9,189";
            set.RouteLength = "10" + std::to_string(item) + ",5";
            set.PipeTable = std::vector<PipeTableRow>{{"89", "3,2"}, {"108", "4"}};
            // The own values in force travel with their sources; the coefficient of friction.
            set.OwnClimate.SnowWeight = {true, "1,8", "СП 20.13330.2016, табл. К.1"};
            set.OwnClimate.IceThickness = {true, "12,5", ""};
            set.Friction = "0,1";
            set.Document = {.Object = "Газопровод к котельной по ул. «Лесной», д. 5",
                            .Designation = "123-2026-ГСН.РР", .Stage = "Р",
                            .ChiefEngineer = "Сидоров", .Frame = item % 4 == 1};
        }
        if (item % 3 == 2) {
            // The compensation: a section with and one without check values, temperatures half
            // typed; a set with no sections keeps its temperatures.
            CompensationTexts compensation;
            compensation.ClosingTemperature = "-5,5";
            compensation.MaxTemperature = item == 2 ? "" : "60";
            compensation.AllowableStress = item == 5 ? "120" : "";
            compensation.ShoeLength = item == 8 ? "300" : "";
            if (item != 8) {
                compensation.Sections = {{"Узел «П-1»", {{"20", "Л"}, {"3", "п"}, {"4", "R"}, {"3", "L"}, {"20,5", ""}}},
                                         {"", {{"10", ""}}}};
                // Bends, a step and guides on the first section; the second keeps sharp corners.
                if (item != 2) {
                    compensation.Sections[0].BendRadius = "238,5";
                    compensation.Sections[0].SupportStep = item == 5 ? "4" : "";
                    compensation.Sections[0].Guides = "1:16; 5:4";
                }
            }
            set.Compensation = compensation;
        }
        const InputSetParse parse = ParseInputSet(SerializeInputSet(set));
        ASSERT_TRUE(parse.Set) << item << ": " << parse.Problem;
        EXPECT_EQ(*parse.Set, set) << item;
    }
}

TEST(InputSetFormat, CompensationIsWrittenInItsDocumentedForm)
{
    InputSet set = StartUpInputSet();
    set.Compensation = CompensationTexts{{{"Г-1", {{"10", "Л"}, {"5", ""}}}}, "0", "-40", "50", "", "300"};
    const std::string file = SerializeInputSet(set);
    const std::string expected = R"(  "compensation": {
    "closingTemperature": "0",
    "minTemperature": "-40",
    "maxTemperature": "50",
    "shoeLength": "300",
    "sections": [
      {
        "name": "Г-1",
        "legs": [
          {
            "length": "10",
            "turn": "Л"
          },
          {
            "length": "5"
          }
        ]
      }
    ]
  }
}
)";
    ASSERT_GE(file.size(), expected.size());
    EXPECT_EQ(file.substr(file.size() - expected.size()), expected);
    const InputSetParse parse = ParseInputSet(file);
    ASSERT_TRUE(parse.Set) << parse.Problem;
    EXPECT_EQ(*parse.Set, set);
    // A file without the key has no compensation, as before.
    EXPECT_FALSE(ParseInputSet(kStartUpFile).Set->Compensation);

    // A section's bend radius, support step and guides follow its legs, each only when given.
    set.Compensation->Sections[0].BendRadius = "0";
    set.Compensation->Sections[0].Guides = "1:2,5";
    const std::string withBends = SerializeInputSet(set);
    EXPECT_NE(withBends.find(R"(          {
            "length": "5"
          }
        ],
        "bendRadius": "0",
        "guides": "1:2,5"
      }
)"),
              std::string::npos)
        << withBends;
    EXPECT_EQ(withBends.find("supportStep"), std::string::npos);
    EXPECT_EQ(*ParseInputSet(withBends).Set, set);
}

// The section as built: its bend radius, step and guides as optional keys after its legs; a
// section without them reads with empty texts (sharp corners, the governing span, no guides).
TEST(InputSetFormat, SectionKeepsItsBendsStepAndGuides)
{
    InputSet set = StartUpInputSet();
    SectionTexts section{"Г-1", {{"20", "Л"}, {"3", "П"}, {"4", "П"}, {"3", "Л"}, {"20", ""}}};
    section.BendRadius = "133,5";
    section.SupportStep = "3";
    section.Guides = "1:16; 5:4";
    set.Compensation = CompensationTexts{{section}, "0", "-40", "50", "", ""};
    const std::string file = SerializeInputSet(set);
    const std::string expected = R"(          {
            "length": "20"
          }
        ],
        "bendRadius": "133,5",
        "supportStep": "3",
        "guides": "1:16; 5:4"
      }
    ]
  }
}
)";
    ASSERT_GE(file.size(), expected.size());
    EXPECT_EQ(file.substr(file.size() - expected.size()), expected);
    const InputSetParse parse = ParseInputSet(file);
    ASSERT_TRUE(parse.Set) << parse.Problem;
    EXPECT_EQ(*parse.Set, set);
    // Without the keys: empty texts, as saved.
    std::string bare = file;
    for (const char* key : {",\n        \"bendRadius\": \"133,5\"", ",\n        \"supportStep\": \"3\"",
                            ",\n        \"guides\": \"1:16; 5:4\""}) {
        const std::size_t at = bare.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        bare.erase(at, std::string(key).size());
    }
    const InputSetParse old = ParseInputSet(bare);
    ASSERT_TRUE(old.Set) << old.Problem;
    const SectionTexts& read = old.Set->Compensation->Sections.at(0);
    EXPECT_EQ(read.BendRadius, "");
    EXPECT_EQ(read.SupportStep, "");
    EXPECT_EQ(read.Guides, "");
    EXPECT_EQ(read.Legs, section.Legs);
    // A text longer than any field holds is refused, naming its key.
    set.Compensation->Sections[0].BendRadius = std::string(kMaxInputTextLength + 1, '1');
    const InputSetParse longer = ParseInputSet(SerializeInputSet(set));
    EXPECT_FALSE(longer.Set);
    EXPECT_NE(longer.Problem.find("bendRadius"), std::string::npos) << longer.Problem;
}

TEST(InputSetFormat, LimitsAreInclusive)
{
    InputSet set = StartUpInputSet();
    set.Texts.Pressure = "0," + std::string(62, '5');
    set.ChosenSpan = std::string();
    set.RouteLength = std::string(64, '7');
    set.PipeTable = std::vector<PipeTableRow>(kMaxPipeTableRows, PipeTableRow{"89", "3,2"});
    set.Indexes.WindRegion = static_cast<int>(WindRegionItems().size()) - 1;
    for (const DocumentFieldKey& key : kDocumentFieldKeys) {
        set.Document.*key.Field = std::string(kMaxDocumentFieldLength, 'x');
    }
    set.Document.Object = "";
    for (std::size_t i = 0; i < kMaxDocumentFieldLength; ++i) {
        set.Document.Object += "ж";
    }
    // As many sections and legs as a file may hold, temperatures at their ends.
    CompensationTexts compensation{{}, "100", "-70", "100", "2000", "10000"};
    SectionTexts section{std::string(kMaxInputTextLength, 'x'), {}};
    for (std::size_t i = 1; i < kMaxSectionLegs; ++i) {
        section.Legs.push_back({"1", "Л"});
    }
    section.Legs.push_back({"10000", ""});
    compensation.Sections.assign(kMaxCompensationSections, section);
    set.Compensation = compensation;
    const InputSetParse parse = ParseInputSet(SerializeInputSet(set));
    ASSERT_TRUE(parse.Set) << parse.Problem;
    EXPECT_EQ(*parse.Set, set);
}

// A valid compensation object: a Г-shaped section, temperatures, no check values.
Json Compensation()
{
    return Json::parse(R"({"closingTemperature": "0", "minTemperature": "-40", "maxTemperature": "50",
        "sections": [{"name": "Г-1", "legs": [{"length": "10", "turn": "Л"}, {"length": "5"}]}]})");
}

struct BadFile {
    const char* Name;
    std::function<void(Json&)> Change;
    const char* Problem;
};

TEST(InputSetFormat, EveryBadSetGetsItsProblem)
{
    const BadFile cases[] = {
        {"other format", [](Json& j) { j["format"] = "korvelin-report"; },
         "это не файл исходных данных Korvelin (нет ключа «format» со значением «korvelin-inputs»)"},
        {"no format", [](Json& j) { j.erase("format"); },
         "это не файл исходных данных Korvelin (нет ключа «format» со значением «korvelin-inputs»)"},
        {"newer version", [](Json& j) { j["version"] = 3; j["newKey"] = 1; },
         "файл записан более новой версией программы (версия формата 3, эта версия читает до 2)"},
        {"version zero", [](Json& j) { j["version"] = 0; }, "версии формата 0 не бывает"},
        {"version as text", [](Json& j) { j["version"] = "1"; },
         "значение ключа «version» должно быть целым числом"},
        {"missing field", [](Json& j) { j.erase("pressure"); }, "нет ключа «pressure»"},
        {"missing selector", [](Json& j) { j.erase("slope"); }, "нет ключа «slope»"},
        {"extra key", [](Json& j) { j["colour"] = "red"; }, "лишний ключ «colour»"},
        {"number for text", [](Json& j) { j["pressure"] = 0.6; },
         "значение ключа «pressure» должно быть строкой"},
        {"null for text", [](Json& j) { j["wallThickness"] = nullptr; },
         "значение ключа «wallThickness» должно быть строкой"},
        {"text for index", [](Json& j) { j["snowRegion"] = "1"; },
         "значение ключа «snowRegion» должно быть целым числом"},
        {"fraction for index", [](Json& j) { j["snowRegion"] = 1.0; },
         "значение ключа «snowRegion» должно быть целым числом"},
        {"index past the list", [](Json& j) { j["snowRegion"] = 8; },
         "значение ключа «snowRegion» (8) вне списка: допустимо от 0 до 7"},
        {"negative index", [](Json& j) { j["slope"] = -1; },
         "значение ключа «slope» (-1) вне списка: допустимо от 0 до 10"},
        {"huge index", [](Json& j) { j["iceRegion"] = 18446744073709551615u; },
         "значение ключа «iceRegion» (9223372036854775807) вне списка: допустимо от 0 до 7"},
        {"steel grade past the list", [](Json& j) { j["steelGrade"] = 7; },
         "значение ключа «steelGrade» (7) вне списка: допустимо от 0 до 6"},
        {"text of 65 characters", [](Json& j) { j["outerDiameter"] = std::string(65, '1'); },
         "значение ключа «outerDiameter» длиннее 64 символов"},
        {"control character", [](Json& j) { j["pressure"] = "0,6\n"; },
         "значение ключа «pressure» содержит управляющие символы"},
        {"not a number", [](Json& j) { j["wallThickness"] = "3,2 мм"; },
         "в поле «Толщина стенки трубы» записано «3,2 мм», а в это поле можно ввести только цифры и одну "
         "десятичную запятую"},
        {"exponent", [](Json& j) { j["pressure"] = "1e308"; },
         "в поле «Давление в трубопроводе» записано «1e308», а в это поле можно ввести только цифры и одну "
         "десятичную запятую"},
        {"sign", [](Json& j) { j["wallThickness"] = "+3"; },
         "в поле «Толщина стенки трубы» записано «+3», а в это поле можно ввести только цифры и одну "
         "десятичную запятую"},
        {"chosen span with a sign", [](Json& j) { j["chosenSpan"] = "-3"; },
         "в поле «Принятый пролет, м» записано «-3», а в это поле можно ввести только цифры и одну десятичную "
         "запятую"},
        {"table cell with an exponent", [](Json& j) { j["pipeTable"] = Json::array({{{"diameter", "89"}, {"wall", "3"}}, {{"diameter", "89"}, {"wall", "1e1"}}}); },
         "в строке 2 таблицы пролетов в ячейке «Толщина стенки, мм» записано «1e1», а в ячейку можно ввести "
         "только цифры и одну десятичную запятую"},
        {"strengths of another grade", [](Json& j) { j["steelGrade"] = 1; },
         "прочности «333» и «206» не те, что у стали «ст3сп/ГОСТ 10705-80»: 372 и 225"},
        {"chosen span as number", [](Json& j) { j["chosenSpan"] = 9.1; },
         "значение ключа «chosenSpan» должно быть строкой"},
        {"route length too long", [](Json& j) { j["routeLength"] = std::string(65, '7'); },
         "значение ключа «routeLength» длиннее 64 символов"},
        {"table not an array", [](Json& j) { j["pipeTable"] = Json::object(); },
         "значение ключа «pipeTable» должно быть массивом"},
        {"table too long", [](Json& j) { j["pipeTable"] = Json::array(); for (int i = 0; i < 1001; ++i) j["pipeTable"].push_back({{"diameter", "89"}, {"wall", "3"}}); },
         "в ключе «pipeTable» больше 1000 строк"},
        {"row not an object", [](Json& j) { j["pipeTable"] = Json::array({{{"diameter", "89"}, {"wall", "3"}}, 5}); },
         "значение ключа «pipeTable[1]» должно быть объектом"},
        {"row without wall", [](Json& j) { j["pipeTable"] = Json::array({{{"diameter", "89"}}}); },
         "нет ключа «pipeTable[0].wall»"},
        {"row with extra key", [](Json& j) { j["pipeTable"] = Json::array({{{"diameter", "89"}, {"wall", "3"}, {"x", 1}}}); },
         "лишний ключ «pipeTable[0].x»"},
        {"row text too long", [](Json& j) { j["pipeTable"] = Json::array({{{"diameter", std::string(65, '1')}, {"wall", "3"}}}); },
         "значение ключа «pipeTable[0].diameter» длиннее 64 символов"},
        {"own value beyond its range", [](Json& j) { j["ownSnowWeight"] = {{"value", "25"}, {"source", ""}}; },
         "значение ключа «ownSnowWeight.value»: Нормативный вес снегового покрова должен быть от 0 до 20 кН/м² "
         "(введено «25»)"},
        {"own value not a number", [](Json& j) { j["ownIceThickness"] = {{"value", "10 мм"}}; },
         "значение ключа «ownIceThickness.value»: Толщина стенки гололеда должна быть числом (введено «10 мм»)"},
        {"own value with extra key", [](Json& j) { j["ownWindPressure"] = {{"value", "0,38"}, {"inForce", true}}; },
         "лишний ключ «ownWindPressure.inForce»"},
        {"friction negative", [](Json& j) { j["friction"] = "-0,1"; },
         "значение ключа «friction»: Коэффициент трения в опорах не может быть отрицательным (введено «-0,1»)"},
        {"document not an object", [](Json& j) { j["document"] = "Газопровод"; },
         "значение ключа «document» должно быть объектом"},
        {"document field as number", [](Json& j) { j["document"] = {{"stage", 1}}; },
         "значение ключа «document.stage» должно быть строкой"},
        {"frame as text", [](Json& j) { j["document"] = {{"frame", "да"}}; },
         "значение ключа «document.frame» должно быть true или false"},
        {"document with extra key", [](Json& j) { j["document"] = {{"customer", "А"}}; },
         "лишний ключ «document.customer»"},
        {"document field too long", [](Json& j) { j["document"] = {{"object", std::string(201, 'x')}}; },
         "поле «Объект» длиннее 200 знаков (201)"},
        {"line end in a name", [](Json& j) { j["document"] = {{"checker", "Петров\nА."}}; },
         "поле «Пров.» содержит управляющие знаки (переводы строки, табуляцию)"},
        {"compensation not an object", [](Json& j) { j["compensation"] = Json::array(); },
         "значение ключа «compensation» должно быть объектом"},
        {"compensation without sections", [](Json& j) { j["compensation"] = Compensation(); j["compensation"].erase("sections"); },
         "нет ключа «compensation.sections»"},
        {"compensation without a temperature", [](Json& j) { j["compensation"] = Compensation(); j["compensation"].erase("minTemperature"); },
         "нет ключа «compensation.minTemperature»"},
        {"compensation with extra key", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["alpha"] = "1,2"; },
         "лишний ключ «compensation.alpha»"},
        {"temperature as number", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["maxTemperature"] = 50; },
         "значение ключа «compensation.maxTemperature» должно быть строкой"},
        {"temperature out of range", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["maxTemperature"] = "120"; },
         "Наибольшая температура стенки t_max должна быть от −70 до +100 °C (введено «120»)"},
        {"t_min above t_max", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["minTemperature"] = "60"; },
         "Наименьшая температура стенки t_min не может быть выше наибольшей t_max"},
        {"negative allowable stress", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["allowableStress"] = "-1"; },
         "Допускаемое напряжение компенсации [σ]к должно быть больше нуля (введено «-1»)"},
        {"negative shoe", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["shoeLength"] = "-300"; },
         "Длина башмака опоры должна быть больше нуля (введено «-300»)"},
        {"too many sections", [](Json& j) { j["compensation"] = Compensation(); for (int i = 0; i < 100; ++i) j["compensation"]["sections"].push_back(j["compensation"]["sections"][0]); },
         "в ключе «compensation.sections» больше 100 элементов"},
        {"section not an object", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0] = "10 Л 5"; },
         "значение ключа «compensation.sections[0]» должно быть объектом"},
        {"leg without length", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["legs"][1].erase("length"); },
         "нет ключа «compensation.sections[0].legs[1].length»"},
        {"leg with extra key", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["legs"][1]["angle"] = 90; },
         "лишний ключ «compensation.sections[0].legs[1].angle»"},
        {"section ending in a turn", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["legs"][1]["turn"] = "П"; },
         "Участок «Г-1»: после последнего поворота нет плеча"},
        {"leg of zero", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["legs"][0]["length"] = "0"; },
         "Участок «Г-1»: длина плеча 1 должна быть больше нуля (введено «0»)"},
        {"section name too long", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["name"] = std::string(65, 'x'); },
         "значение ключа «compensation.sections[0].name» длиннее 64 символов"},
        // Format 1 had no bends: such a key is as foreign to it as before.
        {"bend radius in format 1", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["bendRadius"] = "238,5"; },
         "лишний ключ «compensation.sections[0].bendRadius»"},
    };
    // Format 1 files are refused as they always were.
    for (const BadFile& bad : cases) {
        Json json = Json::parse(kStartUpFile1);
        bad.Change(json);
        const InputSetParse parse = ParseInputSet(json.dump());
        EXPECT_FALSE(parse.Set) << bad.Name;
        EXPECT_EQ(parse.Problem, bad.Problem) << bad.Name;
    }
}

TEST(InputSetFormat, EveryBadFormat2SetGetsItsProblem)
{
    const BadFile cases[] = {
        {"grade by its place", [](Json& j) { j["steelGrade"] = 0; },
         "значение ключа «steelGrade» должно быть строкой"},
        {"grade not in the list", [](Json& j) { j["steelGrade"] = "20/ГОСТ 8731-74"; },
         "марки стали «20/ГОСТ 8731-74» (ключ «steelGrade») нет в списке марок этой версии программы"},
        {"grade in other case", [](Json& j) { j["steelGrade"] = "СТ2СП/ГОСТ 10705-80"; },
         "марки стали «СТ2СП/ГОСТ 10705-80» (ключ «steelGrade») нет в списке марок этой версии программы"},
        {"grade too long", [](Json& j) { j["steelGrade"] = std::string(65, 'x'); },
         "значение ключа «steelGrade» длиннее 64 символов"},
        {"strengths of another grade", [](Json& j) { j["steelGrade"] = "20/ГОСТ 10705-80"; },
         "прочности «333» и «206» не те, что у стали «20/ГОСТ 10705-80»: 372 и 225"},
        {"radius as number", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["bendRadius"] = 238.5; },
         "значение ключа «compensation.sections[0].bendRadius» должно быть строкой"},
        {"step with a line end", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["supportStep"] = "4\n"; },
         "значение ключа «compensation.sections[0].supportStep» содержит управляющие символы"},
        {"guides too long", [](Json& j) { j["compensation"] = Compensation(); j["compensation"]["sections"][0]["guides"] = std::string(201, '1'); },
         "значение ключа «compensation.sections[0].guides» длиннее 200 символов"},
        {"newer version", [](Json& j) { j["version"] = 3; },
         "файл записан более новой версией программы (версия формата 3, эта версия читает до 2)"},
    };
    for (const BadFile& bad : cases) {
        Json json = Json::parse(kStartUpFile);
        bad.Change(json);
        const InputSetParse parse = ParseInputSet(json.dump());
        EXPECT_FALSE(parse.Set) << bad.Name;
        EXPECT_EQ(parse.Problem, bad.Problem) << bad.Name;
    }
    // The longest guides a file may hold are taken.
    Json json = Json::parse(kStartUpFile);
    json["compensation"] = Compensation();
    json["compensation"]["sections"][0]["guides"] = "1:1," + std::string(195, '0') + "1";
    EXPECT_EQ(ParseInputSet(json.dump()).Problem, "");
}

// A format 1 file names its grade by the place it had in the list of that time; it opens as the
// grade of that name, as it did, and is written back by the name.
TEST(InputSetFormat, Format1GradesOpenByTheNamesTheyHad)
{
    struct Case {
        int Index;
        const char* Name;
        const char* Ultimate;
        const char* Yield;
    };
    const Case cases[] = {
        {0, "ст2сп/ГОСТ 10705-80", "333", "206"}, {1, "ст3сп/ГОСТ 10705-80", "372", "225"},
        {2, "08/ГОСТ 10705-80", "314", "196"},    {3, "10/ГОСТ 10705-80", "314", "196"},
        {4, "15/ГОСТ 10705-80", "333", "206"},    {5, "20/ГОСТ 10705-80", "372", "225"},
        {6, "Свой", "400", "250"},
    };
    for (const Case& c : cases) {
        Json json = Json::parse(kStartUpFile1);
        json["steelGrade"] = c.Index;
        json["ultimateStrength"] = c.Ultimate;
        json["yieldStrength"] = c.Yield;
        const InputSetParse parse = ParseInputSet(json.dump());
        ASSERT_TRUE(parse.Set) << c.Name << ": " << parse.Problem;
        EXPECT_EQ(SteelGradeItems()[static_cast<std::size_t>(parse.Set->SteelGrade)], c.Name);
        EXPECT_EQ(parse.Set->Texts.UltimateStrength, c.Ultimate);
        EXPECT_EQ(parse.Set->Version, kInputSetVersion);
        const Json written = Json::parse(SerializeInputSet(*parse.Set));
        EXPECT_EQ(written["steelGrade"], c.Name);
        EXPECT_EQ(written["version"], 2);
        // And format 2 reads its own file back to the same set.
        EXPECT_EQ(*ParseInputSet(written.dump()).Set, *parse.Set) << c.Name;
    }
    EXPECT_EQ(Format1SteelGrades().size(), 7u);

    // Format 1 sections have sharp corners, no step of their own and no guides.
    Json json = Json::parse(kStartUpFile1);
    json["compensation"] = Compensation();
    const InputSetParse parse = ParseInputSet(json.dump());
    ASSERT_TRUE(parse.Set) << parse.Problem;
    const SectionTexts& section = parse.Set->Compensation->Sections.at(0);
    EXPECT_EQ(section.Legs.size(), 2u);
    EXPECT_EQ(section.BendRadius, "");
    EXPECT_EQ(section.SupportStep, "");
    EXPECT_EQ(section.Guides, "");
}

TEST(InputSetFormat, BytesThatAreNoSetObject)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "файл пуст"},
        {"  \n", "это не JSON (ошибка в байте 4)"},
        {"{\"format\": \"korvelin-inputs\",", "это не JSON (ошибка в байте 30)"},
        {"pressure = 0,6", "это не JSON (ошибка в байте 1)"},
        {"{\"format\": \"korvelin-inputs\"} // comment", "это не JSON (ошибка в байте 31)"},
        {"[1, 2]", "в файле не объект JSON"},
        {"\"korvelin-inputs\"", "в файле не объект JSON"},
        {"{\"pressure\": \"0,6\xff\"}", "текст не в кодировке UTF-8 (байт 18)"},
        {"{\"pressure\": \"\xed\xa0\x80\"}", "текст не в кодировке UTF-8 (байт 15)"},  // a surrogate
        {"{\"pressure\": \"\xc0\xaf\"}", "текст не в кодировке UTF-8 (байт 15)"},      // overlong
    };
    for (const auto& [bytes, problem] : cases) {
        const InputSetParse parse = ParseInputSet(bytes);
        EXPECT_FALSE(parse.Set) << bytes;
        EXPECT_EQ(parse.Problem, problem) << bytes;
    }
}

TEST(InputSetFormat, CheckOfATypedSet)
{
    EXPECT_EQ(InputSetProblem(StartUpInputSet()), "");
    InputSet set = StartUpInputSet();
    set.Version = 3;
    EXPECT_EQ(InputSetProblem(set), "версия формата 3 не поддерживается");
    set = StartUpInputSet();
    set.Texts.Pressure = "\xff";
    EXPECT_EQ(InputSetProblem(set), "значение ключа «pressure» не в кодировке UTF-8");
    set = StartUpInputSet();
    set.Indexes.SpanCount = 7;
    EXPECT_EQ(InputSetProblem(set), "значение ключа «spanCount» (7) вне списка: допустимо от 0 до 6");
    // What the window holds: a full stop as the mark, the diameter at the limit as corrected or
    // beyond it after a thinner wall, empty optional texts and table cells.
    set = StartUpInputSet();
    set.Texts.WallThickness = "3.2";
    set.Texts.OuterDiameter = "306,4";
    set.ChosenSpan = "";
    set.RouteLength = ",5";
    set.PipeTable = std::vector<PipeTableRow>{{"", ""}, {"57", "3"}};
    EXPECT_EQ(InputSetProblem(set), "");
    set.Texts.OuterDiameter = "999";
    set.Texts.WallThickness = "3";
    EXPECT_EQ(InputSetProblem(set), "");
}

}  // namespace
}  // namespace korvelin

#include "CliOptions.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace korvelin::cli {
namespace {

ParsedCommandLine Parse(const std::vector<std::string>& arguments)
{
    std::vector<const char*> argv{"korvelin-calc"};
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

// The options the help names: every "--name" it holds, in its options' lines and in its texts.
std::set<std::string> OptionsOfTheHelp()
{
    const std::string help = HelpText();
    std::set<std::string> names;
    for (std::size_t at = help.find("--"); at != std::string::npos; at = help.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < help.size() && (std::islower(static_cast<unsigned char>(help[end])) || help[end] == '-')) {
            ++end;
        }
        names.insert(help.substr(at, end - at));
        at = end - 2;
    }
    return names;
}

struct OptionCase {
    std::vector<std::string> Arguments;
    std::function<bool(const CliOptions&)> Stored;
};

// Every option of the help, given as a user would, lands where the run reads it.
TEST(CliOptionTable, EveryOptionOfTheHelpIsParsedIntoItsPlace)
{
    const std::map<std::string, OptionCase> cases = {
        {"--diameter", {{"--diameter", "108"}, [](const CliOptions& o) { return o.Texts.OuterDiameter == "108"; }}},
        {"--wall", {{"--wall=4"}, [](const CliOptions& o) { return o.Texts.WallThickness == "4"; }}},
        {"--pressure", {{"--pressure", "1,2"}, [](const CliOptions& o) { return o.Texts.Pressure == "1,2"; }}},
        {"--steel", {{"--steel", "5"}, [](const CliOptions& o) { return o.SteelGrade == 5 && o.Texts.UltimateStrength == "372"; }}},
        {"--ultimate", {{"--ultimate", "400", "--yield", "250"}, [](const CliOptions& o) { return o.Texts.UltimateStrength == "400" && o.SteelGrade == 6; }}},
        {"--yield", {{"--yield", "250", "--ultimate", "400"}, [](const CliOptions& o) { return o.Texts.YieldStrength == "250"; }}},
        {"--height", {{"--height", "2"}, [](const CliOptions& o) { return o.Indexes.HeightCategory == 2; }}},
        {"--snow", {{"--snow", "7"}, [](const CliOptions& o) { return o.Indexes.SnowRegion == 7; }}},
        {"--wind", {{"--wind", "8"}, [](const CliOptions& o) { return o.Indexes.WindRegion == 8; }}},
        {"--ice", {{"--ice", "1"}, [](const CliOptions& o) { return o.Indexes.IceRegion == 1; }}},
        {"--spans", {{"--spans", "6"}, [](const CliOptions& o) { return o.Indexes.SpanCount == 6; }}},
        {"--slope", {{"--slope", "10"}, [](const CliOptions& o) { return o.Indexes.Slope == 10; }}},
        {"--sep", {{"--sep", "."}, [](const CliOptions& o) { return o.Separator == "."; }}},
        {"--report", {{"--report"}, [](const CliOptions& o) { return o.Report; }}},
        {"--json", {{"--json"}, [](const CliOptions& o) { return o.Json; }}},
        {"--input", {{"--input", "a.korvelin"}, [](const CliOptions& o) { return o.InputFile == "a.korvelin"; }}},
        {"--save", {{"--save", "b.korvelin"}, [](const CliOptions& o) { return o.SaveFile == "b.korvelin"; }}},
        {"--span", {{"--span", "3,5"}, [](const CliOptions& o) { return o.ChosenSpan == "3,5"; }}},
        {"--route", {{"--route", "120"}, [](const CliOptions& o) { return o.RouteLength == "120"; }}},
        {"--pdf", {{"--pdf", "n.pdf"}, [](const CliOptions& o) { return o.PdfFile == "n.pdf"; }}},
        {"--odt", {{"--odt", "n.odt"}, [](const CliOptions& o) { return o.OdtFile == "n.odt"; }}},
        {"--snow-weight", {{"--snow-weight", "1,8"}, [](const CliOptions& o) { return o.OwnClimate.SnowWeight.InForce && o.OwnClimate.SnowWeight.Value == "1,8"; }}},
        {"--wind-pressure", {{"--wind-pressure", "0,38"}, [](const CliOptions& o) { return o.OwnClimate.WindPressure.Value == "0,38"; }}},
        {"--ice-thickness", {{"--ice-thickness", ""}, [](const CliOptions& o) { return !o.OwnClimate.IceThickness.InForce; }}},
        {"--snow-source", {{"--snow-source", "К.1"}, [](const CliOptions& o) { return o.OwnClimate.SnowWeight.Source == "К.1"; }}},
        {"--wind-source", {{"--wind-source", "К.2"}, [](const CliOptions& o) { return o.OwnClimate.WindPressure.Source == "К.2"; }}},
        {"--ice-source", {{"--ice-source", "К.3"}, [](const CliOptions& o) { return o.OwnClimate.IceThickness.Source == "К.3"; }}},
        {"--friction", {{"--friction", "0,1"}, [](const CliOptions& o) { return o.Friction == "0,1"; }}},
        {"--section", {{"--section", "20 Л 8", "--section", "5"}, [](const CliOptions& o) { return o.SectionRoutes == std::vector<std::string>{"20 Л 8", "5"}; }}},
        {"--guides", {{"--section", "20 Л 8", "--guides", "1:16", "--section", "5"},
                      [](const CliOptions& o) { return o.SectionGuides == std::vector<std::string>{"1:16", ""}; }}},
        {"--bend-radius", {{"--bend-radius", "0"}, [](const CliOptions& o) { return o.BendRadius == "0"; }}},
        {"--support-step", {{"--support-step=4"}, [](const CliOptions& o) { return o.SupportStep == "4"; }}},
        {"--t-closing", {{"--t-closing", "-5"}, [](const CliOptions& o) { return o.Compensation.ClosingTemperature == "-5"; }}},
        {"--t-min", {{"--t-min", "-40"}, [](const CliOptions& o) { return o.Compensation.MinTemperature == "-40"; }}},
        {"--t-max", {{"--t-max", "50"}, [](const CliOptions& o) { return o.Compensation.MaxTemperature == "50"; }}},
        {"--allowable-compensation", {{"--allowable-compensation", "120"}, [](const CliOptions& o) { return o.Compensation.AllowableStress == "120"; }}},
        {"--shoe-length", {{"--shoe-length", "300"}, [](const CliOptions& o) { return o.Compensation.ShoeLength == "300"; }}},
        {"--placement-rules", {{"--placement-rules", "snip"}, [](const CliOptions& o) { return o.Compensation.PlacementRules == "snip"; }}},
        {"--support-edits", {{"--support-edits", "1:1:4 x"}, [](const CliOptions& o) { return o.Compensation.SupportEdits == "1:1:4 x"; }}},
        {"--schedule", {{"--schedule", "s.csv"}, [](const CliOptions& o) { return o.ScheduleFile == "s.csv"; }}},
        {"--dxf", {{"--dxf", "t.dxf"}, [](const CliOptions& o) { return o.DxfFile == "t.dxf"; }}},
        {"--pipes", {{"--pipes", "57x3; 108x4", "--pdf", "p.pdf"}, [](const CliOptions& o) { return o.Pipes && o.Pipes->size() == 2 && !o.PipesFromTable; }}},
        {"--table-pipes", {{"--table-pipes", "--odt", "p.odt"}, [](const CliOptions& o) { return o.Pipes && !o.Pipes->empty() && o.PipesFromTable; }}},
        {"--object", {{"--object", "Газопровод"}, [](const CliOptions& o) { return o.Document.Object == "Газопровод"; }}},
        {"--designation", {{"--designation", "123"}, [](const CliOptions& o) { return o.Document.Designation == "123"; }}},
        {"--organization", {{"--organization", "ООО"}, [](const CliOptions& o) { return o.Document.Organization == "ООО"; }}},
        {"--stage", {{"--stage", "Р"}, [](const CliOptions& o) { return o.Document.Stage == "Р"; }}},
        {"--author", {{"--author", "Иванов"}, [](const CliOptions& o) { return o.Document.Author == "Иванов"; }}},
        {"--checker", {{"--checker", "Петров"}, [](const CliOptions& o) { return o.Document.Checker == "Петров"; }}},
        {"--norm-control", {{"--norm-control", "Сидоров"}, [](const CliOptions& o) { return o.Document.NormControl == "Сидоров"; }}},
        {"--chief-engineer", {{"--chief-engineer", "Кузнецов"}, [](const CliOptions& o) { return o.Document.ChiefEngineer == "Кузнецов"; }}},
        {"--replaced-inventory", {{"--replaced-inventory", "1"}, [](const CliOptions& o) { return o.Document.ReplacedInventory == "1"; }}},
        {"--original-signed", {{"--original-signed", "2"}, [](const CliOptions& o) { return o.Document.OriginalSigned == "2"; }}},
        {"--original-inventory", {{"--original-inventory", "3"}, [](const CliOptions& o) { return o.Document.OriginalInventory == "3"; }}},
        {"--frame", {{"--no-frame", "--frame"}, [](const CliOptions& o) { return o.Document.Frame == true; }}},
        {"--no-frame", {{"--frame", "--no-frame"}, [](const CliOptions& o) { return o.Document.Frame == false; }}},
        {"--batch", {{"--batch", "in.csv"}, [](const CliOptions& o) { return o.Batch && o.BatchFile == "in.csv"; }}},
        {"--version", {{"--version"}, [](const CliOptions& o) { return o.Version; }}},
        {"--help", {{"--help"}, [](const CliOptions& o) { return o.Help; }}},
    };
    const std::set<std::string> help = OptionsOfTheHelp();
    for (const std::string& name : help) {
        SCOPED_TRACE(name);
        const auto c = cases.find(name);
        ASSERT_NE(c, cases.end()) << "the help names an option this test does not know";
        const ParsedCommandLine parsed = Parse(c->second.Arguments);
        ASSERT_TRUE(parsed.Options.has_value()) << parsed.Error;
        EXPECT_TRUE(c->second.Stored(*parsed.Options));
    }
    // And the table holds no option the help keeps quiet about (but the short "-h").
    for (const std::string_view name : OptionNames()) {
        if (name != "-h") {
            EXPECT_TRUE(help.contains(std::string(name))) << name;
        }
    }
    EXPECT_EQ(help.size(), cases.size());
}

// How each kind of value is taken: after "=", as the next argument, refused when missing or given
// to a switch; the messages name the option.
TEST(CliOptionTable, ValuesAndTheirRefusals)
{
    struct Case {
        std::vector<std::string> Arguments;
        const char* Error;  // empty: parsed
    };
    const Case cases[] = {
        {{"--pressure=-1"}, ""},  // a negative number is a value
        {{"--pressure", "-1"}, ""},
        {{"--pressure"}, "У параметра --pressure нет значения"},
        {{"--pdf="}, "У параметра --pdf нет значения"},
        {{"--odt", ""}, "для --odt нужно имя файла"},
        {{"--friction="}, "--friction: не задан коэффициент трения в опорах"},
        {{"--object"}, "для --object нужен текст"},
        {{"--object="}, ""},
        {{"--report=1"}, "Параметр --report задается без значения"},
        {{"--table-pipes=1"}, "Параметр --table-pipes задается без значения"},
        {{"--frame=да"}, "--frame — параметр без значения"},
        {{"--help=всё"}, ""},
        {{"-h"}, ""},
        {{"-x"}, "Неизвестный параметр «-x»"},
        {{"--steel", "7"}, "--steel: нужен номер пункта списка от 0 до 6, а не «7»"},
        {{"--guides", "1:4"}, "--guides задается после --section своего участка"},
        {{"--bend-radius="}, "У параметра --bend-radius нет значения"},
        {{"--batch", "--guides", "1:4"}, "--guides задается после --section своего участка"},
        {{"--batch", "--support-step", "4"},
         "--support-step нельзя задать вместе с --batch: пакет берет все исходные данные из своих строк"},
        {{"--batch", "--json"}, ""},  // the next option is no file
        {{"--pipes", "57x3", "--table-pipes", "--pdf", "p"}, "--table-pipes нельзя задать вместе с --pipes"},
        {{"--batch", "--span", "3"}, "--span нельзя задать вместе с --batch: пакет берет все исходные данные из своих строк"},
        {{"--batch", "--friction", "0,1", "--sep", ","}, ""},  // options of the batch too
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = Parse(c.Arguments);
        EXPECT_EQ(parsed.Error, c.Error) << c.Arguments.front();
        EXPECT_EQ(parsed.Options.has_value(), std::string(c.Error).empty()) << c.Arguments.front();
    }
    EXPECT_EQ(Parse({"--batch", "--json"}).Options->BatchFile, "");
    EXPECT_EQ(Parse({"--batch", "-"}).Options->BatchFile, "-");
}

}  // namespace
}  // namespace korvelin::cli

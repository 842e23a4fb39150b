// korvelin-calc with sections between fixed supports: the worked example through --json to the
// last bit, the text of a П-compensator with its checks, the refusals, the sections in a saved set.

#include "CalcProcess.h"
#include "korvelin/Compensation.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Json = nlohmann::ordered_json;

using calc::Calc;
using calc::ReadFile;
using calc::Result;

std::uint64_t Bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// A number of the output against the library's value, bit for bit.
void ExpectBits(const Json& value, double expected, const std::string& where)
{
    ASSERT_TRUE(value.is_number()) << where;
    EXPECT_EQ(Bits(value.get<double>()), Bits(expected)) << where << ": " << value.dump();
}

void ExpectCase(const Json& json, const korvelin::CompensationCase& c, const std::string& name)
{
    std::vector<std::string> keys;
    for (const auto& [key, value] : json.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"dt_C", "elongation_mm", "support_a", "support_b", "nodes",
                                               "legs", "max_moment_Nm", "max_stress_MPa"}));
    ExpectBits(json["dt_C"], c.TemperatureChange, name + ".dt_C");
    ExpectBits(json["elongation_mm"], c.FreeElongation, name + ".elongation_mm");
    for (const auto& [key, reaction] : {std::pair{"support_a", &c.A}, std::pair{"support_b", &c.B}}) {
        ExpectBits(json[key]["Fx_N"], reaction->Fx, name + "." + key + ".Fx_N");
        ExpectBits(json[key]["Fy_N"], reaction->Fy, name + "." + key + ".Fy_N");
        ExpectBits(json[key]["M_Nm"], reaction->M, name + "." + key + ".M_Nm");
    }
    ASSERT_EQ(json["nodes"].size(), c.Nodes.size());
    for (std::size_t i = 0; i < c.Nodes.size(); ++i) {
        const Json& node = json["nodes"][i];
        ExpectBits(node["x_m"], c.Nodes[i].X, name + ".x_m");
        ExpectBits(node["y_m"], c.Nodes[i].Y, name + ".y_m");
        ExpectBits(node["ux_mm"], c.Nodes[i].Ux, name + ".ux_mm");
        ExpectBits(node["uy_mm"], c.Nodes[i].Uy, name + ".uy_mm");
    }
    ASSERT_EQ(json["legs"].size(), c.Legs.size());
    for (std::size_t k = 0; k < c.Legs.size(); ++k) {
        ExpectBits(json["legs"][k]["N_N"], c.Legs[k].N, name + ".N_N");
        ExpectBits(json["legs"][k]["M_start_Nm"], c.Legs[k].MStart, name + ".M_start_Nm");
        ExpectBits(json["legs"][k]["M_end_Nm"], c.Legs[k].MEnd, name + ".M_end_Nm");
    }
    ExpectBits(json["max_moment_Nm"], c.MaxMoment, name + ".max_moment_Nm");
    ExpectBits(json["max_stress_MPa"], c.MaxStress, name + ".max_stress_MPa");
}

TEST(CalcCompensation, WorkedExampleThroughJsonToTheLastBit)
{
    const Result r = Calc("--json --section '10 Л 5' --t-closing 0 --t-min -40 --t-max 50");
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Json json = Json::parse(r.Out);
    ASSERT_TRUE(json.contains("compensation"));
    ASSERT_EQ(json["compensation"].size(), 1U);
    const Json& section = json["compensation"][0];

    // The figures of the example, as shown.
    const Json& heating = section["heating"];
    const auto shown = [](const Json& value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", value.get<double>());
        return std::string(text);
    };
    EXPECT_EQ(shown(heating["nodes"][1]["ux_mm"]), "5.997");
    EXPECT_EQ(shown(heating["nodes"][1]["uy_mm"]), "-3.000");
    EXPECT_EQ(shown(heating["support_a"]["Fx_N"]), "53.026");
    EXPECT_EQ(shown(heating["support_a"]["Fy_N"]), "16.203");
    EXPECT_EQ(shown(heating["support_a"]["M_Nm"]), "63.834");
    EXPECT_EQ(shown(heating["support_b"]["M_Nm"]), "-166.930");
    EXPECT_EQ(shown(heating["max_moment_Nm"]), "-166.930");
    EXPECT_EQ(shown(heating["max_stress_MPa"]), "9.365");

    // Every value as the library gives it for the pipe of the run.
    korvelin::CompensationInput input;
    input.Section = *korvelin::ParseSectionRoute("10 Л 5", ",").Section;
    input.OuterDiameter = 0.089;
    input.WallThickness = 0.0032;
    input.Temperatures = {0, -40, 50};
    const korvelin::CompensationResult expected = *korvelin::ComputeCompensation(input).Result;
    ExpectCase(heating, expected.Heating, "heating");
    ExpectCase(section["cooling"], expected.Cooling, "cooling");

    // Friction with the supports' 0,3 and the loads of the run; design forces along and across.
    const double qSP = json["loads"]["VerticalLoadSP"].get<double>();
    const double qSNiP = json["loads"]["TotalLoadSNiP"].get<double>();
    ExpectBits(section["friction"]["sp"]["a_N"], static_cast<double>(static_cast<long double>(0.3) * qSP * 10), "friction.sp.a_N");
    ExpectBits(section["friction"]["snip"]["b_N"], static_cast<double>(static_cast<long double>(0.3) * qSNiP * 5), "friction.snip.b_N");
    const double frictionA = section["friction"]["sp"]["a_N"].get<double>();
    ExpectBits(section["design"]["sp"]["heating"]["a"]["along_N"],
               static_cast<double>(static_cast<long double>(expected.Heating.A.Fx) + frictionA), "design along");
    ExpectBits(section["design"]["sp"]["heating"]["a"]["across_N"], expected.Heating.A.Fy, "design across");
    EXPECT_TRUE(section["checks"]["stress"].is_null());
    EXPECT_TRUE(section["checks"]["movement"].is_null());

    // Without sections the object has no such member; a run refused has no pipe for them.
    EXPECT_FALSE(Json::parse(Calc("--json").Out).contains("compensation"));
    const Result refused = Calc("--json --wall 0 --section 20 --t-closing 0 --t-min -40 --t-max 50");
    EXPECT_EQ(refused.Status, 1);
    EXPECT_TRUE(Json::parse(refused.Out)["compensation"].is_null());
}

TEST(CalcCompensation, UCompensatorWithItsChecksAsText)
{
    const Result r = Calc("--sep , --diameter 108 --wall 4 --section '20 L 3 R 4 R 3 L 20' --t-closing 10 "
                          "--t-min -30 --t-max 60 --allowable-compensation 16,5 --shoe-length 200");
    ASSERT_EQ(r.Status, 0) << r.Err;
    for (const char* line : {
             "Компенсация температурных деформаций. Участок 1: 20 Л 3 П 4 П 3 Л 20, труба 108×4 мм\n",
             "    Опора Б: Fx = -212,723 Н, Fy = 0,000 Н, M = 89,344 Н·м\n",
             "    Угол 1 (20; 0): ux = 11,984 мм, uy = 49,019 мм\n",
             "  Напряжение 16,911 МПа, [σ]к = 16,5 МПа: не проходит\n",
             "  Перемещение угла 50,833 мм, половина башмака 100 мм: проходит\n",
         }) {
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
    }
}

TEST(CalcCompensation, BadInputIsNamedAndChangesNothing)
{
    const std::string temperatures = " --t-closing 0 --t-min -40 --t-max 50";
    const std::pair<std::string, std::string> cases[] = {
        {"--section '10 Л 0'" + temperatures, "--section «10 Л 0»: Длина плеча 2 должна быть больше нуля (введено «0»)"},
        {"--section '10 Л -5'" + temperatures, "--section «10 Л -5»: Длина плеча 2 должна быть больше нуля (введено «-5»)"},
        {"--section 'десять'" + temperatures, "--section «десять»: Длина плеча 1 должна быть числом (введено «десять»)"},
        {"--section '10 вверх 5'" + temperatures,
         "--section «10 вверх 5»: Поворот после плеча 1 должен быть Л или П (L или R) (введено «вверх»)"},
        {"--section '10 R'" + temperatures, "--section «10 R»: После последнего поворота нет плеча"},
        {"--section '5 R 2 R 5 R 2'" + temperatures,
         "--section «5 R 2 R 5 R 2»: Конец участка совпадает с его началом, опоры А и Б оказались в одной точке"},
        {"--section 20 --t-closing 0 --t-max 50", "--t-min: Не задана наименьшая температура стенки t_min"},
        {"--section 20 --t-closing 0 --t-min -71 --t-max 50",
         "Наименьшая температура стенки t_min должна быть от −70 до +100 °C (введено «-71»)"},
        {"--section 20 --t-closing 101 --t-min -40 --t-max 50",
         "Температура замыкания t_з должна быть от −70 до +100 °C (введено «101»)"},
        {"--section 20 --t-closing 0 --t-min 60 --t-max 50",
         "Наименьшая температура стенки t_min не может быть выше наибольшей t_max"},
        {"--section 20" + temperatures + " --allowable-compensation -100",
         "Допускаемое напряжение компенсации [σ]к должно быть больше нуля (введено «-100»)"},
        {"--section 20" + temperatures + " --shoe-length -300",
         "Длина башмака опоры должна быть больше нуля (введено «-300»)"},
    };
    const auto file = std::filesystem::temp_directory_path() / ("korvelin-comp-never-" + std::to_string(::getpid()));
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc("--sep , " + arguments + " --save '" + file.string() + "'");
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, "korvelin-calc: " + message + "\n") << arguments;
        EXPECT_FALSE(std::filesystem::exists(file)) << arguments;
    }
}

TEST(CalcCompensation, SectionsTravelInTheSavedSet)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-comp-set-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "участок.korvelin").string();
    const std::string options = "--sep , --section '10 Л 5' --section '20,5' --t-closing -5 --t-min -40 "
                                "--t-max 50 --shoe-length 300";
    const Result direct = Calc(options + " --save '" + file + "'");
    ASSERT_EQ(direct.Status, 0) << direct.Err;
    const std::string contents = ReadFile(file);
    for (const char* member : {"\"closingTemperature\": \"-5\"", "\"shoeLength\": \"300\"",
                               "\"name\": \"Участок 2\"", "\"length\": \"20,5\""}) {
        EXPECT_NE(contents.find(member), std::string::npos) << member << contents;
    }
    EXPECT_EQ(Calc("--sep , --input '" + file + "'").Out, direct.Out);
    // A section given beside the file replaces the file's sections; a temperature replaces its own.
    const Result replaced = Calc("--sep , --input '" + file + "' --section 12 --t-max 60");
    EXPECT_EQ(replaced.Out, Calc("--sep , --section 12 --t-closing -5 --t-min -40 --t-max 60 --shoe-length 300").Out);
    EXPECT_EQ(replaced.Out.find("Участок 2"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(CalcCompensation, HelpStatesTheConventions)
{
    const Result r = Calc("--help");
    for (const char* part : {"--section МАРШРУТ", "--t-closing T", "--allowable-compensation S",
                             "--shoe-length MM", "Момент на конце плеча — момент нагрузок на часть трубы"}) {
        EXPECT_NE(r.Out.find(part), std::string::npos) << part;
    }
}

}  // namespace

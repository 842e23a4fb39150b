// korvelin-calc with sections between fixed supports: the worked example through --json to the
// last bit, the text of a П-compensator with its checks, the refusals, the sections in a saved set.

#include "CalcProcess.h"
#include "korvelin/Compensation.h"
#include "korvelin/RouteSpans.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <bit>
#include <cmath>
#include <numbers>
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
                                               "legs", "max_moment_Nm", "max_stress_MPa",
                                               "max_straight_stress_MPa", "max_bend_stress_MPa", "guides",
                                               "supports", "sliding_supports", "sticking_supports",
                                               "friction_steps", "buckling", "stress_parts_MPa"}));
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
    ExpectBits(json["max_bend_stress_MPa"], c.MaxBendStress, name + ".max_bend_stress_MPa");
    ASSERT_EQ(json["supports"].size(), c.Supports.size());
    for (std::size_t j = 0; j < c.Supports.size(); ++j) {
        const Json& support = json["supports"][j];
        EXPECT_EQ(support["leg"], c.Supports[j].Place.Leg + 1);
        ExpectBits(support["s_m"], c.Supports[j].Place.Distance, name + ".s_m");
        ExpectBits(support["vertical_N"], c.Supports[j].Place.VerticalLoad, name + ".vertical_N");
        ExpectBits(support["ux_mm"], c.Supports[j].Ux, name + ".ux_mm");
        ExpectBits(support["friction_N"][0], c.Supports[j].FrictionX, name + ".friction_N");
        ExpectBits(support["friction_N"][1], c.Supports[j].FrictionY, name + ".friction_N");
    }
    ASSERT_EQ(json["buckling"].size(), c.Buckling.size());
    for (std::size_t k = 0; k < c.Buckling.size(); ++k) {
        ExpectBits(json["buckling"][k]["N_N"], c.Buckling[k].Compression, name + ".buckling.N_N");
        ExpectBits(json["buckling"][k]["Ncr_N"], c.Buckling[k].Critical, name + ".buckling.Ncr_N");
        ExpectBits(json["buckling"][k]["ratio"], c.Buckling[k].Ratio, name + ".buckling.ratio");
    }
    for (const auto& [key, part] : {std::pair{"pressure", c.Stress.Pressure}, std::pair{"weight", c.Stress.Weight},
                                    std::pair{"temperature", c.Stress.Temperature},
                                    std::pair{"total", c.Stress.Total}}) {
        ExpectBits(json["stress_parts_MPa"][key], part, name + ".stress_parts_MPa");
    }
}

// The governing span of each item of the selector as korvelin-calc gives it for the arguments,
// run by run as asked.
korvelin::GoverningSpanOfItem GoverningSpansOf(const std::string& arguments, const char* rules)
{
    return [arguments, rules](int item) -> std::optional<double> {
        const Json json = Json::parse(Calc(arguments + " --spans " + std::to_string(item)).Out);
        const Json& span = json["summary"]["governing"][rules]["span"];
        return span.is_null() ? std::nullopt : std::optional<double>(span.get<double>());
    };
}

TEST(CalcCompensation, WorkedExampleThroughJsonToTheLastBit)
{
    // Sharp corners and no friction: the frame of today to the last bit.
    const std::string arguments = "--json --section '10 Л 5' --t-closing 0 --t-min -40 --t-max 50 "
                                  "--bend-radius 0 --friction 0 --support-step 2,5 --sep ,";
    const Result r = Calc(arguments);
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
    EXPECT_EQ(section["bend"], Json::parse(R"({"R_mm":0.0,"lambda":0.0,"K":1.0,"i":1.0})"));

    // Every value as the library gives it for the pipe, the loads and the step of the run.
    korvelin::CompensationInput input;
    input.Section = *korvelin::ParseSectionRoute("10 Л 5", ",").Section;
    input.Section.SupportStep = 2.5;
    input.OuterDiameter = 0.089;
    input.WallThickness = 0.0032;
    input.Temperatures = {0, -40, 50};
    input.Friction = 0;
    input.VerticalLoadSP = json["loads"]["VerticalLoadSP"].get<double>();
    input.TotalLoadSNiP = json["loads"]["TotalLoadSNiP"].get<double>();
    input.Pressure = 0.6;
    input.GoverningSpansSP = GoverningSpansOf(arguments, "sp");
    const korvelin::CompensationResult expected = *korvelin::ComputeCompensation(input).Result;
    ExpectCase(heating, expected.Heating, "heating");
    ExpectCase(section["cooling"], expected.Cooling, "cooling");
    // The typed step of 2,5 m is the designer's largest spacing, the governing spans of the
    // count may ask for more: 10 m in five spans of 2 m (SP's span of five is 2,183 m, of four
    // 2,239 m), 5 m in two of 2,5 m (2,596 m of two); the corner's support between them.
    EXPECT_EQ(input.GoverningSpansSP(3), 2.239);
    EXPECT_EQ(input.GoverningSpansSP(4), 2.183);
    EXPECT_EQ(input.GoverningSpansSP(1), 2.596);
    ASSERT_EQ(heating["supports"].size(), 6U);
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(heating["supports"][j]["s_m"], j < 5 ? 2.0 * static_cast<double>(j + 1) : 2.5);
    }

    // No friction: the design forces are the reactions along and across the legs.
    ExpectBits(section["friction"]["sp"]["a_N"], 0, "friction.sp.a_N");
    ExpectBits(section["design"]["sp"]["heating"]["a"]["along_N"], expected.Heating.A.Fx, "design along");
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
                          "--t-min -30 --t-max 60 --allowable-compensation 16,5 --shoe-length 200 "
                          "--bend-radius 0 --friction 0");
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
    // Sharp corners: the set keeps the sections' rows.
    const std::string options = "--sep , --section '10 Л 5' --section '20,5' --t-closing -5 --t-min -40 "
                                "--t-max 50 --shoe-length 300 --bend-radius 0";
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

// The figures of the sections as built through --json: 159×4,5, cooling by 50 °C, no friction.
TEST(CalcCompensation, SectionAsBuiltThroughJson)
{
    const std::string pipe = "--json --sep , --diameter 159 --wall 4,5 --friction 0 --section '20 Л 3 П 4 П 3 Л 20' ";
    const Result bends = Calc(pipe + "--t-closing 0 --t-min -50 --t-max 0");
    ASSERT_EQ(bends.Status, 0) << bends.Err;
    const Json a = Json::parse(bends.Out)["compensation"][0];
    // The default bends of 1,5·D.
    EXPECT_EQ(a["bend"]["R_mm"], 238.5);
    EXPECT_NEAR(a["bend"]["lambda"].get<double>(), 0.1798, 5e-5);
    EXPECT_NEAR(a["bend"]["K"].get<double>(), 9.174, 5e-4);
    EXPECT_NEAR(a["bend"]["i"].get<double>(), 2.825, 5e-4);
    EXPECT_NEAR(a["cooling"]["support_a"]["Fx_N"].get<double>(), -443.2, 0.05);
    EXPECT_NEAR(a["cooling"]["support_a"]["M_Nm"].get<double>(), 277.8, 0.05);
    EXPECT_NEAR(a["cooling"]["max_stress_MPa"].get<double>(), 36.4, 0.05);
    EXPECT_NEAR(a["cooling"]["max_bend_stress_MPa"].get<double>(), 36.4, 0.05);
    EXPECT_NEAR(a["cooling"]["max_straight_stress_MPa"].get<double>(), 13.0, 0.05);
    const Json& parts = a["cooling"]["stress_parts_MPa"];
    EXPECT_EQ(parts["pressure"], 5.0);  // 0,6 МПа · 150/(4 · 4,5)
    EXPECT_EQ(parts["temperature"], a["cooling"]["max_stress_MPa"]);

    const Result guided = Calc(pipe + "--guides '1:16; 5:4' --bend-radius 0 --t-closing 0 --t-min -50 --t-max 0");
    ASSERT_EQ(guided.Status, 0) << guided.Err;
    const Json b = Json::parse(guided.Out)["compensation"][0]["cooling"];
    EXPECT_NEAR(b["support_a"]["Fx_N"].get<double>(), -954.3, 0.05);
    ASSERT_EQ(b["guides"].size(), 2U);
    EXPECT_EQ(b["guides"][0]["leg"], 1);
    EXPECT_EQ(b["guides"][0]["s_m"], 16.0);
    EXPECT_EQ(b["guides"][1]["leg"], 5);
    for (const Json& guide : b["guides"]) {
        EXPECT_NEAR(std::fabs(guide["force_N"].get<double>()), 72.3, 0.05);
    }
    // Every support in order, the guides among them.
    std::size_t kinds = 0;
    for (const Json& support : b["supports"]) {
        kinds += support["kind"] == "guide" ? 1 : 0;
        EXPECT_EQ(support["friction_N"], Json::parse("[0.0,0.0]"));
    }
    EXPECT_EQ(kinds, 2U);
}

TEST(CalcCompensation, StraightRunWarnsOfItsStability)
{
    const Result r = Calc("--json --sep , --diameter 57 --wall 3 --section 20 --support-step 5 --t-closing 0 "
                          "--t-min 0 --t-max 50");
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Json heating = Json::parse(r.Out)["compensation"][0]["heating"];
    const double n = 2.06e11 * 1.2e-5 * 50 * std::numbers::pi * (0.057 * 0.057 - 0.051 * 0.051) / 4;
    EXPECT_NEAR(heating["legs"][0]["N_N"].get<double>(), -n, n * 1e-12);
    ASSERT_EQ(heating["buckling"].size(), 1U);
    EXPECT_NEAR(heating["buckling"][0]["N_N"].get<double>(), n, n * 1e-12);
    // The step of 5 m is longer than the governing span allows: the leg takes the count of its
    // governing spans, and the vertical length is that span.
    const std::optional<korvelin::RouteSupports> division = korvelin::DivideIntoSpans(
        20, GoverningSpansOf("--json --sep , --diameter 57 --wall 3 --section 20 --t-closing 0 --t-min 0 --t-max 50", "sp"));
    ASSERT_TRUE(division);
    EXPECT_GT(division->Spans, 4);
    const double span = 20.0 / division->Spans;
    EXPECT_NEAR(heating["buckling"][0]["L_vertical_m"].get<double>(), span, 1e-12);
    const double inertia = std::numbers::pi * (std::pow(0.057, 4) - std::pow(0.051, 4)) / 64;
    EXPECT_NEAR(heating["buckling"][0]["Ncr_vertical_N"].get<double>(),
                std::numbers::pi * std::numbers::pi * 2.06e11 * inertia / (span * span), 1e-6);
    EXPECT_EQ(r.Err, "korvelin-calc: внимание: Участок 1, нагрев, плечо 1: продольная устойчивость плеча не "
                     "обеспечена (N/N_cr = 66,508)\n");
    // The friction 0 is taken: no support carries any friction, the force is the same.
    const Result frictionless = Calc("--json --sep , --diameter 57 --wall 3 --section 20 --support-step 5 "
                                     "--t-closing 0 --t-min 0 --t-max 50 --friction 0");
    ASSERT_EQ(frictionless.Status, 0) << frictionless.Err;
    const Json free = Json::parse(frictionless.Out)["compensation"][0]["heating"];
    EXPECT_NEAR(free["legs"][0]["N_N"].get<double>(), -n, n * 1e-12);
    EXPECT_EQ(free["friction_steps"], 0);
    for (const Json& support : free["supports"]) {
        EXPECT_EQ(support["friction_N"], Json::parse("[0.0,0.0]"));
    }
}

TEST(CalcCompensation, RefusalsOfTheSectionAsBuilt)
{
    const std::string section = "--sep , --diameter 159 --wall 4,5 --section '20 Л 3 П 4 П 3 Л 20' ";
    const std::pair<std::string, std::string> cases[] = {
        {"--t-closing -10 --t-min 0 --t-max 40",
         "Температура замыкания t_з = −10 °C должна быть не ниже наименьшей температуры стенки t_min = 0 °C "
         "и не выше наибольшей t_max = 40 °C"},
        {"--t-closing 0 --t-min 0 --t-max 40 --bend-radius -5",
         "Участок «Участок 1»: радиус отводов не может быть отрицательным (введено «-5»)"},
        {"--t-closing 0 --t-min 0 --t-max 40 --bend-radius 1500,5",
         "Участок «Участок 1»: отводы радиусом 1500,5 мм не помещаются на плече 2: две касательные отвода "
         "по 1,5005 м длиннее плеча 3 м"},
        {"--t-closing 0 --t-min 0 --t-max 40 --guides 2:0,1",
         "Участок «Участок 1»: направляющая опора 2:0,1 стоит на отводе: отвод занимает 0,2385 м от начала "
         "плеча"},
        {"--t-closing 0 --t-min 0 --t-max 40 --guides 1:25",
         "Участок «Участок 1»: направляющая опора 1:25 — расстояние должно быть больше нуля и меньше длины "
         "плеча 1, 20 м"},
        {"--t-closing 0 --t-min 0 --t-max 40 --support-step 0",
         "Участок «Участок 1»: шаг скользящих опор должен быть больше нуля (введено «0»)"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result r = Calc(section + arguments);
        EXPECT_EQ(r.Status, 2) << arguments;
        EXPECT_EQ(r.Out, "") << arguments;
        EXPECT_EQ(r.Err, "korvelin-calc: " + message + "\n") << arguments;
    }
    const Result early = Calc("--guides 1:2 --section 20");
    EXPECT_EQ(early.Status, 2);
    EXPECT_EQ(early.Err, "korvelin-calc: --guides задается после --section своего участка (справка: "
                         "korvelin-calc --help)\n");
    // A radius that just fits the 3 m legs: 1500 mm.
    EXPECT_EQ(Calc(section + "--t-closing 0 --t-min 0 --t-max 40 --bend-radius 1500").Status, 0);
}

TEST(CalcCompensation, HelpStatesTheConventions)
{
    const Result r = Calc("--help");
    for (const char* part : {"--section МАРШРУТ", "--t-closing T", "--allowable-compensation S",
                             "--shoe-length MM", "Момент на конце плеча — момент нагрузок на часть трубы",
                             "--bend-radius MM", "1,5·D", "--guides СПИСОК", "--support-step M",
                             "--friction 0 — без", "K = max(1; 1,65/λ)", "продольную"}) {
        EXPECT_NE(r.Out.find(part), std::string::npos) << part;
    }
}

}  // namespace

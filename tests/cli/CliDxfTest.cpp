// korvelin-calc --dxf: the drawing of a route of two sections written as DXF, read back against the
// schedule of its supports and the lengths of its legs; the refusals.

#include "CalcProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace {

using calc::Calc;
using calc::ReadFile;
using calc::Result;

const std::string kRoute = "--sep , --diameter 159 --wall 4,5 --section '20 Л 6' --section '12 П 8' "
                           "--t-closing 10 --t-min -40 --t-max 60";

// "ОСЬ" in Windows-1251, as the file names its layer.
const std::string kAxisLayer = "\xCE\xD1\xDC";

TEST(CalcDxf, RouteOfTwoSectionsAsDxf)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-dxf-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "трасса.dxf").string();
    const Result json = Calc(kRoute + " --json");
    ASSERT_EQ(json.Status, 0) << json.Err;
    const std::size_t supports = nlohmann::json::parse(json.Out)["schedule"].size();
    ASSERT_GT(supports, 5U);

    const Result written = Calc(kRoute + " --dxf '" + file + "'");
    ASSERT_EQ(written.Status, 0) << written.Err;
    std::istringstream in(ReadFile(file));
    // The entities as their group codes; the axis's lines and arcs added up.
    std::vector<std::multimap<int, std::string>> entities;
    std::vector<std::string> types;
    bool inEntities = false;
    std::string previous;
    for (std::string code, value; std::getline(in, code) && std::getline(in, value);) {
        value.erase(value.find_last_not_of('\r') + 1);
        const int group = std::stoi(code);
        if (group == 2 && previous == "SECTION") {
            inEntities = value == "ENTITIES";
        } else if (inEntities && group == 0 && value != "ENDSEC") {
            types.push_back(value);
            entities.emplace_back();
        } else if (inEntities && !entities.empty()) {
            entities.back().emplace(group, value);
        }
        previous = group == 0 ? value : previous;
    }
    std::size_t inserts = 0;
    std::size_t arcs = 0;
    double radius = 0;
    double axis = 0;
    const auto number = [](const std::multimap<int, std::string>& e, int code) {
        return std::stod(e.find(code)->second);
    };
    for (std::size_t i = 0; i < entities.size(); ++i) {
        const auto& e = entities[i];
        if (types[i] == "INSERT") {
            ++inserts;
        } else if (types[i] == "LINE" && e.find(8)->second == kAxisLayer) {
            axis += std::hypot(number(e, 11) - number(e, 10), number(e, 21) - number(e, 20));
        } else if (types[i] == "ARC" && e.find(8)->second == kAxisLayer) {
            ++arcs;
            radius = number(e, 40);
            axis += radius * std::numbers::pi / 2;
        }
    }
    EXPECT_EQ(inserts, supports);
    // Two turns; a bend (where the sections have a radius) replaces 2·R of the legs by π·R/2.
    EXPECT_TRUE(arcs == 0 || arcs == 2) << arcs;
    EXPECT_NEAR(axis, (20 + 6 + 12 + 8) * 1000.0 - static_cast<double>(arcs) * (2 - std::numbers::pi / 2) * radius,
                1e-6);
    std::filesystem::remove_all(dir);
}

TEST(CalcDxf, Refusals)
{
    const auto dir = std::filesystem::temp_directory_path() / ("korvelin-dxf-never-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "t.dxf").string();
    struct Case {
        std::string Arguments;
        int Status;
        std::string Message;
    };
    const Case cases[] = {
        {"--sep , --dxf '" + file + "'", 2, "--dxf: чертеж трассы строится по участкам трассы"},
        {kRoute + " --dxf", 2, "для --dxf нужно имя файла"},
        {kRoute + " --support-edits '1:1:5 x' --dxf '" + file + "'", 1, "на месте «участок 1, плечо 1, 5 м» нет"},
        {kRoute + " --dxf '" + (dir / "нет" / "t.dxf").string() + "'", 1, ""},
    };
    for (const Case& c : cases) {
        const Result r = Calc(c.Arguments);
        EXPECT_EQ(r.Status, c.Status) << c.Arguments << '\n' << r.Err;
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
        EXPECT_FALSE(r.Err.empty());
        EXPECT_FALSE(std::filesystem::exists(file)) << c.Arguments;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace

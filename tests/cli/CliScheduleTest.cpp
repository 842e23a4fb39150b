// korvelin-calc with a route of two sections: the schedule of its supports in --json against the
// laws it must obey and the sections' own reactions, --schedule as CSV and as PDF, the placement
// rules and edits kept in a saved set, the refusals.

#include "CalcProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;
using calc::Calc;
using calc::ReadFile;
using calc::Result;

const std::string kRoute = "--sep , --diameter 159 --wall 4,5 --section '20 Л 6' --section '12 П 8' "
                           "--t-closing 10 --t-min -40 --t-max 60";

std::filesystem::path TemporaryFolder(const std::string& name)
{
    const auto dir = std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

TEST(CalcSchedule, RouteOfTwoSectionsInJson)
{
    const Result r = Calc(kRoute + " --json");
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Json json = Json::parse(r.Out);
    EXPECT_EQ(json["schedule_rules"], "sp");
    const Json& rows = json["schedule"];
    ASSERT_TRUE(rows.is_array());
    ASSERT_GE(rows.size(), 5U);
    std::vector<std::string> keys;
    for (const auto& [key, value] : rows[0].items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"no", "kind", "section", "leg", "corner", "shared", "edited",
                                               "chainage_m", "x_m", "y_m", "vertical_sp_N", "vertical_snip_N",
                                               "horizontal_along_N", "horizontal_across_N", "horizontal",
                                               "fixed"}));
    const double q = json["loads"]["VerticalLoadSP"];
    const double qSnip = json["loads"]["TotalLoadSNiP"];
    double sum = 0;
    std::vector<std::size_t> fixed;
    std::size_t support = 0;  // the row's support among its section's, from 0
    std::size_t slid = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Json& row = rows[i];
        EXPECT_EQ(row["no"], i + 1);
        sum += row["vertical_sp_N"].get<double>();
        // Both sets take the same factors and spans: V in the ratio of their q.
        EXPECT_NEAR(row["vertical_snip_N"].get<double>() / row["vertical_sp_N"].get<double>(), qSnip / q, 1e-12);
        if (row["kind"] == "fixed") {
            fixed.push_back(i);
            support = 0;
            continue;
        }
        EXPECT_TRUE(row["fixed"].is_null());
        // The friction along the leg is the section's own solution's on the same support (the
        // sections are solved by SP's q, with the default μ = 0,3), the larger of heating and
        // cooling, at most μ·V, and the whole friction μ·V where the pipe slides on it.
        const Json& section = json["compensation"][row["section"].get<std::size_t>() - 1];
        const std::size_t axis = row["leg"] == 1 ? 0 : 1;  // both sections: leg 1 along x, leg 2 along y
        const double limit = 0.3 * row["vertical_sp_N"].get<double>();
        double along = 0;
        for (const char* which : {"heating", "cooling"}) {
            const Json& solved = section[which]["supports"][support];
            // The same place: the second section's axes are turned by +90° about (20, 6).
            const double sx = solved["x_m"].get<double>();
            const double sy = solved["y_m"].get<double>();
            const bool second = row["section"] == 2;
            EXPECT_NEAR(row["x_m"].get<double>(), second ? 20 - sy : sx, 1e-9);
            EXPECT_NEAR(row["y_m"].get<double>(), second ? 6 + sx : sy, 1e-9);
            EXPECT_EQ(solved["vertical_N"].get<double>(), row["vertical_sp_N"].get<double>());
            const double friction = std::fabs(solved["friction_N"][axis].get<double>());
            along = std::max(along, friction);
            EXPECT_LE(friction, limit * (1 + 1e-12));
            if (solved["slides"].get<bool>()) {
                const double whole = std::hypot(solved["friction_N"][0].get<double>(),
                                                solved["friction_N"][1].get<double>());
                EXPECT_NEAR(whole, limit, 1e-9 * limit);
                ++slid;
            }
        }
        EXPECT_EQ(row["horizontal"]["sp"]["along_N"].get<double>(), along);
        ++support;
    }
    EXPECT_GT(slid, 0U);
    ASSERT_EQ(fixed.size(), 3U);
    EXPECT_EQ(fixed.front(), 0U);
    EXPECT_EQ(fixed.back(), rows.size() - 1);
    EXPECT_EQ(rows.back()["chainage_m"], 46.0);
    // The second section goes on along +y from (20, 6): up 12 m, then right 8 m.
    EXPECT_EQ(rows.back()["x_m"], 28.0);
    EXPECT_EQ(rows.back()["y_m"], 18.0);
    const Json& shared = rows[fixed[1]];
    EXPECT_TRUE(shared["shared"].get<bool>());
    EXPECT_EQ(shared["chainage_m"], 26.0);
    EXPECT_EQ(shared["x_m"], 20.0);
    EXPECT_EQ(shared["y_m"], 6.0);
    // The weight of 46 m of pipe, within the most loaded factor of a continuous beam.
    EXPECT_GE(sum, q * 46 * (1 - 1e-12));
    EXPECT_LE(sum, q * 46 * 1.25);

    // The shared support against the sections' own reactions: the first one's support B plus the
    // second one's support A turned by +90° (its axes start along the first one's last leg, +y).
    for (const char* which : {"heating", "cooling"}) {
        const Json& b = json["compensation"][0][which]["support_b"];
        const Json& a = json["compensation"][1][which]["support_a"];
        const double fx = -(b["Fx_N"].get<double>() - a["Fy_N"].get<double>());
        const double fy = -(b["Fy_N"].get<double>() + a["Fx_N"].get<double>());
        // The sections' own reactions are those of the SP supports and friction (SP's q is given).
        for (const char* rules : {"sp"}) {
            const Json& got = shared["fixed"][rules][which];
            EXPECT_NEAR(got["Fx_N"].get<double>(), fx, 1e-9) << which << rules;
            EXPECT_NEAR(got["Fy_N"].get<double>(), fy, 1e-9) << which << rules;
            EXPECT_NEAR(got["across_N"].get<double>(), std::fabs(fx), 1e-9) << which << rules;
        }
    }
    // Totals by type: the counts and the sums of the rows.
    std::size_t counted = 0;
    double totalVertical = 0;
    for (const Json& total : json["schedule_totals"]) {
        counted += total["count"].get<std::size_t>();
        totalVertical += total["vertical_sp_N"].get<double>();
    }
    EXPECT_EQ(counted, rows.size());
    EXPECT_NEAR(totalVertical, sum, 1e-9 * sum);
}

TEST(CalcSchedule, ScheduleFileAsCsvAndPdf)
{
    const auto dir = TemporaryFolder("korvelin-schedule-");
    const std::string csv = (dir / "ведомость.csv").string();
    const std::string pdf = (dir / "ведомость.PDF").string();
    const Result json = Calc(kRoute + " --json");
    ASSERT_EQ(json.Status, 0) << json.Err;
    const std::size_t supports = Json::parse(json.Out)["schedule"].size();

    const Result written = Calc(kRoute + " --schedule '" + csv + "'");
    ASSERT_EQ(written.Status, 0) << written.Err;
    const std::string text = ReadFile(csv);
    ASSERT_EQ(text.rfind("\xEF\xBB\xBF" "Ведомость опор надземного газопровода\r\n", 0), 0U) << text.substr(0, 80);
    EXPECT_NE(text.find("\r\n\r\n№;Тип опоры;Участок;Плечо;Пикетаж, м;x, м;y, м;V по СП, Н;"), std::string::npos);
    EXPECT_NE(text.find("\r\n1;неподвижная;1;1;0,000;0,000;0,000;"), std::string::npos);
    EXPECT_NE(text.find(";неподвижная;1–2;1;26,000;20,000;6,000;"), std::string::npos);
    EXPECT_NE(text.find("\r\n" + std::to_string(supports) + ";неподвижная;2;2;46,000;28,000;18,000;"),
              std::string::npos);
    EXPECT_EQ(text.find(std::to_string(supports + 1) + ";"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"Опоры расставлены по СП 42-102-2004: "), std::string::npos);

    const Result printed = Calc(kRoute + " --placement-rules snip --schedule '" + pdf + "'");
    ASSERT_EQ(printed.Status, 0) << printed.Err;
    const std::string bytes = ReadFile(pdf);
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0U);
    EXPECT_GT(bytes.size(), 2000U);
    std::filesystem::remove_all(dir);
}

TEST(CalcSchedule, RulesAndEditsTravelInTheSavedSet)
{
    const auto dir = TemporaryFolder("korvelin-schedule-set-");
    const std::string file = (dir / "трасса.korvelin").string();
    const std::string edits = " --placement-rules SP --support-edits '2:1:4 н'";
    const Result direct = Calc(kRoute + edits + " --json --save '" + file + "'");
    ASSERT_EQ(direct.Status, 0) << direct.Err;
    const std::string contents = ReadFile(file);
    EXPECT_NE(contents.find("\"placementRules\": \"SP\""), std::string::npos) << contents;
    EXPECT_NE(contents.find("\"supportEdits\": \"2:1:4 н\""), std::string::npos) << contents;
    const Json json = Json::parse(direct.Out);
    EXPECT_EQ(json["schedule_rules"], "sp");
    bool guide = false;
    for (const Json& row : json["schedule"]) {
        if (row["kind"] == "guide") {
            guide = true;
            EXPECT_EQ(row["section"], 2);
            EXPECT_EQ(row["chainage_m"], 30.0);
            EXPECT_TRUE(row["edited"].get<bool>());
        }
    }
    EXPECT_TRUE(guide);
    EXPECT_EQ(Calc("--sep , --input '" + file + "' --json").Out, direct.Out);
    std::filesystem::remove_all(dir);
}

TEST(CalcSchedule, Refusals)
{
    const auto dir = TemporaryFolder("korvelin-schedule-never-");
    const std::string file = (dir / "s.csv").string();
    struct Case {
        std::string Arguments;
        int Status;
        std::string Message;
    };
    const Case cases[] = {
        {kRoute + " --schedule '" + (dir / "s.txt").string() + "'", 2, "должен оканчиваться на .csv или .pdf"},
        {"--sep , --schedule '" + file + "'", 2, "--schedule: ведомость опор составляется по участкам"},
        {kRoute + " --placement-rules gost --schedule '" + file + "'", 2, "«gost» — не sp и не snip"},
        {kRoute + " --support-edits '1:1' --schedule '" + file + "'", 2, "--support-edits: Правка опоры «1:1» не читается"},
        {kRoute + " --support-edits '1:1:5 x' --schedule '" + file + "'", 1, "на месте «участок 1, плечо 1, 5 м» нет"},
        {kRoute + " --support-edits '1:2:6 x' --schedule '" + file + "'", 1, "нет скользящей опоры"},
    };
    for (const Case& c : cases) {
        const Result r = Calc(c.Arguments);
        EXPECT_EQ(r.Status, c.Status) << c.Arguments;
        EXPECT_NE(r.Err.find(c.Message), std::string::npos) << r.Err;
        EXPECT_FALSE(std::filesystem::exists(file)) << c.Arguments;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace

// Output that cannot be written is an error, not an empty success.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Result {
    int Status = -1;
    std::string Err;
};

// Runs a shell command line in which CALC stands for korvelin-calc and ERR for a file that
// receives its standard error.
Result Shell(const std::string& line, const std::string& input = {})
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("korvelin-cli-output-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.csv", std::ios::binary) << input;
    const std::string command = "cd '" + dir.string() + "' && CALC='" + KORVELIN_CALC +
                                "' ERR=err.txt LC_ALL=C sh -c '" + line + "'";
    Result result;
    const int raw = std::system(command.c_str());
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(dir / "err.txt", std::ios::binary);
    std::ostringstream text;
    text << err.rdbuf();
    result.Err = text.str();
    return result;
}

std::string BatchInput(int lines)
{
    std::string text = "diameter;wall;ultimate;yield;pressure;height;snow;wind;ice;spans;slope\n";
    for (int i = 0; i < lines; ++i) {
        text += "159;4,5;372;225;1,2;1;3;2;1;6;2\n";
    }
    return text;
}

const std::string kNoSpace = "korvelin-calc: Не удалось записать вывод: на диске нет места\n";

TEST(CalcOutput, FullDiskEndsWithStatusTwoAndTheReason)
{
    struct Case {
        const char* Line;
        int Lines;
    };
    for (const Case c : {Case{"$CALC --sep , >/dev/full 2>$ERR", 0},
                         Case{"$CALC --json >/dev/full 2>$ERR", 0},
                         Case{"$CALC --report >/dev/full 2>$ERR", 0},
                         Case{"$CALC --help >/dev/full 2>$ERR", 0},
                         Case{"$CALC --batch <in.csv >/dev/full 2>$ERR", 1},
                         Case{"$CALC --batch in.csv >/dev/full 2>$ERR", 5000},
                         Case{"$CALC --batch --report <in.csv >/dev/full 2>$ERR", 1}}) {
        SCOPED_TRACE(c.Line);
        const Result r = Shell(c.Line, BatchInput(c.Lines));
        EXPECT_EQ(r.Status, 2);
        EXPECT_EQ(r.Err, kNoSpace);
    }
}

// Only output that is lost counts: a refused run writes nothing on standard output.
TEST(CalcOutput, RefusedRunLosesOnlyWhatItWrites)
{
    const Result plain = Shell("$CALC --diameter 0 >/dev/full 2>$ERR");
    EXPECT_EQ(plain.Status, 1);
    EXPECT_EQ(plain.Err, "korvelin-calc: Введены не все данные — равно нулю поле «Наружный диаметр»\n");
    const Result json = Shell("$CALC --json --diameter 0 >/dev/full 2>$ERR");
    EXPECT_EQ(json.Status, 2);
    EXPECT_EQ(json.Err, kNoSpace);
}

// A reader that stops early, as `head` does, ends the output quietly even where the closed pipe
// is reported as an error instead of a signal.
TEST(CalcOutput, ClosedPipeEndsQuietly)
{
    const Result r = Shell("trap \"\" PIPE; { $CALC --batch <in.csv 2>$ERR; echo $? >status; } "
                           "| head -c 10 >/dev/null; exit $(cat status)",
                           BatchInput(40000));
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err, "");
}

TEST(CalcOutput, WrittenOutputKeepsItsStatus)
{
    EXPECT_EQ(Shell("$CALC >/dev/null 2>$ERR").Status, 0);
    EXPECT_EQ(Shell("$CALC --diameter 0 >/dev/null 2>$ERR").Status, 1);
    EXPECT_EQ(Shell("$CALC --batch <in.csv >/dev/null 2>$ERR", BatchInput(3)).Status, 0);
}

}  // namespace

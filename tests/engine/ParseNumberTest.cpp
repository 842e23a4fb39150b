#include "korvelin/ParseNumber.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdlib>
#include <random>
#include <string>

namespace korvelin {
namespace {

struct ReadCase {
    const char* Text;
    const char* Separator;
    long double Expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << '"' << c.Text << "\" sep " << c.Separator; }

class ParseNumberReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ParseNumberReads, GivesTheValue)
{
    const ReadCase& c = GetParam();
    const ParsedNumber parsed = ParseNumber(c.Text, c.Separator);
    ASSERT_TRUE(parsed.Ok) << c.Text;
    EXPECT_EQ(parsed.Value, c.Expected) << c.Text;
    long double read = 1;
    EXPECT_TRUE(ReadNumber(c.Text, c.Separator, read)) << c.Text;
    EXPECT_EQ(read, c.Expected) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberReads,
    ::testing::Values(ReadCase{"89", ",", 89}, ReadCase{" 89 ", ",", 89},
                      ReadCase{"+89", ",", 89}, ReadCase{"-89", ",", -89},
                      ReadCase{"3,2", ",", 3.2L}, ReadCase{"3.2", ",", 3.2L},
                      ReadCase{"3,2", ".", 3.2L}, ReadCase{"3.2", ".", 3.2L},
                      ReadCase{"0", ",", 0}, ReadCase{"0,000", ",", 0}, ReadCase{"000.0", ".", 0},
                      ReadCase{",", ",", 0}, ReadCase{".", ",", 0}, ReadCase{"-,", ",", 0},
                      ReadCase{",5", ",", 0.5L}, ReadCase{"5,", ",", 5},
                      ReadCase{"1e3", ",", 1000}, ReadCase{"1,5E-2", ",", 0.015L},
                      ReadCase{"2e+2", ".", 200}, ReadCase{"1e400", ",", 1e400L},
                      ReadCase{"1e-5000", ",", 0}, ReadCase{"0,6", ",", 0.6L},
                      ReadCase{"12٫5", "٫", 12.5L},
                      // Twenty digits take the full conversion: beyond 19 digits the shortcut's
                      // integer would overflow, and a conversion to double would round once more.
                      ReadCase{"12345678901234567890", ",", 12345678901234567890.0L},
                      ReadCase{"99999999999999999999", ",", 1e20L},
                      ReadCase{"0,60000000000000000000", ",", 0.6L},
                      // Halfway between two doubles to within the extended precision.
                      ReadCase{"0,59999999999999992229", ",", 0x1.3333333333332p-1L + 0x1p-54L},
                      // Exponents of any length, and leading zeros in them.
                      ReadCase{"1e00000000000000000001", ",", 10},
                      ReadCase{"1e-999999999999999999999", ",", 0},
                      ReadCase{"0e999999999999999999999", ",", 0},
                      ReadCase{"1000000000000000000000e-21", ",", 1},
                      ReadCase{"123456789012345678901,5e-20", ",", 1.234567890123456789015L}));

struct RejectCase {
    const char* Text;
    const char* Separator;
    const char* Message;
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << '"' << c.Text << "\" sep " << c.Separator; }

class ParseNumberRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ParseNumberRejects, NamesTheWorkingCopy)
{
    const RejectCase& c = GetParam();
    const ParsedNumber parsed = ParseNumber(c.Text, c.Separator);
    EXPECT_FALSE(parsed.Ok) << c.Text;
    EXPECT_EQ(ConversionErrorMessage(parsed.WorkingCopy), c.Message);
    long double read = 0;
    EXPECT_FALSE(ReadNumber(c.Text, c.Separator, read)) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberRejects,
    ::testing::Values(
        RejectCase{"", ",", "'' is not a valid floating point value"},
        RejectCase{"1,2.3", ",", "'1,2.3' is not a valid floating point value"},
        RejectCase{"1.2,3", ",", "'1,2,3' is not a valid floating point value"},
        RejectCase{"1,2.3", ".", "'1.2.3' is not a valid floating point value"},
        RejectCase{"abc", ",", "'abc' is not a valid floating point value"},
        RejectCase{"+", ",", "'+' is not a valid floating point value"},
        RejectCase{"-", ",", "'-' is not a valid floating point value"},
        RejectCase{"1e", ",", "'1e' is not a valid floating point value"},
        RejectCase{"1e+", ",", "'1e+' is not a valid floating point value"},
        RejectCase{"1 2", ",", "'1 2' is not a valid floating point value"},
        RejectCase{"\t1", ",", "'\t1' is not a valid floating point value"},
        RejectCase{"- 1", ",", "'- 1' is not a valid floating point value"},
        RejectCase{"0x10", ",", "'0x10' is not a valid floating point value"},
        RejectCase{"inf", ",", "'inf' is not a valid floating point value"},
        RejectCase{"nan", ",", "'nan' is not a valid floating point value"},
        RejectCase{"1e5000", ",", "'1e5000' is not a valid floating point value"},
        RejectCase{"1e999999999999999999999", ",", "'1e999999999999999999999' is not a valid floating point value"},
        RejectCase{"3.2мм", ",", "'3,2мм' is not a valid floating point value"}));

// A rejected huge value must not leave a fault flag behind for the calculation to find.
TEST(ParseNumber, RaisesNoFaultFlags)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_TRUE(ParseNumber("0,1", ",").Ok);
    EXPECT_TRUE(ParseNumber("1e-4950", ",").Ok);
    EXPECT_FALSE(ParseNumber("1e99999", ",").Ok);
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW), 0);
}

// Short numbers take an exact shortcut; it must give the very value of the full conversion.
TEST(ParseNumber, ShortcutAgreesWithTheFullConversion)
{
    std::mt19937_64 random(2024);
    for (int i = 0; i < 100000; ++i) {
        std::string digits = std::to_string(random() % 10000000000000000000ull);
        const int point = static_cast<int>(random() % (digits.size() + 1));
        const int exponent = static_cast<int>(random() % 61) - 30;
        std::string text = digits;
        text.insert(static_cast<std::size_t>(point), ",");
        text += "e" + std::to_string(exponent);
        std::string classic = digits;
        classic.insert(static_cast<std::size_t>(point), ".");
        classic += "e" + std::to_string(exponent);
        const ParsedNumber parsed = ParseNumber(text, ",");
        ASSERT_TRUE(parsed.Ok) << text;
        ASSERT_EQ(parsed.Value, std::strtold(classic.c_str(), nullptr)) << text;
    }
}

}  // namespace
}  // namespace korvelin

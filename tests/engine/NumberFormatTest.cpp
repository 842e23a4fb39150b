#include "korvelin/NumberFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace korvelin {
namespace {

struct FixedCase {
    double Value;
    const char* Comma;
};

void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.Comma; }

class Fixed3Format : public ::testing::TestWithParam<FixedCase> {};

TEST_P(Fixed3Format, ShowsThreeDecimals)
{
    EXPECT_EQ(FormatFixed3(GetParam().Value, ","), GetParam().Comma);
}

// 0.1245 and 0.0195 lie a hair below the half, but their 18-digit forms are exact halves, which
// round away from zero.
INSTANTIATE_TEST_SUITE_P(
    Values, Fixed3Format,
    ::testing::Values(FixedCase{0, "0,000"}, FixedCase{0.0625, "0,063"},
                      FixedCase{-0.0625, "-0,063"}, FixedCase{66.8125, "66,813"},
                      FixedCase{1.15, "1,150"}, FixedCase{0.55, "0,550"}, FixedCase{1, "1,000"},
                      FixedCase{0.1245, "0,125"}, FixedCase{0.0195, "0,020"},
                      FixedCase{1.2345, "1,234"}, FixedCase{2.0005, "2,001"},
                      FixedCase{0.9995, "1,000"}, FixedCase{999.9995, "1000,000"},
                      FixedCase{0.0005, "0,001"}, FixedCase{0.00049, "0,000"},
                      FixedCase{-0.0001, "0,000"}, FixedCase{1e-300, "0,000"},
                      FixedCase{123456.7895, "123456,789"}, FixedCase{-7.5, "-7,500"},
                      FixedCase{1e20, "100000000000000000000,000"},
                      FixedCase{1000000000000000.125, "1000000000000000,120"},
                      // From 2^52 up the value is reduced to 18 digits the slow way: the 18th
                      // digit of an 18-digit whole number is kept, a 19th is rounded.
                      FixedCase{100000000000000016.0, "100000000000000016,000"},
                      FixedCase{-123456789012345680.0, "-123456789012345680,000"},
                      FixedCase{1000000000000000128.0, "1000000000000000130,000"},
                      FixedCase{9223372036854775808.0, "9223372036854775810,000"}));

TEST(Fixed3Format, UsesTheGivenSeparator)
{
    EXPECT_EQ(FormatFixed3(18.4409, "."), "18.441");
    EXPECT_EQ(FormatFixed3(-0.0625, "."), "-0.063");
}

// The short form writes the text AppendFixed3 gives, or leaves the value to it: numbers whose
// thousandths pass 64 bits, infinities and separators over 8 bytes.
TEST(Fixed3Format, ShortFormWritesTheSameTextOrDeclines)
{
    const struct {
        double Value;
        const char* Separator;
        bool Short;
    } cases[] = {
        {18.4409, ",", true},
        {-0.0004, ",", true},
        {-0.0005, "\xd9\xab", true},  // a two-byte separator
        {123456789012.3456, ".", true},
        {4503599627370495.5, ".", true},  // 2^52 - 1/2: 16 integer digits
        {1.8e16, ".", false},
        {1e300, ",", false},
        {INFINITY, ",", false},
        {2.5, "123456789", false},
    };
    for (const auto& c : cases) {
        char text[kShortFixed3Length + 8];
        const char* end = WriteShortFixed3(text, c.Value, c.Separator);
        ASSERT_EQ(end != nullptr, c.Short) << c.Value;
        if (end != nullptr) {
            EXPECT_EQ(std::string(static_cast<const char*>(text), end), FormatFixed3(c.Value, c.Separator));
        }
    }
    EXPECT_EQ(FormatFixed3(-2.5, "123456789"), "-2123456789500");
}

// The "0.000" text by the rule itself, from the standard conversion (exact for long double):
// the 18-digit form, rounded at the fourth decimal by hand, a 5 away from zero.
std::string Fixed3ByTheRule(double value)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long double>(value),
                                   std::chars_format::scientific, 17).ptr;
    std::string digits;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') digits += *p;
    }
    const int e = std::stoi(std::string(p + 1, static_cast<const char*>(end)));
    long double scaled = 0;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const int power = e - static_cast<int>(k) + 3;
        if (power >= 0) {
            scaled = scaled * 10 + (digits[k] - '0');
        } else if (power == -1) {
            if (digits[k] >= '5') scaled += 1;
            break;
        }
    }
    for (int power = e + 3 - static_cast<int>(digits.size()) + 1; power > 0; --power) {
        scaled *= 10;
    }
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.3Lf", scaled / 1000);
    return expected;
}

// The exact 128-bit path against the standard conversion over many values of every magnitude.
TEST(Fixed3Format, AgreesWithTheStandardConversion)
{
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> exponent(-6, 15);
    std::uniform_real_distribution<double> mantissa(1, 10);
    for (int i = 0; i < 200000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, std::floor(exponent(random)));
        ASSERT_EQ(FormatFixed3(value, "."), Fixed3ByTheRule(value)) << std::hexfloat << value;
    }
}

// Either side of a half in the fourth decimal: within a few units of the last place the result
// is left to the exact 18-digit path, further away it is taken straight from the binary value.
// Both sides of that border, and the borders of the straight path (2^-11, 2^49), exactly.
TEST(Fixed3Format, RoundsTheSameEitherSideOfTheExactPathsBorder)
{
    const FixedCase cases[] = {
        // 0.0625 is a half; from 8 units below it and 8 above, the straight path decides.
        {0x1.ffffffffffff7p-5, "0,062"}, {0x1.ffffffffffff8p-5, "0,062"},
        {0x1.fffffffffffffp-5, "0,062"}, {0x1p-4, "0,063"}, {0x1.0000000000001p-4, "0,063"},
        {0x1.0000000000008p-4, "0,063"}, {0x1.0000000000009p-4, "0,063"},
        // 1234.5625, a half, and its neighbours one, eight and nine units away.
        {0x1.34a3ffffffff7p+10, "1234,562"}, {0x1.34a3ffffffff8p+10, "1234,562"},
        {0x1.34a3fffffffffp+10, "1234,562"}, {0x1.34a4p+10, "1234,563"},
        {0x1.34a4000000001p+10, "1234,563"}, {0x1.34a4000000008p+10, "1234,563"},
        {0x1.34a4000000009p+10, "1234,563"},
        // 2.0005 is a hair below the half, its 18-digit form the half itself; one unit below
        // it the 18-digit form is below the half too.
        {0x1.0010624dd2f12p+1, "2,000"}, {0x1.0010624dd2f1ap+1, "2,000"},
        {0x1.0010624dd2f1bp+1, "2,001"}, {0x1.0010624dd2f1cp+1, "2,001"},
        {0x1.0010624dd2f24p+1, "2,001"},
        // The straight path ends below 2^49; from 2^-11 down it gives zero; 1e-5 is the border
        // below which nothing is computed.
        {0x1.fffffffffffffp+48, "562949953421311,938"}, {0x1p+49, "562949953421312,000"},
        {0x1.ffffffffffff9p+48, "562949953421311,562"}, {0x1p-11, "0,000"},
        {0x1.fffffffffffffp-12, "0,000"}, {0x1.4f8b588e368f1p-17, "0,000"},
        {0x1.0624dd2f1a9fcp-11, "0,001"}, {-0x1.0624dd2f1a9fcp-11, "-0,001"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(FormatFixed3(c.Value, ","), c.Comma) << std::hexfloat << c.Value;
    }
}

// Around many halves, unit by unit, the result is the rule's; and the shown value is the text's.
TEST(Fixed3Format, AgreesWithTheRuleAroundHalves)
{
    std::mt19937_64 random(2026);
    std::uniform_int_distribution<int> digits(1, 15);
    for (int i = 0; i < 4000; ++i) {
        const double half =
            (std::floor(std::ldexp(static_cast<double>(random() >> 11), -53) *
                        std::pow(10.0, digits(random))) + 0.5) / 1000;
        double value = half;
        for (int k = 0; k < 16; ++k) {
            value = std::nextafter(value, 0.0);
        }
        for (int k = -16; k <= 16; ++k, value = std::nextafter(value, 1e300)) {
            ASSERT_EQ(FormatFixed3(value, "."), Fixed3ByTheRule(value)) << std::hexfloat << value;
            for (const double signed_ : {value, -value}) {
                const std::string text = FormatFixed3(signed_, ".");
                double read = 0;
                std::from_chars(text.data(), text.data() + text.size(), read);
                ASSERT_EQ(std::bit_cast<std::uint64_t>(ShownFixed3(signed_)),
                          std::bit_cast<std::uint64_t>(read))
                    << std::hexfloat << signed_;
            }
        }
    }
}

struct GeneralCase {
    long double Value;
    const char* Comma;
};

void PrintTo(const GeneralCase& c, std::ostream* os) { *os << c.Comma; }

class GeneralFormat : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralFormat, ShowsUpToFifteenDigits)
{
    EXPECT_EQ(FormatGeneral(GetParam().Value, ","), GetParam().Comma);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralFormat,
    ::testing::Values(GeneralCase{3.2L * 2 + 300, "306,4"}, GeneralCase{300, "300"},
                      GeneralCase{0, "0"}, GeneralCase{-2.5L, "-2,5"},
                      GeneralCase{0.0001L, "0,0001"}, GeneralCase{0.00001L, "1E-5"},
                      GeneralCase{1e15L, "1E15"}, GeneralCase{999999999999999, "999999999999999"},
                      GeneralCase{1.5e20L, "1,5E20"}, GeneralCase{123456789012345.6L, "123456789012346"},
                      GeneralCase{2.0L / 3, "0,666666666666667"}, GeneralCase{0.1L, "0,1"}));

// The values of the note's formulas: seven digits, powers of ten raised, the minus sign of
// typesetting.
TEST(SignificantFormat, ShowsTheValuesOfTheFormulas)
{
    const std::pair<long double, const char*> cases[] = {
        {0.089, "0,089"},         {3.14L, "3,14"},          {66.813314, "66,81331"},
        {8.85441064e-7, "8,854411·10⁻⁷"}, {7.9104e13L, "7,9104·10¹³"}, {2.06e11L, "2,06·10¹¹"},
        {0.0009999999, "0,0009999999"}, {0.000099999, "9,9999·10⁻⁵"}, {0.99999996, "1"}, {123456700, "123456700"},
        {-0.0625, "−0,0625"},     {150, "150"},             {0, "0"},
        {1.0526315789473684211L, "1,052632"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatSignificant(value, 7, ","), text) << text;
    }
    EXPECT_EQ(FormatSignificant(565966.8L, 15, "."), "565966.8");
}

}  // namespace
}  // namespace korvelin

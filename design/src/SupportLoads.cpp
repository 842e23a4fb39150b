#include "korvelin/SupportLoads.h"

#include "korvelin/ValueReading.h"

#include <array>
#include <cmath>
#include <numeric>

namespace korvelin {
namespace {

using Ext = long double;

constexpr int kMaxSpans = 6;
// The "Количество пролетов" item of "more than six".
constexpr int kManySpansIndex = kMaxSpans;

constexpr Fraction Make(std::int64_t numerator, std::int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const std::int64_t divisor = std::gcd(numerator, denominator);
    return {numerator / divisor, denominator / divisor};
}

constexpr Fraction operator+(Fraction a, Fraction b)
{
    return Make(a.Numerator * b.Denominator + b.Numerator * a.Denominator,
                a.Denominator * b.Denominator);
}
constexpr Fraction operator-(Fraction a, Fraction b) { return a + Fraction{-b.Numerator, b.Denominator}; }
constexpr Fraction operator*(Fraction a, Fraction b)
{
    return Make(a.Numerator * b.Numerator, a.Denominator * b.Denominator);
}
constexpr Fraction operator/(Fraction a, Fraction b)
{
    return Make(a.Numerator * b.Denominator, a.Denominator * b.Numerator);
}
constexpr bool operator<(Fraction a, Fraction b)
{
    return a.Numerator * b.Denominator < b.Numerator * a.Denominator;
}

// The reactions of the n + 1 supports of n equal spans, in units of q·L. The support moments,
// in units of q·L², solve the three-moment equation of equal spans
//     m(i-1) + 4·m(i) + m(i+1) = -1/2,   i = 1 … n-1,   m(0) = m(n) = 0,
// a tridiagonal system, eliminated forward and solved backward in exact fractions. The support
// between spans i and i+1 takes half of each span's load and the differences of the moments:
//     R(i) = 1/2 + (m(i-1) - m(i)) + 1/2 + (m(i+1) - m(i)).
constexpr std::array<Fraction, kMaxSpans + 1> Reactions(int spans)
{
    std::array<Fraction, kMaxSpans + 1> m{};  // m[0] and m[spans] stay 0
    std::array<Fraction, kMaxSpans + 1> diagonal{};
    std::array<Fraction, kMaxSpans + 1> right{};
    const Fraction load{-1, 2};
    for (int i = 1; i < spans; ++i) {
        diagonal[i] = {4, 1};
        right[i] = load;
        if (i > 1) {
            const Fraction factor = Fraction{1, 1} / diagonal[i - 1];
            diagonal[i] = diagonal[i] - factor;
            right[i] = right[i] - factor * right[i - 1];
        }
    }
    for (int i = spans - 1; i >= 1; --i) {
        m[i] = (right[i] - (i + 1 < spans ? m[i + 1] : Fraction{})) / diagonal[i];
    }
    std::array<Fraction, kMaxSpans + 1> reactions{};
    const Fraction half{1, 2};
    reactions[0] = half + (m[1] - m[0]);
    for (int i = 1; i < spans; ++i) {
        reactions[i] = half + (m[i - 1] - m[i]) + half + (m[i + 1] - m[i]);
    }
    return reactions;
}

std::string Text(Fraction f) { return std::to_string(f.Numerator) + "/" + std::to_string(f.Denominator); }

double ToDouble(Fraction f)
{
    // Both are small whole numbers, exact in a double: the quotient is rounded once.
    return static_cast<double>(f.Numerator) / static_cast<double>(f.Denominator);
}

// The limit of many spans: away from the ends the moments approach -1/12 (the fixed-end moment),
// as m(i) = -(1 - r^i)/12 with r = √3 - 2, the root of r² + 4·r + 1 = 0 inside the unit circle.
// The end support takes 1/2 + m(1) = (3 + √3)/12, the first intermediate one, the most loaded,
// 1 - 2·m(1) + m(2) = 1 + (1 - r)²/12 = 2 - √3/2.
BeamFactors ManySpans()
{
    const Ext r = std::sqrt(3.0L) - 2;
    BeamFactors factors;
    factors.Spans = 0;
    factors.End = static_cast<double>(0.5L - (1 - r) / 12);
    factors.Intermediate = static_cast<double>(1 + (1 - r) * (1 - r) / 12);
    factors.EndText = "(3 + √3)/12";
    factors.IntermediateText = "2 − √3/2";
    return factors;
}

double Load(double factor, double perMetre, double span)
{
    return static_cast<double>(Ext{factor} * perMetre * span);
}

}  // namespace

Fraction EndSupportFactor(int spans) { return Reactions(spans)[0]; }

std::optional<Fraction> IntermediateSupportFactor(int spans)
{
    if (spans < 2) {
        return std::nullopt;
    }
    const std::array<Fraction, kMaxSpans + 1> reactions = Reactions(spans);
    Fraction most = reactions[1];
    for (int i = 2; i < spans; ++i) {
        if (most < reactions[i]) {
            most = reactions[i];
        }
    }
    return most;
}

BeamFactors ContinuousBeamFactors(int spanCountIndex)
{
    if (spanCountIndex >= kManySpansIndex) {
        return ManySpans();
    }
    BeamFactors factors;
    factors.Spans = spanCountIndex + 1;
    const Fraction end = EndSupportFactor(factors.Spans);
    factors.End = ToDouble(end);
    factors.EndText = Text(end);
    if (const std::optional<Fraction> intermediate = IntermediateSupportFactor(factors.Spans)) {
        factors.Intermediate = ToDouble(*intermediate);
        factors.IntermediateText = Text(*intermediate);
    }
    return factors;
}

SupportLoads ComputeSupportLoads(double span, int spanCountIndex, double verticalLoad,
                                 double windLoad, std::optional<double> friction)
{
    SupportLoads loads;
    loads.Span = span;
    loads.Factors = ContinuousBeamFactors(spanCountIndex);
    loads.VerticalLoad = verticalLoad;
    loads.WindLoad = windLoad;
    loads.Friction = friction;
    const BeamFactors& k = loads.Factors;
    loads.VerticalEnd = Load(k.End, verticalLoad, span);
    loads.WindEnd = Load(k.End, windLoad, span);
    if (k.Intermediate) {
        loads.VerticalIntermediate = Load(*k.Intermediate, verticalLoad, span);
        loads.WindIntermediate = Load(*k.Intermediate, windLoad, span);
    }
    if (friction) {
        loads.FrictionEnd = static_cast<double>(Ext{*friction} * loads.VerticalEnd);
        if (loads.VerticalIntermediate) {
            loads.FrictionIntermediate =
                static_cast<double>(Ext{*friction} * *loads.VerticalIntermediate);
        }
    }
    return loads;
}

FrictionReading ReadFriction(std::string_view text, std::string_view decimalSeparator)
{
    static constexpr ValueMessages kMessages = {
        "",
        "Коэффициент трения в опорах должен быть числом",
        "",  // 0: supports without friction
        "Коэффициент трения в опорах не может быть отрицательным",
        "Коэффициент трения в опорах должен быть от 0 до 1",
    };
    const ValueReading reading = ReadValueInRange(text, decimalSeparator, kMaxFriction, kMessages);
    return {reading.Value, reading.Error};
}

std::string DefaultFrictionText(std::string_view decimalSeparator)
{
    return "0" + std::string(decimalSeparator) + "3";
}

}  // namespace korvelin

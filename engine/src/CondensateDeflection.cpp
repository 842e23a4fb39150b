#include "korvelin/CondensateDeflection.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstddef>

namespace korvelin {
namespace {

using Ext = long double;

constexpr std::array<double, kSlopeCount> kSlopeBelow100 = {1.00, 1.33, 1.54, 1.72, 1.86, 2.00,
                                                   2.13, 2.26, 2.38, 2.50, 2.61};
constexpr std::array<double, kSlopeCount> kSlopeUpTo300 = {1.00, 1.26, 1.44, 1.58, 1.72, 1.85,
                                                  1.98, 2.10, 2.22, 2.33, 2.44};

}  // namespace

double SlopeCoefficient(int slope, double innerDiameterMm)
{
    const auto row = static_cast<std::size_t>(slope);
    if (innerDiameterMm < kSlopeFirstColumnLimit) {
        return kSlopeBelow100[row];
    }
    if (innerDiameterMm <= kSlopeTableLimit) {
        return kSlopeUpTo300[row];
    }
    return 0;
}

CondensateSpanTerms CalcSpanCondensateTerms(FpWatch& fp, double D, double t, double q, int slope,
                                            ReportWriter& report)
{
    const double inner = fp.Store((Ext{D} - 2 * Ext{t}) * kMillimetresPerMetre);
    const double c = SlopeCoefficient(slope, inner);
    report.AppendValue("Коэффициент, учитыв. уклон трубопровода    ", c);
    const double root = fp.Store(fp.Pow(fp.Div(t, q), 0.25L));
    return {inner, c, root, fp.Store(Ext{root} * (kCondensateFactor * c * D))};
}

double CalcSpanCondensate(FpWatch& fp, double D, double t, double q, int slope,
                          ReportWriter& report)
{
    return CalcSpanCondensateTerms(fp, D, t, q, slope, report).Span;
}

Deflection CalcDeflection(FpWatch& fp, double inertia, double span, double load)
{
    const Ext L = span;
    const double actual =
        fp.Store(fp.Div(kDeflectionLoadFactor * load * L * L * L * L, kDeflectionDivisor * inertia));
    const double limit = fp.Store(L * kDeflectionLimitRatio);
    return {actual, limit};
}

namespace {

constexpr std::uint64_t kHidden = std::uint64_t{1} << 52;

// The bits of the next span from those of a span. span - span/20 in extended precision, rounded
// to double, is the correctly rounded 19/20 of the span. With span = m * 2^e (m an integer below
// 2^53): where 5 divides m, span/20 and the difference are exact in 64 bits. Otherwise 19m/20 is
// no sum of powers of two, and it lies at least 1/20 of a unit of the 53-bit grid away from every
// point halfway between two doubles, while the two extended roundings move it by less than 2^-10
// of that unit. So for a normal span the 19/20 is taken with integers: 19m is exact, and its
// quotient by 20 (by 10 one binade lower, when it falls below 2^52) is rounded to nearest, a half
// (m = 10 modulo 20, or m = 5 modulo 10) to even. The search carries the bits from span to span,
// so that no conversion lies on that chain.
std::uint64_t NextSpanBits(std::uint64_t bits)
{
    const auto biased = bits >> 52;  // a positive span: no sign bit
    if (biased < 2 || biased > 2046) {
        const Ext L = std::bit_cast<double>(bits);  // near the subnormals, or not finite
        return std::bit_cast<std::uint64_t>(static_cast<double>(L - L / kDeflectionStep));
    }
    const std::uint64_t mantissa = (bits & (kHidden - 1)) | kHidden;
    const std::uint64_t exponent = bits & ~(kHidden - 1);
    const std::uint64_t product = mantissa * 19;
    std::uint64_t quotient = 0;
    std::uint64_t exponentAfter = exponent;
    if (product >= 20 * kHidden) {
        quotient = (product + 10) / 20;
        if (mantissa % 20 == 10) {
            quotient &= ~std::uint64_t{1};
        }
    } else {
        quotient = (product + 5) / 10;
        if (mantissa % 10 == 5) {
            quotient &= ~std::uint64_t{1};
        }
        exponentAfter -= kHidden;
    }
    // The quotient lies in [2^52, 2^53]; 2^53 carries into the exponent.
    return exponentAfter + (quotient - kHidden);
}

}  // namespace

double NextDeflectionSpan(double span)
{
    return std::bit_cast<double>(NextSpanBits(std::bit_cast<std::uint64_t>(span)));
}

DeflectionSearch SearchSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    DeflectionSearch search;
    if (!(startSpan > 0)) {
        return search;
    }
    search.Start = CalcDeflection(fp, inertia, startSpan, load);
    search.Last = startSpan;
    search.AtLast = search.Start;
    search.Span = startSpan;
    // A start that faulted is infinite or not a number, and the search would not end; checked
    // at the end, a run goes on after a fault, so the flags are read here when the start is not
    // finite. (Reading them each time would wait for all the arithmetic still in flight.)
    const bool startFinite = std::isfinite(search.Start.Actual) && std::isfinite(search.Start.Limit);
    if (fp.Failed() || (!startFinite && fp.MayHaveFaulted()) ||
        search.Start.Actual <= search.Start.Limit) {
        return search;
    }
    // Every span of the search is shorter than the start span, so its deflection and limit are
    // smaller than the start's, which were computed without a fault, and the divisor is the
    // same: nothing further can fault, and the search runs without flag tests.
    //
    // The deflection over its limit is ratio * L^3. Where that ratio, in doubles, is above 1 by
    // more than 2^-40, the stored deflection is above the stored limit for certain (the two
    // are within 1.2e-16 of their exact values, the estimate within 5e-16), and the span is
    // passed over without computing them. Within [2^-300, 2^300] for the ratio and [2^-200,
    // 2^200] for the span, the estimate neither overflows nor leaves the normal range, and the
    // limit stays a normal number; elsewhere every span is computed.
    const Ext ratio = kDeflectionLoadFactor * load / (kDeflectionDivisor * inertia * kDeflectionLimitRatio);
    const bool estimated = ratio >= 0x1p-300L && ratio <= 0x1p300L;
    const double ratioEstimate = estimated ? static_cast<double>(ratio) : 0;
    auto spanBits = std::bit_cast<std::uint64_t>(startSpan);
    for (int steps = 0;; ++steps) {
        const auto span = std::bit_cast<double>(spanBits);
        const std::uint64_t nextBits = NextSpanBits(spanBits);
        const bool surelyOver = estimated && span >= 0x1p-200 && span <= 0x1p200 &&
                                ratioEstimate * span * span * span > 1 + 0x1p-40;
        if (!surelyOver) {
            const Ext L = span;
            const auto actual = static_cast<double>(kDeflectionLoadFactor * load * L * L * L * L /
                                                    (kDeflectionDivisor * inertia));
            const auto limit = static_cast<double>(L * kDeflectionLimitRatio);
            if (actual <= limit) {
                search.Steps = steps;
                search.Last = span;
                search.AtLast = {actual, limit};
                search.Span =
                    static_cast<double>(Ext{std::bit_cast<double>(nextBits)} * kDeflectionStepUndo);
                return search;
            }
        }
        spanBits = nextBits;
    }
}

double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    return SearchSpanDeflection(fp, inertia, startSpan, load).Span;
}

}  // namespace korvelin

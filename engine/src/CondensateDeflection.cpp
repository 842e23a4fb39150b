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
[[gnu::noinline, gnu::cold]] std::uint64_t NextSpanBitsInExtended(std::uint64_t bits)
{
    const Ext L = std::bit_cast<double>(bits);
    return std::bit_cast<std::uint64_t>(static_cast<double>(L - L / kDeflectionStep));
}

[[gnu::always_inline]] inline std::uint64_t NextSpanBits(std::uint64_t bits)
{
    const auto biased = bits >> 52;  // a positive span: no sign bit
    if (biased < 2 || biased > 2046) {
        return NextSpanBitsInExtended(bits);  // near the subnormals, or not finite
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

namespace {

// The start of a search: false when the search ends there (a start span that is not positive, a
// start within the limit, a faulted start), true when it goes on to shorter spans.
bool BeginSearch(FpWatch& fp, double inertia, double startSpan, double load, DeflectionSearch& search)
{
    if (!(startSpan > 0)) {
        return false;
    }
    search.Start = CalcDeflection(fp, inertia, startSpan, load);
    search.Last = startSpan;
    search.AtLast = search.Start;
    search.Span = startSpan;
    // A start that faulted is infinite or not a number, and the search would not end; checked
    // at the end, a run goes on after a fault, so the flags are read here when the start is not
    // finite. (Reading them each time would wait for all the arithmetic still in flight.)
    const bool startFinite = std::isfinite(search.Start.Actual) && std::isfinite(search.Start.Limit);
    return !(fp.Failed() || (!startFinite && fp.MayHaveFaulted()) ||
             search.Start.Actual <= search.Start.Limit);
}

// The search from its first reduction on, one span at a time. Every span of the search is shorter
// than the start span, so its deflection and limit are smaller than the start's, which were
// computed without a fault, and the divisor is the same: nothing further can fault, and the
// search runs without flag tests.
//
// The deflection over its limit is ratio * L^3. Where that ratio, in doubles, is above 1 by more
// than 2^-40, the stored deflection is above the stored limit for certain (the two are within
// 1.2e-16 of their exact values, the estimate within 5e-16), and the span is passed over without
// computing them. Within [2^-300, 2^300] for the ratio and [2^-200, 2^200] for the span, the
// estimate neither overflows nor leaves the normal range, and the limit stays a normal number;
// elsewhere every span is computed.
class ShorterSpans {
public:
    ShorterSpans(double inertia, double startSpan, double load)
        : inertia_(inertia), load_(load), spanBits_(std::bit_cast<std::uint64_t>(startSpan))
    {
        const Ext ratio =
            kDeflectionLoadFactor * load / (kDeflectionDivisor * inertia * kDeflectionLimitRatio);
        estimated_ = ratio >= 0x1p-300L && ratio <= 0x1p300L;
        ratioEstimate_ = estimated_ ? static_cast<double>(ratio) : 0;
    }

    // Tests the current span and moves to the next one; true when the search ended at the span
    // tested, with its result written into `search`.
    bool Advance(DeflectionSearch& search)
    {
        const auto span = std::bit_cast<double>(spanBits_);
        const std::uint64_t nextBits = NextSpanBits(spanBits_);
        const bool surelyOver = estimated_ && span >= 0x1p-200 && span <= 0x1p200 &&
                                ratioEstimate_ * span * span * span > 1 + 0x1p-40;
        if (!surelyOver) {
            const Ext L = span;
            const auto actual = static_cast<double>(kDeflectionLoadFactor * load_ * L * L * L * L /
                                                    (kDeflectionDivisor * inertia_));
            const auto limit = static_cast<double>(L * kDeflectionLimitRatio);
            if (actual <= limit) {
                search.Steps = steps_;
                search.Last = span;
                search.AtLast = {actual, limit};
                search.Span =
                    static_cast<double>(Ext{std::bit_cast<double>(nextBits)} * kDeflectionStepUndo);
                return true;
            }
        }
        spanBits_ = nextBits;
        ++steps_;
        return false;
    }

private:
    double inertia_;
    double load_;
    std::uint64_t spanBits_;
    bool estimated_ = false;
    double ratioEstimate_ = 0;
    int steps_ = 0;
};

}  // namespace

DeflectionSearch SearchSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    DeflectionSearch search;
    if (BeginSearch(fp, inertia, startSpan, load, search)) {
        ShorterSpans spans(inertia, startSpan, load);
        while (!spans.Advance(search)) {
        }
    }
    return search;
}

std::array<DeflectionSearch, 2> SearchSpanDeflections(FpWatch& fp, double inertia,
                                                      const std::array<double, 2>& startSpans,
                                                      const std::array<double, 2>& loads)
{
    std::array<DeflectionSearch, 2> searches{};
    const bool first = BeginSearch(fp, inertia, startSpans[0], loads[0], searches[0]);
    const bool second = BeginSearch(fp, inertia, startSpans[1], loads[1], searches[1]);
    if (first && second) {
        // The steps of the two take turns: each waits on its own previous span, so the
        // processor works on both at once.
        ShorterSpans spans[] = {{inertia, startSpans[0], loads[0]}, {inertia, startSpans[1], loads[1]}};
        bool ended[] = {false, false};
        while (!(ended[0] && ended[1])) {
            ended[0] = ended[0] || spans[0].Advance(searches[0]);
            ended[1] = ended[1] || spans[1].Advance(searches[1]);
        }
    } else if (first || second) {
        const std::size_t which = first ? 0 : 1;
        ShorterSpans spans(inertia, startSpans[which], loads[which]);
        while (!spans.Advance(searches[which])) {
        }
    }
    return searches;
}

double CalcSpanDeflection(FpWatch& fp, double inertia, double startSpan, double load)
{
    return SearchSpanDeflection(fp, inertia, startSpan, load).Span;
}

}  // namespace korvelin

#pragma once

// The loads on the supports of the pipe: the pipe as a continuous beam of n equal spans L under a
// uniform load q, whose support reactions, found with the three-moment equation, are exact
// multiples k·q·L. From the factors: the vertical load on a support k·q·L, the horizontal load of
// the wind k·w·L and the friction force of a sliding support μ·k·q·L.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvelin {

// An exact fraction, in lowest terms with a positive denominator.
struct Fraction {
    std::int64_t Numerator = 0;
    std::int64_t Denominator = 1;
    bool operator==(const Fraction&) const = default;
};

// The reaction factors of a continuous beam: an end support and the most loaded intermediate one.
struct BeamFactors {
    int Spans = 1;               // n; 0 for "more than six", taken as the limit of many spans
    std::optional<double> Intermediate;  // k_i; none for a single span
    double End = 0.5;                    // k_e
    std::string IntermediateText;        // exact: "5/4", "2 − √3/2"; empty for a single span
    std::string EndText;                 // exact: "3/8", "(3 + √3)/12"
};

// The exact factors of n equal spans, 1 <= n <= 6, from the three-moment equation
// M(i-1) + 4·M(i) + M(i+1) = -q·L²/2 with M(0) = M(n) = 0, solved in fractions; the reaction of
// support i is q·L plus the differences of the neighbouring moments over L.
Fraction EndSupportFactor(int spans);
std::optional<Fraction> IntermediateSupportFactor(int spans);  // none for n = 1

// The factors for the "Количество пролетов" item (0..5 for one to six spans, 6 for more than six).
BeamFactors ContinuousBeamFactors(int spanCountIndex);

// The support loads of one set of rules at one span, in N.
struct SupportLoads {
    double Span = 0;          // L, m
    BeamFactors Factors;
    double VerticalLoad = 0;  // q, N/m: SP the vertical load of the combination, SNiP the factored total
    double WindLoad = 0;      // w, N/m
    std::optional<double> Friction;  // μ, when given
    std::optional<double> VerticalIntermediate;  // k_i·q·L
    double VerticalEnd = 0;                       // k_e·q·L
    std::optional<double> WindIntermediate;      // k_i·w·L
    double WindEnd = 0;                           // k_e·w·L
    std::optional<double> FrictionIntermediate;  // μ·k_i·q·L
    std::optional<double> FrictionEnd;           // μ·k_e·q·L
};

// The loads at span L (m) of a beam of the "Количество пролетов" item under the vertical load q
// and the wind load w (N/m), with the friction coefficient μ when given. Each load is formed in
// extended precision in the order of its formula and stored as a double.
SupportLoads ComputeSupportLoads(double span, int spanCountIndex, double verticalLoad,
                                 double windLoad, std::optional<double> friction);

// The coefficient of friction of the supports: steel on steel 0,3 (0,1 for a PTFE pad).
inline constexpr double kDefaultFriction = 0.3;
inline constexpr double kMaxFriction = 1;

// "Коэффициент трения в опорах": a blank text is not given; a text that is not a number, zero,
// negative or above 1 gets a message naming it and no value.
struct FrictionReading {
    std::optional<double> Value;
    std::string Error;
    bool Ok() const { return Error.empty(); }
};
FrictionReading ReadFriction(std::string_view text, std::string_view decimalSeparator);
// "0,3" with the given separator: the text the field starts with.
std::string DefaultFrictionText(std::string_view decimalSeparator);

}  // namespace korvelin

// The fast paths of ExtendedLog and ExtendedExp taken apart, for the tests that measure their
// error and try their rounding decisions: each function here runs the very code the engine
// runs. Only ExtendedMath.cpp, which defines them, and those tests include this header; the
// engine's public headers do not declare them.
#pragma once

#include <cstdint>

namespace korvelin::extended_math_fast_paths {

// A 128-bit whole number in two 64-bit words, High * 2^64 + Low; read as two's complement where
// it has a sign.
struct Words {
    std::uint64_t High;
    std::uint64_t Low;
};

// The fast path's result before its rounding, for |x| = mantissa 2^(exponent - 63) with the
// mantissa's leading bit set and exponent from -67 to 13: e^x = Product 2^(Scale - 126), Product
// unsigned and within ExpErrorBound() units.
struct ExpValue {
    Words Product;
    int Scale;
};
ExpValue ExpFastValue(std::uint64_t mantissa, int exponent, bool negative) noexcept;

// For x = mantissa 2^(exponent - 63), the mantissa's leading bit set: log x 2^113 as a signed
// number within LogErrorBound() units, or NearOne where x lies within 2^-24 of 1 and the
// logarithm is taken in long double pairs instead.
struct LogValue {
    bool NearOne;
    Words Result;
};
LogValue LogFastValue(std::uint64_t mantissa, std::int64_t exponent) noexcept;

// The bounds the decisions below allow for, in units of the fixed point's last bit.
std::uint64_t ExpErrorBound() noexcept;
std::uint64_t LogErrorBound() noexcept;

// A decision: Decided and the result Mantissa 2^Unit, or left to the slow path.
struct Decision {
    bool Decided;
    std::uint64_t Mantissa;
    int Unit;
};
// The exponential's product of the usual arguments (2^-67 <= |x| < 2^9), of the large ones
// (2^9 <= |x| <= 11400, subnormal results included), and the logarithm's |result|.
Decision DecideUsualExp(Words product, int scale) noexcept;
Decision DecideLargeExp(Words product, int scale) noexcept;
Decision DecideLog(Words magnitude) noexcept;

}  // namespace korvelin::extended_math_fast_paths

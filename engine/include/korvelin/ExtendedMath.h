#pragma once

namespace korvelin {

// The natural logarithm and the exponential in extended precision, correctly rounded: the result
// is the exact value rounded to nearest in the 64-bit mantissa of long double (for the
// exponential also among the subnormal numbers). They are computed with additions,
// multiplications and exact scalings only, in the x87 unit at 64-bit precision and rounding to
// nearest, so that every processor and every system gives the same bits.
//
// The status flags are those of the mathematical result: the logarithm of a negative number
// raises "invalid" and gives the positive not-a-number, of zero "division by zero" and -inf; an
// exponential beyond the range raises "overflow" and gives +inf, one below it "underflow" and 0.
// log(1) is +0, exp(0) is 1, a not-a-number passes through. No other step raises "invalid",
// "division by zero" or "overflow".
long double ExtendedLog(long double x) noexcept;
long double ExtendedExp(long double x) noexcept;
// ExtendedExp(ExtendedLog(x) / 2^halvings) for halvings 1 or 2 - the square and fourth roots the
// formulas take through the logarithm - with the same bits and flags as the two calls in turn;
// the usual arguments pass the logarithm to the exponential as whole numbers, without going
// through the x87 unit between them. Any other number of halvings is taken as none.
long double ExtendedExpOfHalvedLog(long double x, int halvings) noexcept;

// The same results computed in fixed point alone, with 256 bits and more: the path both
// functions take for the rare arguments whose rounding their fast evaluation leaves open.
// Declared for the tests, which reach it with arguments of every kind; the logarithm's for x
// positive and finite, the exponential's for 2^-67 <= |x| <= 11400.
long double ExtendedLogSlowPath(long double x) noexcept;
long double ExtendedExpSlowPath(long double x) noexcept;

}  // namespace korvelin

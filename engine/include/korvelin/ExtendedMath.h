#pragma once

namespace korvelin {

// The natural logarithm and the exponential in extended precision, computed by the x87 unit with
// one fixed sequence of operations, so that every system gives the same last bit: the results
// are those of the GNU C library's x87 functions, which the engine's figures were made with.
// The status flags are the unit's own: the logarithm of a negative number raises "invalid", of
// zero "division by zero", and an exponential beyond the range "overflow".
long double ExtendedLog(long double x) noexcept;
long double ExtendedExp(long double x) noexcept;

}  // namespace korvelin

#pragma once

#include <cfenv>
#include <string_view>

namespace korvelin {

// The floating-point faults that end a calculation. Underflow and inexact results pass silently.
enum class FpFault { None, DivisionByZero, InvalidOperation, Overflow };

std::string_view FpFaultMessage(FpFault fault);

// Watches the floating-point status flags around the operations that can fault (divisions,
// powers, rounding to double) and records the first fault, in the order the operations run.
// Each checked operation passes its operands and its result through a compiler barrier, so the
// optimiser can neither move the arithmetic across the flag test nor drop it.
class FpWatch {
public:
    FpWatch() noexcept { std::feclearexcept(FE_ALL_EXCEPT); }

    long double Div(long double dividend, long double divisor) noexcept;
    // Power with a constant exponent: exponent 0 gives 1, a zero base with a positive exponent
    // gives 0, a whole exponent is repeated multiplication, any other exp(e * ln b).
    long double Pow(long double base, long double exponent) noexcept;
    // Rounds an extended value to double precision; an out-of-range value is an overflow.
    double Store(long double value) noexcept;

    FpFault Fault() const noexcept { return fault_; }
    bool Failed() const noexcept { return fault_ != FpFault::None; }

private:
    void Check(bool library = false) noexcept;
    FpFault fault_ = FpFault::None;
};

// Keeps the status flags of both units (x87 and SSE) as they were while work that must not be
// blamed for a fault runs (number formatting, text conversion). The flags are read and written
// directly: MinGW's fesetexceptflag also rewrites the SSE exception masks, after which the next
// inexact SSE operation ends the process.
class FpFlagsKept {
public:
    FpFlagsKept() noexcept;
    ~FpFlagsKept();
    FpFlagsKept(const FpFlagsKept&) = delete;
    FpFlagsKept& operator=(const FpFlagsKept&) = delete;

private:
    unsigned short x87Flags_ = 0;
    unsigned int sseFlags_ = 0;
};

}  // namespace korvelin

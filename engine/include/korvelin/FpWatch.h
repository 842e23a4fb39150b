#pragma once

#include "korvelin/ExtendedMath.h"

#include <cfenv>
#include <string_view>

namespace korvelin {

// The floating-point faults that end a calculation. Underflow and inexact results pass silently.
enum class FpFault { None, DivisionByZero, InvalidOperation, Overflow };

std::string_view FpFaultMessage(FpFault fault);

// Watches the floating-point status flags around the operations that can fault (divisions,
// powers, rounding to double) and records the first fault, in the order the operations run.
//
// Each operation: the flags are read after every checked operation, whose operands and result
// pass through a compiler barrier, so the optimiser can neither move the arithmetic across the
// flag test nor drop it. The first fault is known at the operation that raised it, and the
// caller stops there. This is the mode of a watch made without arguments.
//
// At the end: the same arithmetic runs without reading the flags, and MayHaveFaulted reads them
// once, when the work is done. Flags only ever get raised, so none raised at the end means that
// no operation faulted, and the work gave what it gives operation by operation. When a flag shows,
// the caller does the work again with a watch of the first mode, which finds the first fault and
// stops at it. Failed() is false throughout in this mode: the work runs to its end.
class FpWatch {
public:
    enum class Checks { EachOperation, AtTheEnd };

    // Starts with the watched flags of both units clear.
    explicit FpWatch(Checks checks = Checks::EachOperation) noexcept : checks_(checks)
    {
        ClearFlags();
    }

    long double Div(long double dividend, long double divisor) noexcept
    {
        return checks_ == Checks::AtTheEnd ? dividend / divisor : CheckedDiv(dividend, divisor);
    }
    // Power with a constant exponent: exponent 0 gives 1, a zero base with a positive exponent
    // gives 0, a whole exponent is repeated multiplication, any other exp(e * ln b). The roots
    // that the formulas take, checked at the end, go straight to the logarithm and exponential.
    long double Pow(long double base, long double exponent) noexcept
    {
        if (checks_ == Checks::AtTheEnd && exponent > 0 && exponent < 1) {
            if (base == 0) {
                return 0;
            }
            if (exponent == 0.5L || exponent == 0.25L) {
                return ExtendedExpOfHalvedLog(base, exponent == 0.5L ? 1 : 2);
            }
            return ExtendedExp(exponent * ExtendedLog(base));
        }
        return AnyPow(base, exponent);
    }
    // Rounds an extended value to double precision; an out-of-range value is an overflow.
    double Store(long double value) noexcept
    {
        return checks_ == Checks::AtTheEnd ? static_cast<double>(value) : CheckedStore(value);
    }

    Checks Mode() const noexcept { return checks_; }
    FpFault Fault() const noexcept { return fault_; }
    // A fault was found, checking operation by operation: the work stops here.
    bool Failed() const noexcept { return fault_ != FpFault::None; }
    // Whether an operation so far may have faulted: a fault found, or in the mode of one check at
    // the end, a watched flag raised in either unit (the flags are read now). For the end of
    // the work, and for a loop that must not go on with a faulted value.
    bool MayHaveFaulted() const noexcept
    {
        return checks_ == Checks::AtTheEnd ? WatchedFlagsRaised() : Failed();
    }

private:
    long double AnyPow(long double base, long double exponent) noexcept;
    long double CheckedDiv(long double dividend, long double divisor) noexcept;
    double CheckedStore(long double value) noexcept;
    void Check(bool library = false) noexcept;
    static void ClearFlags() noexcept;
    static bool WatchedFlagsRaised() noexcept;

    Checks checks_;
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

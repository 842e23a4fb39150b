#include "korvelin/FpWatch.h"

#include "korvelin/ExtendedMath.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvelin {
namespace {

// Forces the value through memory at this point of the program: the computation that produced
// it cannot sink below the barrier, nor can a later use float above it.
template <typename T>
inline void Settle(T& value) noexcept
{
    asm volatile("" : "+m"(value) : : "memory");
}

constexpr int kWatchedFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

// The raised flags of extended arithmetic. On x86-64 the extended division and the rounding to
// double run on the x87 unit, whose status word is read directly; the powers' logarithm and
// exponential are tested through fetestexcept, which reads both units.
inline int RaisedExtendedFlags() noexcept
{
#if defined(__x86_64__)
    unsigned short x87Status = 0;
    asm volatile("fnstsw %0" : "=am"(x87Status));
    return static_cast<int>(x87Status & kWatchedFlags);
#else
    return std::fetestexcept(kWatchedFlags);
#endif
}

// The six exception flags, in the same bits of the x87 status word and of MXCSR.
constexpr unsigned kAllFlags = 0x3f;

// The x87 environment as FNSTENV stores it in 64-bit mode: control, status and tag words, each
// in 32 bits, then the last instruction and operand pointers.
struct X87Environment {
    std::uint32_t Control;
    std::uint32_t Status;
    std::uint32_t Tag;
    std::uint32_t Pointers[4];
};

// Whether an extended value is a whole number (an infinity counts as one), read from its bits:
// std::trunc sets the unit's rounding mode and back, two control-word loads that stall it.
bool IsWhole(long double value) noexcept
{
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = 0;
    std::memcpy(&significand, &value, sizeof significand);
    std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&value) + sizeof significand,
                sizeof signAndExponent);
    const int biased = signAndExponent & 0x7fff;
    if (biased == 0x7fff) {
        return (significand << 1) == 0;  // an infinity, not a NaN
    }
    const int exponent = biased - 16383;  // the integer bit stands for 2^exponent
    if (exponent < 0) {
        return significand == 0;  // below 1 only zero is whole
    }
    if (exponent >= 63) {
        return true;  // no bit below the point
    }
    return (significand << (exponent + 1)) == 0;
}

}  // namespace

FpFlagsKept::FpFlagsKept() noexcept
{
    unsigned short status = 0;
    asm volatile("fnstsw %0" : "=am"(status));
    x87Flags_ = static_cast<unsigned short>(status & kAllFlags);
    unsigned int csr = 0;
    asm volatile("stmxcsr %0" : "=m"(csr));
    sseFlags_ = csr & kAllFlags;
}

FpFlagsKept::~FpFlagsKept()
{
    X87Environment environment{};
    asm volatile("fnstenv %0" : "=m"(environment));
    environment.Status = (environment.Status & ~kAllFlags) | x87Flags_;
    asm volatile("fldenv %0" : : "m"(environment));
    unsigned int csr = 0;
    asm volatile("stmxcsr %0" : "=m"(csr));
    csr = (csr & ~kAllFlags) | sseFlags_;
    asm volatile("ldmxcsr %0" : : "m"(csr));
}

std::string_view FpFaultMessage(FpFault fault)
{
    switch (fault) {
    case FpFault::DivisionByZero: return "Floating point division by zero";
    case FpFault::InvalidOperation: return "Invalid floating point operation";
    case FpFault::Overflow: return "Floating point overflow";
    case FpFault::None: break;
    }
    return {};
}

void FpWatch::ClearFlags() noexcept
{
#if defined(__x86_64__)
    // FNCLEX clears the x87 flags without storing and reloading the whole environment, as
    // feclearexcept does. MXCSR is written only when it holds a watched flag: SSE's inexact flag
    // is nearly always up, matters to nobody, and the write stalls the unit.
    asm volatile("fnclex" : : : "memory");
    unsigned int csr = 0;
    asm volatile("stmxcsr %0" : "=m"(csr));
    if ((csr & kWatchedFlags) != 0) {
        csr &= ~static_cast<unsigned int>(FE_ALL_EXCEPT);
        asm volatile("ldmxcsr %0" : : "m"(csr) : "memory");
    }
#else
    std::feclearexcept(FE_ALL_EXCEPT);
#endif
}

bool FpWatch::WatchedFlagsRaised() noexcept
{
#if defined(__x86_64__)
    // Both units, the x87 status word and MXCSR, hold the flags in the same bits.
    unsigned short x87Status = 0;
    asm volatile("fnstsw %0" : "=am"(x87Status) : : "memory");
    unsigned int csr = 0;
    asm volatile("stmxcsr %0" : "=m"(csr) : : "memory");
    return ((x87Status | csr) & kWatchedFlags) != 0;
#else
    return std::fetestexcept(kWatchedFlags) != 0;
#endif
}

void FpWatch::Check(bool library) noexcept
{
    const int raised = library ? std::fetestexcept(kWatchedFlags) : RaisedExtendedFlags();
    if (raised == 0 || fault_ != FpFault::None) {
        return;
    }
    // One checked operation raises at most one of the watched flags; the order only matters
    // for operations that were fed an infinity, which come after the fault that made it.
    if (raised & FE_DIVBYZERO) {
        fault_ = FpFault::DivisionByZero;
    } else if (raised & FE_OVERFLOW) {
        fault_ = FpFault::Overflow;
    } else {
        fault_ = FpFault::InvalidOperation;
    }
}

long double FpWatch::CheckedDiv(long double dividend, long double divisor) noexcept
{
    Settle(dividend);
    Settle(divisor);
    long double quotient = dividend / divisor;
    Settle(quotient);
    Check();
    return quotient;
}

long double FpWatch::AnyPow(long double base, long double exponent) noexcept
{
    if (exponent == 0) {
        return 1;
    }
    if (base == 0 && exponent > 0) {
        return 0;
    }
    // Checked operation by operation, every value goes through memory and the flags are read
    // after each part; checked at the end, the same arithmetic runs without either.
    const bool checked = checks_ == Checks::EachOperation;
    if (checked) {
        Settle(base);
        Settle(exponent);
    }
    // Below 1 in magnitude (the roots) no exponent is whole, and its bits need not be read.
    if (!(std::fabs(exponent) < 1) && IsWhole(exponent) && std::fabs(exponent) <= INT_MAX) {
        // Repeated squaring, the sign of the base kept.
        long long remaining = static_cast<long long>(std::fabs(exponent));
        long double factor = base;
        long double result = 1;
        while (remaining > 0) {
            while ((remaining & 1) == 0) {
                remaining >>= 1;
                factor = factor * factor;
            }
            --remaining;
            result = result * factor;
        }
        if (checked) {
            Settle(result);
            Check();
        }
        return exponent < 0 ? Div(1, result) : result;
    }
    long double logarithm = ExtendedLog(base);
    if (checked) {
        Settle(logarithm);
        Check(true);
    }
    long double result = ExtendedExp(exponent * logarithm);
    if (checked) {
        Settle(result);
        Check(true);
    }
    return result;
}

double FpWatch::CheckedStore(long double value) noexcept
{
    Settle(value);
    double stored = static_cast<double>(value);
    Settle(stored);
    Check();
    return stored;
}

}  // namespace korvelin

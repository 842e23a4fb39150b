#include "korvelin/FpWatch.h"

#include "korvelin/ExtendedMath.h"

#include <climits>
#include <cmath>
#include <cstdint>

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

long double FpWatch::Div(long double dividend, long double divisor) noexcept
{
    Settle(dividend);
    Settle(divisor);
    long double quotient = dividend / divisor;
    Settle(quotient);
    Check();
    return quotient;
}

long double FpWatch::Pow(long double base, long double exponent) noexcept
{
    if (exponent == 0) {
        return 1;
    }
    if (base == 0 && exponent > 0) {
        return 0;
    }
    Settle(base);
    Settle(exponent);
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= INT_MAX) {
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
        Settle(result);
        Check();
        return exponent < 0 ? Div(1, result) : result;
    }
    long double logarithm = ExtendedLog(base);
    Settle(logarithm);
    Check(true);
    long double result = ExtendedExp(exponent * logarithm);
    Settle(result);
    Check(true);
    return result;
}

double FpWatch::Store(long double value) noexcept
{
    Settle(value);
    double stored = static_cast<double>(value);
    Settle(stored);
    Check();
    return stored;
}

}  // namespace korvelin

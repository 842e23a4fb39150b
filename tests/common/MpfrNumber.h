#pragma once

// An MPFR number of a given precision, freed on leaving the scope: the reference arithmetic of the
// extended-precision tests and of tools/near-boundaries.cpp.

#include <mpfr.h>

class MpfrNumber {
public:
    explicit MpfrNumber(mpfr_prec_t precision = 256) { mpfr_init2(value_, precision); }
    ~MpfrNumber() { mpfr_clear(value_); }
    MpfrNumber(const MpfrNumber&) = delete;
    MpfrNumber& operator=(const MpfrNumber&) = delete;
    mpfr_ptr get() { return value_; }

private:
    mpfr_t value_;
};

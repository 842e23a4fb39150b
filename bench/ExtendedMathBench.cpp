#include "korvelin/ExtendedMath.h"
#include "korvelin/FpWatch.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

namespace {

// Arguments of the kind the powers of a calculation meet: bases of square and fourth roots
// from well below 1 to a few hundred thousand, and the products e * ln b that follow.
constexpr std::size_t kCount = 64;

std::array<long double, kCount> Bases()
{
    std::array<long double, kCount> bases{};
    long double x = 0.0123L;
    for (long double& b : bases) {
        b = x;
        x = x * 1.37L + 0.011L;
    }
    return bases;
}

std::array<long double, kCount> Exponents()
{
    std::array<long double, kCount> exponents{};
    long double x = -7.3L;
    for (long double& e : exponents) {
        e = x;
        x += 0.229L;
    }
    return exponents;
}

void BM_ExtendedLog(benchmark::State& state)
{
    const auto bases = Bases();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvelin::ExtendedLog(bases[i++ % kCount]));
    }
}
BENCHMARK(BM_ExtendedLog);

void BM_ExtendedExp(benchmark::State& state)
{
    const auto exponents = Exponents();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvelin::ExtendedExp(exponents[i++ % kCount]));
    }
}
BENCHMARK(BM_ExtendedExp);

// A fourth root as the strength criteria take it: the logarithm, the exponential and the flag
// tests around them.
void BM_PowQuarter(benchmark::State& state)
{
    const auto bases = Bases();
    std::size_t i = 0;
    for (auto _ : state) {
        korvelin::FpWatch fp;
        benchmark::DoNotOptimize(fp.Pow(bases[i++ % kCount], 0.25L));
    }
}
BENCHMARK(BM_PowQuarter);

// The same fourth roots with one watch for them all, as a calculation run makes them: its watch
// clears the flags once, at the start, where the watch of each root above clears them every time
// (and the processor may take longer over the first inexact result after that).
void BM_PowQuarterOneWatch(benchmark::State& state)
{
    const auto bases = Bases();
    korvelin::FpWatch fp;
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fp.Pow(bases[i++ % kCount], 0.25L));
    }
}
BENCHMARK(BM_PowQuarterOneWatch);

}  // namespace

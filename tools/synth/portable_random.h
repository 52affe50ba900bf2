#pragma once

#include <cstdint>
#include <random>

namespace talvex::synth {

// Random numbers that are the same on every platform and standard library for a given seed. The engine
// is fully specified by the C++ standard; the distributions of the standard library are not, so the
// conversions to uniform and normal numbers are done here with integer arithmetic and plain additions.
class PortableRandom {
public:
    explicit PortableRandom(std::uint64_t seed) : engine_(seed) {}

    std::uint64_t Bits() { return engine_(); }
    // Uniform in [0, 1), 53 random bits.
    double Uniform();
    // Uniform in [low, high).
    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
    // Uniform integer in [0, count); count must be positive.
    std::uint64_t Below(std::uint64_t count);
    // True with the given probability.
    bool Chance(double probability) { return Uniform() < probability; }
    // Standard normal (mean 0, deviation 1), approximated by the sum of twelve uniforms less six: exact
    // mean and variance, tails cut at six deviations, no transcendental functions involved.
    double Normal();

private:
    std::mt19937_64 engine_;
};

// A seed for an independent stream of numbers derived from a seed and a stream number (SplitMix64).
std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t stream);

} // namespace talvex::synth

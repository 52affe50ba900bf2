#include "portable_random.h"

namespace talvex::synth {

double PortableRandom::Uniform() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

// Rejection of the incomplete last block keeps every value equally likely.
std::uint64_t PortableRandom::Below(std::uint64_t count) {
    const std::uint64_t limit = UINT64_MAX - UINT64_MAX % count;
    std::uint64_t x = engine_();
    while (x >= limit)
        x = engine_();
    return x % count;
}

// Each draw gives two 32-bit uniforms; their sum is exact in a double, so the result depends on the bits
// alone.
double PortableRandom::Normal() {
    std::uint64_t sum = 0;
    for (int i = 0; i < 6; ++i) {
        const std::uint64_t x = engine_();
        sum += (x >> 32) + (x & 0xFFFFFFFFu);
    }
    // Each uniform is (k + 0.5) / 2^32, so twelve of them add up to (sum + 6) / 2^32.
    return (static_cast<double>(sum) + 6.0) * 0x1.0p-32 - 6.0;
}

std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t stream) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15u * (stream + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

} // namespace talvex::synth

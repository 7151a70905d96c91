// A small seeded generator whose sequence is the same on every platform and library, so the
// benchmark's inputs are byte for byte the same on every run.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    // splitmix64
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [low, high], both included.
    std::uint32_t Between(std::uint32_t low, std::uint32_t high)
    {
        return low + static_cast<std::uint32_t>(Next() % (std::uint64_t{high} - low + 1));
    }

    // True with the given chance in per mille.
    bool PerMille(unsigned chance) { return Next() % 1000 < chance; }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }

private:
    std::uint64_t m_state;
};

#pragma once
// Seeds, scale and the random generator of the randomised tests.
//
// VORTAG_FUZZ_SCALE (a whole number, default 1) multiplies how many seeds each test runs;
// VORTAG_FUZZ_SEED runs that one seed alone, to replay a failure. Every failure message
// names the seed and the step (FuzzWhere).

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// A generator that gives the same numbers for a seed on every platform and compiler:
// mt19937's output is fixed by the standard, and the range reduction here is our own.
class FuzzRandom {
public:
    explicit FuzzRandom(uint32_t seed) : m_engine(seed) {}

    uint32_t Below(uint32_t bound) { return bound ? static_cast<uint32_t>(m_engine() % bound) : 0; }
    uint32_t Between(uint32_t low, uint32_t high) { return low + Below(high - low + 1); }
    bool OneIn(uint32_t n) { return Below(n) == 0; }
    char Byte(uint32_t low = 0, uint32_t high = 255) { return static_cast<char>(Between(low, high)); }
    // `length` bytes, each picked from `alphabet`.
    std::string From(const std::string& alphabet, size_t length);
    // `length` bytes from 1 to 255.
    std::string NonZero(size_t length);
    template <typename T, size_t N>
    const T& Pick(const T (&items)[N]) { return items[Below(N)]; }

private:
    std::mt19937 m_engine;
};

// The seeds a test runs: `count` × scale consecutive seeds from `first`, or the one seed
// that VORTAG_FUZZ_SEED names.
std::vector<uint32_t> FuzzSeeds(uint32_t first, uint32_t count);

// "seed 17, step 4 (replay with VORTAG_FUZZ_SEED=17)" for failure messages.
std::string FuzzWhere(uint32_t seed, uint32_t step);

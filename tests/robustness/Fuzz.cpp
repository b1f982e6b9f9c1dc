#include "tests/robustness/Fuzz.h"

#include <cstdlib>

namespace {

// A positive whole number from the environment, or `fallback`.
unsigned long FromEnvironment(const char* name, unsigned long fallback, bool* given = nullptr)
{
    const char* text = std::getenv(name);
    char* end = nullptr;
    const unsigned long value = text && *text ? std::strtoul(text, &end, 10) : 0;
    const bool valid = end && *end == '\0';
    if (given)
        *given = valid;
    return valid ? value : fallback;
}

}  // namespace

std::string FuzzRandom::From(const std::string& alphabet, size_t length)
{
    std::string text(length, '\0');
    for (char& c : text)
        c = alphabet[Below(static_cast<uint32_t>(alphabet.size()))];
    return text;
}

std::string FuzzRandom::NonZero(size_t length)
{
    std::string text(length, '\0');
    for (char& c : text)
        c = Byte(1, 255);
    return text;
}

std::vector<uint32_t> FuzzSeeds(uint32_t first, uint32_t count)
{
    bool replay = false;
    const unsigned long seed = FromEnvironment("VORTAG_FUZZ_SEED", 0, &replay);
    if (replay)
        return {static_cast<uint32_t>(seed)};
    const unsigned long scale = FromEnvironment("VORTAG_FUZZ_SCALE", 1);
    std::vector<uint32_t> seeds;
    for (unsigned long i = 0; i < count * (scale ? scale : 1); ++i)
        seeds.push_back(first + static_cast<uint32_t>(i));
    return seeds;
}

std::string FuzzWhere(uint32_t seed, uint32_t step)
{
    return "seed " + std::to_string(seed) + ", step " + std::to_string(step) +
           " (replay with VORTAG_FUZZ_SEED=" + std::to_string(seed) + ")";
}

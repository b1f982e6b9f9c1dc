#include "tools/bench/GeneratorPause.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// FILETIME ticks (100 ns) per millisecond, and the milliseconds from 1601 to 1970.
const int64_t kTicksPerMs = 10000;
const int64_t kEpochDifferenceMs = 11644473600000LL;
// How long after the seeding the pause can at most begin, plus how much later than asked it
// may end, plus the UuidCreate calls before the stamp: a generous bound, so that the true
// second is never ruled out; a false one still has to match the addend too.
const int64_t kSlackMs = 100;

// The stamp of the identifier's last two fields (ms since 1970) and its addend. The stamp is
// a whole millisecond, so the addend is what lies above it.
bool ReadStamp(const std::string& identifier, int64_t& stampMs, int& addend)
{
    unsigned high = 0;
    unsigned low = 0;
    if (identifier.size() != 56 || std::sscanf(identifier.c_str() + 38, "%8X-%8X}", &high, &low) != 2)
        return false;
    const int64_t ticks = (static_cast<int64_t>(high) << 32) + low;
    addend = static_cast<int>(ticks % kTicksPerMs);
    if (addend >= 16)
        return false;   // the addend wrapped the low half: no stamp to read
    stampMs = (ticks - addend) / kTicksPerMs - kEpochDifferenceMs;
    return true;
}

}  // namespace

GeneratorDraw DrawForSecond(uint32_t second)
{
    std::srand(second);
    GeneratorDraw draw;
    draw.pauseMs = std::rand() % 1000 + 1;
    draw.addend = std::rand() % 16;
    return draw;
}

PauseFinding FindPause(const std::string& identifier, int64_t startMs, int64_t endMs)
{
    PauseFinding finding;
    int64_t stampMs = 0;
    int addend = 0;
    if (!ReadStamp(identifier, stampMs, addend))
        return finding;
    finding.stampMs = stampMs;
    for (int64_t second = startMs / 1000; second <= endMs / 1000; ++second) {
        const GeneratorDraw draw = DrawForSecond(static_cast<uint32_t>(second));
        // When the seeding may have happened: within the run, within this second, and one
        // pause before the stamp (which GetLocalTime cut to the millisecond).
        const int64_t earliest = std::max({startMs, second * 1000, stampMs - draw.pauseMs - kSlackMs});
        const int64_t latest = std::min({endMs, second * 1000 + 999, stampMs + 1 - draw.pauseMs});
        if (draw.addend != addend || earliest > latest)
            continue;
        ++finding.candidates;
        finding.pauseMs = draw.pauseMs;
        finding.second = static_cast<uint32_t>(second);
    }
    finding.outcome = finding.candidates == 1 ? PauseFinding::Known : PauseFinding::Ambiguous;
    return finding;
}

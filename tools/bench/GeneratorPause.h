#pragma once
// The pause that the identifier generator takes on purpose, recovered after a quiet run.
//
// The tool seeds the C runtime's generator with time(NULL), sleeps rand() % 1000 + 1 ms, and
// adds a second draw, rand() % 16, to the time stamp it writes into the identifier. The
// benchmark links the same msvcrt, so it can make the same draws for any second; what it has
// to find is the second in which the tool seeded. It knows that the seeding came after the run
// started and before it ended, and, from the time stamp in the stored identifier, that it came
// one pause (plus the few UuidCreate calls) before the stamp. A second is taken only when it
// alone fits these bounds and gives the stamp's addend; otherwise the run counts as ambiguous.

#include <cstdint>
#include <string>

struct GeneratorDraw {
    int pauseMs;   // rand() % 1000 + 1
    int addend;    // rand() % 16, the draw after it
};

// The draws Generate makes after srand(second).
GeneratorDraw DrawForSecond(uint32_t second);

struct PauseFinding {
    enum Outcome { Known, Ambiguous, Unreadable } outcome = Unreadable;
    int pauseMs = 0;
    uint32_t second = 0;   // the seed, when known
    int candidates = 0;    // seconds that fit the bounds and the addend
    int64_t stampMs = 0;   // the identifier's time stamp (ms since 1970, UTC), when readable
};

// The pause of a run that started at `startMs` and ended at `endMs` (ms since 1970, UTC) and
// left `identifier` stored.
PauseFinding FindPause(const std::string& identifier, int64_t startMs, int64_t endMs);

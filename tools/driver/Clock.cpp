#include "tools/driver/Clock.h"

#include "foundation/Win32.h"

namespace e2e {

namespace {

// Short enough that a wait ends soon after what it waits for, long enough to leave the target
// the processor.
constexpr DWORD kPollIntervalMs = 2;

}  // namespace

double MonotonicMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

Stopwatch::Stopwatch() : m_start(MonotonicMs()) {}

void Stopwatch::Restart()
{
    m_start = MonotonicMs();
}

double Stopwatch::ElapsedMs() const
{
    return MonotonicMs() - m_start;
}

bool PollUntil(unsigned timeoutMs, const std::function<bool()>& done)
{
    const Stopwatch watch;
    while (watch.ElapsedMs() < timeoutMs) {
        if (done())
            return true;
        Sleep(kPollIntervalMs);
    }
    return done();
}

}  // namespace e2e

#pragma once
// Time for waits and measurements: a monotonic clock, and the one bounded poll that every
// wait of the driver is built on (no wait is a fixed sleep).

#include <functional>

namespace e2e {

// How long a driver step waits for the program under test unless told otherwise. Generous:
// the first start of a program in a cold Wine prefix takes seconds.
constexpr unsigned kDefaultTimeoutMs = 10000;

// Milliseconds on a monotonic clock (the performance counter); only differences mean anything.
double MonotonicMs();

// Elapsed time since construction or the last Restart.
class Stopwatch {
public:
    Stopwatch();
    void Restart();
    double ElapsedMs() const;

private:
    double m_start;
};

// Asks `done` every few milliseconds until it answers true (returns true) or `timeoutMs` has
// passed; then it asks one last time, so a slow poll never loses a result that came in time.
bool PollUntil(unsigned timeoutMs, const std::function<bool()>& done);

}  // namespace e2e

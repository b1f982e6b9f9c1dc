#include "app/TimeStamp.h"

#include <cstring>

CTimeStamp::CTimeStamp()
{
    std::memset(&local, 0, sizeof local);
    std::memset(&utc, 0, sizeof utc);
}

CTimeStamp& CTimeStamp::SetToNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SetLocal(now);
}

namespace {

// Brings out-of-range fields back into range and lowers a day that the month does not
// have (the 31st of a 30-day month becomes the 30th).
void Normalise(SYSTEMTIME& time)
{
    time.wHour %= 24;
    time.wMinute %= 60;
    time.wSecond %= 60;
    time.wMilliseconds %= 1000;
    time.wMonth %= 12;
    if (time.wMonth == 0)
        time.wMonth = 12;
    FILETIME probe;
    while (!SystemTimeToFileTime(&time, &probe) && time.wDay != 0)
        --time.wDay;
}

}  // namespace

CTimeStamp& CTimeStamp::SetLocal(const SYSTEMTIME& localTime)
{
    SYSTEMTIME time = localTime;
    FILETIME localFileTime{0, 0};
    if (time.wYear != 0 && time.wYear > 1600 && time.wDay != 0 && time.wMonth != 0)
        Normalise(time);
    if (SystemTimeToFileTime(&time, &localFileTime)) {
        LocalFileTimeToFileTime(&localFileTime, &utc);
        FileTimeToSystemTime(&localFileTime, &local);
    }
    return *this;
}

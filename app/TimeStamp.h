#pragma once
// One instant as the local time (normalised, with its day of the week) and as UTC.

#include "foundation/Win32.h"

class CTimeStamp {
public:
    CTimeStamp();

    // Both setters leave the time stamp as it was when the time cannot be converted.
    CTimeStamp& SetToNow();
    CTimeStamp& SetLocal(const SYSTEMTIME& localTime);

    SYSTEMTIME local;
    FILETIME utc;
};

#pragma once
// What the folder resolver needs to know about the running system, asked once per process.

#include <cstdint>

class COsVersion {
public:
    uint32_t nt = 0;      // 1 on the NT family (platform VER_PLATFORM_WIN32_NT), else 0
    uint16_t major = 0;   // the major version number
};

// Queries GetVersionExA on first use and answers the same ever after. Start-up calls it
// before anything that resolves folders, so the query happens before WinMain.
const COsVersion& TheOsVersion();

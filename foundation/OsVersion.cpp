#include "foundation/OsVersion.h"

#include "foundation/Win32.h"

namespace {

static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOA) == 148,
              "GetVersionExA tells the two layouts apart by these sizes");

// The extended layout first; systems that predate it refuse that size and get the plain one.
COsVersion QueryOsVersion()
{
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    auto* plain = reinterpret_cast<OSVERSIONINFOA*>(&info);
    if (!GetVersionExA(plain)) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        GetVersionExA(plain);
    }
    COsVersion version;
    version.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    version.major = static_cast<uint16_t>(info.dwMajorVersion);
    return version;
}

}  // namespace

const COsVersion& TheOsVersion()
{
    static const COsVersion version = QueryOsVersion();
    return version;
}

// folder_probe <output file> [shell folder code]
//
// Resolves the Windows folder as the tool would and writes what it saw to the output file:
// the NT flag and major version on the first line, the folder on the second, then every
// trace line. Tests run it under a Windows version that Wine emulates for this program alone
// (HKCU\Software\Wine\AppDefaults\folder_probe.exe, value "Version"). With a shell folder
// code it then resolves that folder too and adds a line "SHELL32 1" when SHELL32.DLL, which this
// program does not import, is still loaded afterwards ("SHELL32 0" when it is not).

#include "foundation/OsVersion.h"
#include "foundation/Report.h"
#include "foundation/SysPaths.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_traces;

void KeepTrace(const char* text)
{
    g_traces += text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3)
        return 2;
    const COsVersion& os = TheOsVersion();
    SetTraceRoute(KeepTrace);
    const CStr folder = CSysPaths(CSIDL_WINDOWS).GetPath();
    FILE* output = std::fopen(argv[1], "wb");
    if (!output)
        return 1;
    std::fprintf(output, "%u %u\n%s\n%s", static_cast<unsigned>(os.nt), static_cast<unsigned>(os.major), folder.data,
                 g_traces.c_str());
    if (argc == 3) {
        CSysPaths(std::atoi(argv[2]));
        std::fprintf(output, "SHELL32 %d\n", GetModuleHandleA("SHELL32.DLL") ? 1 : 0);
    }
    return std::fclose(output) == 0 ? 0 : 1;
}

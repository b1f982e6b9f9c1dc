// Stand-in for the suite's collector. It shows nothing; each run appends one line to
// Brevast.log in its own folder holding its command line after the program name, exactly as
// Windows passed it, so a test can see that (and how) the collector was started.
#include "foundation/Win32.h"

#include <string>

namespace {

// The log beside this program, whatever the working folder is.
std::string LogPath()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    const std::string program(path, length);
    return program.substr(0, program.find_last_of('\\') + 1) + "Brevast.log";
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    const std::string path = LogPath();
    HANDLE log = path.empty() ? INVALID_HANDLE_VALUE
                              : CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    // One write per line, so that runs which overlap never interleave within a line.
    const std::string line = std::string(commandLine) + "\r\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return ok && written == line.size() ? 0 : 1;
}

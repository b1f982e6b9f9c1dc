#include "foundation/SysPaths.h"

#include "foundation/RegistryKey.h"

#include "tests/support/RecordingRoutes.h"
#include "tests/support/ScratchFiles.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Text(const CStr& s) { return s.data ? s.data : "<no block>"; }

// What a platform call writes into a buffer.
std::string Answer(const std::function<void(char*, DWORD)>& call)
{
    char buffer[2 * MAX_PATH] = {};
    call(buffer, sizeof buffer);
    return buffer;
}

std::string WindowsDirectory() { return Answer([](char* b, DWORD n) { GetWindowsDirectoryA(b, n); }); }
std::string SharedWindowsDirectory() { return Answer([](char* b, DWORD n) { GetSystemWindowsDirectoryA(b, n); }); }
std::string SystemDirectory() { return Answer([](char* b, DWORD n) { GetSystemDirectoryA(b, n); }); }
// The system folder that 32-bit programs reach.
std::string SystemDirectory32()
{
#if defined(_WIN64)
    return Answer([](char* b, DWORD n) { GetSystemWow64DirectoryA(b, n); });
#else
    return SystemDirectory();
#endif
}
std::string ModulePath() { return Answer([](char* b, DWORD n) { GetModuleFileNameA(nullptr, b, n); }); }
std::string ShellFolder(int code) { return Answer([=](char* b, DWORD) { SHGetFolderPathA(nullptr, code, nullptr, 0, b); }); }
std::string Parent(const std::string& path) { return path.substr(0, path.rfind('\\')); }
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
// A value of the machine's CurrentVersion key as 32-bit programs see it.
std::string CurrentVersionValue(const char* name)
{
    return Answer([=](char* b, DWORD n) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_READ | kRegistryView32, &key) != ERROR_SUCCESS)
            return;
        RegGetValueA(key, nullptr, name, RRF_RT_REG_SZ, nullptr, b, &n);
        RegCloseKey(key);
    });
}

// Wine makes the 32-bit view of a 64-bit prefix with 32-bit programs; on a host that cannot run
// them that view lacks the program folders, which these tests then write as Windows has them.
// They stay in the prefix: test programs run side by side, and one must not take them away
// while another reads them.
class ProgramFolders32 : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!CurrentVersionValue("ProgramFilesDir").empty())
            return;
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, nullptr, 0, KEY_SET_VALUE | kRegistryView32,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        for (const auto& value : {std::pair<const char*, std::string>{"ProgramFilesDir", "C:\\Program Files (x86)"},
                                  {"CommonFilesDir", "C:\\Program Files (x86)\\Common Files"}})
            RegSetValueExA(key, value.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.second.c_str()),
                           static_cast<DWORD>(value.second.size() + 1));
        RegCloseKey(key);
    }
};
::testing::Environment* const g_programFolders32 = ::testing::AddGlobalTestEnvironment(new ProgramFolders32);

std::string Resolved(int code) { return Text(CSysPaths(code).GetPath()); }
std::string Expanded(const CStr& path) { return Text(CSysPaths().SetPath(path).ExpandMacros().GetPath()); }

// Runs the probe program and returns what it wrote: NT flag and major version, the Windows
// folder, the trace lines (and with a shell folder code whether SHELL32 stayed loaded).
std::string RunFolderProbe(const std::string& output, const std::string& shellFolderCode = "")
{
    const std::string probe = Parent(ModulePath()) + "\\folder_probe.exe";
    std::string commandLine = "\"" + probe + "\" \"" + output + "\" " + shellFolderCode;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return "not started";
    const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::stringstream seen;
    seen << std::ifstream(output, std::ios::binary).rdbuf();
    DeleteFileA(output.c_str());
    return ended ? seen.str() : "did not end";
}

}  // namespace

// ---- Resolve --------------------------------------------------------------------------------

TEST(SysPathsResolve, EachCodeGivesWhatThePlatformAnswers)
{
    const std::pair<int, std::function<std::string()>> cases[] = {
        {CSIDL_SYSTEM, SystemDirectory32},
        {FOLDER_CURRENTDIR, [] { return Answer([](char* b, DWORD n) { GetCurrentDirectoryA(n, b); }); }},
        {FOLDER_MODULEDIR, [] { return Parent(ModulePath()); }},
        {FOLDER_MODULEPATH, ModulePath},
        {FOLDER_COMMONFILES, [] { return CurrentVersionValue("CommonFilesDir"); }},
        {FOLDER_PROGRAMFILES, [] { return CurrentVersionValue("ProgramFilesDir"); }},
        {FOLDER_WINDOWSDIR, WindowsDirectory},
        {FOLDER_TEMP, e2e::TempFolder},   // its trailing backslash kept
        {CSIDL_APPDATA, [] { return ShellFolder(CSIDL_APPDATA); }},
        {CSIDL_FONTS, [] { return ShellFolder(CSIDL_FONTS); }},
    };
    RecordingRoutes routes;
    for (const auto& c : cases) {
        const std::string expected = c.second();
        ASSERT_FALSE(expected.empty()) << c.first;
        EXPECT_EQ(Resolved(c.first), expected) << c.first;
    }
    EXPECT_EQ(e2e::TempFolder().back(), '\\');
    EXPECT_TRUE(routes.Traces().empty());   // only the Windows folder is traced

    CSysPaths paths;
    paths.SetPath(std::string(400, 'x').c_str());
    EXPECT_EQ(Text(paths.Resolve(CSIDL_SYSTEM).GetPath()), SystemDirectory32());
    EXPECT_EQ(Text(paths.Resolve(250).GetPath()), "");   // a code the shell does not know
}

TEST(SysPathsResolve, WindowsFolderOnNt5OrLaterIsTheSharedOneAndTraced)
{
    const COsVersion& os = TheOsVersion();
    const DWORD packed = GetVersion();   // the same facts by another call
    EXPECT_EQ(os.nt, (packed & 0x80000000u) ? 0u : 1u);
    EXPECT_EQ(os.major, LOBYTE(LOWORD(packed)));
    ASSERT_EQ(os.nt, 1u);
    ASSERT_GE(os.major, 5);

    RecordingRoutes routes;
    const std::string folder = Resolved(CSIDL_WINDOWS);
    EXPECT_EQ(folder, SharedWindowsDirectory());
    EXPECT_EQ(routes.Traces(), std::vector<std::string>{"System windows directory retrieved " + folder + "\n"});
}

// SHELL32 may leave threads of its own running after a call: once a shell folder has loaded it,
// it stays. (This test program imports SHELL32 itself, hence the probe.)
TEST(SysPathsResolve, AShellFolderLeavesShell32Loaded)
{
    const e2e::ScratchFolder folder;
    const std::string seen = RunFolderProbe(folder.PathOf("probe.txt"), std::to_string(CSIDL_APPDATA));
    EXPECT_EQ(seen.substr(seen.rfind('\n', seen.size() - 2) + 1), "SHELL32 1\n") << seen;
}

TEST(SysPathsResolve, WindowsFolderSourceFollowsTheNtFlagThenTheMajorVersion)
{
    using Source = WindowsFolderSource;
    const struct {
        uint32_t nt;
        uint16_t major;
        Source expected;
    } cases[] = {{0, 4, Source::WindowsDirectory},      {0, 5, Source::WindowsDirectory},
                 {1, 3, Source::SystemDirectoryParent}, {1, 4, Source::SystemDirectoryParent},
                 {1, 5, Source::SharedWindowsDirectory}, {1, 10, Source::SharedWindowsDirectory}};
    for (const auto& c : cases) {
        COsVersion os;
        os.nt = c.nt;
        os.major = c.major;
        EXPECT_EQ(ChooseWindowsFolderSource(os), c.expected) << c.nt << " " << c.major;
    }
}

// The version is asked once per process, so the older systems' rules are shown by a probe
// program that Wine runs as the version set for it under AppDefaults. (Under Wine the
// Windows folder is also the system folder's parent, so the Windows 9x and NT 4 rows give
// the same folder; which rule applies is checked on its own above.)
TEST(SysPathsResolve, WindowsFolderFollowsTheVersionTheProgramRunsUnder)
{
    const std::string windows = WindowsDirectory(), shared = SharedWindowsDirectory();
    const struct {
        std::string version, expected;
    } cases[] = {
        {"win98", "0 4\n" + windows + "\n"},
        {"nt40", "1 4\n" + Parent(SystemDirectory()) + "\n"},
        {"win2k", "1 5\n" + shared + "\nSystem windows directory retrieved " + shared + "\n"},
    };
    ScratchKey appDefaults(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\folder_probe.exe");
    const e2e::ScratchFolder folder;
    for (const auto& c : cases) {
        appDefaults.SetRaw("Version", REG_SZ, c.version.c_str(), static_cast<DWORD>(c.version.size() + 1));
        EXPECT_EQ(RunFolderProbe(folder.PathOf("probe.txt")), c.expected) << c.version;
    }
}

// HKEY_LOCAL_MACHINE is redirected to a scratch key for the test's duration.
class SysPathsMachineKey : public ::testing::Test {
protected:
    ScratchKey machine{HKEY_CURRENT_USER, ScratchKeyPath("Machine")};

    void SetUp() override
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, machine.Path().c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, key), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override { RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr); }
};

TEST_F(SysPathsMachineKey, ProgramFoldersAreReadFromAKeyTheUserMayOnlyRead)
{
    ScratchKey currentVersion(HKEY_CURRENT_USER, machine.Path() + "\\Software\\Microsoft\\Windows\\CurrentVersion");
    currentVersion.SetRaw("ProgramFilesDir", REG_SZ, "X:\\Programs", 12);
    currentVersion.SetRaw("CommonFilesDir", REG_SZ, "X:\\Common", 10);
    currentVersion.MakeReadOnly();
    EXPECT_EQ(Resolved(FOLDER_PROGRAMFILES), "X:\\Programs");
    EXPECT_EQ(Resolved(FOLDER_COMMONFILES), "X:\\Common");
    EXPECT_EQ(Expanded("(prog)\\Tools"), "X:\\Programs\\TOOLS");
}

TEST_F(SysPathsMachineKey, MacroWhoseFolderCannotBeReadLeavesTheRest)
{
    EXPECT_EQ(Resolved(FOLDER_PROGRAMFILES), "");
    EXPECT_EQ(Expanded("(PROG)\\x"), "\\X");
    EXPECT_EQ(Expanded("(COMMONFILES)"), "");
}

// ---- Combine, Exists, ExpandMacros ----------------------------------------------------------

TEST(SysPathsCombine, JoinsWithOneBackslashExceptAfterADrive)
{
    const std::string longPath(300, 'p');
    const struct {
        std::string path, name, expected;
    } cases[] = {
        {"C:\\WINDOWS", "QTFile.ini", "C:\\WINDOWS\\QTFile.ini"},
        {"C:", "x", "C:\\x"}, {"C:\\", "x", "C:\\x"}, {"d:/", "x", "d:\\x"},
        {"C:\\TEMP\\", "x", "C:\\TEMP\\\\x"}, {"abc", "x", "abc\\x"}, {"\\\\", "x", "\\\\\\x"},
        {"", "x", "x"}, {"C:\\WINDOWS", "", "C:\\WINDOWS"}, {"", "", ""},
        {longPath, "QTFile.ini", longPath + "\\QTFile.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(CSysPaths().SetPath(c.path.c_str()).Combine(c.name.c_str())), c.expected) << c.path;
}

TEST(SysPathsExists, FindsFilesAndFoldersWithWildcards)
{
    const e2e::ScratchFolder folder;
    ScratchFile file(folder.PathOf("QTFile.ini"), "[SUITE]\r\n");
    CSysPaths paths;
    paths.SetPath(folder.Path().c_str());
    for (const char* name : {"QTFile.ini", "qtfile.INI", "*.ini", "Q?File.ini", ""})
        EXPECT_EQ(paths.Exists(name), 1) << name;
    for (const char* name : {"missing.ini", "*.exe"})
        EXPECT_EQ(paths.Exists(name), 0) << name;
    EXPECT_EQ(CSysPaths().Exists(file.Path().c_str()), 1);
    EXPECT_EQ(CSysPaths().Exists(""), 0);
}

TEST(SysPathsExpandMacros, LeadingMacroBecomesItsFolderAndTheRestIsUpperCased)
{
    SetEnvironmentVariableA("VORTAG_UNDEFINED", nullptr);
    const std::string systemRoot = Answer([](char* b, DWORD n) { ExpandEnvironmentStringsA("%SYSTEMROOT%", b, n); });
    ASSERT_NE(systemRoot.front(), '%');
    const std::string windows = SharedWindowsDirectory(), programFiles = CurrentVersionValue("ProgramFilesDir");
    const struct {
        const char* path;
        std::string expected;
    } cases[] = {
        {"(win)\\System32", windows + "\\SYSTEM32"},
        {"(TEMPORAL)\\x", e2e::TempFolder() + "\\X"},   // two backslashes meet
        {"(WIN)\\(WIN)", windows + "\\"},
        {"(PROGRAMS)\\x", ShellFolder(CSIDL_PROGRAMS) + "\\X"},
        {"(PROG)\\x", programFiles + "\\X"},
        {"(S_PROG)\\VortagMissing", programFiles + "\\VORTAGMISSING"},   // no short form: long
        {"%SystemRoot%\\x", systemRoot + "\\X"},
        {"%vortag_undefined%\\x", "%VORTAG_UNDEFINED%\\X"},
        {"(WIN)%SystemRoot%", windows + "%SYSTEMROOT%"},
        {"x(win)", "X(WIN)"},
        {"(WINDOWS)\\x", "(WINDOWS)\\X"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Expanded(c.path), c.expected) << c.path;
}

TEST(SysPathsExpandMacros, ShortFormPrefixShortensAnExistingPath)
{
    const std::string longPath = CurrentVersionValue("ProgramFilesDir") + "\\VORTAG LONG FOLDER NAME";
    const e2e::ScratchFolder folder(longPath);
    const std::string shortPath = Answer([&](char* b, DWORD n) { GetShortPathNameA(longPath.c_str(), b, n); });
    ASSERT_FALSE(shortPath.empty());
    ASSERT_NE(shortPath, longPath);
    EXPECT_EQ(Expanded("(s_prog)\\Vortag Long Folder Name"), shortPath);
    EXPECT_EQ(Expanded("(PROG)\\Vortag Long Folder Name"), longPath);
}

#include "foundation/DynLibrary.h"

#include "tests/support/Thrown.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

TEST(DynLibrary, GetFunctionBeforeLoadThrowsWithoutACode)
{
    CDynLibrary library;
    const CStructException e = Thrown([&] { library.GetFunction("GetTickCount"); });
    EXPECT_EQ(e.code, 0);
    EXPECT_STREQ(e.source.data, "SYSTEM");
    EXPECT_STREQ(e.GetMessage().data, "DLL: Library is not loaded.\n");
    EXPECT_EQ(std::string(e.GetReport().data), "SYSTEM ERROR:\nDLL: Library is not loaded.\n");
}

TEST(DynLibrary, SecondLoadKeepsTheFirstLibraryUntilUnloaded)
{
    CDynLibrary library;
    library.Load("KERNEL32.DLL", 0).Load("SHELL32.DLL", 0);
    EXPECT_EQ(library.GetFunction("GetSystemWindowsDirectoryA"),
              GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetSystemWindowsDirectoryA"));
    EXPECT_EQ(Thrown([&] { library.GetFunction("SHGetSpecialFolderPathA"); }).code, ERROR_PROC_NOT_FOUND);

    EXPECT_NE(library.Unload(), 0);
    EXPECT_EQ(library.Unload(), 0);
    EXPECT_STREQ(Thrown([&] { library.GetFunction("GetTickCount"); }).GetMessage().data,
                 "DLL: Library is not loaded.\n");
}

TEST(DynLibrary, DestructionFreesTheLibrary)
{
    const char name[] = "MPR.DLL";   // not used by this program otherwise
    ASSERT_EQ(GetModuleHandleA(name), nullptr);
    {
        CDynLibrary library;
        library.Load(name, 0);
        EXPECT_NE(GetModuleHandleA(name), nullptr);
    }
    EXPECT_EQ(GetModuleHandleA(name), nullptr);
}

TEST(DynLibrary, FailuresCarryTheSystemCodeAndTheirStep)
{
    const char missing[] = "VortagNoSuchLibrary.dll";
    struct Case {
        const char* what;
        std::function<void(CDynLibrary&)> action;
        std::function<DWORD()> systemCode;   // what the platform itself sets
        const char* context;
    };
    const Case cases[] = {
        {"missing library", [&](CDynLibrary& l) { l.Load(missing, 0); },
         [&] { LoadLibraryA(missing); return GetLastError(); },
         "DLL: Can not load library VortagNoSuchLibrary.dll.\n"},
        {"missing library with flags", [&](CDynLibrary& l) { l.Load(missing, LOAD_LIBRARY_AS_DATAFILE); },
         [&] { LoadLibraryExA(missing, nullptr, LOAD_LIBRARY_AS_DATAFILE); return GetLastError(); },
         "DLL: Can not load library VortagNoSuchLibrary.dll.\n"},
        {"missing function", [](CDynLibrary& l) { l.Load("KERNEL32.DLL", 0).GetFunction("VortagNoSuchFunction"); },
         [] { GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "VortagNoSuchFunction"); return GetLastError(); },
         "DLL: Can not load function. \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDynLibrary library;
        const CStructException e = Thrown([&] { c.action(library); });
        const DWORD expected = c.systemCode();
        EXPECT_NE(expected, 0u);
        EXPECT_EQ(static_cast<DWORD>(e.code), expected);
        EXPECT_STREQ(e.source.data, "SYSTEM");
        EXPECT_STREQ(e.GetMessage().data, c.context);
        EXPECT_STREQ(e.what(), CSystemException::Describe(e.code).data);
    }
}

// Libraries this test program does not use otherwise, so that whether they are loaded tells
// what the resident lookup did.
TEST(DynLibrary, ResidentFunctionStaysLoadedForTheRestOfTheProcess)
{
    const char name[] = "MSACM32.DLL";
    ASSERT_EQ(GetModuleHandleA(name), nullptr);
    using GetVersionFunction = DWORD(WINAPI*)();
    const auto function = GetResidentFunction<GetVersionFunction>(name, "acmGetVersion");
    ASSERT_NE(GetModuleHandleA(name), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(function),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(name), "acmGetVersion")));
    EXPECT_NE(function(), 0u);
}

TEST(DynLibrary, ResidentFunctionThatIsMissingThrowsAndLeavesTheLibraryUnloaded)
{
    const char name[] = "MSVFW32.DLL";
    ASSERT_EQ(GetModuleHandleA(name), nullptr);
    const CStructException e = Thrown([&] { GetResidentFunction<FARPROC>(name, "VortagNoSuchFunction"); });
    EXPECT_EQ(e.code, ERROR_PROC_NOT_FOUND);
    EXPECT_STREQ(e.GetMessage().data, "DLL: Can not load function. \n");
    EXPECT_EQ(GetModuleHandleA(name), nullptr);
    EXPECT_STREQ(Thrown([] { GetResidentFunction<FARPROC>("VortagNoSuchLibrary.dll", "Any"); }).GetMessage().data,
                 "DLL: Can not load library VortagNoSuchLibrary.dll.\n");
}

// A system without SetDefaultDllDirectories still keeps the current folder out of the search.
TEST(DynLibrary, WithoutDefaultDirectoriesTheCurrentFolderIsNotSearched)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string planted = std::string(program, std::strrchr(program, '\\')) + "\\PlantedLibrary.dll";
    char previousFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    const e2e::ScratchFolder folder;
    const std::string copy = folder.PathOf("VortagCurrentFolder.dll");
    ASSERT_TRUE(CopyFileA(planted.c_str(), copy.c_str(), FALSE));
    SetCurrentDirectoryA(folder.Path().c_str());

    const HMODULE before = LoadLibraryA("VortagCurrentFolder.dll");
    if (before)
        FreeLibrary(before);
    RestrictLibrarySearchToSystemFolder(nullptr);
    const HMODULE after = LoadLibraryA("VortagCurrentFolder.dll");
    if (after)
        FreeLibrary(after);
    SetDllDirectoryA(nullptr);
    SetCurrentDirectoryA(previousFolder);

    EXPECT_NE(before, nullptr) << "the current folder was not searched to begin with";
    EXPECT_EQ(after, nullptr);
}

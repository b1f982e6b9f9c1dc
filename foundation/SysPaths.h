#pragma once
// One path text that can be filled with a well-known folder of the machine, joined with a
// name, tested for existence, shortened, and expanded from a leading folder macro.
//
// Folder codes are the shell's (CSIDL_WINDOWS = 36, CSIDL_SYSTEM = 37, CSIDL_APPDATA ...)
// and the system's own from 256 on. The system and program folders are those of 32-bit
// programs in either build, as the 32-bit suite sees them (a 64-bit build on 64-bit Windows
// gets SysWOW64 and the "(x86)" program folders).

#include "foundation/OsVersion.h"
#include "foundation/Str.h"

enum FolderCode : int {
    FOLDER_CURRENTDIR = 256,     // GetCurrentDirectoryA
    FOLDER_MODULEDIR = 257,      // the folder of the running program file
    FOLDER_MODULEPATH = 258,     // the running program file itself
    FOLDER_COMMONFILES = 259,    // registry value "CommonFilesDir"
    FOLDER_PROGRAMFILES = 260,   // registry value "ProgramFilesDir"
    FOLDER_WINDOWSDIR = 261,     // GetWindowsDirectoryA
    FOLDER_TEMP = 262,           // GetTempPathA, with its trailing backslash
};

// Where the Windows folder (CSIDL_WINDOWS) is taken from on a system with these facts.
enum class WindowsFolderSource {
    WindowsDirectory,         // GetWindowsDirectoryA: the Windows 9x line
    SystemDirectoryParent,    // the folder above GetSystemDirectoryA: NT 4 and older
    SharedWindowsDirectory,   // GetSystemWindowsDirectoryA (else GetWindowsDirectoryA): NT 5 on
};
WindowsFolderSource ChooseWindowsFolderSource(const COsVersion& os);

class CSysPaths {
public:
    CSysPaths() = default;
    explicit CSysPaths(int folderCode);
    CSysPaths(const CSysPaths& other) = default;
    CSysPaths& operator=(const CSysPaths& other) = default;
    virtual ~CSysPaths();

    // Replaces the path with the folder; a folder that cannot be had leaves it empty (or as
    // the system call left it). Never throws.
    CSysPaths& Resolve(int folderCode);
    CStr GetPath() const;
    CSysPaths& SetPath(const CStr& path);

    // The path and `name` with one backslash between (see PathMacros.cpp for drive paths).
    CStr Combine(const CStr& name) const;
    // 1 when a file or folder matches Combine(name) (wildcards act), else 0.
    int Exists(const CStr& name) const;
    // The 8.3 form of the path, or the path itself when there is none.
    CStr GetShortPath() const;
    // Upper-cases the path and replaces a leading "(WIN)", "(PROG)" ... by its folder, or
    // expands environment references when there is no macro. "(S_" in place of "(" asks
    // for the short form of the result.
    CSysPaths& ExpandMacros();

private:
    CStr m_path;
};

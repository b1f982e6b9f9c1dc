// Floor 2 of the start-up benchmark: the tool's dialog template together with the platform
// work the tool has to do before its dialog appears, in the tool's order, written as plain
// Win32 calls without our class library. What the tool spends beyond this is the cost of our
// own code. The machine set-up is the benchmark's: what the tool would read when present
// (settings file, setup key, a "(PROG)" macro) is read here when present too.
#include "tools/bench/FloorDialog.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"
#include "foundation/RegistryKey.h"   // the registry view the tool reads the suite's settings in

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

char g_identifier[512] = "";

// The operating system's version, the extended layout first as the tool asks for it.
void ReadVersion()
{
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    }
}

// The shared Windows folder through a run-time look-up, traced, as the tool finds it on NT 5+.
void ReadWindowsFolder(char* folder, UINT size)
{
    using GetFolder = UINT(WINAPI*)(LPSTR, UINT);
    HMODULE kernel32 = LoadLibraryA("KERNEL32.DLL");
    auto get = reinterpret_cast<GetFolder>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "GetSystemWindowsDirectoryA")));
    if (get)
        get(folder, size);
    FreeLibrary(kernel32);
    char trace[MAX_PATH + 64];
    std::snprintf(trace, sizeof trace, "System windows directory retrieved %s\n", folder);
    OutputDebugStringA(trace);
}

// The folder of this executable.
void ReadModuleFolder(char* folder, DWORD size)
{
    if (GetModuleFileNameA(nullptr, folder, size) != 0)
        if (char* last = std::strrchr(folder, '\\'))
            *last = '\0';
}

// A string value of a key under `root`; empty when the key or value is missing.
void ReadRegistryString(HKEY root, const char* subkey, const char* name, REGSAM access, char* text, DWORD size)
{
    text[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey, 0, access, &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        text[0] = '\0';
    RegCloseKey(key);
}

// The suite folder: settings file, then the setup key, then the module folder; "(PROG)" or
// environment references expanded.
void ReadSuiteFolder(const char* windowsFolder, const char* moduleFolder, char* suite, DWORD size)
{
    char settingsFile[MAX_PATH + 16];
    std::snprintf(settingsFile, sizeof settingsFile, "%s\\%s", windowsFolder, kSettingsFileName);
    suite[0] = '\0';
    // GetPrivateProfileStringA would look a missing file up elsewhere; the tool asks first.
    if (GetFileAttributesA(settingsFile) != INVALID_FILE_ATTRIBUTES)
        GetPrivateProfileStringA(kSettingsSection, kSettingsKey, "", suite, size, settingsFile);
    if (!suite[0])
        ReadRegistryString(HKEY_LOCAL_MACHINE, kSetupKey, kSetupValue, KEY_READ | kRegistryView32, suite, size);
    if (!suite[0])
        std::snprintf(suite, size, "%s", moduleFolder);
    if (_strnicmp(suite, "(PROG)", 6) == 0) {
        char programFiles[MAX_PATH];
        ReadRegistryString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                           KEY_READ | kRegistryView32, programFiles, sizeof programFiles);
        char rest[MAX_PATH];
        std::snprintf(rest, sizeof rest, "%s", suite + 6);
        std::snprintf(suite, size, "%s%s", programFiles, rest);
    } else {
        char expanded[MAX_PATH];
        if (ExpandEnvironmentStringsA(suite, expanded, sizeof expanded) != 0)
            std::snprintf(suite, size, "%s", expanded);
    }
}

void SetButtonBitmap(HWND dialog, int button, int bitmap)
{
    const HBITMAP image = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmap));
    SendDlgItemMessageA(dialog, button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetButtonBitmap(dialog, IDC_CHANGE, IDB_CHANGE);
        SetButtonBitmap(dialog, IDC_CLOSE, IDB_CLOSE);
        SetWindowTextA(dialog, kApplicationTitle);
        MakeTheToolsBrushes();
        char label[64] = "";
        LoadStringA(GetModuleHandleA(nullptr), IDS_CURRENT_IDENTIFIER, label, sizeof label);
        SetDlgItemTextA(dialog, IDC_CURRENT_LABEL, label);
        SetDlgItemTextA(dialog, IDC_CURRENT_IDENTIFIER, g_identifier);
        return TRUE;
    }
    if (const INT_PTR brush = ColourLikeTheTool(message, wParam, lParam))
        return brush;
    return EndLikeTheTool(dialog, message, wParam);
}

// The hidden main window shows the dialog while it is created, as the tool's does.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_IDENTIFIER),
                                               GetActiveWindow(), FloorDialogProc, 0);
        if (!dialog)
            return -1;
        const HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        ShowWindow(dialog, SW_SHOW);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    ReadVersion();
    char windowsFolder[MAX_PATH] = "";
    ReadWindowsFolder(windowsFolder, sizeof windowsFolder);
    char moduleFolder[MAX_PATH] = "";
    ReadModuleFolder(moduleFolder, sizeof moduleFolder);
    char suite[MAX_PATH] = "";
    ReadSuiteFolder(windowsFolder, moduleFolder, suite, sizeof suite);

    INITCOMMONCONTROLSEX classes{sizeof classes, 0x3FFF};
    InitCommonControlsEx(&classes);
    const HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORTAG));
    // The benchmark stores an identifier first; the tool would make one when none is stored.
    ReadRegistryString(HKEY_CLASSES_ROOT, kIdentifierKey, "", KEY_ALL_ACCESS | kRegistryView32, g_identifier,
                       sizeof g_identifier);

    // A name of its own: a floor must never stop the tool (or itself) from starting.
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, "NIMBRA_VORTAG_FLOOR2_MUTEX");
    if (GetLastError() != 0)
        return ERROR_ALREADY_EXISTS;

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 4;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.lpszClassName = "NIMBRA_VORTAG_FLOOR2";
    RegisterClassExA(&windowClass);
    const HWND mainWindow = CreateWindowExA(0, windowClass.lpszClassName, "", 0, CW_USEDEFAULT,
                                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                                            nullptr);
    if (!mainWindow)
        return static_cast<int>(GetLastError());
    UpdateWindow(mainWindow);
    ShowWindow(mainWindow, SW_HIDE);

    const int exitCode = RunMessageLoop();
    CloseHandle(mutex);
    return exitCode;
}

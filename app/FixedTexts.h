#pragma once
// The tool's own fixed names: what users, admins' scripts and the rest of the suite see.

inline constexpr char kApplicationTitle[] = "Nimbra VORTAG";
inline constexpr char kMutexName[] = "NIMBRA_VORTAG_MUTEX";
inline constexpr char kMainWindowClass[] = "NIMBRA_VORTAG";
inline constexpr char kQuietSwitch[] = "QUIET";

inline constexpr char kSettingsFileName[] = "QTFile.ini";
inline constexpr char kSettingsSection[] = "SUITE";
inline constexpr char kSettingsKey[] = "Path";
inline constexpr char kSetupKey[] = "Software\\Nimbra\\Setup";
inline constexpr char kSetupValue[] = "Path";

// The agent identifier is the default value of this key under HKEY_CLASSES_ROOT, where the
// agent looks for it.
inline constexpr char kIdentifierKey[] = "Nimbra.Agent.QRM\\GUID";

inline constexpr char kCollectorFileName[] = "Brevast.exe";
inline constexpr char kCollectorParameters[] = "/DELFLAGS";

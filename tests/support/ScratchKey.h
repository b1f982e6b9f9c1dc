#pragma once
// A registry key that a test owns: created empty, deleted with everything under it at the end.

#include "foundation/Win32.h"

#include <string>

// `view` (KEY_WOW64_32KEY or 0) names the registry view that every access goes through.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::string path, REGSAM view = 0);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return m_root; }
    const std::string& Path() const { return m_path; }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) const;
    bool HasValue(const char* name) const;
    // The value's type and bytes as the registry holds them; false when there is none.
    bool ReadRaw(const char* name, DWORD& type, std::string& bytes) const;
    // Lets everyone read but nobody write the key's values (a read-only DACL).
    void MakeReadOnly() const;
    // Lets nobody open the key at all (an empty DACL).
    void MakeInaccessible() const;

private:
    void SetAccess(const char* sddl) const;

    HKEY m_root;
    std::string m_path;
    REGSAM m_view;
};

// Software\VortagTests\<name>.<process id>, for a scratch key under HKEY_CURRENT_USER that no
// test program running beside this one uses.
std::string ScratchKeyPath(const std::string& name);

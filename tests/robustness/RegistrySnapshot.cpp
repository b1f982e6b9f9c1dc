#include "tests/robustness/RegistrySnapshot.h"

#include <algorithm>
#include <vector>

RegistryValues ReadValues(HKEY key)
{
    RegistryValues values;
    DWORD longestName = 0;
    DWORD largest = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &largest,
                     nullptr, nullptr);
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(largest + 1);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        values[std::wstring(name.data(), nameLength)] = {type, std::string(data.begin(), data.begin() + size)};
    }
    return values;
}

namespace {

void AddTree(HKEY root, const std::wstring& path, REGSAM view, RegistryTree& tree)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    tree[path] = ReadValues(key);
    DWORD longestSubkey = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longestSubkey, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    std::vector<wchar_t> name(longestSubkey + 1);
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name.data(), nameLength);
    }
    RegCloseKey(key);
    for (const std::wstring& subkey : subkeys)
        AddTree(root, path + L"\\" + subkey, view, tree);
}

}  // namespace

RegistryTree ReadTree(HKEY root, const std::wstring& path, REGSAM view)
{
    RegistryTree tree;
    AddTree(root, path, view, tree);
    return tree;
}

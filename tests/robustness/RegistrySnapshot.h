#pragma once
// Registry contents exactly as stored, for tests that prove an operation wrote nothing (or
// only what it should). The wide calls convert nothing, so bytes compare as they are.

#include "foundation/Win32.h"

#include <map>
#include <string>
#include <utility>

// Every value of a key: name to type and bytes.
using RegistryValues = std::map<std::wstring, std::pair<DWORD, std::string>>;
// Every key of a tree, by its path from the root, with its values.
using RegistryTree = std::map<std::wstring, RegistryValues>;

// The values of an open key (it needs KEY_QUERY_VALUE).
RegistryValues ReadValues(HKEY key);

// `path` and every key below it, in the registry view `view` (KEY_WOW64_32KEY or 0); empty
// when `path` cannot be opened.
RegistryTree ReadTree(HKEY root, const std::wstring& path, REGSAM view = 0);

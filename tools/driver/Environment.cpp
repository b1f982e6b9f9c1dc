#include "tools/driver/Environment.h"

#include "foundation/Win32.h"

#include <cstring>

namespace e2e {

namespace {

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && _strnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The name of "name=value"; Windows keeps per-drive folders as "=C:=C:\x", whose name starts
// with the '='.
std::string NameOf(const char* entry)
{
    const char* equals = std::strchr(entry + 1, '=');
    return equals ? std::string(entry, equals) : std::string(entry);
}

bool IsReplaced(const std::string& name, const Variables& extra, bool dropLocale)
{
    if (dropLocale && NamesLocale(name))
        return true;
    for (const auto& variable : extra)
        if (SameName(name, variable.first))
            return true;
    return false;
}

}  // namespace

bool NamesLocale(const std::string& name)
{
    return SameName(name, "LANG") || SameName(name, "LANGUAGE") || _strnicmp(name.c_str(), "LC_", 3) == 0;
}

bool SetsLocale(const Variables& extra)
{
    for (const auto& variable : extra)
        if (NamesLocale(variable.first))
            return true;
    return false;
}

std::string EnvironmentBlock(const Variables& extra)
{
    const bool dropLocale = SetsLocale(extra);
    std::string block;
    char* inherited = GetEnvironmentStringsA();
    for (const char* entry = inherited; entry && *entry; entry += std::strlen(entry) + 1) {
        if (!IsReplaced(NameOf(entry), extra, dropLocale))
            block.append(entry).push_back('\0');
    }
    if (inherited)
        FreeEnvironmentStringsA(inherited);
    for (const auto& variable : extra)
        block.append(variable.first).append("=").append(variable.second).push_back('\0');
    if (block.empty())
        block.push_back('\0');   // an empty block is still two zeros
    block.push_back('\0');
    return block;
}

}  // namespace e2e

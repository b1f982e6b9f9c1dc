#include "tests/support/ScratchKey.h"

#include "tools/driver/ToolState.h"

#include <sddl.h>

#include <gtest/gtest.h>

ScratchKey::ScratchKey(HKEY root, std::string path, REGSAM view) : m_root(root), m_path(std::move(path)), m_view(view)
{
    e2e::DeleteKeyTree(m_root, m_path, m_view);
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | m_view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (key)
        RegCloseKey(key);
}

ScratchKey::~ScratchKey()
{
    e2e::DeleteKeyTree(m_root, m_path, m_view);
}

void ScratchKey::SetRaw(const char* name, DWORD type, const void* data, DWORD size) const
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_SET_VALUE | m_view, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

bool ScratchKey::HasValue(const char* name) const
{
    DWORD type = 0;
    std::string bytes;
    return ReadRaw(name, type, bytes);
}

bool ScratchKey::ReadRaw(const char* name, DWORD& type, std::string& bytes) const
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_QUERY_VALUE | m_view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void ScratchKey::MakeReadOnly() const
{
    SetAccess("D:P(A;;KR;;;WD)");
}

void ScratchKey::MakeInaccessible() const
{
    SetAccess("D:P");
}

void ScratchKey::SetAccess(const char* sddl) const
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(m_root, m_path.c_str(), 0, WRITE_DAC | m_view, &key), ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR access = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &access, nullptr));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, access), ERROR_SUCCESS);
    LocalFree(access);
    RegCloseKey(key);
}

std::string ScratchKeyPath(const std::string& name)
{
    return "Software\\VortagTests\\" + name + "." + std::to_string(GetCurrentProcessId());
}

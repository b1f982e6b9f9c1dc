#include "tools/driver/ToolState.h"

#include "app/FixedTexts.h"
#include "foundation/RegistryKey.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"

#include <sddl.h>

namespace e2e {

namespace {

// The identifier's key opened with `access`, created when missing; null when that fails.
HKEY OpenIdentifierKey(REGSAM access, bool create)
{
    HKEY key = nullptr;
    const REGSAM inView = access | kRegistryView32;
    const LONG result = create ? RegCreateKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, nullptr, 0, inView, nullptr,
                                                 &key, nullptr)
                               : RegOpenKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, inView, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

std::string IdentifierParentKey()
{
    const std::string key = kIdentifierKey;
    return key.substr(0, key.rfind('\\'));
}

std::string StoredIdentifier()
{
    char text[4096] = "";
    DWORD size = sizeof text - 1;
    const HKEY key = OpenIdentifierKey(KEY_QUERY_VALUE, false);
    const bool read = key && RegGetValueA(key, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS;
    if (key)
        RegCloseKey(key);
    return read ? text : std::string();
}

void StoreIdentifier(const std::string& identifier)
{
    const HKEY key = OpenIdentifierKey(KEY_SET_VALUE, true);
    if (!key)
        Fail("the identifier's key could not be opened for writing");
    const LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(identifier.c_str()),
                                       static_cast<DWORD>(identifier.size() + 1));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        Fail("storing the identifier failed with %ld", result);
}

void DeleteStoredIdentifier()
{
    if (const HKEY key = OpenIdentifierKey(KEY_SET_VALUE, false)) {
        RegDeleteValueA(key, nullptr);
        RegCloseKey(key);
    }
}

void DeleteIdentifierKeys()
{
    DeleteKeyTree(HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32);
    RegDeleteKeyExA(HKEY_CLASSES_ROOT, IdentifierParentKey().c_str(), kRegistryView32, 0);
}

void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC | view, &key) == ERROR_SUCCESS) {
        PSECURITY_DESCRIPTOR open = nullptr;
        if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KA;;;WD)", SDDL_REVISION_1, &open, nullptr)) {
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, open);
            LocalFree(open);
        }
        RegCloseKey(key);
    }
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
    }
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

std::vector<std::string> CollectorRuns(const std::string& folder)
{
    const std::string text = ReadWholeFile(folder + "\\Brevast.log");
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

}  // namespace e2e

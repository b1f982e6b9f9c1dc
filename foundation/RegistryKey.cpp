#include "foundation/RegistryKey.h"

#include "foundation/StructException.h"

namespace {

// Every step text ends in ". " or " " followed by an empty %s, as the reports have always
// read.
// Kept on purpose: docs/compatibility.md, "Step texts end in an empty %s".
[[noreturn]] void RaiseRegistryError(LONG result, const CStr& step)
{
    RaiseSystemError(static_cast<DWORD>(result), "Registry: %s", step);
}

}  // namespace

CRegistryKey& CRegistryKey::Open(HKEY root, const CStr& subkey, int create, REGSAM access)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(root, subkey.data, 0, access, &opened);
    const bool creating = result != ERROR_SUCCESS && create == 1;
    if (creating) {
        DWORD disposition = 0;
        const REGSAM view = access & (KEY_WOW64_32KEY | KEY_WOW64_64KEY);
        result = RegCreateKeyExA(root, subkey.data, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view,
                                 nullptr, &opened, &disposition);
    }
    // After a failure nothing is held.
    m_key.Reset(result == ERROR_SUCCESS ? opened : nullptr);
    if (result != ERROR_SUCCESS)
        RaiseRegistryError(result, CStr().Format(creating ? "Creating key. %s" : "Opening key. %s", ""));
    return *this;
}

int CRegistryKey::SetValue(const CStr& name, DWORD type, const BYTE* data, DWORD size)
{
    const LONG result = RegSetValueExA(m_key.Get(), name.data, 0, type, data, size);
    if (result != ERROR_SUCCESS)
        RaiseRegistryError(result, CStr().Format("Writing value type %d. %s", static_cast<int>(type), ""));
    return 0;
}

int CRegistryKey::SetString(const CStr& name, const CStr& text)
{
    const DWORD length = text.GetLength();
    // Kept on purpose: docs/compatibility.md, "Strings stored without their terminator".
    const BYTE empty = 0;
    const BYTE* bytes = length ? reinterpret_cast<const BYTE*>(text.data) : &empty;
    return SetValue(name, REG_SZ, bytes, length ? length : 1);
}

DWORD CRegistryKey::GetValueSize(const CStr& name)
{
    DWORD size = 0;
    const LONG result = RegQueryValueExA(m_key.Get(), name.data, nullptr, nullptr, nullptr, &size);
    if (result != ERROR_SUCCESS)
        RaiseRegistryError(result, CStr().Format("Retrieving value size. %s", ""));
    return size;
}

DWORD CRegistryKey::GetValue(const CStr& name, DWORD& type, BYTE* buffer, DWORD bufferSize)
{
    DWORD size = GetValueSize(name);
    if (!buffer || size == 0 || size > bufferSize)
        return size;
    ZeroMemory(buffer, bufferSize);
    const LONG result = RegQueryValueExA(m_key.Get(), name.data, nullptr, &type, buffer, &size);
    if (result != ERROR_SUCCESS)
        RaiseRegistryError(result, CStr().Format("Reading value type %d. %s", static_cast<int>(type), ""));
    return size;
}

CStr CRegistryKey::GetString(const CStr& name)
{
    return GetString(name, GetValueSize(name));
}

CStr CRegistryKey::GetString(const CStr& name, DWORD measuredSize)
{
    CStr text;
    // One byte more than the value: a terminator even for a value stored without one.
    const DWORD bufferSize = measuredSize + 1;
    text.Reserve(bufferSize);
    DWORD type = 0;
    // GetValue measures again and reads nothing when the value no longer fits: it was written
    // meanwhile, and is anything but absent.
    // Made sounder on purpose: docs/compatibility.md, "A grown value is a read failure".
    if (GetValue(name, type, reinterpret_cast<BYTE*>(text.data), bufferSize) > bufferSize)
        RaiseRegistryError(ERROR_MORE_DATA, CStr().Format("Reading value type %d. %s", static_cast<int>(type), ""));
    // Kept on purpose: docs/compatibility.md, "An empty or non-text value counts as nothing stored".
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        text.Clear();
    return text;
}

LONG CRegistryKey::DeleteValue(const CStr& name)
{
    const LONG result = RegDeleteValueA(m_key.Get(), name.data);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        RaiseRegistryError(result, CStr().Format("Deleting value %s", ""));
    return result;
}

LONG CRegistryKey::Close()
{
    return m_key ? RegCloseKey(m_key.Release()) : 0;
}

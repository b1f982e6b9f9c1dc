#include "app/IdentifierStore.h"

#include "app/FixedTexts.h"
#include "app/TimeStamp.h"
#include "foundation/DynLibrary.h"
#include "foundation/RegistryKey.h"
#include "foundation/StructException.h"

#include <rpc.h>

#include <cstdlib>
#include <ctime>

namespace {

const char kDefaultValue[] = "";

using UuidCreateFunction = RPC_STATUS(RPC_ENTRY*)(UUID* uuid);

// Every operation opens the key afresh (creating it when missing) and never caches. The key is
// the 32-bit suite's: where Windows keeps two views of the classes (Vista and Server 2008 x64),
// both builds of the tool must reach the one the suite reads.
CRegistryKey& OpenIdentifierKey(CRegistryKey& key)
{
    return key.Open(HKEY_CLASSES_ROOT, kIdentifierKey, 1, KEY_ALL_ACCESS | kRegistryView32);
}

}  // namespace

CStr CIdentifierStore::Generate() const
{
    // RPCRT4 only serves here; the dialog comes up sooner without it (see GetResidentFunction).
    const auto createUuid = GetResidentFunction<UuidCreateFunction>("RPCRT4.DLL", "UuidCreate");
    CTimeStamp stamp;
    UUID uuid{};
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const int pause = std::rand() % 1000 + 1;
    Sleep(static_cast<DWORD>(pause));
    // As many UUIDs as milliseconds slept; only the last is kept.
    // Kept on purpose: docs/compatibility.md, "The identifier's form".
    for (int i = 0; i < pause; ++i)
        createUuid(&uuid);
    stamp.SetToNow();
    const unsigned addend = static_cast<unsigned>(std::rand() % 16);
    return FormatIdentifier(uuid, stamp.utc, addend);
}

CStr CIdentifierStore::FormatIdentifier(const UUID& uuid, const FILETIME& utc, unsigned addend)
{
    const unsigned lowWithAddend = static_cast<unsigned>(utc.dwLowDateTime) + addend;  // mod 2^32
    return CStr().Format("{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X-%08X-%08X}",
                         uuid.Data1, unsigned{uuid.Data2}, unsigned{uuid.Data3},
                         unsigned{uuid.Data4[0]}, unsigned{uuid.Data4[1]}, unsigned{uuid.Data4[2]},
                         unsigned{uuid.Data4[3]}, unsigned{uuid.Data4[4]}, unsigned{uuid.Data4[5]},
                         unsigned{uuid.Data4[6]}, unsigned{uuid.Data4[7]},
                         static_cast<unsigned>(utc.dwHighDateTime), lowWithAddend);
}

// Only "nothing stored" is reason to generate. Any other failure to read leaves the stored
// value alone: it may be the machine's identity, which a failure to read must never replace.
CStr CIdentifierStore::GetOrCreate() const
{
    CStr identifier = ReadStored();
    // Kept on purpose: docs/compatibility.md, "Any stored text is returned as it is".
    if (identifier.EqualsNoCase("")) {
        identifier = Generate();
        Store(identifier);
    }
    return identifier;
}

void CIdentifierStore::Store(const CStr& identifier) const
{
    CRegistryKey key;
    OpenIdentifierKey(key).SetString(kDefaultValue, identifier);
}

// A user who may read the key but not write it (HKEY_CLASSES_ROOT of the machine is read-only to
// a standard user) is refused the full-access open, and reads through a read-only one.
CStr CIdentifierStore::ReadStored() const
{
    try {
        CRegistryKey key;
        try {
            OpenIdentifierKey(key);
        } catch (const CStructException&) {
            key.Open(HKEY_CLASSES_ROOT, kIdentifierKey, 0, KEY_READ | kRegistryView32);
        }
        return key.GetString(kDefaultValue);
    } catch (const CStructException& failure) {
        // Made sounder on purpose: docs/compatibility.md, "The read rule: only nothing stored generates".
        if (failure.code == ERROR_FILE_NOT_FOUND)
            return CStr();   // no key, or no value
        throw;
    }
}

void CIdentifierStore::Delete() const
{
    CRegistryKey key;
    // ERROR_FILE_NOT_FOUND comes back instead of a throw: nothing stored is as good as deleted.
    // Kept on purpose: docs/compatibility.md, "Every operation makes the identifier's key".
    OpenIdentifierKey(key).DeleteValue(kDefaultValue);
    key.Close();
}

#include "app/IdentifierStore.h"

#include "app/FixedTexts.h"
#include "app/TimeStamp.h"
#include "foundation/DynLibrary.h"
#include "foundation/RegistryKey.h"

#include <rpc.h>

#include <cstdlib>
#include <ctime>

namespace {

const char kDefaultValue[] = "";

// Every operation opens the key afresh (creating it when missing) and never caches.
CRegistryKey& OpenIdentifierKey(CRegistryKey& key)
{
    return key.Open(HKEY_CLASSES_ROOT, kIdentifierKey, 1, KEY_ALL_ACCESS);
}

}  // namespace

CStr CIdentifierStore::Generate() const
{
    // RPCRT4 only serves here; the dialog comes up sooner without it (see GetResidentFunction).
    const auto createUuid = GetResidentFunction<RPC_STATUS(RPC_ENTRY*)(UUID*)>("RPCRT4.DLL", "UuidCreate");
    CTimeStamp stamp;
    UUID uuid{};
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const int pause = std::rand() % 1000 + 1;
    Sleep(static_cast<DWORD>(pause));
    // As many UUIDs as milliseconds slept; only the last is kept.
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

CStr CIdentifierStore::GetOrCreate() const
{
    CStr identifier;
    CRegistryKey key;
    try {
        identifier = OpenIdentifierKey(key).GetString(kDefaultValue);
    } catch (...) {
        // Whatever kept us from reading it, the cure is the same: store a fresh one.
    }
    if (identifier.EqualsNoCase("")) {
        identifier = Generate();
        key.Close();   // a failed read may have left the key open
        OpenIdentifierKey(key).SetString(kDefaultValue, identifier);
    }
    key.Close();
    return identifier;
}

void CIdentifierStore::Delete() const
{
    CRegistryKey key;
    // ERROR_FILE_NOT_FOUND comes back instead of a throw: nothing stored is as good as deleted.
    OpenIdentifierKey(key).DeleteValue(kDefaultValue);
    key.Close();
}

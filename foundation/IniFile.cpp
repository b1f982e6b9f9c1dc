#include "foundation/IniFile.h"

#include "foundation/SysPaths.h"

CStr ReadIniString(const CStr& file, const CStr& section, const CStr& key, const CStr& defaultValue)
{
    CStr value;
    // GetPrivateProfileStringA looks a file it cannot find up elsewhere (a bare name in the
    // Windows folder); an absent settings file must give the default instead.
    if (CSysPaths().Exists(file)) {
        // A value that fills the block up to its terminator may have been cut: read again
        // with a block about twice as large (65, 193, 449, 961 ... bytes). So may a value one
        // character shorter: Wine cuts a quoted value that just fills the block, then takes
        // its last character for the closing quote and drops it.
        while (value.data) {
            const DWORD read =
                GetPrivateProfileStringA(section.data, key.data, "", value.data, value.capacity, file.data);
            // Made sounder on purpose: docs/compatibility.md, "Settings values read whole".
            if (read + 2 < value.capacity) {
                if (read == 0)
                    value = "";
                break;
            }
            value.Reserve(2 * (value.capacity - 1));
        }
    }
    if (value.GetLength() == 0 && defaultValue.GetLength() != 0)
        value = defaultValue;
    return value;
}

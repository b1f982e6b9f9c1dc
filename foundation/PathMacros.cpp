// CSysPaths: joining, existence, short names and folder macros.

#include "foundation/SysPaths.h"

#include <shlobj.h>

namespace {

struct FolderMacro {
    const char* text;
    int folderCode;
};

// Tried in this order; the first one the text begins with is taken. The closing
// parenthesis belongs to each macro, so "(PROGRAMS)" is never taken for "(PROG)".
const FolderMacro kFolderMacros[] = {
    {"(WIN)", CSIDL_WINDOWS},
    {"(SYS)", CSIDL_SYSTEM},
    {"(PROG)", FOLDER_PROGRAMFILES},
    {"(FONTS)", CSIDL_FONTS},
    {"(PROFILE)", CSIDL_PROFILE},
    {"(STARTUP)", CSIDL_STARTUP},
    {"(PROGRAMS)", CSIDL_PROGRAMS},
    {"(STARTMENU)", CSIDL_STARTMENU},
    {"(PERSONAL)", CSIDL_PERSONAL},
    {"(APPDATA)", CSIDL_APPDATA},
    {"(LAPPDATA)", CSIDL_LOCAL_APPDATA},
    {"(DESKTOPDIR)", CSIDL_DESKTOPDIRECTORY},
    {"(TEMPLATES)", CSIDL_TEMPLATES},
    {"(CSTARTUP)", CSIDL_COMMON_STARTUP},
    {"(CPROGRAMS)", CSIDL_COMMON_PROGRAMS},
    {"(CSTARTMENU)", CSIDL_COMMON_STARTMENU},
    {"(CDOCUMENTS)", CSIDL_COMMON_DOCUMENTS},
    {"(CAPPDATA)", CSIDL_COMMON_APPDATA},
    {"(CDESKTOPDIR)", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"(CTEMPLATES)", CSIDL_COMMON_TEMPLATES},
    {"(COMMONFILES)", FOLDER_COMMONFILES},
    {"(TEMPORAL)", FOLDER_TEMP},
};

const char kShortFormPrefix[] = "(S_";

bool BeginsWith(const CStr& text, const char* prefix)
{
    // FindNoCase answers the length for "not found", which is 0 for the empty text.
    return text.GetLength() != 0 && text.FindNoCase(prefix, 1) == 0;
}

}  // namespace

// A drive path ("C:" or "C:\") gets exactly one backslash before the name; any other path
// gets one more, even when it already ends in one.
CStr CSysPaths::Combine(const CStr& name) const
{
    if (name.GetLength() == 0)
        return m_path;
    const uint32_t length = m_path.GetLength();
    if (length == 0)
        return name;
    if (length <= 3 && length >= 2 && m_path.data[1] == ':')
        return CStr().Format("%c:\\%s", m_path.data[0], name.data);
    // Kept on purpose: docs/compatibility.md, "Folder macros as they have always worked".
    return CStr().Format("%s\\%s", m_path.data, name.data);
}

int CSysPaths::Exists(const CStr& name) const
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(Combine(name).data, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return 1;
}

CStr CSysPaths::GetShortPath() const
{
    CStr shortPath;
    shortPath.Reserve(MAX_PATH);
    if (!shortPath.data || !m_path.data)
        return m_path;
    // A buffer too small gets the size it would need and no usable text.
    const DWORD length = GetShortPathNameA(m_path.data, shortPath.data, shortPath.capacity);
    if (length == 0 || length >= shortPath.capacity || shortPath.GetLength() == 0)
        return m_path;
    return shortPath;
}

CSysPaths& CSysPaths::ExpandMacros()
{
    // Kept on purpose: docs/compatibility.md, "The suite path is upper-cased".
    m_path.MakeUpper();
    CStr rest(m_path);
    const bool shorten = BeginsWith(rest, kShortFormPrefix);
    if (shorten)
        rest = CStr("(").Concat(rest.Mid(3, rest.GetLength()));

    m_path = "";
    bool matched = false;
    for (const FolderMacro& macro : kFolderMacros) {
        if (BeginsWith(rest, macro.text)) {
            Resolve(macro.folderCode);
            // Kept on purpose: docs/compatibility.md, "Folder macros as they have always worked".
            rest.RemoveAll(macro.text);
            matched = true;
            break;
        }
    }
    // Environment references count only in a text without a macro.
    if (!matched) {
        const CStr expanded = rest.ExpandEnvironment();
        if (expanded.GetLength() != 0)
            rest = expanded;
    }
    m_path = m_path.Concat(rest);
    if (shorten)
        m_path = GetShortPath();
    return *this;
}

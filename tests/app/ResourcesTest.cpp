// Reads this program's own resources, which are the tool's (both link the same resource
// objects), through the platform's resource calls. Numbers are written out here rather than
// taken from ResourceIds.h, so that a wrong number there shows.
#include "foundation/Win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);        // 0x0409
const WORD kSpanish = MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN);    // 0x0C0A

// The bytes of one of our resources in one language; empty when there is none.
std::string ResourceBytes(LPCSTR type, int id, WORD language)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(id), language);
    const void* data = found ? LockResource(LoadResource(module, found)) : nullptr;
    return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found)) : std::string();
}

// Walks resource bytes front to back; a read past the end throws.
struct ByteReader {
    std::string bytes;
    size_t at = 0;

    template <typename T> T Read()
    {
        if (at + sizeof(T) > bytes.size())
            throw std::out_of_range("the resource ends early");
        T value;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        at += sizeof value;
        return value;
    }
    // `count` UTF-16 code units (ASCII here), or else up to a zero; a name field of 0xFFFF and
    // a number comes back as "#n".
    std::string Text(size_t count = SIZE_MAX)
    {
        std::string text;
        for (size_t i = 0; i < count; ++i) {
            const WORD unit = Read<WORD>();
            if (count == SIZE_MAX && (unit == 0 || (i == 0 && unit == 0xFFFF)))
                return unit == 0 ? text : "#" + std::to_string(Read<WORD>());
            text += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
        return text;
    }
    // x, y, width and height as "x,y wxh".
    std::string Box()
    {
        const short x = Read<short>(), y = Read<short>(), cx = Read<short>(), cy = Read<short>();
        return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(cx) + "x" + std::to_string(cy);
    }
    void AlignToDword() { at = (at + 3) & ~size_t{3}; }
};

// The predefined classes a template may name by number.
std::string ClassName(const std::string& field)
{
    if (field == "#128") return "Button";
    if (field == "#129") return "Edit";
    if (field == "#130") return "Static";
    return field;
}

// A control of the template; its style besides WS_CHILD | WS_VISIBLE.
struct ControlRow { int id; const char* className; DWORD style, exStyle; const char* box; const char* text; };

const DWORD kLabel = WS_GROUP | SS_LEFT;
const DWORD kIdentifierEdit = WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL;
const DWORD kFaceButton = WS_TABSTOP | BS_BITMAP;

const ControlRow kControls[] = {
    {-1, "Static", SS_BITMAP, 0, "0,0 339x38", "#108"},
    {201, "Static", kLabel, 0, "10,42 319x10", "-"},
    {205, "Edit", kIdentifierEdit, 0, "10,52 319x12", ""},
    {204, "Static", kLabel, 0, "10,68 319x10", "-"},
    {206, "Edit", kIdentifierEdit, 0, "10,78 319x12", ""},
    {202, "Button", kFaceButton, WS_EX_STATICEDGE, "227,95 48x17", "CHANGE"},
    {203, "Button", kFaceButton, WS_EX_STATICEDGE, "281,95 48x17", "CLOSE"},
};

INT_PTR CALLBACK LeaveAllToTheSystem(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TEST(DialogTemplate, MatchesTheBoxStylesFontAndEveryControl)
{
    ByteReader dialog{ResourceBytes(RT_DIALOG, 101, kEnglish)};
    EXPECT_EQ(dialog.Read<DWORD>(), 0xFFFF0001u);   // version 1 of the extended template
    dialog.Read<DWORD>();                           // help id
    EXPECT_EQ(dialog.Read<DWORD>(), DWORD{WS_EX_TOPMOST});
    EXPECT_EQ(dialog.Read<DWORD>(), DWORD{WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_SETFONT | DS_3DLOOK |
                                          DS_SYSMODAL | DS_ABSALIGN});
    EXPECT_EQ(dialog.Read<WORD>(), std::size(kControls));
    EXPECT_EQ(dialog.Box(), "0,0 339x117");
    for (const char* field : {"menu", "class", "caption"})
        EXPECT_EQ(dialog.Text(), "") << field;
    EXPECT_EQ(dialog.Read<WORD>(), 8);   // points
    dialog.Read<DWORD>();                // weight, italic, character set
    EXPECT_EQ(dialog.Text(), "MS Sans Serif");

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.id);
        dialog.AlignToDword();
        dialog.Read<DWORD>();   // help id
        EXPECT_EQ(dialog.Read<DWORD>(), row.exStyle);
        EXPECT_EQ(dialog.Read<DWORD>(), WS_CHILD | WS_VISIBLE | row.style);
        EXPECT_EQ(dialog.Box(), row.box);
        EXPECT_EQ(static_cast<int>(dialog.Read<DWORD>()), row.id);
        EXPECT_STRCASEEQ(ClassName(dialog.Text()).c_str(), row.className);
        EXPECT_EQ(dialog.Text(), row.text);
        EXPECT_EQ(dialog.Read<WORD>(), 0);   // no creation data
    }
    dialog.AlignToDword();
    EXPECT_GE(dialog.at, dialog.bytes.size());
}

TEST(DialogTemplate, CreatesTheDialogWithItsControlsAndBanner)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr,
                                     LeaveAllToTheSystem, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    for (int id : {201, 202, 203, 204, 205, 206})
        EXPECT_NE(GetDlgItem(dialog, id), nullptr) << id;
    HWND banner = GetWindow(dialog, GW_CHILD);
    EXPECT_EQ(GetDlgCtrlID(banner), -1);
    EXPECT_NE(SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(IsWindow(dialog));
}

TEST(StringBlock7, HoldsEntries10And11AndNothingElseInEachLanguage)
{
    struct Row { WORD language; const char* current; const char* fresh; };
    for (const Row& row : {Row{kEnglish, "Current GUID:", "New GUID: "}, Row{kSpanish, "GUID Actual:", "GUID Nuevo: "}}) {
        SCOPED_TRACE(testing::Message() << "language " << std::hex << row.language);
        ByteReader block{ResourceBytes(RT_STRING, 7, row.language)};
        for (int i = 0; i < 16; ++i) {
            std::string entry;
            ASSERT_NO_THROW(entry = block.Text(block.Read<WORD>())) << "entry " << i;
            EXPECT_EQ(entry, i == 10 ? row.current : i == 11 ? row.fresh : "") << "entry " << i;
        }
    }
}

// Each image at 100, 150 and 200 % (its number, plus 1000, plus 2000), run-length encoded.
TEST(ResourceBitmaps, HaveTheirSizesAtEveryScaleAt8BitsPerPixelInTheirLanguages)
{
    struct Row { int id; WORD language; LONG width, height; };
    const Row rows[] = {
        {103, kEnglish, 70, 26}, {103, kSpanish, 70, 26},
        {115, kEnglish, 70, 26}, {115, kSpanish, 70, 26},
        {108, kEnglish, 508, 61},
    };
    const struct { int images; LONG percent; } scales[] = {{0, 100}, {1000, 150}, {2000, 200}};
    for (const auto& scale : scales)
        for (const Row& row : rows) {
            const int id = row.id + scale.images;
            SCOPED_TRACE(testing::Message() << id << " in " << std::hex << row.language);
            ByteReader bitmap{ResourceBytes(RT_BITMAP, id, row.language)};
            BITMAPINFOHEADER header{};
            ASSERT_NO_THROW(header = bitmap.Read<BITMAPINFOHEADER>());
            EXPECT_EQ(header.biSize, sizeof header);
            EXPECT_EQ(header.biWidth, (row.width * scale.percent + 50) / 100);
            EXPECT_EQ(std::abs(header.biHeight), (row.height * scale.percent + 50) / 100);
            EXPECT_EQ(header.biBitCount, 8);
            EXPECT_EQ(header.biCompression, DWORD{BI_RLE8});
        }
    for (int face : {103, 115, 1103, 1115, 2103, 2115})
        EXPECT_NE(ResourceBytes(RT_BITMAP, face, kEnglish), ResourceBytes(RT_BITMAP, face, kSpanish)) << face;
}

// 16 and 32 pixels at 100 %, 24 and 48 at 150 %, 32 and 64 at 200 %.
TEST(ResourceIcon, GroupHolds16_24_32_48And64PixelImages)
{
    ByteReader group{ResourceBytes(RT_GROUP_ICON, 109, kEnglish)};
    EXPECT_EQ(group.Read<DWORD>(), 0x00010000u);   // reserved 0, type 1: icons
    std::set<int> sizes;
    for (WORD count = group.Read<WORD>(); count > 0; --count) {
        const BYTE width = group.Read<BYTE>(), height = group.Read<BYTE>();
        group.at += 10;   // colours, reserved, planes, bits, size
        const WORD image = group.Read<WORD>();
        EXPECT_EQ(width, height);
        EXPECT_FALSE(ResourceBytes(RT_ICON, image, kEnglish).empty()) << "image " << image;
        sizes.insert(width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64}));
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(109)), nullptr);
}

TEST(ResourceVersion, CarriesTheProjectVersion)
{
    char path[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
    std::string info(GetFileVersionInfoSizeA(path, nullptr), '\0');
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), &info[0]));
    const auto query = [&info](const std::string& key) -> const void* {
        void* value = nullptr;
        UINT size = 0;
        return VerQueryValueA(info.data(), key.c_str(), &value, &size) ? value : nullptr;
    };

    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query("\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, DWORD{VORTAG_VERSION_MAJOR << 16 | VORTAG_VERSION_MINOR});
    EXPECT_EQ(fixed->dwFileVersionLS, DWORD{VORTAG_VERSION_PATCH << 16 | VORTAG_VERSION_TWEAK});
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    const std::string version = std::to_string(VORTAG_VERSION_MAJOR) + "." + std::to_string(VORTAG_VERSION_MINOR) +
                                "." + std::to_string(VORTAG_VERSION_PATCH);
    for (const char* name : {"FileVersion", "ProductVersion"}) {
        const void* text = query(std::string("\\StringFileInfo\\040904B0\\") + name);
        EXPECT_EQ(text ? static_cast<const char*>(text) : "(none)", version) << name;
    }
}

TEST(ResourceManifest, AsksToRunAsInvokerWithoutUiAccessAndIsPerMonitorDpiAware)
{
    const std::string manifest = ResourceBytes(RT_MANIFEST, 1, kEnglish);
    for (const char* setting : {
             "level=\"asInvoker\"", "uiAccess=\"false\"",
             // per monitor v2, else system awareness: in the list where it is read (Windows 10
             // 1607 and later), as dpiAware before
             "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, System</dpiAwareness>",
             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"})
        EXPECT_NE(manifest.find(setting), std::string::npos) << setting << " in\n" << manifest;
}

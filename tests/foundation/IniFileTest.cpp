#include "foundation/IniFile.h"

#include "tests/support/ScratchFiles.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const CStr& s) { return s.data ? s.data : "<no block>"; }

class IniFileTest : public ::testing::Test {
protected:
    const e2e::ScratchFolder folder;
};

}  // namespace

// Around each block size: 65, 193, 449 ... bytes. The platform strips the quotes of a
// quoted value; Wine reports one that just fills the block a character short.
TEST_F(IniFileTest, ValuesOfAnyLengthAreReadWhole)
{
    const size_t lengths[] = {1, 62, 63, 64, 65, 191, 192, 200, 447, 448, 5000};
    std::string content = "[SUITE]\r\n";
    for (size_t length : lengths) {
        content += "Key" + std::to_string(length) + "=" + std::string(length, 'v') + "\r\n";
        content += "Quoted" + std::to_string(length) + "=\"" + std::string(length, 'q') + "\"\r\n";
    }
    ScratchFile file(folder.PathOf("QTFile.ini"), content);
    for (size_t length : lengths) {
        for (const char* key : {"Key", "Quoted"}) {
            const std::string name = key + std::to_string(length);
            EXPECT_EQ(Text(ReadIniString(file.Path().c_str(), "SUITE", name.c_str(), "default")),
                      std::string(length, *key == 'K' ? 'v' : 'q'))
                << name;
        }
    }
}

TEST_F(IniFileTest, MissingOrEmptyValuesGiveTheDefault)
{
    ScratchFile file(folder.PathOf("QTFile.ini"), "[SUITE]\r\nPath=C:\\Suite\r\nEmpty=\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* defaultValue;
        const char* expected;
    } cases[] = {
        {"SUITE", "Path", "default", "C:\\Suite"},
        {"suite", "PATH", "", "C:\\Suite"},
        {"SUITE", "Missing", "default", "default"},
        {"SUITE", "Empty", "default", "default"},
        {"OTHER", "Path", "default", "default"},
        {"SUITE", "Missing", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(ReadIniString(file.Path().c_str(), c.section, c.key, c.defaultValue)), c.expected)
            << c.section << "/" << c.key;
    EXPECT_EQ(Text(ReadIniString(folder.PathOf("Absent.ini").c_str(), "SUITE", "Path", "default")), "default");
}

// A bare file name is looked for in the current folder by the existence test, but in the
// Windows folder by GetPrivateProfileStringA. With the file only in the Windows folder, its
// value would come back if the file were read at all.
TEST_F(IniFileTest, AbsentFileIsNeverRead)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const char name[] = "VortagNeverRead.ini";
    ScratchFile elsewhere(std::string(windows) + "\\" + name, "[SUITE]\r\nPath=found\r\n");
    char read[16] = {};
    GetPrivateProfileStringA("SUITE", "Path", "", read, sizeof read, name);
    ASSERT_STREQ(read, "found");

    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const CStr value = ReadIniString(name, "SUITE", "Path", "default");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(Text(value), "default");
}

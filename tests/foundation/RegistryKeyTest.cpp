#include "foundation/RegistryKey.h"

#include "foundation/StructException.h"
#include "tests/support/ScratchKey.h"
#include "tests/support/Thrown.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const std::string kScratch = ScratchKeyPath("RegistryKey");

class RegistryKeyTest : public ::testing::Test {
protected:
    ScratchKey scratch{HKEY_CURRENT_USER, kScratch};
    CRegistryKey key;

    void OpenScratch(REGSAM access = KEY_ALL_ACCESS) { key.Open(HKEY_CURRENT_USER, kScratch.c_str(), 0, access); }
};

}  // namespace

TEST_F(RegistryKeyTest, StringsRoundTripWithTheSizesWritten)
{
    OpenScratch();
    key.SetString("three", "abc");
    key.SetString("", "");
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(scratch.ReadRaw("three", type, bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Three bytes go out; Wine's ANSI layer adds the terminator it finds after them.
    EXPECT_TRUE(bytes == "abc" || bytes == std::string("abc\0", 4)) << bytes.size();
    ASSERT_TRUE(scratch.ReadRaw("", type, bytes));
    EXPECT_EQ(bytes, std::string(1, '\0'));   // the empty text is one zero byte

    EXPECT_STREQ(key.GetString("three").data, "abc");
    EXPECT_STREQ(key.GetString("").data, "");
}

TEST_F(RegistryKeyTest, GetStringReadsTextTypesOnly)
{
    const DWORD number = 42;
    scratch.SetRaw("dword", REG_DWORD, &number, sizeof number);
    scratch.SetRaw("expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    scratch.SetRaw("zero", REG_SZ, "", 0);
    scratch.SetRaw("binary", REG_BINARY, "text", 4);
    scratch.SetRaw("multi", REG_MULTI_SZ, "a\0b\0", 5);
    OpenScratch();
    EXPECT_STREQ(key.GetString("dword").data, "");
    EXPECT_STREQ(key.GetString("expand").data, "%TEMP%\\x");   // not expanded
    EXPECT_STREQ(key.GetString("zero").data, "");
    EXPECT_STREQ(key.GetString("binary").data, "");
    EXPECT_STREQ(key.GetString("multi").data, "");
}

TEST_F(RegistryKeyTest, GetStringTerminatesLongTextsStoredWithoutTerminator)
{
    const std::string text(65536, 'g');
    scratch.SetRaw("long", REG_SZ, text.data(), static_cast<DWORD>(text.size()));
    OpenScratch();
    const CStr read = key.GetString("long");
    EXPECT_EQ(read.GetLength(), text.size());
    EXPECT_EQ(std::string(read.data), text);
    // Grown past what was measured before it was read: never taken for an empty text.
    EXPECT_EQ(Thrown([&] { key.GetString("long", 100); }).code, ERROR_MORE_DATA);
}

TEST_F(RegistryKeyTest, GetValueReadsOnlyIntoABufferThatFits)
{
    scratch.SetRaw("bytes", REG_BINARY, "123456", 6);
    OpenScratch();
    char small[4] = {'x', 'x', 'x', 'x'};
    DWORD type = 0;
    EXPECT_EQ(key.GetValue("bytes", type, reinterpret_cast<BYTE*>(small), sizeof small), 6u);
    EXPECT_EQ(std::string(small, 4), "xxxx");
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(key.GetValue("bytes", type, nullptr, 100), 6u);

    char fits[8] = {'y', 'y', 'y', 'y', 'y', 'y', 'y', 'y'};
    EXPECT_EQ(key.GetValue("bytes", type, reinterpret_cast<BYTE*>(fits), sizeof fits), 6u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(std::string(fits, 8), std::string("123456\0\0", 8));   // the rest zero-filled
}

TEST_F(RegistryKeyTest, MissingValuesThrowFromTheSizeQuery)
{
    OpenScratch();
    for (const auto& read : std::initializer_list<std::function<void()>>{
             [&] { key.GetValueSize("missing"); },
             [&] { key.GetString("missing"); },
             [&] { DWORD t; BYTE b[4]; key.GetValue("missing", t, b, 4); }}) {
        const CStructException e = Thrown(read);
        EXPECT_EQ(e.code, ERROR_FILE_NOT_FOUND);
        EXPECT_STREQ(e.source.data, "SYSTEM");
        EXPECT_STREQ(e.GetMessage().data, "Registry: Retrieving value size. \n");
    }
}

TEST_F(RegistryKeyTest, DeleteValueReturnsNotFoundInsteadOfThrowing)
{
    OpenScratch();
    key.SetString("gone", "x");
    EXPECT_EQ(key.DeleteValue("gone"), 0);
    EXPECT_FALSE(scratch.HasValue("gone"));
    EXPECT_EQ(key.DeleteValue("gone"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, OpeningAMissingKeyCreatesItOnlyForCreateFlagOne)
{
    const std::string missing = kScratch + "\\Missing";
    const CStructException notOpened = Thrown([&] { key.Open(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ); });
    EXPECT_EQ(notOpened.code, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(notOpened.GetMessage().data, "Registry: Opening key. \n");

    const CStructException notCreated = Thrown([&] { key.Open(HKEY_CURRENT_USER, missing.c_str(), 2, KEY_READ); });
    EXPECT_EQ(notCreated.code, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(notCreated.GetMessage().data, "Registry: Opening key. \n");

    // Created with full access although only reading was asked for.
    key.Open(HKEY_CURRENT_USER, missing.c_str(), 1, KEY_READ);
    key.SetString("written", "ok");
    key.Close();
    key.Open(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ);
    EXPECT_STREQ(key.GetString("written").data, "ok");
}

TEST_F(RegistryKeyTest, ExistingKeyKeepsTheAccessAskedFor)
{
    key.Open(HKEY_CURRENT_USER, kScratch.c_str(), 1, KEY_READ);
    const CStructException e = Thrown([&] { key.SetString("v", "x"); });
    EXPECT_EQ(e.code, ERROR_ACCESS_DENIED);
    EXPECT_STREQ(e.GetMessage().data, "Registry: Writing value type 1. \n");
}

TEST_F(RegistryKeyTest, ReadOnlyKeyRefusesOpeningAndCreatingForWriting)
{
    scratch.MakeReadOnly();
    const CStructException opening = Thrown([&] { key.Open(HKEY_CURRENT_USER, kScratch.c_str(), 0, KEY_ALL_ACCESS); });
    EXPECT_EQ(opening.code, ERROR_ACCESS_DENIED);
    EXPECT_STREQ(opening.GetMessage().data, "Registry: Opening key. \n");

    CStructException creating = Thrown([&] { key.Open(HKEY_CURRENT_USER, kScratch.c_str(), 1, KEY_ALL_ACCESS); });
    EXPECT_EQ(creating.code, ERROR_ACCESS_DENIED);
    EXPECT_STREQ(creating.GetMessage().data, "Registry: Creating key. \n");
    creating.AddContext("Unhandled exception");
    EXPECT_EQ(std::string(creating.GetReport().data),
              "SYSTEM ERROR:\nUnhandled exception\nRegistry: Creating key. \n\nCode: 5 (0x00000005)\n" +
                  std::string(CSystemException::Describe(5).data));

    key.Open(HKEY_CURRENT_USER, kScratch.c_str(), 0, KEY_READ);   // reading is still allowed
    EXPECT_EQ(Thrown([&] { key.GetString("nothing"); }).code, ERROR_FILE_NOT_FOUND);
    const CStructException deleting = Thrown([&] { key.DeleteValue("nothing"); });
    EXPECT_EQ(deleting.code, ERROR_ACCESS_DENIED);
    EXPECT_STREQ(deleting.GetMessage().data, "Registry: Deleting value \n");
}

TEST_F(RegistryKeyTest, CloseIsHarmlessOnAClosedKey)
{
    EXPECT_EQ(key.Close(), 0);
    OpenScratch();
    EXPECT_EQ(key.Close(), ERROR_SUCCESS);
    EXPECT_EQ(key.Close(), 0);
}

#include "app/IdentifierStore.h"
#include "app/TimeStamp.h"
#include "tests/support/IdentifierShape.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint64_t NowUtc()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

// An identifier with the clock read just before and just after its generation.
struct Generated {
    uint64_t before;
    std::string text;
    uint64_t after;
};

Generated GenerateTimed(const CIdentifierStore& store)
{
    Generated made;
    made.before = NowUtc();
    made.text = store.Generate().data;
    made.after = NowUtc();
    return made;
}

SYSTEMTIME Local(WORD year, WORD month, WORD day, WORD hour = 12, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME t{};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

}  // namespace

TEST(IdentifierFormat, LaysOutUuidAndTimeStampInFiftySixCharacters)
{
    const UUID uuid{0x0123ABCD, 0x0A0B, 0xF00D, {0x00, 0x01, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54}};
    const FILETIME utc{0x89ABCDEF, 0x01D7C3A2};
    const CStr text = CIdentifierStore::FormatIdentifier(uuid, utc, 3);
    EXPECT_STREQ(text.data, "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}");
    EXPECT_TRUE(HasIdentifierShape(text.data));
}

TEST(IdentifierFormat, AddendWrapsInTheLowHalfWithoutCarry)
{
    const UUID uuid{};
    const FILETIME utc{0xFFFFFFFA, 0x01D7FFFF};
    EXPECT_STREQ(CIdentifierStore::FormatIdentifier(uuid, utc, 15).data,
                 "{00000000-0000-0000-0000-000000000000-01D7FFFF-00000009}");
    EXPECT_STREQ(CIdentifierStore::FormatIdentifier(uuid, utc, 0).data,
                 "{00000000-0000-0000-0000-000000000000-01D7FFFF-FFFFFFFA}");
}

TEST(IdentifierGenerate, FreshIdentifiersHaveTheShapeAndTheTimeOfGeneration)
{
    const CIdentifierStore store;
    const Generated first = GenerateTimed(store);
    const Generated second = GenerateTimed(store);
    EXPECT_NE(first.text.substr(1, 36), second.text.substr(1, 36));   // a UUID of its own each
    for (const Generated& made : {first, second}) {
        SCOPED_TRACE(made.text);
        ASSERT_TRUE(HasIdentifierShape(made.text));
        EXPECT_NE(made.text.substr(1, 36), "00000000-0000-0000-0000-000000000000");

        // The trailing fields are the UTC time (ms resolution) plus 0..15; no carry.
        const uint32_t high = std::stoul(made.text.substr(38, 8), nullptr, 16);
        const uint32_t low = std::stoul(made.text.substr(47, 8), nullptr, 16);
        const uint64_t stamp = (uint64_t{high} << 32) | low;
        EXPECT_GE(stamp + 10000, made.before);   // the clock's millisecond rounding
        EXPECT_LE(stamp, made.after + 15);
        EXPECT_LE(stamp % 10000, 15u);           // a whole millisecond plus the addend
    }
}

TEST(TimeStamp, StartsAtZero)
{
    const CTimeStamp stamp;
    EXPECT_EQ(stamp.utc.dwLowDateTime, 0u);
    EXPECT_EQ(stamp.utc.dwHighDateTime, 0u);
    EXPECT_EQ(stamp.local.wYear, 0);
    EXPECT_EQ(stamp.local.wDay, 0);
}

TEST(TimeStamp, SetLocalNormalisesOutOfRangeFields)
{
    CTimeStamp stamp;
    stamp.SetLocal(Local(2021, 9, 31));   // September has 30 days
    EXPECT_EQ(stamp.local.wMonth, 9);
    EXPECT_EQ(stamp.local.wDay, 30);
    EXPECT_EQ(stamp.local.wDayOfWeek, 4);   // a Thursday

    stamp.SetLocal(Local(2021, 13, 5, 25, 61, 61));
    EXPECT_EQ(stamp.local.wYear, 2021);
    EXPECT_EQ(stamp.local.wMonth, 1);
    EXPECT_EQ(stamp.local.wHour, 1);
    EXPECT_EQ(stamp.local.wMinute, 1);
    EXPECT_EQ(stamp.local.wSecond, 1);
    stamp.SetLocal(Local(2021, 6, 5, 23, 59, 59));   // the last second of a minute is a second like any
    EXPECT_EQ(stamp.local.wSecond, 59);

    stamp.SetLocal(Local(2024, 2, 31));   // leap year: down to the 29th
    EXPECT_EQ(stamp.local.wDay, 29);
}

TEST(TimeStamp, UtcIsTheLocalTimeWithoutTheZoneBias)
{
    CTimeStamp stamp;
    stamp.SetLocal(Local(2021, 6, 15, 10, 30));
    FILETIME local;
    ASSERT_TRUE(SystemTimeToFileTime(&stamp.local, &local));
    FILETIME back;
    ASSERT_TRUE(FileTimeToLocalFileTime(&stamp.utc, &back));
    EXPECT_EQ(back.dwLowDateTime, local.dwLowDateTime);
    EXPECT_EQ(back.dwHighDateTime, local.dwHighDateTime);
    const uint64_t utc = (uint64_t{stamp.utc.dwHighDateTime} << 32) | stamp.utc.dwLowDateTime;
    EXPECT_EQ(utc % 10000, 0u);   // whole milliseconds
}

TEST(TimeStamp, FailedConversionLeavesTheStampAsItWas)
{
    CTimeStamp stamp;
    stamp.SetLocal(Local(1600, 13, 40));   // no normalisation at or below 1600, and no such date
    EXPECT_EQ(stamp.utc.dwLowDateTime, 0u);
    EXPECT_EQ(stamp.utc.dwHighDateTime, 0u);

    stamp.SetLocal(Local(2021, 6, 15));
    const SYSTEMTIME before = stamp.local;
    const FILETIME utcBefore = stamp.utc;
    stamp.SetLocal(Local(1600, 6, 15));
    stamp.SetLocal(Local(2021, 6, 0));
    EXPECT_EQ(std::memcmp(&stamp.local, &before, sizeof before), 0);
    EXPECT_EQ(stamp.utc.dwLowDateTime, utcBefore.dwLowDateTime);
    EXPECT_EQ(stamp.utc.dwHighDateTime, utcBefore.dwHighDateTime);
}

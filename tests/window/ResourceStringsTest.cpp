// Texts from the string tables of the module: the tool's own (labels, button names and
// failure texts in English and Spanish) and malformed blocks of the tests' own (MalformedStrings.rc).

#include "foundation/Str.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct StringCase {
    uint32_t id;
    uint16_t language;
    const char* expected;
};

const StringCase kStrings[] = {
    {106, 0x0409, "Current GUID:"},
    {106, 0x0C0A, "GUID Actual:"},
    {107, 0x0409, "New GUID: "},
    {107, 0x0C0A, "GUID Nuevo: "},
    {96, 0x0409, ""},      // entry 0 of block 7: empty
    {111, 0x0C0A, ""},     // entry 15 of block 7: the last one, empty
    {112, 0x0409, "CHANGE"},   // the buttons' names, block 8
    {112, 0x0C0A, "CAMBIAR"},
    {113, 0x0409, "CLOSE"},
    {113, 0x0C0A, "CERRAR"},
    {114, 0x0409, "Change failed: "},   // what a failed change says
    {114, 0x0C0A, "Error al cambiar: "},
    {115, 0x0409, "New GUID, collector not started"},
    {115, 0x0C0A, "GUID Nuevo, colector no iniciado"},
    {200, 0x0409, ""},     // block 13 exists in no language
    {4000, 0x0409, "AB"},  // the entry before the one that lies
    {4001, 0x0409, ""},    // claims more than its block holds
    {4002, 0x0409, ""},    // lies beyond the end of the walk
    {4016, 0x0409, ""},    // half a code unit
    {4032, 0x0409, ""},    // half a count
};

std::string Load(uint32_t id, uint16_t language)
{
    CStr text("left over");
    return text.LoadFromStringTable(id, language, GetModuleHandleA(nullptr)).data;
}

}  // namespace

TEST(LoadFromStringTable, GivesTheEntryInTheLanguageOrTheEmptyText)
{
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE(testing::Message() << "string " << c.id << " language " << std::hex << c.language);
        EXPECT_EQ(Load(c.id, c.language), c.expected);
    }
    EXPECT_EQ(Load(107, 0x0409).size(), 10u);
}

// A language the module lacks falls back to the system's plain lookup.
TEST(LoadFromStringTable, FallsBackToALanguageTheModuleHas)
{
    const std::string german = Load(106, 0x0407);
    EXPECT_TRUE(german == "Current GUID:" || german == "GUID Actual:") << german;
}

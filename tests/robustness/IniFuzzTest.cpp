// Malformed and random settings files read with ReadIniString. The platform's own reading
// (GetPrivateProfileStringA with a buffer larger than the file) is the reference: the value
// comes back whole, and the default exactly when the platform finds no value or an empty one.

#include "foundation/IniFile.h"
#include "tests/robustness/Fuzz.h"
#include "tests/support/ScratchFiles.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class IniFuzz : public ::testing::Test {
protected:
    const e2e::ScratchFolder folder;

    // Reads `section`/`key` both ways and compares; returns what ReadIniString gave.
    std::string ExpectReadsAsPlatform(const ScratchFile& file, size_t fileSize, const char* section, const char* key,
                                      const std::string& defaultValue, const std::string& where)
    {
        // No value can come out longer than the file it stands in.
        std::vector<char> buffer(fileSize + 64, '\0');
        const DWORD read = GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                    file.Path().c_str());
        EXPECT_LT(read + 1, buffer.size()) << where << ": the reference buffer was too small";
        const std::string platform(buffer.data());
        const std::string expected = platform.empty() ? defaultValue : platform;

        const CStr value = ReadIniString(file.Path().c_str(), section, key, defaultValue.c_str());
        const std::string got = value.data ? value.data : "<no block>";
        EXPECT_EQ(got.size(), expected.size()) << where << " [" << section << "] " << key;
        EXPECT_TRUE(got == expected) << where << " [" << section << "] " << key << ": got \"" << got.substr(0, 80)
                                     << "\", expected \"" << expected.substr(0, 80) << "\"";
        return got;
    }
};

std::string AllByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

std::string ManyKeys(int count)
{
    std::string content = "[SUITE]\r\n";
    for (int i = 0; i < count; ++i)
        content += "K" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    return content;
}

// A random settings file: section headers (some without ']'), key lines with and without
// '=' and blanks, comments and junk bytes, with mixed line ends and values of lengths
// around the steps by which the reading block grows (65, 193, 449, 961 bytes).
std::string RandomIniFile(FuzzRandom& random, const char* const* sections, size_t sectionCount,
                          const char* const* keys, size_t keyCount)
{
    static const uint32_t valueLengths[] = {0, 1, 5, 63, 64, 65, 191, 192, 193, 447, 448, 959, 960, 4000};
    static const char* const lineEnds[] = {"\r\n", "\n", "\r"};
    std::string content;
    const uint32_t lines = random.Between(1, 40);
    for (uint32_t i = 0; i < lines; ++i) {
        const std::string section = sections[random.Below(static_cast<uint32_t>(sectionCount))];
        const std::string key = keys[random.Below(static_cast<uint32_t>(keyCount))];
        switch (random.Below(8)) {
        case 0: content += "[" + section + (random.OneIn(4) ? "" : "]"); break;
        case 1: content += (random.OneIn(2) ? ";" : "#") + random.From("abc =[]", random.Below(10)); break;
        case 2: content += random.OneIn(2) ? random.NonZero(random.Below(20)) : random.From(AllByteValues(), 20); break;
        case 3: content += key; break;
        default: {
            const uint32_t length = random.OneIn(2) ? random.Pick(valueLengths) : random.Below(80);
            std::string value = random.OneIn(3) ? random.NonZero(length) : random.From("vV ;\"=\xE9\xFF", length);
            if (random.OneIn(4)) {   // quoted, sometimes without the closing quote
                const std::string quote = random.OneIn(2) ? "'" : "\"";
                value = quote + value + (random.OneIn(4) ? "" : quote);
            }
            content += (random.OneIn(4) ? " " : "") + key + (random.OneIn(4) ? " = " : "=") + value;
            break;
        }
        }
        if (i + 1 < lines || random.OneIn(2))
            content += random.Pick(lineEnds);
    }
    return content;
}

}  // namespace

// Each file stands for one kind of damage; the expected value, where one is given, is known
// apart from the platform too.
TEST_F(IniFuzz, MalformedFilesReadAsThePlatformReadsThem)
{
    const std::string longValue(100 * 1024, 'L');
    const std::string platformOnly;
    const struct {
        const char* name;
        std::string content;
        const char* section;
        const char* key;
        std::string expected;   // empty: the platform's answer only
    } cases[] = {
        {"no section", "Path=C:\\x\r\n", "SUITE", "Path", "default"},
        {"no section, asked for the nameless one", "Path=C:\\x\r\n", "", "Path", platformOnly},
        {"binary junk", AllByteValues() + "\r\n[SUITE]\r\nPath=after\r\n", "SUITE", "Path", platformOnly},
        {"binary junk as the value", "[SUITE]\r\nPath=" + AllByteValues().substr(1), "SUITE", "Path", platformOnly},
        {"CR-only line ends", "[SUITE]\rPath=cr\rNext=x\r", "SUITE", "Path", platformOnly},
        {"100 KB value", "[SUITE]\r\nPath=" + longValue + "\r\n", "SUITE", "Path", longValue},
        {"key repeated", "[SUITE]\r\nPath=first\r\nPath=second\r\n", "SUITE", "Path", "first"},
        {"key repeated in another case", "[SUITE]\r\nPATH=first\r\npath=second\r\n", "SUITE", "Path", "first"},
        {"missing final line end", "[SUITE]\r\nOther=x\r\nPath=last", "SUITE", "Path", "last"},
        {"header without ']'", "[SUITE\r\nPath=open\r\n", "SUITE", "Path", platformOnly},
        {"empty value", "[SUITE]\r\nPath=\r\n", "SUITE", "Path", "default"},
        {"blank value", "[SUITE]\r\nPath=   \r\n", "SUITE", "Path", platformOnly},
        {"quoted value", "[SUITE]\r\nPath=\"C:\\q\"\r\n", "SUITE", "Path", "C:\\q"},
        {"quoted value filling the block", "[SUITE]\r\nPath=\"" + longValue.substr(0, 64) + "\"\r\n", "SUITE", "Path",
         longValue.substr(0, 64)},
        {"value in single quotes", "[SUITE]\r\nPath='" + longValue.substr(0, 192) + "'\r\n", "SUITE", "Path",
         longValue.substr(0, 192)},
        {"UTF-16 mark", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0P\0=\0w\0", 18), "S", "P", platformOnly},
        {"UTF-8 mark", "\xEF\xBB\xBF[S]\r\nP=\xC3\xA9\r\n", "S", "P", platformOnly},
        {"empty file", "", "SUITE", "Path", "default"},
        {"many keys, the first", ManyKeys(20000), "SUITE", "K0", "v0"},
        {"many keys, the last", ManyKeys(20000), "SUITE", "K19999", "v19999"},
        {"many keys, one missing", ManyKeys(20000), "SUITE", "K20000", "default"},
    };
    uint32_t step = 0;
    for (const auto& c : cases) {
        const ScratchFile file(folder.PathOf("case" + std::to_string(step) + ".ini"), c.content);
        const std::string got =
            ExpectReadsAsPlatform(file, c.content.size(), c.section, c.key, "default", c.name);
        if (!c.expected.empty()) {
            EXPECT_TRUE(got == c.expected) << c.name << ": got \"" << got.substr(0, 80) << "\"";
        }
        ++step;
    }
}

TEST_F(IniFuzz, RandomFilesReadAsThePlatformReadsThem)
{
    static const char* const sections[] = {"SUITE", "suite", "Other", "S p", ""};
    static const char* const keys[] = {"Path", "PATH", "Key", "k", "", "a b"};
    const std::string defaults[] = {"", "d", "default", std::string(100, 'd')};
    for (uint32_t seed : FuzzSeeds(5000, 60)) {
        FuzzRandom random(seed);
        const std::string content = RandomIniFile(random, sections, 5, keys, 6);
        const ScratchFile file(folder.PathOf("random" + std::to_string(seed) + ".ini"), content);
        uint32_t step = 0;
        for (const char* section : sections)
            for (const char* key : keys)
                ExpectReadsAsPlatform(file, content.size(), section, key, random.Pick(defaults), FuzzWhere(seed, step++));
        if (HasFailure())
            break;
    }
}

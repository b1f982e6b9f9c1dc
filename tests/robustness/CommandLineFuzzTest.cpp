// Random command lines through the tool's real start-up: CIdentifierApp's Run parses them,
// OnParameters sets the quiet flag, and a recording InitInstance ends the run before any
// window exists. A few lines of plain std::string code, written from the switch rules, are
// the reference.

#include "app/FixedTexts.h"
#include "app/IdentifierApp.h"
#include "app/ProcessObjects.h"
#include "foundation/RegistryKey.h"
#include "tests/robustness/Fuzz.h"
#include "tests/support/RecordingRoutes.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/ToolState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using Switches = std::vector<std::pair<std::string, std::string>>;

const char kStoredIdentifier[] = "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}";
const int kStopped = 0x5EED;   // what the recording InitInstance returns instead of a window

// The tool's application with InitInstance replaced: it writes down what start-up has
// parsed and decided so far, and ends the run.
class CRecordingApp : public CIdentifierApp {
public:
    CRecordingApp() : CIdentifierApp(g_identifierStore, g_suiteFolder) {}

    Switches parameters;
    int flags = -1;
    int initCalls = 0;

protected:
    int InitInstance() override
    {
        ++initCalls;
        for (uint32_t i = 0; i < m_parameters.GetCount(); ++i) {
            const CKeyValue* parameter = m_parameters.GetAt(i);
            parameters.emplace_back(parameter->key.data ? parameter->key.data : "<no block>",
                                    parameter->value.data ? parameter->value.data : "<no block>");
        }
        flags = mainWindow.flags;
        return kStopped;
    }
};

// The reference: the C locale's white space, strtok's words, one '=' splitting a word.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsBlank(text[first]))
        ++first;
    while (end > first && IsBlank(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

std::vector<std::string> Words(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : text + delimiters[0]) {
        if (delimiters.find(c) == std::string::npos) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

Switches ExpectedSwitches(const std::string& commandLine)
{
    Switches switches;
    for (const std::string& token : Words(commandLine, "/|")) {
        const std::string word = Trimmed(token);
        const std::vector<std::string> parts = Words(word, "=");
        if (parts.size() == 2)
            switches.emplace_back(Upper(Trimmed(parts[0])), Trimmed(parts[1]));
        else
            switches.emplace_back(Upper(word), "");
    }
    return switches;
}

bool ExpectedQuiet(const Switches& switches)
{
    for (const auto& s : switches)
        if (Upper(s.first) == "QUIET")
            return true;
    return false;
}

// One piece of a command line: separators, '=', blanks, the quiet switch in its good and
// bad spellings, random bytes from 1 to 255, or a word thousands of bytes long.
std::string RandomPiece(FuzzRandom& random)
{
    static const char* const quietSpellings[] = {"QUIET", "quiet", "QuIeT", " QUIET ", "\tquiet\v", "QUIET=NO",
                                                 "QUIET=", "quiet = x", "QUIETLY", "-QUIET", "QUIET=a=b",
                                                 "QUIET X", "=QUIET", "Q UIET"};
    switch (random.Below(9)) {
    case 0: return random.From("/|", random.Between(1, 4));
    case 1: return random.From("=", random.Between(1, 3));
    case 2: return random.From(" \t\n\v\f\r", random.Between(1, 5));
    case 3: return random.From("/|", 1) + random.Pick(quietSpellings) + random.From("/|", random.Below(2));
    case 4: return random.From("abcXYZ019 =\t", random.Between(1, 12));
    case 5: return random.OneIn(6) ? random.NonZero(random.Between(1000, 6000))
                                   : random.From("kv= \t", random.Between(1000, 6000));
    default: return random.NonZero(random.Between(1, 20));
    }
}

std::string RandomCommandLine(FuzzRandom& random)
{
    std::string line = random.OneIn(2) ? "/" : "";
    for (uint32_t i = 0, pieces = random.Below(12); i < pieces; ++i)
        line += RandomPiece(random);
    return line;
}

// The first bytes of a text for a failure message, with the bytes that are not printable
// ASCII as \xNN.
std::string Shown(const std::string& text)
{
    std::string shown = "\"";
    for (unsigned char c : text.substr(0, 60)) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02X", c);
        shown += escaped;
    }
    return shown + (text.size() > 60 ? "...\" (" + std::to_string(text.size()) + " bytes)" : "\"");
}

// Runs one command line and checks what start-up made of it.
void ExpectParsedAsTheRules(const std::string& commandLine, const std::string& where)
{
    RecordingRoutes routes;
    CRecordingApp app;
    EXPECT_EQ(app.Run("Vortag under test", commandLine.c_str(), 0, ""), kStopped) << where;
    ASSERT_EQ(app.initCalls, 1) << where;
    EXPECT_TRUE(routes.Boxes().empty()) << where << ": " << routes.Boxes().front().text;

    const Switches expected = ExpectedSwitches(commandLine);
    ASSERT_EQ(app.parameters.size(), expected.size()) << where << ", command line " << Shown(commandLine);
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& got = app.parameters[i];
        EXPECT_TRUE(got == expected[i]) << where << ", switch " << i << ": key " << Shown(got.first) << " value "
                                        << Shown(got.second) << ", expected key " << Shown(expected[i].first)
                                        << " value " << Shown(expected[i].second);
        EXPECT_EQ(got.first.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << where;
    }
    EXPECT_EQ(app.flags, ExpectedQuiet(expected) ? CIdentifierMainWnd::kQuietFlag : 0)
        << where << ", command line " << Shown(commandLine);
}

}  // namespace

// Building the application builds its dialog object, which reads the stored identifier: one
// is stored first so that nothing is generated, and it must be there unchanged at the end.
TEST(CommandLineFuzz, RandomCommandLinesGiveTheSwitchesAndQuietFlagOfTheRules)
{
    const ScratchKey parent(HKEY_CLASSES_ROOT, e2e::IdentifierParentKey(), kRegistryView32);
    const ScratchKey identifier(HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32);
    identifier.SetRaw("", REG_SZ, kStoredIdentifier, sizeof kStoredIdentifier);

    for (uint32_t seed : FuzzSeeds(3000, 40)) {
        FuzzRandom random(seed);
        for (uint32_t step = 0; step < 50 && !HasFailure(); ++step)
            ExpectParsedAsTheRules(RandomCommandLine(random), FuzzWhere(seed, step));
        if (HasFailure())
            break;
    }

    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(identifier.ReadRaw("", type, stored));
    EXPECT_EQ(stored, std::string(kStoredIdentifier, sizeof kStoredIdentifier));
}

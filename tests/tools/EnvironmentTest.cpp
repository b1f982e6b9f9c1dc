#include "tools/driver/Environment.h"

#include "foundation/Win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Entries(const std::string& block)
{
    std::vector<std::string> entries;
    for (const char* entry = block.data(); *entry; entry += std::strlen(entry) + 1)
        entries.emplace_back(entry);
    return entries;
}

bool Holds(const std::vector<std::string>& entries, const std::string& entry)
{
    for (const std::string& held : entries)
        if (held == entry)
            return true;
    return false;
}

// Sets variables of the test's own environment for as long as it lives.
class OwnVariables {
public:
    explicit OwnVariables(const e2e::Variables& variables) : m_variables(variables)
    {
        for (const auto& variable : m_variables)
            SetEnvironmentVariableA(variable.first.c_str(), variable.second.c_str());
    }
    ~OwnVariables()
    {
        for (const auto& variable : m_variables)
            SetEnvironmentVariableA(variable.first.c_str(), nullptr);
    }

private:
    e2e::Variables m_variables;
};

}  // namespace

TEST(EnvironmentBlockTest, GivenVariableReplacesTheInheritedOneWhateverItsCase)
{
    const OwnVariables own({{"E2E_CASE", "inherited"}, {"LC_ALL", "C"}});
    const std::vector<std::string> entries = Entries(e2e::EnvironmentBlock({{"e2e_case", "given"}}));
    EXPECT_TRUE(Holds(entries, "e2e_case=given"));
    EXPECT_FALSE(Holds(entries, "E2E_CASE=inherited"));
    EXPECT_TRUE(Holds(entries, "LC_ALL=C"));   // no locale given: the inherited one stays
}

TEST(EnvironmentBlockTest, GivenLocaleVariableDropsEveryInheritedOne)
{
    const OwnVariables own({{"E2E_CASE", "inherited"}, {"LC_ALL", "C"}, {"LC_MESSAGES", "C"}, {"LANGUAGE", "en"}});
    const std::string block = e2e::EnvironmentBlock({{"LANG", "es_ES.UTF-8"}});
    const std::vector<std::string> entries = Entries(block);
    EXPECT_TRUE(Holds(entries, "LANG=es_ES.UTF-8"));
    EXPECT_TRUE(Holds(entries, "E2E_CASE=inherited"));
    for (const char* dropped : {"LC_ALL=C", "LC_MESSAGES=C", "LANGUAGE=en"})
        EXPECT_FALSE(Holds(entries, dropped)) << dropped;
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block.substr(block.size() - 2), std::string(2, '\0'));
}

TEST(EnvironmentBlockTest, LocaleVariablesAreLangLanguageAndLcOnly)
{
    for (const char* name : {"LANG", "lang", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_CTYPE"})
        EXPECT_TRUE(e2e::NamesLocale(name)) << name;
    for (const char* name : {"LANGX", "PATH", "LC", "XLC_ALL", ""})
        EXPECT_FALSE(e2e::NamesLocale(name)) << name;
}

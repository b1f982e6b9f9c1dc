// Random sequences of CStr operations checked against a plain model: the text as a
// std::string (or none, for a string without a block) and the block size that the growth
// rule gives.

#include "foundation/Str.h"
#include "tests/robustness/Fuzz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const char kWhiteSpace[] = " \t\n\v\f\r";

// The block size that a Reserve of n characters asks for.
uint32_t BlockFor(uint32_t n) { return (n & ~63u) + 65u; }

// What the string should hold.
struct Model {
    bool hasBlock = true;
    std::string text;
    uint32_t capacity = 65;

    // A Reserve of n characters: the block grows to the rule's size, never shrinks.
    void Grow(uint32_t n)
    {
        capacity = std::max(capacity, BlockFor(n));
        hasBlock = true;
    }
};

uint32_t Size(const std::string& text) { return static_cast<uint32_t>(text.size()); }

bool IsWhite(char c) { return c != '\0' && std::strchr(kWhiteSpace, c) != nullptr; }

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The text with some of its ASCII letters in the other case.
std::string FlipSomeCase(FuzzRandom& random, std::string text)
{
    for (char& c : text)
        if (((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && random.OneIn(2))
            c = static_cast<char>(c ^ 0x20);
    return text;
}

// Texts around the 64-character steps, from a few alphabets: few letters (so that patterns
// recur), letters with every white-space byte and bytes above 127 that are not white space,
// or any byte but zero; sometimes wrapped in white space.
std::string RandomText(FuzzRandom& random)
{
    static const uint32_t ranges[][2] = {{0, 10}, {60, 70}, {125, 135}, {1000, 1100}};
    const auto& range = random.Pick(ranges);
    const size_t length = random.Between(range[0], range[1]);
    std::string text;
    switch (random.Below(3)) {
    case 0: text = random.From("aAbB", length); break;
    case 1: text = random.From(std::string("xYz ") + kWhiteSpace + "\x85\xA0\xE9\xFF", length); break;
    default: text = random.NonZero(length); break;
    }
    if (random.OneIn(3))
        text = random.From(kWhiteSpace, random.Below(4)) + text + random.From(kWhiteSpace, random.Below(4));
    return text;
}

// A pattern that is likely to occur: a piece of the text with its case shuffled, or a short
// run of the letters the few-letter texts are made of.
std::string RandomPattern(FuzzRandom& random, const std::string& text)
{
    if (!text.empty() && random.OneIn(2)) {
        const uint32_t start = random.Below(Size(text));
        return FlipSomeCase(random, text.substr(start, random.Between(1, 3)));
    }
    return random.From("ab", random.Between(1, 3));
}

// A bound for Mid: inside the text, at its end, past it, or the largest number.
uint32_t RandomBound(FuzzRandom& random, uint32_t length)
{
    switch (random.Below(4)) {
    case 0: return random.Below(length + 1);
    case 1: return length == 0 ? 0 : length - random.Below(2);
    case 2: return length + random.Below(5);
    default: return 0xFFFFFFFFu;
    }
}

// The position of the n-th occurrence (overlaps allowed), folding ASCII letters; the text's
// length when there is none.
uint32_t NthOccurrence(const std::string& text, const std::string& pattern, uint32_t n)
{
    const std::string haystack = Upper(text);
    const std::string needle = Upper(pattern);
    uint32_t seen = 0;
    for (size_t at = haystack.find(needle); n > 0 && at != std::string::npos; at = haystack.find(needle, at + 1))
        if (++seen == n)
            return static_cast<uint32_t>(at);
    return Size(text);
}

std::string RemovedAll(std::string text, const std::string& pattern)
{
    if (!pattern.empty())
        for (size_t at = text.find(pattern); at != std::string::npos; at = text.find(pattern))
            text.erase(at, pattern.size());
    return text;
}

// The string agrees with the model; with `zeroTail` every byte after the terminator is zero.
void ExpectAgrees(const CStr& s, const Model& model, bool zeroTail, const std::string& where)
{
    if (!model.hasBlock) {
        EXPECT_EQ(s.data, nullptr) << where;
        EXPECT_EQ(s.capacity, 0u) << where;
        EXPECT_EQ(s.GetLength(), 0u) << where;
        return;
    }
    ASSERT_NE(s.data, nullptr) << where;
    ASSERT_EQ(s.capacity, model.capacity) << where << ", text length " << model.text.size();
    const size_t length = strnlen(s.data, s.capacity);
    ASSERT_LT(length, s.capacity) << where << ": no terminator in the block";
    EXPECT_EQ(std::string(s.data, length), model.text) << where;
    EXPECT_EQ(s.GetLength(), model.text.size()) << where;
    if (zeroTail) {
        EXPECT_EQ(std::count(s.data + length, s.data + s.capacity, '\0'), static_cast<long>(s.capacity - length))
            << where << ": bytes left behind the terminator";
    }
}

// A string for the model, with a block or (sometimes) released.
void Make(FuzzRandom& random, CStr& s, Model& model)
{
    model = Model();
    model.text = RandomText(random);
    model.Grow(Size(model.text));
    s = model.text.c_str();
    if (random.OneIn(6)) {
        s.Release();
        model = {false, "", 0};
    }
}

// Named in failure messages by their number in the switch below.
const char* const kOperations[] = {"assign",    "assign null", "assign string", "append", "concat",  "mid",
                                   "trim left", "trim right",  "remove all",    "upper",  "find",    "equality",
                                   "format",    "release",     "copy",          "reserve"};

class StrSequence {
public:
    explicit StrSequence(uint32_t seed) : m_seed(seed), m_random(seed) {}

    void Run(uint32_t steps)
    {
        Make(m_random, m_s, m_model);
        for (m_step = 0; m_step < steps && !::testing::Test::HasFailure(); ++m_step)
            Step();
    }

private:
    std::string Where() const { return FuzzWhere(m_seed, m_step) + ", " + kOperations[m_operation]; }
    std::string Text() const { return m_model.hasBlock ? m_model.text : std::string(); }

    void Step()
    {
        CStr other;
        Model otherModel;
        Make(m_random, other, otherModel);
        const bool self = m_random.OneIn(5);
        const CStr& argument = self ? m_s : other;
        const Model& argumentModel = self ? m_model : otherModel;
        bool zeroTail = true;

        m_operation = m_random.Below(sizeof kOperations / sizeof kOperations[0]);
        switch (m_operation) {
        case 0:
            m_s = otherModel.text.c_str();
            m_model.text = otherModel.text;
            m_model.Grow(Size(otherModel.text));
            break;
        case 1:   // a null text keeps the block, or the lack of one
            m_s = static_cast<const char*>(nullptr);
            m_model.text.clear();
            break;
        case 2:
            m_s = argument;
            zeroTail = !self;   // assigning the string to itself does nothing at all
            if (!self) {
                m_model.text = otherModel.hasBlock ? otherModel.text : "";
                if (otherModel.hasBlock)
                    m_model.Grow(Size(otherModel.text));
            }
            break;
        case 3: {
            const std::string joined = Text() + (argumentModel.hasBlock ? argumentModel.text : "");
            m_s.Append(argument);
            m_model.text = joined;
            m_model.Grow(Size(joined));
            break;
        }
        case 4: CheckConcat(argument, argumentModel); return;
        case 5: CheckMid(); return;
        case 6:
            m_s.TrimLeft();
            m_model.text.erase(0, std::find_if_not(m_model.text.begin(), m_model.text.end(), IsWhite) - m_model.text.begin());
            zeroTail = false;
            break;
        case 7:
            m_s.TrimRight();
            m_model.text.erase(std::find_if_not(m_model.text.rbegin(), m_model.text.rend(), IsWhite).base() - m_model.text.begin());
            zeroTail = false;
            break;
        case 8: CheckRemoveAll(); zeroTail = false; break;
        case 9:
            m_s.MakeUpper();
            m_model.text = Upper(m_model.text);
            zeroTail = false;
            break;
        case 10: CheckFindNoCase(); return;
        case 11: CheckEquality(argument, argumentModel); return;
        case 12: zeroTail = FormatWithOwnData(otherModel.text); break;
        case 13:
            m_s.Release();
            m_model = {false, "", 0};
            break;
        case 14: {
            const CStr copy(m_s);
            ExpectAgrees(copy, {true, Text(), BlockFor(Size(Text()))}, true, Where() + " (copy)");
            return;
        }
        default: {
            const uint32_t n = m_random.Below(1100);
            m_s.Reserve(n);
            m_model.text.clear();
            m_model.Grow(n);
            break;
        }
        }
        ExpectAgrees(m_s, m_model, zeroTail, Where());
    }

    // A new string; the string itself stays as it was.
    void CheckConcat(const CStr& other, const Model& otherModel)
    {
        const char* before = m_s.data;
        const CStr joined = m_s.Concat(other);
        const std::string expected = Text() + (otherModel.hasBlock ? otherModel.text : "");
        // Both texts present: room for both and a terminator was asked for.
        const uint32_t n = Size(expected) + (m_model.hasBlock && otherModel.hasBlock ? 1 : 0);
        ExpectAgrees(joined, {true, expected, BlockFor(n)}, true, Where() + " (concat)");
        EXPECT_EQ(m_s.data, before) << Where();
        ExpectAgrees(m_s, m_model, false, Where());
    }

    void CheckMid()
    {
        const uint32_t length = Size(Text());
        const uint32_t first = RandomBound(m_random, length);
        const uint32_t last = m_random.OneIn(2) ? RandomBound(m_random, length) : first + m_random.Below(8);
        std::string expected;
        if (first < length && std::min(last, length - 1) >= first)
            expected = Text().substr(first, std::min(last, length - 1) - first + 1);
        const CStr part = m_s.Mid(first, last);
        ExpectAgrees(part, {true, expected, BlockFor(Size(expected))}, true,
                     Where() + " (mid " + std::to_string(first) + ".." + std::to_string(last) + ")");
        ExpectAgrees(m_s, m_model, false, Where());
    }

    // Patterns from the text, from the few letters, empty, without a block (taken as the
    // empty text), or the string itself.
    void CheckRemoveAll()
    {
        CStr pattern(RandomPattern(m_random, Text()).c_str());
        std::string expected;
        switch (m_random.Below(5)) {
        case 0:
            m_s.RemoveAll(m_s);
            expected = RemovedAll(Text(), Text());
            break;
        case 1:
            pattern.Release();
            m_s.RemoveAll(pattern);
            expected = Text();
            break;
        case 2:
            pattern = "";
            // fall through
        default:
            m_s.RemoveAll(pattern);
            expected = RemovedAll(Text(), pattern.data);
            break;
        }
        if (m_model.hasBlock)
            m_model.text = expected;
    }

    // Patterns from the text or the few letters, without a block, or the string itself.
    void CheckFindNoCase()
    {
        CStr pattern(RandomPattern(m_random, Text()).c_str());
        if (m_random.OneIn(8))
            pattern.Release();
        const uint32_t n = m_random.Below(5);
        const uint32_t expected = pattern.data ? NthOccurrence(Text(), pattern.data, n) : Size(Text());
        EXPECT_EQ(m_s.FindNoCase(pattern, n), expected) << Where() << " (n = " << n << ")";
        if (!m_model.text.empty()) {
            EXPECT_EQ(m_s.FindNoCase(m_s, n), n == 1 ? 0 : Size(m_model.text)) << Where() << " (itself, n = " << n << ")";
        }
        ExpectAgrees(m_s, m_model, false, Where());
    }

    // Equal after folding ASCII letters, and only when both strings have a block.
    void CheckEquality(const CStr& other, const Model& otherModel)
    {
        const std::string text = m_random.OneIn(2) ? FlipSomeCase(m_random, Text()) : otherModel.text;
        const int equal = m_model.hasBlock && Upper(text) == Upper(m_model.text);
        EXPECT_EQ(m_s.EqualsNoCase(text.c_str()), equal) << Where();
        EXPECT_EQ(m_s.DiffersNoCase(text.c_str()), 1 - equal) << Where();
        EXPECT_EQ(m_s.EqualsNoCase(static_cast<const char*>(nullptr)), m_model.hasBlock && m_model.text.empty())
            << Where();
        const int equalOther = m_model.hasBlock && otherModel.hasBlock && Upper(otherModel.text) == Upper(m_model.text);
        EXPECT_EQ(m_s.EqualsNoCase(other), equalOther) << Where();
    }

    // The string's own data among the arguments, as callers append a word to a string.
    // False when nothing was formatted.
    bool FormatWithOwnData(const std::string& other)
    {
        const std::string own = Text();
        const char* data = m_s.data ? m_s.data : "";   // printf has no text for null
        const int number = static_cast<int>(m_random.Below(2000)) - 1000;
        const uint32_t width = m_random.Below(140);
        std::string expected;
        switch (m_random.Below(6)) {
        case 0:
            m_s.Format("%s%s ", data, other.c_str());
            expected = own + other + " ";
            break;
        case 1:
            m_s.Format("[%s|%d|%s]", data, number, data);
            expected = "[" + own + "|" + std::to_string(number) + "|" + own + "]";
            break;
        case 2:
            m_s.Format("%.*s", static_cast<int>(width), data);
            expected = own.substr(0, width);
            break;
        case 3:
            m_s.Format("%-*s.", static_cast<int>(width), data);
            expected = own + std::string(width > own.size() ? width - own.size() : 0, ' ') + ".";
            break;
        case 4:
            m_s.Format("%s%s%s", other.c_str(), data, data);
            expected = other + own + own;
            break;
        default:   // a null format changes nothing, not even a missing block
            m_s.Format(nullptr);
            return false;
        }
        m_model.text = expected;
        m_model.Grow(Size(expected));
        return true;
    }

    uint32_t m_seed;
    uint32_t m_step = 0;
    uint32_t m_operation = 0;
    FuzzRandom m_random;
    CStr m_s;
    Model m_model;
};

}  // namespace

TEST(StrFuzz, RandomOperationSequencesAgreeWithTheModel)
{
    for (uint32_t seed : FuzzSeeds(1000, 400)) {
        StrSequence(seed).Run(60);
        if (HasFailure())
            break;
    }
}

#include "base/Utf8.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <string_view>

namespace glyfora::base {
namespace {

const std::string R = "\xEF\xBF\xBD"; // U+FFFD

TEST(Utf8, Latin1BecomesUtf8) {
    EXPECT_EQ(Latin1ToUtf8("a\xE4\xFF\x80"), "a\xC3\xA4\xC3\xBF\xC2\x80");
    EXPECT_EQ(Latin1ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
}

// Each policy over the same inputs: what Replace makes of them, and whether the rejecting
// policies let them through unchanged.
TEST(Utf8, EachPolicyTreatsBadSequencesItsOwnWay) {
    const struct {
        std::string Input;
        std::string Replaced;
        bool Wellformed;
        bool XmlText;
    } cases[] = {
        {"plain", "plain", true, true},
        {"", "", true, true},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", true,
         true},
        {"\xC0\xAF", R + R, false, false},                 // overlong "/"
        {"\xE0\x80\xAF", R + R + R, false, false},         // overlong, three bytes
        {"\xED\xA0\x80", R + R + R, false, false},         // a surrogate
        {"\xF4\x90\x80\x80", R + R + R + R, false, false}, // beyond U+10FFFF
        {"\xE2\x82", R, false, false},                     // cut short at the end
        {"\xE2\x82x", R + "x", false, false},              // cut short before ASCII
        {"\x80", R, false, false},                         // lone continuation byte
        {"\xFE\xFF", R + R, false, false},
        {"a\tb\nc\rd\x7F", "a\tb\nc\rd\x7F", true, true}, // what XML allows of the controls
        {std::string("\0", 1), std::string("\0", 1), true, false},
        {"\x1B[0m", "\x1B[0m", true, false},
        {"\xEF\xBF\xBE", "\xEF\xBF\xBE", true, false}, // U+FFFE
        {"\xEF\xBF\xBF", "\xEF\xBF\xBF", true, false}, // U+FFFF
        {R, R, true, true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Input);
        EXPECT_EQ(ValidUtf8(test.Input, Utf8Policy::Replace), test.Replaced);
        EXPECT_EQ(ValidUtf8(test.Input, Utf8Policy::Reject),
                  test.Wellformed ? std::optional(test.Input) : std::nullopt);
        EXPECT_EQ(ValidUtf8(test.Input, Utf8Policy::RejectNonXml),
                  test.XmlText ? std::optional(test.Input) : std::nullopt);
    }
}

TEST(Utf8, DecodingResumesAfterTheMaximalBadSubpart) {
    const std::string text = "\xE2\x82x\xF0\x9F\x98\x80\xC3";
    const struct {
        std::optional<char32_t> Code;
        std::size_t Next;
    } steps[] = {{std::nullopt, 2}, {U'x', 3}, {U'\U0001F600', 7}, {std::nullopt, 8}};
    std::size_t position = 0;
    for (const auto& step : steps) {
        EXPECT_EQ(NextCodePoint(text, position, Utf8Policy::Reject), step.Code);
        EXPECT_EQ(position, step.Next);
    }
}

TEST(Utf8, Utf16RoundTripAndUnpairedSurrogates) {
    const std::string text = "A\xC3\x96\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::u16string units = Utf8ToUtf16(text, Utf8Policy::Replace).value();
    EXPECT_EQ(units, (std::u16string{u'A', 0xD6, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf8ToUtf16(text, Utf8Policy::Reject), units);
    EXPECT_EQ(Utf16ToUtf8(units), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xFF", Utf8Policy::Replace), std::u16string{0xFFFD});
    EXPECT_EQ(Utf8ToUtf16("a\xFF", Utf8Policy::Reject), std::nullopt);
}

TEST(AsciiCase, OnlyTheLettersAToZFold) {
    const struct {
        char In, Out;
    } cases[] = {{'A', 'a'}, {'Z', 'z'}, {'M', 'm'},       {'a', 'a'},
                 {'z', 'z'}, {'@', '@'}, {'[', '['},       {'`', '`'},
                 {'{', '{'}, {'0', '0'}, {'\xC3', '\xC3'}, {'\x96', '\x96'}};
    for (const auto& c : cases) {
        EXPECT_EQ(AsciiLower(c.In), c.Out) << static_cast<int>(c.In);
    }
}

TEST(AsciiCase, TextsCompareWithoutRegardToAsciiCase) {
    const struct {
        std::string_view A, B;
        bool Equal;
    } cases[] = {
        {"Font", "fONT", true},
        {"ImportTTF", "importttf", true},
        {"TF", "tf", true},
        {"", "", true},
        {"tf", "tf ", false},
        {"fnt", "fmt", false},
        {"\xC3\x96l", "\xC3\x96L", true}, // "Öl": the letter after the umlaut folds
        {"\xC3\x96", "\xC3\xB6", false},  // "Ö" and "ö" are not ASCII
        {"@", "`", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualIgnoringAsciiCase(c.A, c.B), c.Equal) << c.A << " / " << c.B;
        EXPECT_EQ(EqualIgnoringAsciiCase(c.B, c.A), c.Equal) << c.B << " / " << c.A;
    }
}

} // namespace
} // namespace glyfora::base

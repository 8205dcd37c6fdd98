#include "platform/IniFile.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace glyfora::platform {
namespace {

TEST(IniFile, LeadingIntegersTakeSignAndDigitsAndSaturate) {
    struct Case {
        const char* Text;
        std::int64_t Value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+260", 260},
        {"12abc", 12},
        {"-5 px", -5},
        {" 7", 0}, // values come trimmed; a blank is no digit
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"9223372036854775808", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"-99999999999999999999999", std::numeric_limits<std::int64_t>::min()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingInteger(c.Text), c.Value) << '"' << c.Text << '"';
    }
}

TEST(IniFile, GroupsAndKeysAreFoundWhateverTheirLetterCase) {
    const std::vector<IniGroup> groups = ParseIni("; comment\r\n"
                                                  "Stray = 1\n"
                                                  "  [First]\n"
                                                  "\tKey  =  value with blanks \t\r\n"
                                                  "Bare\n"
                                                  "[second\n"
                                                  "n=-3\n"
                                                  "[FIRST]\n"
                                                  "key = later\n");
    ASSERT_EQ(groups.size(), 3U);
    const IniGroup* first = FindIniGroup(groups, "first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Keys.size(), 2U) << "the stray key before any group belongs to none";
    ASSERT_NE(FindIniValue(first, "KEY"), nullptr);
    EXPECT_EQ(*FindIniValue(first, "KEY"), "value with blanks \t") << "the first group wins";
    std::string text;
    ReadIniString(first, "key", text);
    EXPECT_EQ(text, "value with blanks");
    ASSERT_NE(FindIniValue(first, "bare"), nullptr);
    EXPECT_EQ(*FindIniValue(first, "bare"), "");
    std::int64_t number = 5;
    ReadIniInteger(FindIniGroup(groups, "Second"), "N", number);
    EXPECT_EQ(number, -3) << "a group without its closing bracket still counts";
    ReadIniInteger(FindIniGroup(groups, "Third"), "N", number);
    EXPECT_EQ(number, -3) << "a missing group leaves the value";
    std::optional<std::int64_t> unset;
    ReadIniInteger(first, "missing", unset);
    EXPECT_EQ(unset, std::nullopt);
}

TEST(IniFile, ByteOrderMarkMeansUtf8AndElseLatin1) {
    struct Case {
        std::string Bytes;
        std::string Value;
    };
    const Case cases[] = {
        {"[G]\nK = \xE4", "\xC3\xA4"},                   // Latin-1
        {"\xEF\xBB\xBF[G]\nK = \xC3\xA4", "\xC3\xA4"},   // UTF-8
        {"\xEF\xBB\xBF[G]\nK = \xE4x", "\xEF\xBF\xBDx"}, // ill-formed UTF-8 replaced
    };
    for (const Case& c : cases) {
        std::string value;
        ReadIniString(FindIniGroup(ParseIni(c.Bytes), "G"), "K", value);
        EXPECT_EQ(value, c.Value);
    }
}

TEST(IniFile, FlagsCountEveryNumberButZeroAsChecked) {
    const std::vector<IniGroup> groups = ParseIni("[G]\nA = 0\nB = 7\nC = -1 px\nD = x\n");
    const IniGroup* group = FindIniGroup(groups, "G");
    const std::pair<const char*, bool> cases[] = {
        {"A", false}, {"B", true}, {"C", true}, {"D", false}};
    for (const auto& [key, checked] : cases) {
        bool value = !checked;
        ReadIniFlag(group, key, value);
        EXPECT_EQ(value, checked) << key;
    }
}

TEST(IniFile, WriterPutsMarkEmptyLineAndCrLfAndCutsStringsAtLineBreaks) {
    IniWriter writer;
    writer.Group("G");
    writer.Integer("N", -12);
    writer.Flag("On", true);
    writer.Flag("Off", false);
    writer.String("S", "one\r\n[Other]\r\nline");
    writer.String("Bad", "\xFF");
    const std::vector<std::uint8_t> bytes = writer.Bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "\xEF\xBB\xBF\r\n[G]\r\nN = -12\r\nOn = 1\r\nOff = 0\r\nS = one\r\n"
              "Bad = \xEF\xBF\xBD\r\n");
}

} // namespace
} // namespace glyfora::platform

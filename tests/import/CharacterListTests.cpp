#include "ScratchFolder.h"
#include "import/CharacterList.h"

#include <gtest/gtest.h>

namespace glyfora::fontimport {
namespace {

using Codes = std::vector<std::uint32_t>;

TEST(CharacterListTest, ReadsCodesAndRangesInEveryNotation) {
    const struct {
        const char* List;
        Codes Expected;
    } cases[] = {
        {"65", {65}},
        {"0x41, U+0042,u+43 ,0X44", {65, 66, 67, 68}},
        {"48-50", {48, 49, 50}},
        {"0x30 - U+0032", {48, 49, 50}}, // blanks around the dash
        {"70-70 65", {65, 70}},          // one-code range; blanks separate too
        {"66-67, 65-66", {65, 66, 67}},  // overlaps counted once, sorted
        {"  , ,\t", {}},                 // separators only: nothing
        {"", {}},
        {"U+10FFFF", {0x10FFFF}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCharacterList(c.List);
        ASSERT_TRUE(parsed) << c.List << ": " << parsed.Error;
        EXPECT_EQ(*parsed.Value, c.Expected) << c.List;
    }
}

TEST(CharacterListTest, RefusesWhatIsNotACodeWithTheItemInTheMessage) {
    const struct {
        const char* List;
        const char* Mentions;
    } cases[] = {
        {"32-126, abc", "\"abc\" is not a character code"},
        {"0x", "\"0x\" is not"},
        {"U+", "\"U+\" is not"},
        {"12a", "\"12a\" is not"},
        {"0xZZ", "\"0xZZ\" is not"},
        {"65-", "ends where a code should follow"},
        {"-5", "\"-5\" is not"},
        {"126-32", "the range \"126-32\" ends before it starts"},
        {"0x110000", "beyond the last Unicode code"},
        {"99999999999999999999999", "beyond the last Unicode code"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCharacterList(c.List);
        ASSERT_FALSE(parsed) << c.List;
        EXPECT_NE(parsed.Error.find(c.Mentions), std::string::npos) << parsed.Error;
    }
}

TEST(CharacterListTest, TextGivesItsDistinctCharactersWithoutLineBreaks) {
    const struct {
        std::string Text;
        Codes Expected;
    } cases[] = {
        {"baab", {'a', 'b'}},
        {"a\nb\r\nc\rd", {'a', 'b', 'c', 'd'}},
        {"\xEF\xBB\xBFx", {'x'}}, // a leading byte-order mark is no character
        {"a\xC2\x85"
         "b\xE2\x80\xA8\xE2\x80\xA9",
         {'a', 'b'}}, // NEL, line and paragraph separators
        {"\t \xD0\x96\xE4\xB8\xAD\xF0\x9F\x98\x80", {'\t', ' ', 0x416, 0x4E2D, 0x1F600}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const auto codes = CharactersOfText(c.Text);
        ASSERT_TRUE(codes) << codes.Error;
        EXPECT_EQ(*codes.Value, c.Expected) << c.Text;
    }
}

TEST(CharacterListTest, TextThatIsNotUtf8IsRefusedWithItsPlace) {
    const struct {
        std::string Text;
        const char* Mentions;
    } cases[] = {
        {"Gr\xFC\xDF", "byte 3 (line 1)"},   // Latin-1
        {"ok\nok\n\xC3", "byte 7 (line 3)"}, // cut short
        {"\xED\xA0\x80", "byte 1 (line 1)"}, // a surrogate
        {"\xC0\xAF", "byte 1 (line 1)"},     // overlong
    };
    for (const auto& c : cases) {
        const auto codes = CharactersOfText(c.Text);
        ASSERT_FALSE(codes);
        EXPECT_NE(codes.Error.find("not UTF-8"), std::string::npos) << codes.Error;
        EXPECT_NE(codes.Error.find(c.Mentions), std::string::npos) << codes.Error;
    }
}

TEST(CharacterListTest, FormattedListsReadBackAndMergeAsUnions) {
    const Codes codes{32, 33, 34, 65, 0x416, 0x417, 0x1F600};
    const std::string list = FormatCharacterList(codes);
    EXPECT_EQ(list, "U+0020-U+0022, U+0041, U+0416-U+0417, U+1F600");
    EXPECT_EQ(*ParseCharacterList(list).Value, codes);
    EXPECT_EQ(FormatCharacterList({}), "");
    EXPECT_EQ(MergeCharacterLists(Codes{1, 3, 5}, Codes{2, 3, 6}), (Codes{1, 2, 3, 5, 6}));
}

TEST(CharacterListTest, FileErrorsNameTheFile) {
    const auto missing = ReadCharacterFile("/nonexistent/folder/game-text.txt");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.Error.find("game-text.txt"), std::string::npos) << missing.Error;
}

TEST(CharacterListTest, TextFilesAddTheirCharactersToTheList) {
    const testsupport::ScratchFolder folder;
    folder.Write("abc.txt", "cab\nba");
    folder.Write("digits.txt", "\xEF\xBB\xBF"
                               "0 1\r\n");
    folder.Write("broken.txt", "ok\xFF");
    const std::string abc = folder.File("abc.txt");
    const std::string digits = folder.File("digits.txt");
    const std::string broken = folder.File("broken.txt");
    const struct {
        const char* List;
        std::vector<std::string> Files;
        const char* Expected; // the list, or the start of the error
        bool Ok;
    } cases[] = {
        {"", {abc}, "U+0061-U+0063", true},
        {"65-66, 0x62", {abc}, "U+0041-U+0042, U+0061-U+0063", true},
        {"32-126", {abc, digits}, "U+0020-U+007E", true},
        {"0x10", {digits, abc}, "U+0010, U+0020, U+0030-U+0031, U+0061-U+0063", true},
        {"66, 65", {}, "U+0041-U+0042", true}, // no file: the list as FormatCharacterList writes it
        {"", {}, "", true},
        {"65, x", {abc}, "The character list cannot be read: ", false},
        {"65", {abc, broken}, "\"", false}, // the file named first
        {"65", {folder.File("missing.txt")}, "", false},
    };
    for (const auto& c : cases) {
        const base::Result<std::string> merged = AddCharacterFilesToList(c.List, c.Files);
        ASSERT_EQ(merged.Ok(), c.Ok) << c.List << ": " << merged.Error;
        if (c.Ok) {
            EXPECT_EQ(*merged.Value, c.Expected) << c.List;
        } else {
            EXPECT_EQ(merged.Error.rfind(c.Expected, 0), 0U) << merged.Error;
            EXPECT_FALSE(merged.Error.empty());
        }
    }
}

TEST(CharacterListTest, FilesAddTheirCharactersToCodes) {
    const testsupport::ScratchFolder folder;
    folder.Write("abc.txt", "cab\nba");
    const std::string abc = folder.File("abc.txt");
    const struct {
        std::vector<std::uint32_t> Codes;
        std::vector<std::string> Files;
        std::vector<std::uint32_t> Expected;
    } cases[] = {
        {{}, {abc}, {0x61, 0x62, 0x63}},
        {{0x41, 0x62}, {abc, abc}, {0x41, 0x61, 0x62, 0x63}},
        {{0x41}, {}, {0x41}},
    };
    for (const auto& c : cases) {
        const auto added = AddCharacterFiles(c.Codes, c.Files);
        ASSERT_TRUE(added.Ok()) << added.Error;
        EXPECT_EQ(*added.Value, c.Expected);
    }
    const auto missing = AddCharacterFiles({0x41}, {{folder.File("missing.txt")}});
    EXPECT_FALSE(missing.Ok());
    EXPECT_NE(missing.Error.find("missing.txt"), std::string::npos) << missing.Error;
}

} // namespace
} // namespace glyfora::fontimport

#include "platform/Environment.h"
#include "platform/Folders.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace glyfora::platform {
namespace {

Environment MakeEnvironment(std::vector<std::pair<std::string, std::string>> variables) {
    Environment environment;
    for (auto& [name, value] : variables) {
        environment.Variables[name] = value;
    }
    return environment;
}

TEST(SettingsFolderTest, AppDataFirstThenXdgConfigHomeThenHome) {
    const struct {
        std::vector<std::pair<std::string, std::string>> Variables;
        const char* Expected;
    } cases[] = {
        {{{"APPDATA", "/roaming"}, {"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}},
         "/roaming/Zorbatek/Glyfora/"},
        {{{"APPDATA", "/roaming/"}}, "/roaming/Zorbatek/Glyfora/"},
        {{{"APPDATA", ""}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/Zorbatek/Glyfora/"},
        {{{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/home/u"}}, "/cfg/Zorbatek/Glyfora/"},
        {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}},
         "/home/u/.config/Zorbatek/Glyfora/"},
        {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u/"}}, "/home/u/.config/Zorbatek/Glyfora/"},
        {{{"HOME", "/home/u"}}, "/home/u/.config/Zorbatek/Glyfora/"},
        {{}, ""},
        {{{"HOME", ""}}, ""},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(SettingsFolder(MakeEnvironment(test.Variables)), test.Expected)
            << test.Expected;
    }
}

TEST(XdgDataHomeTest, VariableWhenAbsoluteElseHomeLocalShare) {
    const struct {
        std::vector<std::pair<std::string, std::string>> Variables;
        const char* Expected;
    } cases[] = {
        {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data"},
        {{{"XDG_DATA_HOME", "/data//"}}, "/data"},
        {{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}}, "/home/u/.local/share"},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share"},
        {{{"XDG_DATA_HOME", "/"}}, "/"},
        {{}, ""},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(XdgDataHome(MakeEnvironment(test.Variables)), test.Expected) << test.Expected;
    }
}

TEST(ProcessFolders, TemporaryFolderExistsAndEndsInSlash) {
    const std::string folder = TemporaryFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ProcessFolders, RunningProgramIsThisTestProgram) {
    const std::string program = RunningProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(program));
    EXPECT_EQ(std::filesystem::path(program).filename(), "glyfora_platform_tests");
}

TEST(ProcessEnvironmentTest, SeesVariablesOfTheProcess) {
    ASSERT_EQ(::setenv("GLYFORA_ENVIRONMENT_PROBE", "a=b", 1), 0);
    ASSERT_EQ(::setenv("GLYFORA_ENVIRONMENT_EMPTY", "", 1), 0);
    const Environment environment = ProcessEnvironment();
    EXPECT_EQ(EnvironmentValue(environment, "GLYFORA_ENVIRONMENT_PROBE"), "a=b");
    EXPECT_EQ(EnvironmentValue(environment, "GLYFORA_ENVIRONMENT_EMPTY"), "");
    EXPECT_EQ(NonEmptyEnvironmentValue(environment, "GLYFORA_ENVIRONMENT_EMPTY"), std::nullopt);
    EXPECT_EQ(EnvironmentValue(environment, "GLYFORA_ENVIRONMENT_UNSET"), std::nullopt);
    ::unsetenv("GLYFORA_ENVIRONMENT_PROBE");
    ::unsetenv("GLYFORA_ENVIRONMENT_EMPTY");
}

TEST(TextEncodingTest, Latin1BecomesUtf8) {
    EXPECT_EQ(Latin1ToUtf8("a\xE4\xFF\x80"), "a\xC3\xA4\xC3\xBF\xC2\x80");
    EXPECT_EQ(Latin1ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
}

TEST(TextEncodingTest, MalformedUtf8IsReplacedPerBadSequence) {
    const std::string R = "\xEF\xBF\xBD";
    const struct {
        std::string Input;
        std::string Expected;
    } cases[] = {
        {"plain", "plain"},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {"\xC0\xAF", R + R},                         // overlong "/"
        {"\xE0\x80\xAF", R + R + R},                 // overlong, three bytes
        {"\xED\xA0\x80", R + R + R},                 // a surrogate
        {"\xF4\x90\x80\x80", R + R + R + R},         // beyond U+10FFFF
        {"\xE2\x82", R},                             // cut short at the end
        {"\xE2\x82x", R + "x"},                      // cut short before ASCII
        {"\x80", R},                                 // lone continuation byte
        {"\xFE\xFF", R + R},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ValidUtf8(test.Input), test.Expected) << test.Input;
    }
}

TEST(TextEncodingTest, Utf16RoundTripAndUnpairedSurrogates) {
    const std::string text = "A\xC3\x96\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::u16string units = Utf8ToUtf16(text);
    EXPECT_EQ(units, (std::u16string{u'A', 0xD6, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(Utf16ToUtf8(units), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, u'x'}), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"), std::u16string{0xFFFD});
}

} // namespace
} // namespace glyfora::platform

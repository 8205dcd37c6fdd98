#include "platform/Environment.h"
#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
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
        EXPECT_EQ(SettingsFolder(MakeEnvironment(test.Variables)), test.Expected) << test.Expected;
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

} // namespace
} // namespace glyfora::platform

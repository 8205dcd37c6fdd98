#include "platform/FileTypes.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::platform {
namespace {

TEST(FileTypeTable, DefiningAgainReplacesTheRecordAndVerbsKeepTheirOrder) {
    FileTypeTable table;
    EXPECT_FALSE(AddFileTypeVerb(table, "tf", "open", "Open", "x")) << "not defined yet";
    DefineFileType(table, "tf", "Old", "Old type", "old.ico");
    ASSERT_TRUE(AddFileTypeVerb(table, "tf", "open", "Open", "a"));
    ASSERT_TRUE(AddFileTypeVerb(table, "tf", "print", "Print", "b"));
    ASSERT_EQ(table.Types.at("tf").Verbs.size(), 2U);
    EXPECT_EQ(table.Types.at("tf").Verbs[1].Name, "print");

    DefineFileType(table, "tf", "Glyfora", "Typeface", "icon");
    const FileType& record = table.Types.at("tf");
    EXPECT_EQ(record.ProgId, "Glyfora");
    EXPECT_EQ(record.Extension, "tf");
    EXPECT_TRUE(record.Verbs.empty());
}

TEST(FileTypeCommands, OpenCommandQuotesTheProgramPath) {
    EXPECT_EQ(MakeOpenCommand("C:\\Program Files\\Glyfora.exe"),
              "\"C:\\Program Files\\Glyfora.exe\" \"%1\"");
}

TEST(FileTypeCheckSwitch, FlagOrVariableTurnsItOff) {
    const struct {
        std::vector<std::string> Args;
        std::optional<std::string> Variable;
        bool Enabled;
    } cases[] = {
        {{}, std::nullopt, true},
        {{"font.tf"}, std::nullopt, true},
        {{"--no-file-type-check"}, std::nullopt, false},
        {{"font.tf", "--no-file-type-check"}, std::nullopt, false},
        {{}, "1", false},
        {{}, "0", true},
        {{}, "", true},
        {{}, "yes", true},
        {{"--no-file-type-checks"}, std::nullopt, true},
    };
    for (const auto& test : cases) {
        Environment environment;
        if (test.Variable.has_value()) {
            environment.Variables["GLYFORA_NO_FILE_TYPE_CHECK"] = *test.Variable;
        }
        EXPECT_EQ(FileTypeCheckEnabled(test.Args, environment), test.Enabled)
            << test.Args.size() << " " << test.Variable.value_or("(unset)");
    }
}

} // namespace
} // namespace glyfora::platform

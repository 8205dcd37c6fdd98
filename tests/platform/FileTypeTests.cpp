#include "platform/FileTypes.h"

#include <array>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace glyfora::platform {
namespace {

constexpr const char* Oeffnen = "Öffnen";

// Every key under HKEY_CLASSES_ROOT with its default value (nullopt when it has none), and
// whether any key holds a named value.
struct RegistryPicture {
    std::map<std::string, std::optional<std::string>> Keys;
    bool NamedValues = false;
};

RegistryPicture Picture(const MemoryRegistry& registry) {
    RegistryPicture picture;
    for (const MemoryRegistry::Key& key : registry.Keys()) {
        EXPECT_EQ(key.Root, HkeyClassesRoot);
        auto& entry = picture.Keys[key.Path];
        for (const auto& [name, value] : key.Values) {
            if (!name.empty()) {
                picture.NamedValues = true;
            }
        }
        if (const auto value = registry.QueryValue(key.Root, key.Path, ""); value.has_value()) {
            entry = ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\" + key.Path + "\\", false);
        }
    }
    return picture;
}

// A registry that refuses to create some keys, as a locked-down machine might.
class RefusingRegistry final : public RegistryBackend {
public:
    explicit RefusingRegistry(std::set<std::string> refused) : refused_(std::move(refused)) {}

    bool CreateKey(std::uint32_t root, std::string_view subKey) override {
        std::string key(subKey);
        if (!key.empty() && key.back() == '\\') {
            key.pop_back();
        }
        return refused_.count(key) == 0 && inner_.CreateKey(root, subKey);
    }
    bool SetValue(std::uint32_t root, std::string_view subKey, std::string_view name,
                  const RegistryValue& value) override {
        return inner_.SetValue(root, subKey, name, value);
    }
    std::optional<RegistryValue> QueryValue(std::uint32_t root, std::string_view subKey,
                                            std::string_view name) const override {
        return inner_.QueryValue(root, subKey, name);
    }
    const MemoryRegistry& Inner() const { return inner_; }

private:
    std::set<std::string> refused_;
    MemoryRegistry inner_;
};

FileTypeTable TypefaceTable(const std::string& programPath) {
    FileTypeTable table;
    DefineFileType(table, "tf", "Glyfora", "Typeface", MakeIconLocation(programPath));
    EXPECT_TRUE(AddFileTypeVerb(table, "tf", "open", Oeffnen, MakeOpenCommand(programPath)));
    return table;
}

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

TEST(FileTypeCommands, OpenCommandAndIconQuoteTheProgramPath) {
    EXPECT_EQ(MakeOpenCommand("C:\\Program Files\\Glyfora.exe"),
              "\"C:\\Program Files\\Glyfora.exe\" \"%1\"");
    EXPECT_EQ(MakeIconLocation("/opt/glyfora"), "\"/opt/glyfora\",1");
}

TEST(WriteFileTypeToRegistry, WritesExactlyTheKeysAndDefaultValuesOfTheType) {
    MemoryRegistry registry;
    const std::string program = "C:\\Tools\\Glyfora.exe";
    ASSERT_TRUE(WriteFileType(TypefaceTable(program), "tf", registry));
    const RegistryPicture picture = Picture(registry);
    const std::map<std::string, std::optional<std::string>> expected = {
        {".tf", "Glyfora"},
        {"Glyfora", "Typeface"},
        {"Glyfora\\DefaultIcon", "\"C:\\Tools\\Glyfora.exe\",1"},
        {"Glyfora\\shell", std::nullopt},
        {"Glyfora\\shell\\open", Oeffnen},
        {"Glyfora\\shell\\open\\command", "\"C:\\Tools\\Glyfora.exe\" \"%1\""},
    };
    EXPECT_EQ(picture.Keys, expected);
    EXPECT_FALSE(picture.NamedValues);
    // Stored the registry's way: UTF-16 with terminator.
    const auto verb = registry.QueryValue(HkeyClassesRoot, "Glyfora\\shell\\open", "");
    ASSERT_TRUE(verb.has_value());
    EXPECT_EQ(verb->Type, RegistryType::String);
    EXPECT_EQ(verb->Data.size(), 14U);
}

TEST(WriteFileTypeToRegistry, UnknownExtensionWritesNothing) {
    MemoryRegistry registry;
    EXPECT_FALSE(WriteFileType(TypefaceTable("/g"), "png", registry));
    EXPECT_EQ(registry.ChangeCount(), 0U);
}

TEST(WriteFileTypeToRegistry, RefusedKeysSkipWhatBelongsInThem) {
    {
        // The type's own key refused: only the extension's key is written.
        RefusingRegistry registry({"Glyfora"});
        EXPECT_FALSE(WriteFileType(TypefaceTable("/g"), "tf", registry));
        const std::map<std::string, std::optional<std::string>> expected = {{".tf", "Glyfora"}};
        EXPECT_EQ(Picture(registry.Inner()).Keys, expected);
    }
    {
        // The icon's key refused: everything else is still written.
        RefusingRegistry registry({"Glyfora\\DefaultIcon", ".tf"});
        EXPECT_FALSE(WriteFileType(TypefaceTable("/g"), "tf", registry));
        const std::map<std::string, std::optional<std::string>> expected = {
            {"Glyfora", "Typeface"},
            {"Glyfora\\shell", std::nullopt},
            {"Glyfora\\shell\\open", Oeffnen},
            {"Glyfora\\shell\\open\\command", "\"/g\" \"%1\""},
        };
        EXPECT_EQ(Picture(registry.Inner()).Keys, expected);
    }
    {
        // A verb's command key refused: the verb keeps its display name.
        RefusingRegistry registry({"Glyfora\\shell\\open\\command"});
        EXPECT_FALSE(WriteFileType(TypefaceTable("/g"), "tf", registry));
        const auto keys = Picture(registry.Inner()).Keys;
        EXPECT_EQ(keys.count("Glyfora\\shell\\open\\command"), 0U);
        EXPECT_EQ(keys.at("Glyfora\\shell\\open"), Oeffnen);
    }
}

TEST(FileTypeCheck, FirstStartRegistersThenSameProgramLeavesItAlone) {
    MemoryRegistry registry;
    RegistryFileTypeStore store(registry);
    FileTypeTable table;
    const std::string program = "C:\\Glyfora\\Glyfora.exe";

    const FileTypeCheckResult first = CheckFileTypeRegistration(store, table, program);
    EXPECT_TRUE(first.Rewritten);
    EXPECT_EQ(first.Reason, "");
    EXPECT_EQ(
        ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\", false),
        "\"C:\\Glyfora\\Glyfora.exe\" \"%1\"");
    EXPECT_EQ(Picture(registry).Keys.size(), 6U);

    const std::size_t changes = registry.ChangeCount();
    const FileTypeCheckResult second = CheckFileTypeRegistration(store, table, program);
    EXPECT_FALSE(second.Rewritten);
    EXPECT_EQ(registry.ChangeCount(), changes) << "no registry write on the second start";
}

TEST(FileTypeCheck, CommandDifferingInCaseOrProgramMovedIsRewritten) {
    MemoryRegistry registry;
    RegistryFileTypeStore store(registry);
    FileTypeTable table;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command"));
    ASSERT_TRUE(WriteRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\",
                                    "\"c:\\glyfora\\glyfora.exe\" \"%1\""));
    EXPECT_TRUE(CheckFileTypeRegistration(store, table, "C:\\Glyfora\\Glyfora.exe").Rewritten);
    EXPECT_FALSE(CheckFileTypeRegistration(store, table, "C:\\Glyfora\\Glyfora.exe").Rewritten);

    EXPECT_TRUE(CheckFileTypeRegistration(store, table, "D:\\Moved\\Glyfora.exe").Rewritten);
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\DefaultIcon\\", false),
              "\"D:\\Moved\\Glyfora.exe\",1");
    EXPECT_EQ(table.Types.at("tf").Verbs.size(), 1U) << "the record is defined afresh";
}

TEST(FileTypeCheck, CommandOfAnotherTypeIsRewritten) {
    MemoryRegistry registry;
    RegistryFileTypeStore store(registry);
    FileTypeTable table;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command"));
    const std::array<std::uint8_t, 4> number = {1, 0, 0, 0};
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\",
                                   RegistryType::DWord, number, -1));
    EXPECT_TRUE(CheckFileTypeRegistration(store, table, "/g").Rewritten);
    EXPECT_EQ(
        ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\", false),
        "\"/g\" \"%1\"");
}

TEST(FileTypeCheck, FailedWritesAreRewrittenButReported) {
    RefusingRegistry registry({"Glyfora"});
    RegistryFileTypeStore store(registry);
    FileTypeTable table;
    const FileTypeCheckResult result = CheckFileTypeRegistration(store, table, "/g");
    EXPECT_TRUE(result.Rewritten);
    EXPECT_NE(result.Reason, "");
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

#include "platform/Registry.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::platform {
namespace {

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(RegistryRoots, NamesInAnyCaseMapToTheirRootKeys) {
    const struct {
        const char* Name;
        std::optional<std::uint32_t> Root;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", 0x80000000},    {"hkey_classes_root", 0x80000000},
        {"Hkey_Current_User", 0x80000001},    {"HKEY_LOCAL_MACHINE", 0x80000002},
        {"HKEY_USERS", 0x80000003},           {"HKEY_PERFORMANCE_DATA", 0x80000004},
        {"HKEY_CURRENT_CONFIG", 0x80000005},  {"hkey_dyn_data", 0x80000006},
        {"HKEY_NOWHERE", std::nullopt},       {"", std::nullopt},
        {"HKEY_CLASSES_ROOT ", std::nullopt}, {"HKCR", std::nullopt},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(RegistryRootFromName(test.Name), test.Root) << test.Name;
    }
    EXPECT_EQ(RegistryRootName(0x80000002), "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(RegistryRootName(0x80000007), "");
}

TEST(RegistryPaths, ValuePathsSplitAtFirstAndLastBackslash) {
    const struct {
        const char* Path;
        std::uint32_t Root;
        const char* SubKey;
        const char* ValueName;
    } cases[] = {
        {"HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\", 0x80000000,
         "Glyfora\\shell\\open\\command", ""},
        // Without the final "\" the same text names the value "command" of the open key.
        {"HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command", 0x80000000, "Glyfora\\shell\\open",
         "command"},
        {"hkey_classes_root\\.tf\\", 0x80000000, ".tf", ""},
        {"HKEY_CURRENT_USER\\Name", 0x80000001, "", "Name"},
        {"HKEY_USERS\\", 0x80000003, "", ""},
    };
    for (const auto& test : cases) {
        const auto path = SplitValuePath(test.Path);
        ASSERT_TRUE(path.has_value()) << test.Path;
        EXPECT_EQ(path->Root, test.Root) << test.Path;
        EXPECT_EQ(path->SubKey, test.SubKey) << test.Path;
        EXPECT_EQ(path->ValueName, test.ValueName) << test.Path;
    }
    EXPECT_FALSE(SplitValuePath("HKEY_NOWHERE\\Glyfora\\").has_value());
    EXPECT_FALSE(SplitValuePath("HKEY_CLASSES_ROOT").has_value());
    EXPECT_FALSE(SplitValuePath("").has_value());
}

TEST(RegistryPaths, KeyPathsAlwaysEndInBackslash) {
    const struct {
        const char* Path;
        std::uint32_t Root;
        const char* SubKey;
    } cases[] = {
        {"HKEY_CLASSES_ROOT\\Glyfora\\shell\\open", 0x80000000, "Glyfora\\shell\\open\\"},
        {"HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\", 0x80000000, "Glyfora\\shell\\open\\"},
        {"hkey_local_machine\\Software", 0x80000002, "Software\\"},
        {"HKEY_CLASSES_ROOT\\", 0x80000000, "\\"},
    };
    for (const auto& test : cases) {
        const auto path = SplitKeyPath(test.Path);
        ASSERT_TRUE(path.has_value()) << test.Path;
        EXPECT_EQ(path->Root, test.Root) << test.Path;
        EXPECT_EQ(path->SubKey, test.SubKey) << test.Path;
    }
    EXPECT_FALSE(SplitKeyPath("HKEY_SOMEWHERE\\Glyfora").has_value());
    EXPECT_FALSE(SplitKeyPath("Glyfora").has_value());
}

TEST(RegistryKeys, CreatingAnExistingKeySucceedsAndChangesNothing) {
    MemoryRegistry registry;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open"));
    // Parents come into being with the key.
    ASSERT_EQ(registry.Keys().size(), 3U);
    EXPECT_EQ(registry.Keys()[0].Path, "Glyfora");
    EXPECT_EQ(registry.Keys()[2].Path, "Glyfora\\shell\\open");
    ASSERT_TRUE(WriteRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\", "Typeface"));

    const std::size_t changes = registry.ChangeCount();
    EXPECT_TRUE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\Glyfora\\"));
    EXPECT_TRUE(CreateRegistryKey(registry, "hkey_classes_root\\GLYFORA\\Shell"));
    EXPECT_EQ(registry.ChangeCount(), changes);
    EXPECT_EQ(registry.Keys().size(), 3U);
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\", false), "Typeface");
}

TEST(RegistryKeys, BadPathsAreRefused) {
    MemoryRegistry registry;
    EXPECT_FALSE(CreateRegistryKey(registry, "HKEY_NOWHERE\\Glyfora\\"));
    EXPECT_FALSE(CreateRegistryKey(registry, "Glyfora"));
    EXPECT_FALSE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\a\\\\b\\"));
    EXPECT_FALSE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\\\a"));
    EXPECT_EQ(registry.ChangeCount(), 0U);
    EXPECT_FALSE(WriteRegistryString(registry, "HKEY_NOWHERE\\Glyfora\\", "x"));
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_NOWHERE\\Glyfora\\", false), "");
}

TEST(RegistryValues, SizeRulesOfWriteRegistryValue) {
    MemoryRegistry registry;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CURRENT_USER\\Test"));
    const auto stored = [&](const char* name) {
        return registry.QueryValue(0x80000001, "Test", name);
    };
    const std::vector<std::uint8_t> text = Utf16Bytes(u"\u00D6ffnen"); // no terminator
    ASSERT_TRUE(
        WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\s", RegistryType::String, text, -1));
    ASSERT_TRUE(stored("s").has_value());
    EXPECT_EQ(stored("s")->Data.size(), (6U + 1U) * 2U);
    EXPECT_EQ(stored("s")->Data[12], 0);
    EXPECT_EQ(stored("s")->Data[0], 0xD6);

    // A string with its terminator inside the data stops there.
    const std::vector<std::uint8_t> early = Utf16Bytes(std::u16string(u"ab\0cd", 5));
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\e", RegistryType::String,
                                   early, -1));
    EXPECT_EQ(stored("e")->Data.size(), 6U);

    const std::array<std::uint8_t, 9> number = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\d", RegistryType::DWord,
                                   number, -1));
    EXPECT_EQ(stored("d")->Data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\q", RegistryType::QWord,
                                   number, -1));
    EXPECT_EQ(stored("q")->Data.size(), 8U);
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\b", RegistryType::Binary,
                                   number, -1));
    EXPECT_EQ(stored("b")->Data.size(), 9U);
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\n", RegistryType::Binary,
                                   number, 2));
    EXPECT_EQ(stored("n")->Data, (std::vector<std::uint8_t>{1, 2}));

    // Sizes that would read past the data are refused.
    EXPECT_FALSE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\x", RegistryType::Binary,
                                    number, 10));
    EXPECT_FALSE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\x", RegistryType::Binary,
                                    number, -2));
    EXPECT_FALSE(WriteRegistryValue(registry, "HKEY_CURRENT_USER\\Test\\x", RegistryType::QWord,
                                    std::span(number).first(4), -1));
    EXPECT_FALSE(stored("x").has_value());
    // A value of a key that does not exist is not written.
    EXPECT_FALSE(WriteRegistryString(registry, "HKEY_CURRENT_USER\\Missing\\", "x"));
}

TEST(RegistryValues, ReadingStringsByPathAndType) {
    MemoryRegistry registry;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command"));
    ASSERT_TRUE(WriteRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\",
                                    "\"/a b\" \"%1\""));
    EXPECT_EQ(
        ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command\\", false),
        "\"/a b\" \"%1\"");
    EXPECT_EQ(
        ReadRegistryString(registry, "hkey_classes_root\\glyfora\\SHELL\\open\\command\\", false),
        "\"/a b\" \"%1\"");
    // Without the final "\" this is the value "command" of the open key, which does not exist.
    EXPECT_EQ(
        ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\shell\\open\\command", false),
        "");

    const std::array<std::uint8_t, 4> number = {0x41, 0, 0x42, 0};
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CLASSES_ROOT\\Glyfora\\d", RegistryType::DWord,
                                   number, -1));
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\d", false), "")
        << "another type reads as empty";
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CLASSES_ROOT\\Glyfora\\odd",
                                   RegistryType::String, std::span(number).first(3), 3));
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\odd", false), "A")
        << "a trailing half unit is dropped";

    const std::vector<std::uint8_t> expandable = Utf16Bytes(u"%HOME%/x %UNSET% 100%");
    ASSERT_TRUE(WriteRegistryValue(registry, "HKEY_CLASSES_ROOT\\Glyfora\\e",
                                   RegistryType::ExpandString, expandable, -1));
    Environment environment;
    environment.Variables["HOME"] = "/home/ada";
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\e", true, environment),
              "/home/ada/x %UNSET% 100%");
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CLASSES_ROOT\\Glyfora\\e", false, environment),
              "%HOME%/x %UNSET% 100%");
}

TEST(RegistryValues, NamesAreCaseInsensitiveAndRewritingReplaces) {
    MemoryRegistry registry;
    ASSERT_TRUE(CreateRegistryKey(registry, "HKEY_CURRENT_USER\\K"));
    ASSERT_TRUE(WriteRegistryString(registry, "HKEY_CURRENT_USER\\K\\Name", "one"));
    ASSERT_TRUE(WriteRegistryString(registry, "HKEY_CURRENT_USER\\k\\NAME", "two"));
    EXPECT_EQ(ReadRegistryString(registry, "HKEY_CURRENT_USER\\K\\name", false), "two");
    ASSERT_EQ(registry.Keys().size(), 1U);
    EXPECT_EQ(registry.Keys()[0].Values.size(), 1U);
}

} // namespace
} // namespace glyfora::platform

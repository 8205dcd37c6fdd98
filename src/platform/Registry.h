#pragma once

#include "platform/Environment.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glyfora::platform {

// The registry layer addresses keys and values by one text path: root name, "\", sub-key path,
// "\", value name. It works over a RegistryBackend, so the same code drives a real registry or the
// in-memory one the tests inspect.

struct RegistryRootEntry {
    std::string_view Name;
    std::uint32_t Root = 0;
};

inline constexpr std::array<RegistryRootEntry, 7> RegistryRoots = {{
    {"HKEY_CLASSES_ROOT", 0x80000000},
    {"HKEY_CURRENT_USER", 0x80000001},
    {"HKEY_LOCAL_MACHINE", 0x80000002},
    {"HKEY_USERS", 0x80000003},
    {"HKEY_PERFORMANCE_DATA", 0x80000004},
    {"HKEY_CURRENT_CONFIG", 0x80000005},
    {"HKEY_DYN_DATA", 0x80000006},
}};

inline constexpr std::uint32_t HkeyClassesRoot = 0x80000000;

// The root key of a root name in any letter case; nullopt for a name not in the table.
[[nodiscard]] std::optional<std::uint32_t> RegistryRootFromName(std::string_view name);

// The root name of a root key, empty for an unknown one.
[[nodiscard]] std::string_view RegistryRootName(std::uint32_t root);

struct RegistryValuePath {
    std::uint32_t Root = 0;
    std::string SubKey;    // text between the first and the last "\"
    std::string ValueName; // text after the last "\"; empty = the key's default value
};

// Splits a value path. nullopt when the path has no "\" or its root name is unknown.
[[nodiscard]] std::optional<RegistryValuePath> SplitValuePath(std::string_view path);

struct RegistryKeyPath {
    std::uint32_t Root = 0;
    std::string SubKey; // everything after the root's "\", always ending in "\"
};

// Splits a key path, appending "\" when it does not end in one. nullopt when the path has no "\"
// or its root name is unknown.
[[nodiscard]] std::optional<RegistryKeyPath> SplitKeyPath(std::string_view path);

enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,       // REG_SZ: UTF-16LE with terminator
    ExpandString = 2, // REG_EXPAND_SZ
    Binary = 3,
    DWord = 4,
    QWord = 11,
};

struct RegistryValue {
    RegistryType Type = RegistryType::None;
    std::vector<std::uint8_t> Data;
};

// The few primitive operations a registry offers. Sub-keys are "\"-separated, a trailing "\"
// allowed; key and value names compare without regard to letter case.
class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    // Creates the key and any missing parents; true when it exists afterwards.
    [[nodiscard]] virtual bool CreateKey(std::uint32_t root, std::string_view subKey) = 0;
    // Sets a value of an existing key; false when the key does not exist or cannot be written.
    [[nodiscard]] virtual bool SetValue(std::uint32_t root, std::string_view subKey,
                                        std::string_view name, const RegistryValue& value) = 0;
    // A value of an existing key; nullopt when key or value is missing.
    [[nodiscard]] virtual std::optional<RegistryValue>
    QueryValue(std::uint32_t root, std::string_view subKey, std::string_view name) const = 0;
};

// A registry kept in memory, for tests and for platforms without one.
class MemoryRegistry final : public RegistryBackend {
public:
    struct Key {
        std::uint32_t Root = 0;
        std::string Path; // without a trailing "\"; empty for the root itself
        std::vector<std::pair<std::string, RegistryValue>> Values;
    };

    [[nodiscard]] bool CreateKey(std::uint32_t root, std::string_view subKey) override;
    [[nodiscard]] bool SetValue(std::uint32_t root, std::string_view subKey, std::string_view name,
                                const RegistryValue& value) override;
    [[nodiscard]] std::optional<RegistryValue>
    QueryValue(std::uint32_t root, std::string_view subKey, std::string_view name) const override;

    // Keys in the order they were created; a root is listed only once a value was set on it.
    [[nodiscard]] const std::vector<Key>& Keys() const { return keys_; }
    // Number of keys created and values set so far: a check that writes nothing leaves it alone.
    [[nodiscard]] std::size_t ChangeCount() const { return changes_; }

private:
    [[nodiscard]] Key* FindKey(std::uint32_t root, std::string_view path);
    [[nodiscard]] const Key* FindKey(std::uint32_t root, std::string_view path) const;

    std::vector<Key> keys_;
    std::size_t changes_ = 0;
};

// Creates the key named by keyPath; true when it exists afterwards (created or already there).
[[nodiscard]] bool CreateRegistryKey(RegistryBackend& registry, std::string_view keyPath);

// Sets the value named by valuePath from the first size bytes of data. A size of -1 means: for a
// string (UTF-16LE units, up to the first 0 unit or the end of data) its units plus terminator,
// (characters + 1) × 2 bytes; 4 for DWord; 8 for QWord; all of data for any other type. Refused:
// a size beyond data, a size below -1, an unknown root, a key that does not exist.
[[nodiscard]] bool WriteRegistryValue(RegistryBackend& registry, std::string_view valuePath,
                                      RegistryType type, std::span<const std::uint8_t> data,
                                      std::int64_t size);

// WriteRegistryValue with a REG_SZ holding the UTF-8 text as UTF-16 and size -1.
[[nodiscard]] bool WriteRegistryString(RegistryBackend& registry, std::string_view valuePath,
                                       std::string_view text);

// The value as UTF-8 when it is a REG_SZ or REG_EXPAND_SZ, up to its first 0 character; an expand
// string has its %NAME% references replaced from the environment when expand is set. Any failure,
// a missing value or another type gives the empty string.
[[nodiscard]] std::string ReadRegistryString(const RegistryBackend& registry,
                                             std::string_view valuePath, bool expand,
                                             const Environment& environment = {});

// %NAME% references replaced by the variables' values; unknown names are left as written.
[[nodiscard]] std::string ExpandEnvironmentReferences(std::string_view text,
                                                      const Environment& environment);

} // namespace glyfora::platform

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glyfora::platform {

// One "key = value" line of a settings file.
struct IniKey {
    std::string Name;
    std::string Value;
};

// A "[name]" group and the keys that follow it.
struct IniGroup {
    std::string Name;
    std::vector<IniKey> Keys;
};

// Reads a settings file's bytes as a hand-edited file may hold them: UTF-8 when they start with a
// byte-order mark, else Latin-1 (either way the text becomes valid UTF-8); LF or CR LF; comments
// (";"), blank lines and blanks around names and values; a line without "=" is a key whose value
// is empty; lines before the first group belong to none and are dropped.
[[nodiscard]] std::vector<IniGroup> ParseIni(std::string_view bytes);

// The first group or key of that name, letter case ignored; null when there is none.
[[nodiscard]] const IniGroup* FindIniGroup(const std::vector<IniGroup>& groups,
                                           std::string_view name);
[[nodiscard]] const std::string* FindIniValue(const IniGroup* group, std::string_view key);

// An optional sign and the decimal digits that follow it; 0 without digits; clamped to 64 bits.
[[nodiscard]] std::int64_t ParseLeadingInteger(std::string_view text);

// The value of key in group, read by the rules above; a missing key leaves the value as it is.
void ReadIniInteger(const IniGroup* group, std::string_view key, std::int64_t& value);
void ReadIniInteger(const IniGroup* group, std::string_view key,
                    std::optional<std::int64_t>& value);
// A check box: 0 or 1 in the file; any other number counts as checked.
void ReadIniFlag(const IniGroup* group, std::string_view key, bool& value);
// The text without the blanks around it.
void ReadIniString(const IniGroup* group, std::string_view key, std::string& value);

// Writes a settings file: UTF-8 with byte-order mark, CR LF, an empty first line, "[group]" and
// "key = value" lines in the order they are given.
class IniWriter {
public:
    IniWriter();

    void Group(std::string_view name);
    void Integer(std::string_view key, std::int64_t value);
    // A check box: 1 or 0.
    void Flag(std::string_view key, bool value);
    // A string is cut at its first line break, which the format cannot hold, and made valid
    // UTF-8.
    void String(std::string_view key, std::string_view value);

    [[nodiscard]] std::vector<std::uint8_t> Bytes() const;

private:
    void Line(std::string_view key, std::string_view value);

    std::string text_;
};

} // namespace glyfora::platform

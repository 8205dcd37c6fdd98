#include "platform/IniFile.h"

#include "base/Utf8.h"

#include <limits>

namespace glyfora::platform {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string DecodeText(std::string_view bytes) {
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        return base::ValidUtf8(bytes.substr(ByteOrderMark.size()), base::Utf8Policy::Replace)
            .value();
    }
    return base::Latin1ToUtf8(bytes);
}

} // namespace

std::vector<IniGroup> ParseIni(std::string_view bytes) {
    const std::string decoded = DecodeText(bytes);
    std::string_view text = decoded;
    std::vector<IniGroup> groups;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = TrimLeft(line);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            groups.push_back(
                {std::string(line.substr(1, close == std::string_view::npos ? std::string_view::npos
                                                                            : close - 1)),
                 {}});
            continue;
        }
        if (groups.empty()) {
            continue;
        }
        const std::size_t equals = line.find('=');
        IniKey key;
        key.Name = std::string(TrimRight(line.substr(0, equals)));
        if (equals != std::string_view::npos) {
            key.Value = std::string(TrimLeft(line.substr(equals + 1)));
        }
        groups.back().Keys.push_back(std::move(key));
    }
    return groups;
}

const IniGroup* FindIniGroup(const std::vector<IniGroup>& groups, std::string_view name) {
    for (const IniGroup& group : groups) {
        if (base::EqualIgnoringAsciiCase(group.Name, name)) {
            return &group;
        }
    }
    return nullptr;
}

const std::string* FindIniValue(const IniGroup* group, std::string_view key) {
    if (group == nullptr) {
        return nullptr;
    }
    for (const IniKey& entry : group->Keys) {
        if (base::EqualIgnoringAsciiCase(entry.Name, key)) {
            return &entry.Value;
        }
    }
    return nullptr;
}

std::int64_t ParseLeadingInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::uint64_t ceiling =
        negative ? std::uint64_t{1} << 63 : std::uint64_t{std::numeric_limits<std::int64_t>::max()};
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (ceiling - digit) / 10) {
            magnitude = ceiling;
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) {
        return static_cast<std::int64_t>(magnitude);
    }
    return magnitude == ceiling ? std::numeric_limits<std::int64_t>::min()
                                : -static_cast<std::int64_t>(magnitude);
}

void ReadIniInteger(const IniGroup* group, std::string_view key, std::int64_t& value) {
    if (const std::string* text = FindIniValue(group, key)) {
        value = ParseLeadingInteger(*text);
    }
}

void ReadIniInteger(const IniGroup* group, std::string_view key,
                    std::optional<std::int64_t>& value) {
    if (const std::string* text = FindIniValue(group, key)) {
        value = ParseLeadingInteger(*text);
    }
}

void ReadIniFlag(const IniGroup* group, std::string_view key, bool& value) {
    if (const std::string* text = FindIniValue(group, key)) {
        value = ParseLeadingInteger(*text) != 0;
    }
}

void ReadIniString(const IniGroup* group, std::string_view key, std::string& value) {
    if (const std::string* text = FindIniValue(group, key)) {
        value = std::string(TrimRight(TrimLeft(*text)));
    }
}

IniWriter::IniWriter() {
    text_ = ByteOrderMark;
    text_ += "\r\n";
}

void IniWriter::Group(std::string_view name) {
    text_ += '[';
    text_ += name;
    text_ += "]\r\n";
}

void IniWriter::Integer(std::string_view key, std::int64_t value) {
    Line(key, std::to_string(value));
}

void IniWriter::Flag(std::string_view key, bool value) {
    Integer(key, value ? 1 : 0);
}

void IniWriter::String(std::string_view key, std::string_view value) {
    // A line break would end the value and turn the rest into lines of their own.
    Line(key,
         base::ValidUtf8(value.substr(0, value.find_first_of("\r\n")), base::Utf8Policy::Replace)
             .value());
}

std::vector<std::uint8_t> IniWriter::Bytes() const {
    return {text_.begin(), text_.end()};
}

void IniWriter::Line(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += " = ";
    text_ += value;
    text_ += "\r\n";
}

} // namespace glyfora::platform

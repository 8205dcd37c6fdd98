#include "platform/ConfigurationFile.h"

#include "base/AtomicFile.h"
#include "base/FileReading.h"
#include "base/Utf8.h"
#include "document/FamilyList.h"

#include <filesystem>
#include <limits>
#include <system_error>

namespace glyfora::platform {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view FileName = "Configuration.ini";

// A settings file is a few hundred bytes; anything this large is not one.
constexpr std::uintmax_t MaxFileSize = 1 << 20;

// Which keys a window group has.
enum WindowKeys : unsigned { Position = 1, Size = 2, Hidden = 4 };

struct IniKey {
    std::string Name;
    std::string Value;
};

struct IniGroup {
    std::string Name;
    std::vector<IniKey> Keys;
};

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

// Splits the text into groups of keys. Lines before the first group belong to none and are dropped.
std::vector<IniGroup> ParseIni(std::string_view text) {
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
        // A line without "=" is a key whose value is empty.
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

const IniGroup* FindGroup(const std::vector<IniGroup>& groups, std::string_view name) {
    for (const IniGroup& group : groups) {
        if (base::EqualIgnoringAsciiCase(group.Name, name)) {
            return &group;
        }
    }
    return nullptr;
}

const std::string* FindValue(const IniGroup* group, std::string_view key) {
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

// An optional sign and the decimal digits that follow it; 0 without digits; clamped to 64 bits.
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

void ReadInteger(const IniGroup* group, std::string_view key, std::int64_t& value) {
    if (const std::string* text = FindValue(group, key)) {
        value = ParseLeadingInteger(*text);
    }
}

// A check box: 0 or 1 in the file; any other number counts as checked.
void ReadFlag(const IniGroup* group, std::string_view key, bool& value) {
    if (const std::string* text = FindValue(group, key)) {
        value = ParseLeadingInteger(*text) != 0;
    }
}

void ReadOptionalInteger(const IniGroup* group, std::string_view key,
                         std::optional<std::int64_t>& value) {
    if (const std::string* text = FindValue(group, key)) {
        value = ParseLeadingInteger(*text);
    }
}

void ReadString(const IniGroup* group, std::string_view key, std::string& value) {
    if (const std::string* text = FindValue(group, key)) {
        value = std::string(TrimRight(TrimLeft(*text)));
    }
}

// Reads each import option from its key of the group, the file's rule for its kind.
struct OptionReader {
    const IniGroup* Group = nullptr;

    void operator()(const document::TextOption& option, std::string& value) const {
        ReadString(Group, option.Key, value);
    }
    void operator()(const document::CharacterListOption& option, std::string& value) const {
        ReadString(Group, option.Key, value);
    }
    void operator()(const document::NumberOption& option, std::int64_t& value) const {
        ReadInteger(Group, option.Key, value);
    }
    void operator()(const document::BitsOption& option, std::int64_t& value) const {
        ReadInteger(Group, option.Key, value);
    }
    void operator()(const document::SwitchOption& option, bool& value) const {
        ReadFlag(Group, option.Key, value);
    }
    void operator()(const document::FamiliesOption& option,
                    std::vector<std::string>& families) const {
        std::string text;
        ReadString(Group, option.Key, text);
        families = document::SplitFamilyList(text);
    }
    void operator()(const document::PageSizeOption& option,
                    std::optional<document::PageSize>& value) const {
        if (const std::string* text = FindValue(Group, option.Key)) {
            value = document::ParsePageSize(TrimRight(TrimLeft(*text)));
        }
    }
    template <class Value, std::size_t Count>
    void operator()(const document::ChoiceOption<Value, Count>& option, Value& value) const {
        if (const std::string* text = FindValue(Group, option.Key)) {
            value = document::ChoiceOfNumber(option, ParseLeadingInteger(*text));
        }
    }
};

// Views divide by the zoom and double or halve it, so it must be a power of two from 1 up.
std::int64_t UsableZoom(std::int64_t zoom) {
    if (zoom < 1) {
        return 1;
    }
    std::int64_t usable = 1;
    while (usable * 2 <= zoom && usable * 2 <= MaxConfiguredZoom) {
        usable *= 2;
    }
    return usable;
}

void ReadWindow(const std::vector<IniGroup>& groups, std::string_view name, unsigned keys,
                WindowPlacement& window) {
    const IniGroup* group = FindGroup(groups, name);
    if ((keys & Position) != 0) {
        ReadOptionalInteger(group, "X", window.X);
        ReadOptionalInteger(group, "Y", window.Y);
    }
    if ((keys & Size) != 0) {
        ReadOptionalInteger(group, "Width", window.Width);
        ReadOptionalInteger(group, "Height", window.Height);
    }
    if ((keys & Hidden) != 0) {
        ReadInteger(group, "Hide", window.Hide);
    }
}

class IniWriter {
public:
    IniWriter() {
        text_ = ByteOrderMark;
        text_ += "\r\n";
    }

    void Group(std::string_view name) {
        text_ += '[';
        text_ += name;
        text_ += "]\r\n";
    }

    void Integer(std::string_view key, std::int64_t value) { Line(key, std::to_string(value)); }

    void OptionalInteger(std::string_view key, const std::optional<std::int64_t>& value) {
        if (value.has_value()) {
            Integer(key, *value);
        }
    }

    void String(std::string_view key, std::string_view value) {
        // A line break would end the value and turn the rest into lines of their own.
        Line(key, base::ValidUtf8(value.substr(0, value.find_first_of("\r\n")),
                                  base::Utf8Policy::Replace)
                      .value());
    }

    void Window(std::string_view name, unsigned keys, const WindowPlacement& window) {
        Group(name);
        if ((keys & Position) != 0) {
            OptionalInteger("X", window.X);
            OptionalInteger("Y", window.Y);
        }
        if ((keys & Size) != 0) {
            OptionalInteger("Width", window.Width);
            OptionalInteger("Height", window.Height);
        }
        if ((keys & Hidden) != 0) {
            Integer("Hide", window.Hide);
        }
    }

    [[nodiscard]] std::vector<std::uint8_t> Bytes() const { return {text_.begin(), text_.end()}; }

private:
    void Line(std::string_view key, std::string_view value) {
        text_ += key;
        text_ += " = ";
        text_ += value;
        text_ += "\r\n";
    }

    std::string text_;
};

// Writes each import option under its key: check boxes as 1 or 0, choices as their numbers.
struct OptionWriter {
    IniWriter& Writer;

    void operator()(const document::TextOption& option, const std::string& value) const {
        Writer.String(option.Key, value);
    }
    void operator()(const document::CharacterListOption& option, const std::string& value) const {
        Writer.String(option.Key, value);
    }
    void operator()(const document::NumberOption& option, std::int64_t value) const {
        Writer.Integer(option.Key, value);
    }
    void operator()(const document::BitsOption& option, std::int64_t value) const {
        Writer.Integer(option.Key, value);
    }
    void operator()(const document::SwitchOption& option, bool value) const {
        Writer.Integer(option.Key, value ? 1 : 0);
    }
    void operator()(const document::FamiliesOption& option,
                    const std::vector<std::string>& families) const {
        Writer.String(option.Key, document::JoinFamilyList(families));
    }
    void operator()(const document::PageSizeOption& option,
                    const std::optional<document::PageSize>& value) const {
        Writer.String(option.Key, value ? document::PageSizeText(*value) : std::string());
    }
    template <class Value, std::size_t Count>
    void operator()(const document::ChoiceOption<Value, Count>& option, Value value) const {
        Writer.Integer(option.Key, document::ChoiceNumber(option, value));
    }
};

} // namespace

Configuration ReadConfiguration(std::string_view bytes) {
    std::string text;
    if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        text =
            base::ValidUtf8(bytes.substr(ByteOrderMark.size()), base::Utf8Policy::Replace).value();
    } else {
        text = base::Latin1ToUtf8(bytes);
    }
    const std::vector<IniGroup> groups = ParseIni(text);

    Configuration configuration;
    ReadWindow(groups, "WindowMain", Position | Hidden, configuration.WindowMain);
    ReadWindow(groups, "WindowExample", Position | Size | Hidden, configuration.WindowExample);
    ReadWindow(groups, "WindowImport", Position | Hidden, configuration.WindowImport);
    ReadWindow(groups, "WindowCharacterSet", Position | Size | Hidden,
               configuration.WindowCharacterSet);
    const IniGroup* characterSet = FindGroup(groups, "WindowCharacterSet");
    ReadInteger(characterSet, "Zoom", configuration.CharacterSetZoom);
    configuration.CharacterSetZoom = UsableZoom(configuration.CharacterSetZoom);
    ReadString(characterSet, "Editor", configuration.EditorPath);
    ReadWindow(groups, "WindowCharacter", Position | Size | Hidden, configuration.WindowCharacter);
    ReadInteger(FindGroup(groups, "WindowCharacter"), "Zoom", configuration.CharacterZoom);
    configuration.CharacterZoom = UsableZoom(configuration.CharacterZoom);
    ReadWindow(groups, "WindowKerningPair", Position | Size | Hidden,
               configuration.WindowKerningPair);

    VisitImportOptions(configuration.ImportTTF, OptionReader{FindGroup(groups, "ImportTTF")});

    const IniGroup* recent = FindGroup(groups, "RecentFiles");
    for (std::size_t i = 1; i <= MaxRecentFiles; ++i) {
        std::string path;
        ReadString(recent, "File" + std::to_string(i), path);
        if (!path.empty()) {
            configuration.RecentFiles.push_back(std::move(path));
        }
    }
    return configuration;
}

std::vector<std::uint8_t> WriteConfiguration(const Configuration& configuration) {
    IniWriter writer;
    writer.Window("WindowMain", Position, configuration.WindowMain);
    writer.Window("WindowExample", Position | Size | Hidden, configuration.WindowExample);
    writer.Window("WindowImport", Position | Hidden, configuration.WindowImport);
    writer.Window("WindowCharacterSet", Position | Size | Hidden, configuration.WindowCharacterSet);
    writer.Integer("Zoom", configuration.CharacterSetZoom);
    writer.String("Editor", configuration.EditorPath);
    writer.Window("WindowCharacter", Position | Size | Hidden, configuration.WindowCharacter);
    writer.Integer("Zoom", configuration.CharacterZoom);
    writer.Window("WindowKerningPair", Position | Size | Hidden, configuration.WindowKerningPair);

    writer.Group("ImportTTF");
    VisitImportOptions(configuration.ImportTTF, OptionWriter{writer});

    if (!configuration.RecentFiles.empty()) {
        writer.Group("RecentFiles");
        for (std::size_t i = 0; i < configuration.RecentFiles.size() && i < MaxRecentFiles; ++i) {
            writer.String("File" + std::to_string(i + 1), configuration.RecentFiles[i]);
        }
    }
    return writer.Bytes();
}

std::string ConfigurationFilePath(const std::string& folder) {
    if (!folder.empty() && folder.back() != '/') {
        return folder + "/" + std::string(FileName);
    }
    return folder + std::string(FileName);
}

Configuration LoadConfiguration(const std::string& folder) {
    if (folder.empty()) {
        return {};
    }
    const base::Result<std::vector<std::uint8_t>> bytes =
        base::ReadWholeFile(ConfigurationFilePath(folder), MaxFileSize);
    if (!bytes) {
        return {};
    }
    return ReadConfiguration(
        std::string_view(reinterpret_cast<const char*>(bytes.Value->data()), bytes.Value->size()));
}

base::Result<base::Done> SaveConfiguration(const std::string& folder,
                                           const Configuration& configuration) {
    if (folder.empty()) {
        return base::Failure{
            "no settings folder (neither APPDATA, XDG_CONFIG_HOME nor HOME is set)"};
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return base::Failure{"cannot create the folder \"" + folder + "\": " + error.message()};
    }
    return base::WriteFileAtomically(ConfigurationFilePath(folder),
                                     WriteConfiguration(configuration));
}

} // namespace glyfora::platform

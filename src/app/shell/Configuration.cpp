#include "app/shell/Configuration.h"

#include "base/AtomicFile.h"
#include "base/DecimalText.h"
#include "base/FileReading.h"
#include "document/ColourText.h"
#include "document/FamilyList.h"
#include "platform/IniFile.h"

#include <filesystem>
#include <system_error>

namespace glyfora::app {

namespace {

using platform::IniGroup;
using platform::IniWriter;

constexpr std::string_view FileName = "Configuration.ini";

// A settings file is a few hundred bytes; anything this large is not one.
constexpr std::uintmax_t MaxFileSize = 1 << 20;

// Which keys a window group has.
enum WindowKeys : unsigned { Position = 1, Size = 2, Hidden = 4 };

// Reads each import option from its key of the group, the file's rule for its kind.
struct OptionReader {
    const IniGroup* Group = nullptr;

    void operator()(const document::TextOption& option, std::string& value) const {
        platform::ReadIniString(Group, option.Key, value);
    }
    void operator()(const document::CharacterListOption& option, std::string& value) const {
        platform::ReadIniString(Group, option.Key, value);
    }
    void operator()(const document::NumberOption& option, std::int64_t& value) const {
        platform::ReadIniInteger(Group, option.Key, value);
    }
    void operator()(const document::BitsOption& option, std::int64_t& value) const {
        platform::ReadIniInteger(Group, option.Key, value);
    }
    void operator()(const document::SwitchOption& option, bool& value) const {
        platform::ReadIniFlag(Group, option.Key, value);
    }
    void operator()(const document::FamiliesOption& option,
                    std::vector<std::string>& families) const {
        std::string text;
        platform::ReadIniString(Group, option.Key, text);
        families = document::SplitFamilyList(text);
    }
    void operator()(const document::PageSizeOption& option,
                    std::optional<document::PageSize>& value) const {
        if (platform::FindIniValue(Group, option.Key) != nullptr) {
            std::string text;
            platform::ReadIniString(Group, option.Key, text); // trimmed
            value = document::ParsePageSize(text);
        }
    }
    void operator()(const document::RealOption& option, double& value) const {
        std::string text;
        platform::ReadIniString(Group, option.Key, text);
        value = base::ParseDecimal(text).value_or(value);
    }
    void operator()(const document::ColourOption& option, std::uint32_t& value) const {
        std::string text;
        platform::ReadIniString(Group, option.Key, text);
        if (!text.empty() && text[0] == '#') {
            value = document::ParseHexColour(std::string_view(text).substr(1)).value_or(value);
        }
    }
    template <class Value, std::size_t Count>
    void operator()(const document::ChoiceOption<Value, Count>& option, Value& value) const {
        if (const std::string* text = platform::FindIniValue(Group, option.Key)) {
            value = document::ChoiceOfNumber(option, platform::ParseLeadingInteger(*text));
        }
    }
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
        Writer.Flag(option.Key, value);
    }
    void operator()(const document::FamiliesOption& option,
                    const std::vector<std::string>& families) const {
        Writer.String(option.Key, document::JoinFamilyList(families));
    }
    void operator()(const document::PageSizeOption& option,
                    const std::optional<document::PageSize>& value) const {
        Writer.String(option.Key, value ? document::PageSizeText(*value) : std::string());
    }
    void operator()(const document::RealOption& option, double value) const {
        Writer.String(option.Key, base::ShortestDecimal(value));
    }
    void operator()(const document::ColourOption& option, std::uint32_t value) const {
        Writer.String(option.Key, document::HexColourText(value));
    }
    template <class Value, std::size_t Count>
    void operator()(const document::ChoiceOption<Value, Count>& option, Value value) const {
        Writer.Integer(option.Key, document::ChoiceNumber(option, value));
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
    const IniGroup* group = platform::FindIniGroup(groups, name);
    if ((keys & Position) != 0) {
        platform::ReadIniInteger(group, "X", window.X);
        platform::ReadIniInteger(group, "Y", window.Y);
    }
    if ((keys & Size) != 0) {
        platform::ReadIniInteger(group, "Width", window.Width);
        platform::ReadIniInteger(group, "Height", window.Height);
    }
    if ((keys & Hidden) != 0) {
        platform::ReadIniInteger(group, "Hide", window.Hide);
    }
}

void WriteOptionalInteger(IniWriter& writer, std::string_view key,
                          const std::optional<std::int64_t>& value) {
    if (value.has_value()) {
        writer.Integer(key, *value);
    }
}

void WriteWindow(IniWriter& writer, std::string_view name, unsigned keys,
                 const WindowPlacement& window) {
    writer.Group(name);
    if ((keys & Position) != 0) {
        WriteOptionalInteger(writer, "X", window.X);
        WriteOptionalInteger(writer, "Y", window.Y);
    }
    if ((keys & Size) != 0) {
        WriteOptionalInteger(writer, "Width", window.Width);
        WriteOptionalInteger(writer, "Height", window.Height);
    }
    if ((keys & Hidden) != 0) {
        writer.Integer("Hide", window.Hide);
    }
}

} // namespace

Configuration ReadConfiguration(std::string_view bytes) {
    const std::vector<IniGroup> groups = platform::ParseIni(bytes);

    Configuration configuration;
    ReadWindow(groups, "WindowMain", Position | Hidden, configuration.WindowMain);
    ReadWindow(groups, "WindowExample", Position | Size | Hidden, configuration.WindowExample);
    ReadWindow(groups, "WindowImport", Position | Hidden, configuration.WindowImport);
    ReadWindow(groups, "WindowCharacterSet", Position | Size | Hidden,
               configuration.WindowCharacterSet);
    const IniGroup* characterSet = platform::FindIniGroup(groups, "WindowCharacterSet");
    platform::ReadIniInteger(characterSet, "Zoom", configuration.CharacterSetZoom);
    configuration.CharacterSetZoom = UsableZoom(configuration.CharacterSetZoom);
    platform::ReadIniString(characterSet, "Editor", configuration.EditorPath);
    ReadWindow(groups, "WindowCharacter", Position | Size | Hidden, configuration.WindowCharacter);
    platform::ReadIniInteger(platform::FindIniGroup(groups, "WindowCharacter"), "Zoom",
                             configuration.CharacterZoom);
    configuration.CharacterZoom = UsableZoom(configuration.CharacterZoom);
    ReadWindow(groups, "WindowKerningPair", Position | Size | Hidden,
               configuration.WindowKerningPair);

    VisitImportOptions(configuration.ImportTTF,
                       OptionReader{platform::FindIniGroup(groups, "ImportTTF")});

    const IniGroup* recent = platform::FindIniGroup(groups, "RecentFiles");
    for (std::size_t i = 1; i <= MaxRecentFiles; ++i) {
        std::string path;
        platform::ReadIniString(recent, "File" + std::to_string(i), path);
        if (!path.empty()) {
            configuration.RecentFiles.push_back(std::move(path));
        }
    }
    return configuration;
}

std::vector<std::uint8_t> WriteConfiguration(const Configuration& configuration) {
    IniWriter writer;
    WriteWindow(writer, "WindowMain", Position, configuration.WindowMain);
    WriteWindow(writer, "WindowExample", Position | Size | Hidden, configuration.WindowExample);
    WriteWindow(writer, "WindowImport", Position | Hidden, configuration.WindowImport);
    WriteWindow(writer, "WindowCharacterSet", Position | Size | Hidden,
                configuration.WindowCharacterSet);
    writer.Integer("Zoom", configuration.CharacterSetZoom);
    writer.String("Editor", configuration.EditorPath);
    WriteWindow(writer, "WindowCharacter", Position | Size | Hidden, configuration.WindowCharacter);
    writer.Integer("Zoom", configuration.CharacterZoom);
    WriteWindow(writer, "WindowKerningPair", Position | Size | Hidden,
                configuration.WindowKerningPair);

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

Configuration LoadConfigurationFile(const std::string& folder) {
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

base::Result<base::Done> SaveConfigurationFile(const std::string& folder,
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

} // namespace glyfora::app

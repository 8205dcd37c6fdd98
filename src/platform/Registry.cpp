#include "platform/Registry.h"

#include "base/Utf8.h"

namespace glyfora::platform {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

// A sub-key without its trailing "\"; nullopt when it has an empty component ("a\\b", "\a").
std::optional<std::string_view> NormalKeyPath(std::string_view subKey) {
    if (!subKey.empty() && subKey.back() == '\\') {
        subKey.remove_suffix(1);
    }
    if (subKey.empty()) {
        return subKey;
    }
    if (subKey.front() == '\\' || subKey.find("\\\\") != std::string_view::npos ||
        subKey.back() == '\\') {
        return std::nullopt;
    }
    return subKey;
}

std::vector<std::uint8_t> Utf16LittleEndian(std::u16string_view units, bool terminate) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((units.size() + 1) * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminate) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

// UTF-16LE units up to the first 0 unit or the last whole unit.
std::u16string Utf16Units(std::span<const std::uint8_t> bytes) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        units += unit;
    }
    return units;
}

} // namespace

std::optional<std::uint32_t> RegistryRootFromName(std::string_view name) {
    for (const RegistryRootEntry& entry : RegistryRoots) {
        if (EqualIgnoringCase(entry.Name, name)) {
            return entry.Root;
        }
    }
    return std::nullopt;
}

std::string_view RegistryRootName(std::uint32_t root) {
    for (const RegistryRootEntry& entry : RegistryRoots) {
        if (entry.Root == root) {
            return entry.Name;
        }
    }
    return {};
}

std::optional<RegistryValuePath> SplitValuePath(std::string_view path) {
    const std::size_t first = path.find('\\');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto root = RegistryRootFromName(path.substr(0, first));
    if (!root.has_value()) {
        return std::nullopt;
    }
    const std::size_t last = path.rfind('\\');
    RegistryValuePath result;
    result.Root = *root;
    result.SubKey = std::string(path.substr(first + 1, last - first - (last > first ? 1 : 0)));
    result.ValueName = std::string(path.substr(last + 1));
    return result;
}

std::optional<RegistryKeyPath> SplitKeyPath(std::string_view path) {
    const std::size_t first = path.find('\\');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const auto root = RegistryRootFromName(path.substr(0, first));
    if (!root.has_value()) {
        return std::nullopt;
    }
    RegistryKeyPath result;
    result.Root = *root;
    result.SubKey = std::string(path.substr(first + 1));
    if (result.SubKey.empty() || result.SubKey.back() != '\\') {
        result.SubKey += '\\';
    }
    return result;
}

MemoryRegistry::Key* MemoryRegistry::FindKey(std::uint32_t root, std::string_view path) {
    for (Key& key : keys_) {
        if (key.Root == root && EqualIgnoringCase(key.Path, path)) {
            return &key;
        }
    }
    return nullptr;
}

const MemoryRegistry::Key* MemoryRegistry::FindKey(std::uint32_t root,
                                                   std::string_view path) const {
    for (const Key& key : keys_) {
        if (key.Root == root && EqualIgnoringCase(key.Path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool MemoryRegistry::CreateKey(std::uint32_t root, std::string_view subKey) {
    const auto path = NormalKeyPath(subKey);
    if (!path.has_value() || RegistryRootName(root).empty()) {
        return false;
    }
    // Parents first, as a real registry creates every missing key along the path.
    std::size_t end = 0;
    while (end < path->size()) {
        end = path->find('\\', end + 1);
        if (end == std::string_view::npos) {
            end = path->size();
        }
        const std::string_view prefix = path->substr(0, end);
        if (FindKey(root, prefix) == nullptr) {
            keys_.push_back({root, std::string(prefix), {}});
            ++changes_;
        }
    }
    return true;
}

bool MemoryRegistry::SetValue(std::uint32_t root, std::string_view subKey, std::string_view name,
                              const RegistryValue& value) {
    const auto path = NormalKeyPath(subKey);
    if (!path.has_value() || RegistryRootName(root).empty()) {
        return false;
    }
    Key* key = FindKey(root, *path);
    if (key == nullptr && !path->empty()) {
        return false;
    }
    if (key == nullptr) {
        keys_.push_back({root, {}, {}}); // the root itself always exists
        key = &keys_.back();
    }
    ++changes_;
    for (auto& [valueName, stored] : key->Values) {
        if (EqualIgnoringCase(valueName, name)) {
            stored = value;
            return true;
        }
    }
    key->Values.emplace_back(std::string(name), value);
    return true;
}

std::optional<RegistryValue> MemoryRegistry::QueryValue(std::uint32_t root, std::string_view subKey,
                                                        std::string_view name) const {
    const auto path = NormalKeyPath(subKey);
    if (!path.has_value()) {
        return std::nullopt;
    }
    const Key* key = FindKey(root, *path);
    if (key == nullptr) {
        return std::nullopt;
    }
    for (const auto& [valueName, stored] : key->Values) {
        if (EqualIgnoringCase(valueName, name)) {
            return stored;
        }
    }
    return std::nullopt;
}

bool CreateRegistryKey(RegistryBackend& registry, std::string_view keyPath) {
    const auto path = SplitKeyPath(keyPath);
    return path.has_value() && registry.CreateKey(path->Root, path->SubKey);
}

bool WriteRegistryValue(RegistryBackend& registry, std::string_view valuePath, RegistryType type,
                        std::span<const std::uint8_t> data, std::int64_t size) {
    const auto path = SplitValuePath(valuePath);
    if (!path.has_value() || size < -1) {
        return false;
    }
    RegistryValue value;
    value.Type = type;
    if (size >= 0) {
        if (static_cast<std::uint64_t>(size) > data.size()) {
            return false;
        }
        value.Data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
    } else if (type == RegistryType::String || type == RegistryType::ExpandString) {
        value.Data = Utf16LittleEndian(Utf16Units(data), true);
    } else if (type == RegistryType::DWord || type == RegistryType::QWord) {
        const std::size_t width = type == RegistryType::DWord ? 4 : 8;
        if (data.size() < width) {
            return false;
        }
        value.Data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(width));
    } else {
        value.Data.assign(data.begin(), data.end());
    }
    return registry.SetValue(path->Root, path->SubKey, path->ValueName, value);
}

bool WriteRegistryString(RegistryBackend& registry, std::string_view valuePath,
                         std::string_view text) {
    const std::vector<std::uint8_t> data =
        Utf16LittleEndian(base::Utf8ToUtf16(text, base::Utf8Policy::Replace).value(), true);
    return WriteRegistryValue(registry, valuePath, RegistryType::String, data, -1);
}

std::string ReadRegistryString(const RegistryBackend& registry, std::string_view valuePath,
                               bool expand, const Environment& environment) {
    const auto path = SplitValuePath(valuePath);
    if (!path.has_value()) {
        return {};
    }
    const auto value = registry.QueryValue(path->Root, path->SubKey, path->ValueName);
    if (!value.has_value() ||
        (value->Type != RegistryType::String && value->Type != RegistryType::ExpandString)) {
        return {};
    }
    std::string text = base::Utf16ToUtf8(Utf16Units(value->Data));
    if (expand && value->Type == RegistryType::ExpandString) {
        text = ExpandEnvironmentReferences(text, environment);
    }
    return text;
}

std::string ExpandEnvironmentReferences(std::string_view text, const Environment& environment) {
    std::string out;
    while (!text.empty()) {
        const std::size_t open = text.find('%');
        const std::size_t close =
            open == std::string_view::npos ? std::string_view::npos : text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out += text;
            break;
        }
        out += text.substr(0, open);
        const std::string_view name = text.substr(open + 1, close - open - 1);
        const auto value = name.empty() ? std::nullopt : EnvironmentValue(environment, name);
        if (value.has_value()) {
            out += *value;
            text.remove_prefix(close + 1);
        } else {
            // Unknown: keep the first "%" and look again from the second, which may open a name.
            out += text.substr(open, close - open);
            text.remove_prefix(close);
        }
    }
    return out;
}

} // namespace glyfora::platform

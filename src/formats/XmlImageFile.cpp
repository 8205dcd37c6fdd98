#include "formats/XmlImageFile.h"

#include "base/AtomicFile.h"
#include "base/XmlEscape.h"
#include "formats/FieldLimits.h"
#include "formats/PictureFile.h"
#include "formats/PngCodec.h"

#include <algorithm>
#include <cstring>
#include <expat.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <type_traits>

namespace glyfora::formats {

namespace {

// Expat takes its input as int-sized pieces; feeding it in slices also keeps a huge description
// from needing one contiguous parse call.
constexpr std::size_t ParseSliceBytes = std::size_t{1} << 20;

// Skipped characters are named one by one up to this many; the rest are counted, so a hostile
// description cannot make the warnings outgrow the file.
constexpr std::int64_t SkippedCharactersNamed = 20;

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

const char* FindAttribute(const XML_Char** attributes, const char* name) {
    for (const XML_Char** attribute = attributes; *attribute != nullptr; attribute += 2) {
        if (std::strcmp(attribute[0], name) == 0) {
            return attribute[1];
        }
    }
    return nullptr;
}

// Metrics are 32-bit in the description; wider values keep their low 32 bits.
std::int64_t ReadMetric(const XML_Char** attributes, const char* name) {
    return static_cast<std::int32_t>(ReadXmlNumber(FindAttribute(attributes, name)));
}

document::Rect64 ReadRect(const XML_Char** attributes) {
    return {ReadMetric(attributes, "X"), ReadMetric(attributes, "Y"),
            ReadMetric(attributes, "Width"), ReadMetric(attributes, "Height")};
}

// What the streaming reader knows while Expat walks the description. Only the root's direct
// children are read, and of a "Character" only its first direct "Source" and "Outlay".
struct ReadState {
    document::Typeface& Target;
    std::vector<std::string>& Warnings;
    XML_Parser Parser = nullptr;
    int Depth = 0; // 1 inside the root, 2 inside one of its children, ...
    bool RootSeen = false;
    std::optional<std::string> ImageName{};
    document::Character* OpenCharacter = nullptr; // the "Character" being read, none when skipped
    bool SourceRead = false;
    bool OutlayRead = false;
    std::int64_t SkippedCharacters = 0;
};

void StartCharacter(ReadState& state, const XML_Char** attributes) {
    const std::int64_t index = ReadXmlNumber(FindAttribute(attributes, "Index"));
    if (index < 0 || index >= document::CharacterCodeCount) {
        if (++state.SkippedCharacters > SkippedCharactersNamed) {
            return;
        }
        state.Warnings.push_back("line " + std::to_string(XML_GetCurrentLineNumber(state.Parser)) +
                                 ": character with Index " + std::to_string(index) +
                                 " skipped; codes run from 0 to 65535");
        return;
    }
    state.OpenCharacter = &document::AddCharacter(state.Target, index);
    state.SourceRead = false;
    state.OutlayRead = false;
}

void XMLCALL OnStartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
    auto& state = *static_cast<ReadState*>(userData);
    ++state.Depth;
    if (state.Depth == 1) {
        state.RootSeen = true;
        if (const char* image = FindAttribute(attributes, "Image")) {
            state.ImageName = image;
        }
    } else if (state.Depth == 2) {
        state.OpenCharacter = nullptr;
        if (std::strcmp(name, "Character") == 0) {
            StartCharacter(state, attributes);
        } else if (std::strcmp(name, "KerningPair") == 0) {
            document::AddKerningPair(state.Target, ReadXmlNumber(FindAttribute(attributes, "Left")),
                                     ReadXmlNumber(FindAttribute(attributes, "Right")),
                                     ReadXmlNumber(FindAttribute(attributes, "Amount")));
        }
    } else if (state.Depth == 3 && state.OpenCharacter != nullptr) {
        if (!state.SourceRead && std::strcmp(name, "Source") == 0) {
            state.OpenCharacter->Source = ReadRect(attributes);
            state.SourceRead = true;
        } else if (!state.OutlayRead && std::strcmp(name, "Outlay") == 0) {
            state.OpenCharacter->Outlay = ReadRect(attributes);
            state.OutlayRead = true;
        }
    }
}

void XMLCALL OnEndElement(void* userData, const XML_Char* /*name*/) {
    auto& state = *static_cast<ReadState*>(userData);
    if (state.Depth == 2) {
        state.OpenCharacter = nullptr;
    }
    --state.Depth;
}

// Feeds all bytes to Expat; fails with the parser's complaint ("line N: reason") when the
// document is not well-formed.
base::Result<base::Done> Parse(XML_Parser parser, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    do {
        const std::size_t slice = std::min(ParseSliceBytes, bytes.size() - done);
        const bool last = done + slice == bytes.size();
        const auto* data = reinterpret_cast<const char*>(bytes.data() + done);
        if (XML_Parse(parser, data, static_cast<int>(slice), last ? 1 : 0) == XML_STATUS_ERROR) {
            return base::Failure{"line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
                                 XML_ErrorString(XML_GetErrorCode(parser))};
        }
        done += slice;
    } while (done < bytes.size());
    return base::Done{};
}

// The picture is PNG or BMP, read as the character-set window's "Import" reads it.
void LoadPicture(document::Typeface& typeface, const std::string& directory,
                 const std::string& imageName, std::vector<std::string>& warnings) {
    const std::string path = PathBeside(directory, imageName);
    base::Result<document::Image> loaded = LoadPictureFile(path);
    if (!loaded) {
        warnings.push_back("picture \"" + path + "\" not loaded: " + loaded.Error);
        return;
    }
    document::SetCharacterSetImage(typeface, std::move(loaded.Value));
}

void AppendRect(std::string& out, const char* name, const document::Rect64& rect) {
    out += "    <";
    out += name;
    out += " X=\"" + std::to_string(rect.X) + "\" Y=\"" + std::to_string(rect.Y) + "\" Width=\"" +
           std::to_string(rect.Width) + "\" Height=\"" + std::to_string(rect.Height) + "\"/>\n";
}

// The picture sits beside the description, named after it: "name.xml" gives "name.png".
std::filesystem::path PicturePathFor(const std::string& fileName) {
    std::filesystem::path picture(fileName);
    picture.replace_extension(".png");
    if (picture == std::filesystem::path(fileName)) {
        // A description that is itself named ".png" must not be overwritten by its picture.
        picture = fileName + ".png";
    }
    return picture;
}

bool HasPicture(const document::Typeface& typeface) {
    const auto& image = typeface.Content.Image;
    return image && image->Width > 0 && image->Height > 0;
}

} // namespace

std::int64_t ReadXmlNumber(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    int base = 10;
    if (*p == '$') {
        base = 16;
        ++p;
    } else if (*p == '%') {
        base = 2;
        ++p;
    }
    // Unsigned arithmetic: too many digits wrap around modulo 2^64 instead of overflowing.
    std::uint64_t value = 0;
    for (int digit = DigitValue(*p); digit >= 0 && digit < base; digit = DigitValue(*++p)) {
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (negative) {
        value = 0 - value;
    }
    return static_cast<std::int64_t>(value);
}

base::Result<base::Done> ReadXmlDescription(document::Typeface& typeface,
                                            std::span<const std::uint8_t> bytes,
                                            const std::string& directory) {
    base::Result<base::Done> result;
    std::vector<std::string>& warnings = result.Warnings;
    const std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    if (!parser) {
        return base::Failure{"out of memory for the XML parser"};
    }
    ReadState state{.Target = typeface, .Warnings = warnings, .Parser = parser.get()};
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), &OnStartElement, &OnEndElement);

    const std::string complaint = Parse(parser.get(), bytes).Error;
    if (state.SkippedCharacters > SkippedCharactersNamed) {
        warnings.push_back(std::to_string(state.SkippedCharacters - SkippedCharactersNamed) +
                           " more characters skipped; codes run from 0 to 65535");
    }
    if (!state.RootSeen) {
        // The first thing that went wrong is the reason.
        return base::Failure{!warnings.empty()   ? warnings.front()
                             : complaint.empty() ? "no root element"
                                                 : complaint};
    }
    if (!complaint.empty()) {
        warnings.push_back("the description is not well-formed XML (" + complaint +
                           "); only what came before was read");
    }
    if (state.ImageName && !state.ImageName->empty()) {
        LoadPicture(typeface, directory, *state.ImageName, warnings);
    }
    result.Value = base::Done{};
    return result;
}

base::Result<base::Done> WriteXmlDescription(const document::Typeface& typeface,
                                             const std::string& name) {
    // Through a symbolic link the picture goes beside the file the link points to, named after it.
    const std::string fileName = base::ResolveSymbolicLinks(name);
    const document::TypefaceContent& content = typeface.Content;
    if (base::Result<base::Done> fits = CheckFieldLimits(typeface, XmlImageFieldLimits); !fits) {
        return fits;
    }
    if (HasPicture(typeface)) {
        if (base::Result<base::Done> fits =
                CheckPngSize(content.Image->Width, content.Image->Height);
            !fits) {
            return base::Failure{"the picture cannot be saved: " + fits.Error};
        }
    }

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Typeface";
    const std::filesystem::path picturePath = PicturePathFor(fileName);
    if (HasPicture(typeface)) {
        const std::string pictureName = picturePath.filename().string();
        if (!base::IsXmlText(pictureName)) {
            return base::Failure{"the picture's file name \"" + pictureName +
                                 "\" cannot be written in XML"};
        }
        xml += " Image=\"" + base::EscapeXml(pictureName) + '"';
    }
    xml += ">\n";
    for (const document::Character& character : content.Characters) {
        xml += "  <Character Index=\"" + std::to_string(character.Index) + "\">\n";
        AppendRect(xml, "Source", character.Source);
        AppendRect(xml, "Outlay", character.Outlay);
        xml += "  </Character>\n";
    }
    for (const document::KerningPair& pair : content.KerningPairs) {
        xml += "  <KerningPair Left=\"" + std::to_string(document::PairLeft(pair)) + "\" Right=\"" +
               std::to_string(document::PairRight(pair)) + "\" Amount=\"" +
               std::to_string(pair.Amount) + "\"/>\n";
    }
    xml += "</Typeface>\n";

    // Both files are written before either replaces what is there; the picture is renamed into
    // place first, so a description never names a picture that is not there.
    base::AtomicFileSet files;
    if (HasPicture(typeface)) {
        if (base::AtomicFileWriter* picture = files.Add(picturePath.string())) {
            if (base::Result<base::Done> encoded = WritePng(*content.Image, *picture); !encoded) {
                return encoded;
            }
        }
    }
    if (base::AtomicFileWriter* description = files.Add(fileName)) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(xml.data());
        static_cast<void>(description->Write({data, xml.size()})); // Commit reports a failure
    }
    base::Result<base::Done> result = files.Commit();
    if (!result) {
        return result;
    }

    // An empty property (the editor keeps an empty "Comment") loses nothing worth a warning.
    std::string dropped;
    for (const auto& [key, value] : content.Properties) {
        if (!value.empty()) {
            dropped += (dropped.empty() ? "\"" : ", \"") + key + "\"";
        }
    }
    if (!dropped.empty()) {
        result.Warnings.push_back("the XML description has no place for properties; not saved: " +
                                  dropped);
    }
    return result;
}

} // namespace glyfora::formats

#include "formats/bmfont/BmFontModel.h"

#include "base/FileReading.h"
#include "document/InkBaseline.h"
#include "document/PageSize.h"
#include "document/Pixel.h"
#include "formats/PictureFile.h"
#include "formats/bmfont/BmFontPages.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <utility>

namespace glyfora::formats {

namespace {

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t MaxCode = 0xFFFF;
// Page ids fit the binary variant's u8 page field; more pages than that no generator writes.
constexpr std::int64_t MaxPageId = 255;

std::vector<std::int64_t> ParseNumberList(std::string_view text) {
    std::vector<std::int64_t> values;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        values.push_back(ParseBmFontNumber(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return values;
        }
        start = comma + 1;
    }
}

template <std::size_t N> void SetList(std::array<std::int64_t, N>& target, std::string_view text) {
    const std::vector<std::int64_t> values = ParseNumberList(text);
    for (std::size_t i = 0; i < N; ++i) {
        target[i] = i < values.size() ? values[i] : 0;
    }
}

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

template <std::size_t N> std::string List(const std::array<std::int64_t, N>& values) {
    std::string text;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            text += ',';
        }
        text += std::to_string(values[i]);
    }
    return text;
}

void ApplyInfo(BmFontInfo& info, const std::string& key, const std::string& value) {
    if (key == "face") {
        info.Face = value;
    } else if (key == "size") {
        info.Size = ParseBmFontNumber(value);
    } else if (key == "bold") {
        info.Bold = ParseBmFontNumber(value) != 0;
    } else if (key == "italic") {
        info.Italic = ParseBmFontNumber(value) != 0;
    } else if (key == "charset") {
        info.Charset = value;
    } else if (key == "unicode") {
        info.Unicode = ParseBmFontNumber(value) != 0;
    } else if (key == "stretchH") {
        info.StretchH = ParseBmFontNumber(value);
    } else if (key == "smooth") {
        info.Smooth = ParseBmFontNumber(value) != 0;
    } else if (key == "aa") {
        info.Aa = ParseBmFontNumber(value);
    } else if (key == "padding") {
        SetList(info.Padding, value);
    } else if (key == "spacing") {
        SetList(info.Spacing, value);
    } else if (key == "outline") {
        info.Outline = ParseBmFontNumber(value);
    }
}

void ApplyCommon(BmFontCommon& common, const std::string& key, const std::string& value) {
    static const std::map<std::string, std::int64_t BmFontCommon::*, std::less<>> fields{
        {"lineHeight", &BmFontCommon::LineHeight}, {"base", &BmFontCommon::Base},
        {"scaleW", &BmFontCommon::ScaleW},         {"scaleH", &BmFontCommon::ScaleH},
        {"pages", &BmFontCommon::Pages},           {"alphaChnl", &BmFontCommon::AlphaChnl},
        {"redChnl", &BmFontCommon::RedChnl},       {"greenChnl", &BmFontCommon::GreenChnl},
        {"blueChnl", &BmFontCommon::BlueChnl},
    };
    if (key == "packed") {
        common.Packed = ParseBmFontNumber(value) != 0;
    } else if (const auto field = fields.find(key); field != fields.end()) {
        common.*(field->second) = ParseBmFontNumber(value);
    }
}

using CharField = std::int64_t BmFontChar::*;
constexpr std::array<std::pair<const char*, CharField>, 10> CharFields{{
    {"id", &BmFontChar::Id},
    {"x", &BmFontChar::X},
    {"y", &BmFontChar::Y},
    {"width", &BmFontChar::Width},
    {"height", &BmFontChar::Height},
    {"xoffset", &BmFontChar::XOffset},
    {"yoffset", &BmFontChar::YOffset},
    {"xadvance", &BmFontChar::XAdvance},
    {"page", &BmFontChar::Page},
    {"chnl", &BmFontChar::Chnl},
}};

using KerningField = std::int64_t BmFontKerning::*;
constexpr std::array<std::pair<const char*, KerningField>, 3> KerningFields{{
    {"first", &BmFontKerning::First},
    {"second", &BmFontKerning::Second},
    {"amount", &BmFontKerning::Amount},
}};

constexpr std::array<std::pair<std::int64_t, const char*>, 19> CharsetNames{{
    {0, "ANSI"},          {1, "DEFAULT"},      {2, "SYMBOL"},    {77, "MAC"},
    {128, "SHIFTJIS"},    {129, "HANGUL"},     {130, "JOHAB"},   {134, "GB2312"},
    {136, "CHINESEBIG5"}, {161, "GREEK"},      {162, "TURKISH"}, {163, "VIETNAMESE"},
    {177, "HEBREW"},      {178, "ARABIC"},     {186, "BALTIC"},  {204, "RUSSIAN"},
    {222, "THAI"},        {238, "EASTEUROPE"}, {255, "OEM"},
}};

constexpr std::array<const char*, 13> PropertyKeys{
    "Face",   "Size", "Bold",    "Italic",  "Charset", "Unicode", "StretchH",
    "Smooth", "Aa",   "Padding", "Spacing", "Outline", "Base"};

std::string Plural(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Reads a whole-number property strictly: the writer refuses a value it would otherwise have to
// guess at.
bool ReadIntegers(const std::string& text, std::span<std::int64_t> values) {
    std::size_t position = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != ',') {
                return false;
            }
            ++position;
        }
        const char* begin = text.data() + position;
        const char* end = text.data() + text.size();
        const auto [next, error] = std::from_chars(begin, end, values[i]);
        if (error != std::errc() || values[i] < Int32Min || values[i] > Int32Max) {
            return false;
        }
        position = static_cast<std::size_t>(next - text.data());
    }
    return position == text.size();
}

// One picture layer of the stacked character set: a page, or in packed fonts one channel of a
// page. Plane -1 is the page as it is; 0..3 is the byte (R, G, B, A) that holds the glyphs.
struct Layer {
    std::int64_t Page = 0;
    int Plane = -1;
    std::int64_t Top = 0;
};

int PlaneOfChannel(std::int64_t chnl) {
    switch (chnl) {
    case 1:
        return 2; // blue
    case 2:
        return 1; // green
    case 4:
        return 0; // red
    case 8:
        return 3; // alpha
    default:
        return -1;
    }
}

// A page file found and sized from its header, before any of its pixels is decoded.
struct PageFile {
    std::string Name; // as the descriptor names it
    std::string Path; // where it was found
    document::PictureSize Size;
};

// Finds a page picture (PNG or BMP) that the descriptor names and reads its size from its header;
// anything else is refused by its signature without being read further. Fonts made on Windows may
// name pages with the generator's absolute path; a page that moved with its descriptor is then
// found by its own name.
base::Result<PageFile> FindPage(const std::string& directory, const std::string& file) {
    const std::string named = PathBeside(directory, file);
    const std::string beside = directory + named.substr(named.rfind('/') + 1);
    PageFile page{file, named, {}};
    base::Result<std::vector<std::uint8_t>> head = base::ReadFileStart(named, PictureHeadBytes);
    if (!head && beside != named) {
        if (base::Result<std::vector<std::uint8_t>> moved =
                base::ReadFileStart(beside, PictureHeadBytes)) {
            head = std::move(moved);
            page.Path = beside;
        }
    }
    if (!head) {
        return base::Failure{std::move(head.Error)};
    }
    const base::Result<document::PictureSize> size = ReadPictureSize(*head.Value);
    if (!size) {
        return base::Failure{size.Error};
    }
    page.Size = *size.Value;
    return page;
}

// The plane a character's glyph lies in: packed fonts keep one glyph per channel.
int PlaneOf(const BmFont& font, const BmFontChar& character) {
    return font.Common.Packed ? PlaneOfChannel(character.Chnl) : -1;
}

// Pages by id; a later page line with the same id replaces the earlier one.
std::map<std::int64_t, std::string> DeclaredPages(const BmFont& font,
                                                  std::vector<std::string>& warnings) {
    std::map<std::int64_t, std::string> pages;
    std::int64_t badPages = 0;
    for (const BmFontPage& page : font.Pages) {
        if (page.Id < 0 || page.Id > MaxPageId) {
            ++badPages;
        } else {
            pages[page.Id] = page.File;
        }
    }
    if (badPages > 0) {
        warnings.push_back("skipped " + Plural(badPages, "page", "pages") +
                           " with an id outside 0..255");
    }
    return pages;
}

// Which layers the characters need: in packed fonts each used channel of a page becomes a layer
// of its own. A page no character uses is still one layer.
std::vector<Layer> NeededLayers(const BmFont& font,
                                const std::map<std::int64_t, std::string>& pages) {
    std::map<std::int64_t, std::array<bool, 5>> usedPlanes; // by page; index plane + 1
    for (const BmFontChar& character : font.Chars) {
        usedPlanes[character.Page][static_cast<std::size_t>(PlaneOf(font, character) + 1)] = true;
    }
    std::vector<Layer> layers;
    for (const auto& [id, file] : pages) {
        std::array<bool, 5>& used = usedPlanes[id];
        if (std::none_of(used.begin(), used.end(), [](bool u) { return u; })) {
            used[0] = true;
        }
        for (int plane = -1; plane < 4; ++plane) {
            if (used[static_cast<std::size_t>(plane + 1)]) {
                layers.push_back({id, plane, 0});
            }
        }
    }
    return layers;
}

// Page files by id, none for a page that could not be read.
using PageFiles = std::map<std::int64_t, std::optional<PageFile>>;

// Finds each page, a file named several times once, each within what is left of one picture's
// byte limit counting every layer it will fill, so a descriptor naming one large page many times
// cannot take memory without bound; the budget is checked from the page's header.
PageFiles FindPages(const BmFont& font, const std::map<std::int64_t, std::string>& pages,
                    const std::vector<Layer>& layers, const std::string& directory,
                    std::vector<std::string>& warnings) {
    PageFiles found;
    std::map<std::string, base::Result<PageFile>> byName;
    std::uint64_t budgetUsed = 0;
    for (const auto& page : pages) {
        // Named copies: lambdas cannot capture structured bindings in every compiler we build with.
        const std::int64_t id = page.first;
        const std::string& file = page.second;
        auto known = byName.find(file);
        if (known == byName.end()) {
            known = byName.emplace(file, FindPage(directory, file)).first;
        }
        base::Result<PageFile> located = known->second;
        const auto layerCount = static_cast<std::uint64_t>(std::count_if(
            layers.begin(), layers.end(), [&](const Layer& l) { return l.Page == id; }));
        if (located) {
            const document::PictureSize size = located.Value->Size;
            const std::uint64_t maxBytes = (document::MaxImageBytes - budgetUsed) / layerCount;
            if (document::ImageSizeAllowed(size.Width, size.Height, maxBytes)) {
                budgetUsed += static_cast<std::uint64_t>(size.Width * size.Height) * 4 * layerCount;
            } else {
                located =
                    base::Failure{document::PictureTooLarge(size.Width, size.Height, maxBytes)};
            }
        }
        if (!located) {
            const auto cells = std::count_if(font.Chars.begin(), font.Chars.end(),
                                             [&](const BmFontChar& c) { return c.Page == id; });
            warnings.push_back("page " + std::to_string(id) + " \"" + file +
                               "\" could not be read (" + located.Error + "); its " +
                               Plural(cells, "cell lies", "cells lie") + " below the picture");
        }
        found[id] = std::move(located.Value);
    }
    return found;
}

// The size of the stacked picture and what went into it.
struct Stack {
    std::int64_t Width = 0;
    std::int64_t Height = 0;
    std::int64_t LayerCount = 0;
    bool Packed = false; // some layer is one channel of a packed page
};

// Sets each layer's top. Found pages are stacked top to bottom; the layers of missing pages take
// no room and their cells are placed below the picture, where they show nothing. Every layer's
// page has an entry in files.
Stack PlaceLayers(std::vector<Layer>& layers, const PageFiles& files) {
    Stack stack;
    for (Layer& layer : layers) {
        if (const std::optional<PageFile>& file = files.at(layer.Page)) {
            layer.Top = stack.Height;
            stack.Width = std::max(stack.Width, file->Size.Width);
            // Bounded by the byte limit of FindPages, so the sum cannot overflow.
            stack.Height += file->Size.Height;
            ++stack.LayerCount;
            stack.Packed = stack.Packed || layer.Plane >= 0;
        }
    }
    for (Layer& layer : layers) {
        if (!files.at(layer.Page)) {
            layer.Top = stack.Height;
        }
    }
    return stack;
}

// Copies the size.Height rows of a decoded page at fromTop to the rows of layer; a channel layer
// becomes white glyphs whose coverage is the channel's value (in place when the rows are the same).
void CopyLayer(document::Image& stacked, std::int64_t fromTop, const Layer& layer,
               document::PictureSize size) {
    if (layer.Plane < 0) {
        document::CopyRect(stacked, {0, fromTop, size.Width, size.Height}, stacked, 0, layer.Top);
        return;
    }
    for (std::int64_t y = 0; y < size.Height; ++y) {
        for (std::int64_t x = 0; x < size.Width; ++x) {
            const std::uint32_t pixel = stacked.At(x, fromTop + y);
            stacked.At(x, layer.Top + y) =
                document::WhiteWithAlpha((pixel >> (8 * layer.Plane)) & 0xFF);
        }
    }
}

// Decodes each page file once, straight into the rows of the first layer it fills, and copies
// those rows into its other layers (its other channels, or other pages naming the same file), so
// no page is ever held beside the stacked picture. A page that does not decode leaves its rows
// empty.
void DecodeLayers(document::Image& stacked, const std::vector<Layer>& layers,
                  const PageFiles& files, std::vector<std::string>& warnings) {
    std::map<std::string, std::vector<const Layer*>> layersOfFile;
    for (const Layer& layer : layers) {
        if (const std::optional<PageFile>& file = files.at(layer.Page)) {
            layersOfFile[file->Path].push_back(&layer);
        }
    }
    for (const auto& [path, fileLayers] : layersOfFile) {
        const Layer& first = *fileLayers.front();
        const PageFile& file = *files.at(first.Page);
        base::Result<base::Done> decoded;
        if (base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(path)) {
            decoded = DecodePictureInto(*bytes.Value, stacked, first.Top);
        } else {
            decoded = base::Failure{std::move(bytes.Error)};
        }
        if (!decoded) {
            warnings.push_back("page " + std::to_string(first.Page) + " \"" + file.Name +
                               "\" could not be read (" + decoded.Error + "); its rows are empty");
            continue;
        }
        // The first layer's rows are converted last, since the others are copied from them.
        for (auto layer = fileLayers.rbegin(); layer != fileLayers.rend(); ++layer) {
            if (*layer != &first || first.Plane >= 0) {
                CopyLayer(stacked, first.Top, **layer, file.Size);
            }
        }
    }
}

// Makes the stacked picture the typeface's character set, unless nothing was found or it is too
// large. The picture is made once and the pages are decoded into it.
void SetStackedPicture(document::Typeface& typeface, const Stack& stack,
                       const std::vector<Layer>& layers, const PageFiles& files,
                       std::vector<std::string>& warnings) {
    if (stack.LayerCount == 0) {
        return;
    }
    std::optional<document::Image> stacked = document::MakeImage(stack.Width, stack.Height, 0);
    if (!stacked) {
        warnings.push_back("the stacked pages (" + std::to_string(stack.Width) + " x " +
                           std::to_string(stack.Height) + " pixels) are too large to open");
        return;
    }
    DecodeLayers(*stacked, layers, files, warnings);
    document::SetCharacterSetImage(typeface, std::move(stacked));
}

// A picture read as it was stored keeps the channel fields that describe it; packed pages were
// expanded, so their fields no longer apply.
void KeepChannels(document::Typeface& typeface, const BmFont& font) {
    if (typeface.Content.Image && !font.Common.Packed) {
        document::PictureChannels& channels = typeface.Content.Channels.emplace();
        channels.Picture = typeface.Content.Image;
        channels.AlphaChnl = font.Common.AlphaChnl;
        channels.RedChnl = font.Common.RedChnl;
        channels.GreenChnl = font.Common.GreenChnl;
        channels.BlueChnl = font.Common.BlueChnl;
        for (const BmFontChar& character : font.Chars) {
            channels.CharacterChnl[character.Id] = character.Chnl;
        }
    }
}

// Adds the characters with their cells moved to their layer's place in the stacked picture.
void AddChars(document::Typeface& typeface, const BmFont& font, const std::vector<Layer>& layers,
              std::vector<std::string>& warnings) {
    std::map<std::pair<std::int64_t, int>, std::int64_t> layerTops;
    for (const Layer& layer : layers) {
        layerTops[{layer.Page, layer.Plane}] = layer.Top;
    }
    std::int64_t substitutes = 0;
    std::int64_t outsideCodes = 0;
    std::int64_t unknownPage = 0;
    for (const BmFontChar& character : font.Chars) {
        if (character.Id == -1) {
            ++substitutes;
            continue;
        }
        if (character.Id < 0 || character.Id > MaxCode) {
            ++outsideCodes;
            continue;
        }
        std::int64_t top = 0;
        if (const auto layer = layerTops.find({character.Page, PlaneOf(font, character)});
            layer != layerTops.end()) {
            top = layer->second;
        } else {
            ++unknownPage;
        }
        document::Character& added = document::AddCharacter(typeface, character.Id);
        added.Source = {character.X, character.Y + top, character.Width, character.Height};
        added.Outlay = {character.XOffset, character.YOffset, character.XAdvance,
                        font.Common.LineHeight};
    }
    if (substitutes > 0) {
        warnings.push_back("skipped " + Plural(substitutes, "character", "characters") +
                           " with id -1 (a substitute glyph has no code)");
    }
    if (outsideCodes > 0) {
        warnings.push_back("skipped " + Plural(outsideCodes, "character", "characters") +
                           " with codes above 0xFFFF or below 0");
    }
    if (unknownPage > 0) {
        warnings.push_back(Plural(unknownPage, "character refers", "characters refer") +
                           " to a page that is not declared; their cells were not moved");
    }
}

void AddKernings(document::Typeface& typeface, const BmFont& font,
                 std::vector<std::string>& warnings) {
    std::int64_t outsidePairs = 0;
    for (const BmFontKerning& kerning : font.Kernings) {
        if (kerning.First < 0 || kerning.First > MaxCode || kerning.Second < 0 ||
            kerning.Second > MaxCode) {
            ++outsidePairs;
            continue;
        }
        document::AddKerningPair(typeface, kerning.First, kerning.Second, kerning.Amount);
    }
    if (outsidePairs > 0) {
        warnings.push_back("skipped " + Plural(outsidePairs, "kerning pair", "kerning pairs") +
                           " with codes above 0xFFFF or below 0");
    }
}

// The info fields and the base as properties, kept for the next export.
void KeepProperties(document::Typeface& typeface, const BmFont& font) {
    const BmFontInfo& info = font.Info;
    auto& properties = typeface.Content.Properties;
    properties["Face"] = info.Face;
    properties["Size"] = Number(info.Size);
    properties["Bold"] = Number(info.Bold);
    properties["Italic"] = Number(info.Italic);
    properties["Charset"] = info.Charset;
    properties["Unicode"] = Number(info.Unicode);
    properties["StretchH"] = Number(info.StretchH);
    properties["Smooth"] = Number(info.Smooth);
    properties["Aa"] = Number(info.Aa);
    properties["Padding"] = List(info.Padding);
    properties["Spacing"] = List(info.Spacing);
    properties["Outline"] = Number(info.Outline);
    properties["Base"] = Number(font.Common.Base);
    if (font.DistanceField) {
        properties[document::DistanceFieldProperty] = font.DistanceField->FieldType;
        properties[document::DistanceRangeProperty] = Number(font.DistanceField->Range);
    }
}

// A font of several pages of one size, each read and none of them packed, keeps that page size,
// so that a save writes the same pages again.
void KeepPageSize(document::Typeface& typeface, const Stack& stack,
                  const std::vector<Layer>& layers, const PageFiles& files) {
    if (stack.Packed || layers.size() < 2 || !files.at(layers.front().Page)) {
        return;
    }
    const document::PictureSize size = files.at(layers.front().Page)->Size;
    for (const Layer& layer : layers) {
        const std::optional<PageFile>& file = files.at(layer.Page);
        if (!file || file->Size.Width != size.Width || file->Size.Height != size.Height) {
            return;
        }
    }
    document::PropertyValue(typeface, document::PageSizeProperty) =
        document::PageSizeText({size.Width, size.Height});
}

// The line height is the space's line advance, as the example text takes it; without a space
// the largest, so no line overlaps the next.
std::int64_t ExportLineHeight(const document::Typeface& typeface) {
    if (const document::Character* space = document::FindCharacter(typeface, 32)) {
        return space->Outlay.Height;
    }
    std::int64_t lineHeight = 0;
    for (const document::Character& character : typeface.Content.Characters) {
        lineHeight = std::max(lineHeight, character.Outlay.Height);
    }
    return lineHeight;
}

// Reads the properties a typeface keeps for the export into descriptor fields. The first value
// that is not what its field needs sets error; later ones are then left unread.
struct PropertyReader {
    const std::map<std::string, std::string>& Properties;
    std::string& Error;

    [[nodiscard]] const std::string* Find(const char* key) const {
        const auto found = Properties.find(key);
        return found == Properties.end() ? nullptr : &found->second;
    }

    void Integers(const char* key, std::span<std::int64_t> values) const {
        const std::string* text = Find(key);
        if (text == nullptr || !Error.empty() || ReadIntegers(*text, values)) {
            return;
        }
        Error = "the property \"" + std::string(key) + "\" must be " +
                (values.size() == 1
                     ? std::string("a whole number")
                     : std::to_string(values.size()) + " whole numbers separated by commas") +
                ", not \"" + *text + "\"";
    }

    [[nodiscard]] bool Flag(const char* key, bool fallback) const {
        std::int64_t value = fallback ? 1 : 0;
        Integers(key, {&value, 1});
        return value != 0;
    }
};

void ReadInfo(BmFontInfo& info, const PropertyReader& read, std::int64_t lineHeight) {
    if (const std::string* face = read.Find("Face")) {
        info.Face = *face;
    }
    info.Size = lineHeight;
    read.Integers("Size", {&info.Size, 1});
    info.Bold = read.Flag("Bold", false);
    info.Italic = read.Flag("Italic", false);
    if (const std::string* charset = read.Find("Charset")) {
        info.Charset = *charset;
    }
    info.Unicode = read.Flag("Unicode", true);
    read.Integers("StretchH", {&info.StretchH, 1});
    info.Smooth = read.Flag("Smooth", true);
    read.Integers("Aa", {&info.Aa, 1});
    read.Integers("Padding", info.Padding);
    read.Integers("Spacing", info.Spacing);
    if (const std::optional<std::int64_t> outline =
            document::RoundedOutlineWidth(read.Properties)) {
        info.Outline = *outline;
    } else if (read.Error.empty()) {
        read.Error = "the property \"Outline\" must be a number, not \"" +
                     *read.Find(document::OutlineProperty) + "\"";
    }
}

// Channel fields belong to the picture they were read with; any other picture is plain RGBA.
const document::PictureChannels* ChannelsOfPicture(const document::TypefaceContent& content) {
    return content.Channels && content.Image && content.Channels->Picture.lock() == content.Image
               ? &*content.Channels
               : nullptr;
}

// The common fields of a font with a single page; channels is none for a plain RGBA picture.
void ReadCommon(BmFontCommon& common, const PropertyReader& read,
                const document::TypefaceContent& content, const document::PictureChannels* channels,
                std::int64_t lineHeight) {
    common.LineHeight = lineHeight;
    common.Base = lineHeight;
    read.Integers("Base", {&common.Base, 1});
    if (content.Image) {
        common.ScaleW = content.Image->Width;
        common.ScaleH = content.Image->Height;
    }
    common.Pages = 1;
    if (channels != nullptr) {
        common.AlphaChnl = channels->AlphaChnl;
        common.RedChnl = channels->RedChnl;
        common.GreenChnl = channels->GreenChnl;
        common.BlueChnl = channels->BlueChnl;
        return;
    }
    // Otherwise the effects the import recorded say what the channels hold.
    switch (document::PictureKindOf(content.Properties, content.Image.get())) {
    case document::PictureKind::WhiteGlyphs:
        break; // the defaults: glyphs in alpha, colour channels one
    case document::PictureKind::WhiteWithBlackOutline:
        common.AlphaChnl = 1; // alpha holds the outline, the colour channels the glyph
        common.RedChnl = common.GreenChnl = common.BlueChnl = 0;
        break;
    case document::PictureKind::Coloured:
        common.AlphaChnl = common.RedChnl = common.GreenChnl = common.BlueChnl = 0;
        break;
    }
}

// A char record per character. False, with error set and the warning left out, at the first
// code the format cannot hold.
bool AddCharRecords(BmFont& font, const document::TypefaceContent& content,
                    const document::PictureChannels* channels, const BmFontPaging& paging,
                    std::int64_t lineHeight, std::string& error,
                    std::vector<std::string>& warnings) {
    std::int64_t otherHeights = 0;
    for (const document::Character& character : content.Characters) {
        if (character.Index < 0 || character.Index > MaxCode) {
            error = "the character code " + std::to_string(character.Index) +
                    " cannot be written (codes are 0..65535)";
            return false;
        }
        if (character.Outlay.Height != lineHeight) {
            ++otherHeights;
        }
        std::int64_t chnl = 15;
        if (channels != nullptr) {
            const auto found = channels->CharacterChnl.find(character.Index);
            chnl = found == channels->CharacterChnl.end() ? 15 : found->second;
        }
        const std::optional<PagePlace> place = PlaceOnPage(character.Source, paging);
        if (!place) {
            error = "the cell of character " + std::to_string(character.Index) +
                    " crosses the edge of a page of " + std::to_string(paging.Width) + " x " +
                    std::to_string(paging.Height) +
                    " pixels; pack the typeface into its pages first (layout --compact)";
            return false;
        }
        // A reader draws the cell at the cursor plus (xoffset, yoffset), y down from the line's
        // top, which is where Outlay X/Y put it here; cropped, compactly packed cells keep their
        // place.
        font.Chars.push_back({character.Index, character.Source.X, place->Y, character.Source.Width,
                              character.Source.Height, character.Outlay.X, character.Outlay.Y,
                              character.Outlay.Width, place->Page, chnl});
    }
    if (otherHeights > 0) {
        warnings.push_back(Plural(otherHeights, "character has", "characters have") +
                           " a line advance other than " + std::to_string(lineHeight) +
                           "; the format keeps one line height for the font");
    }
    return true;
}

// The distance field the properties record. False, with error set, when they name one in a way
// the files cannot hold.
bool ReadDistanceField(BmFont& font, const document::Properties& properties, std::string& error) {
    font.DistanceField = document::DistanceFieldOf(properties);
    const auto isSet = [&](const char* key) {
        const auto found = properties.find(key);
        return found != properties.end() && !found->second.empty();
    };
    if (font.DistanceField || !error.empty() ||
        (!isSet(document::DistanceFieldProperty) && !isSet(document::DistanceRangeProperty))) {
        return true;
    }
    error = "the properties \"DistanceField\" and \"DistanceRange\" must be a field type (letters "
            "and digits) and a whole number 1..65535";
    return false;
}

// Names the non-empty properties that have no field in the format.
void WarnDroppedProperties(const std::map<std::string, std::string>& properties,
                           std::vector<std::string>& warnings) {
    std::vector<std::string> dropped;
    for (const auto& entry : properties) {
        const bool known =
            std::find_if(PropertyKeys.begin(), PropertyKeys.end(),
                         [&](const char* k) { return entry.first == k; }) != PropertyKeys.end() ||
            entry.first == document::DistanceFieldProperty ||
            entry.first == document::PageSizeProperty ||
            entry.first == document::DistanceRangeProperty ||
            entry.first == document::InkProperty; // the channel fields tell it
        if (!known && !entry.second.empty()) {
            dropped.push_back(entry.first);
        }
    }
    if (!dropped.empty()) {
        std::string list;
        for (const std::string& key : dropped) {
            list += (list.empty() ? "\"" : ", \"") + key + "\"";
        }
        warnings.push_back("the format has no place for the properties " + list);
    }
}

bool Unrecorded(const std::map<std::string, std::string>& properties, const char* key) {
    const auto found = properties.find(key);
    return found == properties.end() || found->second.empty();
}

// Engines look a font up by its face and align text on its base, so a typeface that never
// recorded them (one read from "XML & Image", say) gets values from its file name and its glyphs
// instead of an empty face and a base at the line's bottom, each with a warning.
void FillUnrecordedFields(BmFont& font, const document::Typeface& typeface,
                          const std::string& baseName, std::vector<std::string>& warnings) {
    const auto& properties = typeface.Content.Properties;
    if (Unrecorded(properties, "Face")) {
        font.Info.Face = baseName;
        warnings.push_back(
            "the typeface has no \"Face\"; the face is written as the file's name \"" + baseName +
            "\"");
    }
    if (Unrecorded(properties, "Base")) {
        if (const std::optional<std::int64_t> base = document::InkBaseline(typeface)) {
            font.Common.Base = *base;
            warnings.push_back("the typeface has no \"Base\"; the base " + Number(*base) +
                               " was derived from the ink of flat-bottomed glyphs");
        } else {
            warnings.push_back("the typeface has no \"Base\" and no flat-bottomed glyph to "
                               "derive it from; the base is written as the line height " +
                               Number(font.Common.Base));
        }
    }
    if (Unrecorded(properties, "Size")) {
        warnings.push_back("the typeface has no \"Size\"; the size is written as the line height " +
                           Number(font.Info.Size));
    }
}

// One page record per page, named after the descriptor; scaleW and scaleH are a page's size.
void AddPages(BmFont& font, const BmFontPaging& paging, const std::string& baseName) {
    if (!paging.Whole) {
        font.Common.ScaleW = paging.Width;
        font.Common.ScaleH = paging.Height;
    }
    font.Common.Pages = paging.Count;
    const std::vector<std::string> names = BmFontPageNames(baseName, paging.Count);
    for (std::int64_t page = 0; page < paging.Count; ++page) {
        font.Pages.push_back({page, names[static_cast<std::size_t>(page)]});
    }
}

// Pairs whose left or right character is not in the typeface are left out: engines look both up
// and some fail on a pair they cannot find. Every other pair is kept, zero amounts included, as a
// zero can be a deliberate override.
void AddKerningRecords(BmFont& font, const document::TypefaceContent& content,
                       std::vector<std::string>& warnings) {
    std::vector<bool> present(MaxCode + 1, false);
    for (const document::Character& character : content.Characters) {
        if (character.Index >= 0 && character.Index <= MaxCode) {
            present[static_cast<std::size_t>(character.Index)] = true;
        }
    }
    std::int64_t orphans = 0;
    for (const document::KerningPair& pair : content.KerningPairs) {
        const std::int64_t left = document::PairLeft(pair);
        const std::int64_t right = document::PairRight(pair);
        if (left > MaxCode || right > MaxCode || !present[static_cast<std::size_t>(left)] ||
            !present[static_cast<std::size_t>(right)]) {
            ++orphans;
            continue;
        }
        font.Kernings.push_back({left, right, pair.Amount});
    }
    if (orphans > 0) {
        warnings.push_back("left out " + Plural(orphans, "kerning pair", "kerning pairs") +
                           " whose left or right character is not in the typeface");
    }
}

} // namespace

std::int64_t ParseBmFontNumber(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
        negative = text[position] == '-';
        ++position;
    }
    std::int64_t value = 0;
    for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
        value = std::min<std::int64_t>(value * 10 + (text[position] - '0'), Int32Max + 1);
    }
    return negative ? -value : std::min(value, Int32Max);
}

std::string BmFontCharsetName(std::int64_t number) {
    for (const auto& [value, name] : CharsetNames) {
        if (value == number) {
            return name;
        }
    }
    return std::to_string(number);
}

std::optional<std::int64_t> BmFontCharsetNumber(const std::string& name) {
    for (const auto& [value, known] : CharsetNames) {
        if (name == known) {
            return value;
        }
    }
    std::int64_t value = 0;
    if (ReadIntegers(name, {&value, 1}) && value >= 0 && value <= 255) {
        return value;
    }
    return std::nullopt;
}

std::vector<std::string> BmFontPageNames(const std::string& baseName, std::int64_t count) {
    const std::size_t digits = std::to_string(std::max<std::int64_t>(count - 1, 0)).size();
    std::vector<std::string> names;
    for (std::int64_t page = 0; page < count; ++page) {
        const std::string number = std::to_string(page);
        names.push_back(baseName + "_" + std::string(digits - number.size(), '0') + number +
                        ".png");
    }
    return names;
}

std::span<const char* const> BmFontPropertyKeys() {
    return PropertyKeys;
}

void AddBmFontRecord(BmFont& font, const BmFontRecord& record) {
    if (record.Tag == "info") {
        for (const BmFontField& field : record.Fields) {
            ApplyInfo(font.Info, field.Key, field.Value);
        }
    } else if (record.Tag == "common") {
        for (const BmFontField& field : record.Fields) {
            ApplyCommon(font.Common, field.Key, field.Value);
        }
    } else if (record.Tag == "page") {
        BmFontPage& page = font.Pages.emplace_back();
        for (const BmFontField& field : record.Fields) {
            if (field.Key == "id") {
                page.Id = ParseBmFontNumber(field.Value);
            } else if (field.Key == "file") {
                page.File = field.Value;
            }
        }
    } else if (record.Tag == "char") {
        BmFontChar& character = font.Chars.emplace_back();
        for (const BmFontField& field : record.Fields) {
            for (const auto& [key, member] : CharFields) {
                if (field.Key == key) {
                    character.*member = ParseBmFontNumber(field.Value);
                }
            }
        }
    } else if (record.Tag == "distanceField") {
        document::DistanceField field;
        for (const BmFontField& f : record.Fields) {
            if (f.Key == "fieldType") {
                field.FieldType = f.Value;
            } else if (f.Key == "distanceRange") {
                field.Range = ParseBmFontNumber(f.Value);
            }
        }
        // A damaged line is dropped rather than kept in a form no writer can reproduce.
        if (document::IsWritableDistanceField(field)) {
            font.DistanceField = field;
        }
    } else if (record.Tag == "kerning") {
        BmFontKerning& kerning = font.Kernings.emplace_back();
        for (const BmFontField& field : record.Fields) {
            for (const auto& [key, member] : KerningFields) {
                if (field.Key == key) {
                    kerning.*member = ParseBmFontNumber(field.Value);
                }
            }
        }
    }
}

std::vector<BmFontRecord> BmFontRecords(const BmFont& font) {
    std::vector<BmFontRecord> records;
    const BmFontInfo& info = font.Info;
    records.push_back({"info",
                       {{"face", info.Face, true},
                        {"size", Number(info.Size)},
                        {"bold", Number(info.Bold)},
                        {"italic", Number(info.Italic)},
                        {"charset", info.Charset, true},
                        {"unicode", Number(info.Unicode)},
                        {"stretchH", Number(info.StretchH)},
                        {"smooth", Number(info.Smooth)},
                        {"aa", Number(info.Aa)},
                        {"padding", List(info.Padding)},
                        {"spacing", List(info.Spacing)},
                        {"outline", Number(info.Outline)}}});
    const BmFontCommon& common = font.Common;
    records.push_back({"common",
                       {{"lineHeight", Number(common.LineHeight)},
                        {"base", Number(common.Base)},
                        {"scaleW", Number(common.ScaleW)},
                        {"scaleH", Number(common.ScaleH)},
                        {"pages", Number(common.Pages)},
                        {"packed", Number(common.Packed)},
                        {"alphaChnl", Number(common.AlphaChnl)},
                        {"redChnl", Number(common.RedChnl)},
                        {"greenChnl", Number(common.GreenChnl)},
                        {"blueChnl", Number(common.BlueChnl)}}});
    for (const BmFontPage& page : font.Pages) {
        records.push_back({"page", {{"id", Number(page.Id)}, {"file", page.File, true}}});
    }
    if (font.DistanceField) {
        // The type quoted: parse-bmfont-ascii reads an unquoted word as no value at all.
        records.push_back({"distanceField",
                           {{"fieldType", font.DistanceField->FieldType, true},
                            {"distanceRange", Number(font.DistanceField->Range)}}});
    }
    records.push_back({"chars", {{"count", Number(static_cast<std::int64_t>(font.Chars.size()))}}});
    for (const BmFontChar& character : font.Chars) {
        BmFontRecord& record = records.emplace_back(BmFontRecord{"char", {}});
        for (const auto& [key, member] : CharFields) {
            record.Fields.push_back({key, Number(character.*member)});
        }
    }
    if (!font.Kernings.empty()) {
        records.push_back(
            {"kernings", {{"count", Number(static_cast<std::int64_t>(font.Kernings.size()))}}});
        for (const BmFontKerning& kerning : font.Kernings) {
            BmFontRecord& record = records.emplace_back(BmFontRecord{"kerning", {}});
            for (const auto& [key, member] : KerningFields) {
                record.Fields.push_back({key, Number(kerning.*member)});
            }
        }
    }
    return records;
}

PositionAdvice AdviseBmFontPictureWidth(const BmFont& font, std::int64_t low, std::int64_t high) {
    std::vector<document::CellSize> cells;
    cells.reserve(font.Chars.size());
    for (const BmFontChar& character : font.Chars) {
        cells.push_back({character.Width, character.Height});
    }
    return AdvisePictureWidth(cells, low, high);
}

base::Result<base::Done> CheckBmFontTextRanges(const BmFont& font) {
    auto outside = [](std::int64_t value) { return value < Int32Min || value > Int32Max; };
    for (const BmFontChar& character : font.Chars) {
        for (const auto& [key, member] : CharFields) {
            if (outside(character.*member)) {
                std::string reason = "character " + std::to_string(character.Id) + ": " + key +
                                     " " + std::to_string(character.*member) +
                                     " is outside the 32-bit range";
                if (member == &BmFontChar::X || member == &BmFontChar::Y) {
                    reason += AdviseBmFontPictureWidth(font, Int32Min, Int32Max).Text;
                }
                return base::Failure{std::move(reason)};
            }
        }
    }
    for (const BmFontKerning& kerning : font.Kernings) {
        if (outside(kerning.Amount) || outside(kerning.First) || outside(kerning.Second)) {
            return base::Failure{"kerning pair " + std::to_string(kerning.First) + ", " +
                                 std::to_string(kerning.Second) + " is outside the 32-bit range"};
        }
    }
    const BmFontCommon& common = font.Common;
    for (const std::int64_t value : {common.LineHeight, common.Base, common.ScaleW, common.ScaleH,
                                     font.Info.Size, font.Info.StretchH}) {
        if (outside(value)) {
            return base::Failure{"the value " + std::to_string(value) +
                                 " is outside the 32-bit range"};
        }
    }
    return base::Done{};
}

void ApplyBmFont(document::Typeface& typeface, const BmFont& font, const std::string& directory,
                 std::vector<std::string>& warnings) {
    const std::map<std::int64_t, std::string> pages = DeclaredPages(font, warnings);
    std::vector<Layer> layers = NeededLayers(font, pages);
    const PageFiles files = FindPages(font, pages, layers, directory, warnings);
    const Stack stack = PlaceLayers(layers, files);
    SetStackedPicture(typeface, stack, layers, files, warnings);
    KeepChannels(typeface, font);
    if (stack.Packed) {
        warnings.push_back("packed channels were expanded into " +
                           Plural(stack.LayerCount, "layer", "layers") +
                           " of white glyphs on alpha");
    } else if (stack.LayerCount > 1) {
        warnings.push_back(Plural(stack.LayerCount, "page", "pages") +
                           " were stacked into one picture");
    }
    AddChars(typeface, font, layers, warnings);
    AddKernings(typeface, font, warnings);
    KeepProperties(typeface, font);
    KeepPageSize(typeface, stack, layers, files);
}

base::Result<BmFont> BmFontFromTypeface(const document::Typeface& typeface,
                                        const std::string& baseName) {
    base::Result<BmFont> result;
    std::string& error = result.Error;
    std::vector<std::string>& warnings = result.Warnings;
    BmFont font;
    const document::TypefaceContent& content = typeface.Content;
    const std::int64_t lineHeight = ExportLineHeight(typeface);
    const PropertyReader read{content.Properties, error};
    ReadInfo(font.Info, read, lineHeight);
    const document::PictureChannels* channels = ChannelsOfPicture(content);
    ReadCommon(font.Common, read, content, channels, lineHeight);
    FillUnrecordedFields(font, typeface, baseName, warnings);
    base::Result<BmFontPaging> paging = PlanBmFontPages(typeface);
    warnings.insert(warnings.end(), paging.Warnings.begin(), paging.Warnings.end());
    if (!paging) {
        error = std::move(paging.Error);
        return result;
    }
    AddPages(font, *paging.Value, baseName);
    if (!ReadDistanceField(font, content.Properties, error) ||
        !AddCharRecords(font, content, channels, *paging.Value, lineHeight, error, warnings)) {
        return result;
    }
    AddKerningRecords(font, content, warnings);
    WarnDroppedProperties(content.Properties, warnings);
    if (error.empty()) {
        result.Value = std::move(font);
    }
    return result;
}

} // namespace glyfora::formats

// Writes one typeface as text.fnt, xml.fnt, binary.fnt and json.json (each with its page picture)
// into the folder given as the only argument, plus expected.json: the glyphs and kernings an
// independent reader must find, taken from the typeface itself rather than from our writers. The
// same typeface, repacked compactly, goes into the subfolder "compact"; its expected.json also
// holds where each glyph's ink was drawn before the repacking, which is where a reader must place
// it. Repacked again into pages of 16 x 16, it goes into "paged", one picture per page.

#include "document/PageSize.h"
#include "document/Pixel.h"
#include "document/TypefaceRepacking.h"
#include "formats/bmfont/BmFontFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

using namespace glyfora::base;
using namespace glyfora::document;
using namespace glyfora::formats;

namespace {

Typeface& MakeTypeface(TypefaceRegistry& registry) {
    Typeface& typeface = *CreateTypeface(registry, 5);
    std::optional<Image> image = MakeImage(64, 48, 0x00FFFFFF);
    for (std::int64_t y = 0; y < image->Height; ++y) {
        for (std::int64_t x = 0; x < image->Width; ++x) {
            image->At(x, y) = static_cast<std::uint32_t>(((x * 7 + y * 3) % 256) << 24) | 0xFFFFFF;
        }
    }
    SetCharacterSetImage(typeface, std::move(image));
    struct Cell {
        std::int64_t Code;
        Rect64 Source;
        Rect64 Outlay;
    };
    const Cell cells[] = {
        {32, {0, 0, 0, 0}, {0, 0, 6, 20}},         {65, {1, 1, 12, 15}, {-1, 3, 11, 20}},
        {86, {14, 1, 12, 15}, {0, 3, 12, 20}},     {103, {27, 1, 9, 17}, {0, 6, 10, 20}},
        {0x4E2D, {37, 1, 18, 18}, {1, 2, 20, 20}}, {0xFFFD, {1, 20, 14, 14}, {-2, -1, 15, 20}},
        {38, {16, 20, 11, 15}, {0, 3, 12, 20}},
    };
    for (const Cell& cell : cells) {
        Character& character = AddCharacter(typeface, cell.Code);
        character.Source = cell.Source;
        character.Outlay = cell.Outlay;
    }
    AddKerningPair(typeface, 65, 86, -2);
    AddKerningPair(typeface, 86, 65, -3);
    AddKerningPair(typeface, 65, 103, 1);
    AddKerningPair(typeface, 0x4E2D, 0xFFFD, 4);
    AddKerningPair(typeface, 38, 65, 0); // carries nothing: left out of every variant
    typeface.Content.Properties["Face"] = "Sample & Sons";
    typeface.Content.Properties["Size"] = "-18";
    typeface.Content.Properties["Base"] = "16";
    return typeface;
}

// Where the ink of each character lies relative to the pen: its offset plus the ink's place in its
// cell. Found here pixel by pixel, independently of the repacking.
struct InkPlace {
    std::int64_t Code = 0;
    Rect64 Box;
};

std::vector<InkPlace> InkPlaces(const Typeface& typeface) {
    const Image& picture = *typeface.Content.Image;
    std::vector<InkPlace> places;
    for (const Character& c : typeface.Content.Characters) {
        std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        for (std::int64_t y = c.Source.Y; y < c.Source.Y + c.Source.Height; ++y) {
            for (std::int64_t x = c.Source.X; x < c.Source.X + c.Source.Width; ++x) {
                if (picture.Contains(x, y) && Alpha(picture.At(x, y)) != 0) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x + 1);
                    bottom = std::max(bottom, y + 1);
                }
            }
        }
        if (left < right) {
            places.push_back({c.Index,
                              {c.Outlay.X + left - c.Source.X, c.Outlay.Y + top - c.Source.Y,
                               right - left, bottom - top}});
        }
    }
    return places;
}

// Clears a frame two pixels wide inside every cell, so that the repacking crops something.
void ClearCellFrames(Typeface& typeface) {
    Image picture = *typeface.Content.Image;
    for (const Character& c : typeface.Content.Characters) {
        for (std::int64_t y = c.Source.Y; y < c.Source.Y + c.Source.Height; ++y) {
            for (std::int64_t x = c.Source.X; x < c.Source.X + c.Source.Width; ++x) {
                const bool frame = x < c.Source.X + 2 || y < c.Source.Y + 2 ||
                                   x >= c.Source.X + c.Source.Width - 2 ||
                                   y >= c.Source.Y + c.Source.Height - 2;
                if (frame && picture.Contains(x, y)) {
                    picture.At(x, y) &= 0x00FFFFFFU;
                }
            }
        }
    }
    SetCharacterSetImage(typeface, std::move(picture));
}

// page is the typeface's page size, none for one picture: then each char lies on the page its
// cell's top is on, at its y within that page.
void WriteExpected(const Typeface& typeface, const std::string& path,
                   const std::vector<InkPlace>& ink = {},
                   std::optional<PageSize> page = std::nullopt) {
    const Image& picture = *typeface.Content.Image;
    const PageSize size = page.value_or(PageSize{picture.Width, picture.Height});
    std::ofstream out(path);
    out << "{\n  \"face\": \"Sample & Sons\",\n  \"lineHeight\": 20,\n  \"base\": 16,\n"
        << "  \"scaleW\": " << size.Width << ",\n  \"scaleH\": " << size.Height
        << ",\n  \"pages\": " << (picture.Height + size.Height - 1) / size.Height
        << ",\n  \"chars\": [\n";
    bool first = true;
    for (const Character& c : typeface.Content.Characters) {
        const std::int64_t onPage = c.Source.Height > 0 ? c.Source.Y / size.Height : 0;
        out << (first ? "" : ",\n") << "    {\"id\": " << c.Index << ", \"x\": " << c.Source.X
            << ", \"y\": " << c.Source.Y - onPage * size.Height << ", \"width\": " << c.Source.Width
            << ", \"height\": " << c.Source.Height << ", \"xoffset\": " << c.Outlay.X
            << ", \"yoffset\": " << c.Outlay.Y << ", \"xadvance\": " << c.Outlay.Width
            << ", \"page\": " << onPage << "}";
        first = false;
    }
    out << "\n  ],\n  \"kernings\": [\n";
    first = true;
    for (const KerningPair& pair : typeface.Content.KerningPairs) {
        out << (first ? "" : ",\n") << "    {\"first\": " << PairLeft(pair)
            << ", \"second\": " << PairRight(pair) << ", \"amount\": " << pair.Amount << "}";
        first = false;
    }
    out << "\n  ],\n  \"ink\": [\n";
    first = true;
    for (const InkPlace& place : ink) {
        out << (first ? "" : ",\n") << "    {\"id\": " << place.Code
            << ", \"xoffset\": " << place.Box.X << ", \"yoffset\": " << place.Box.Y
            << ", \"width\": " << place.Box.Width << ", \"height\": " << place.Box.Height << "}";
        first = false;
    }
    out << "\n  ]\n}\n";
}

// The four variants of typeface and expected.json in folder (which ends in a separator).
bool WriteSamples(const Typeface& typeface, const std::string& folder,
                  const std::vector<InkPlace>& ink = {}) {
    std::filesystem::create_directories(folder);
    const std::pair<const char*, BmFontVariant> variants[] = {
        {"text.fnt", BmFontVariant::Text},
        {"xml.fnt", BmFontVariant::Xml},
        {"binary.fnt", BmFontVariant::Binary},
        {"json.json", BmFontVariant::Json},
    };
    for (const auto& [name, variant] : variants) {
        const Result<Done> result = WriteBmFont(typeface, folder + name, variant);
        if (!result.Ok()) {
            std::cerr << name << ": " << result.Error << "\n";
            return false;
        }
    }
    WriteExpected(typeface, folder + "expected.json", ink, PageSizeOf(typeface));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " FOLDER\n";
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    TypefaceRegistry registry;
    if (!WriteSamples(MakeTypeface(registry), folder)) {
        return 1;
    }
    Typeface& compact = MakeTypeface(registry);
    ClearCellFrames(compact);
    const std::vector<InkPlace> ink = InkPlaces(compact);
    const Result<Done> packed = PackCompactly(compact, {});
    if (!packed.Ok()) {
        std::cerr << "packing: " << packed.Error << "\n";
        return 1;
    }
    if (!WriteSamples(compact, folder + "compact/", ink)) {
        return 1;
    }
    // The same cells in pages of 16 x 16, one or two to a page.
    PackingRules paged;
    paged.Pages = PageSize{16, 16};
    if (const Result<Done> repacked = PackCompactly(compact, paged); !repacked.Ok()) {
        std::cerr << "packing into pages: " << repacked.Error << "\n";
        return 1;
    }
    return WriteSamples(compact, folder + "paged/", ink) ? 0 : 1;
}

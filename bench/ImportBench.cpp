// Times one font import, either through Glyfora's import pipeline or through a bare single-thread
// FreeType loop that renders the same glyphs into a same-sized picture, and writes the picture as
// PNG. Run each mode in its own process (bench/import_bench.sh does, under /usr/bin/time -v) so
// that peak memory is measured per mode.
//
//   glyfora_bench_import glyfora|freetype FAMILY SIZE all|latin WIDTH OUT.png [JOBS]
//
// Besides the total it prints how long the picture took to make, before the PNG is written, so
// that rasterising can be told apart from encoding. JOBS (default: one per core) is the import's.

#include "formats/PictureFile.h"
#include "import/FontMatching.h"
#include "import/GlyphPacking.h"
#include "platform/GraphicsLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

namespace {

using namespace glyfora;

FT_Face OpenFace(const platform::GraphicsLibrary& graphics, const std::string& family) {
    const auto file = fontimport::MatchFontFile(family, 0);
    FT_Face face = nullptr;
    if (!file || FT_New_Face(graphics.Library, file->Path.c_str(), file->FaceIndex, &face) != 0) {
        std::fprintf(stderr, "cannot open %s\n", family.c_str());
        std::exit(1);
    }
    return face;
}

std::vector<std::uint16_t> Codes(FT_Face face, bool all) {
    std::vector<std::uint16_t> codes;
    FT_UInt glyph = 0;
    for (FT_ULong code = FT_Get_First_Char(face, &glyph); glyph != 0 && code < 0x10000;
         code = FT_Get_Next_Char(face, code, &glyph)) {
        if (all || code <= 255) {
            codes.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return codes;
}

// The baseline's PNG: libpng's simplified writer as a program would use it without us, RGBA with
// libpng's default filters and compression.
bool WriteLibpngPng(const document::Image& image, const std::string& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGBA;
    const int written =
        png_image_write_to_file(&png, path.c_str(), 0, image.Pixels.data(), 0, nullptr);
    png_image_free(&png);
    return written != 0;
}

// The baseline: render every glyph unhinted and antialiased, pack the advance-wide, line-high
// cells in rows of maxWidth pixels, and write the picture.
document::Image FreeTypeLoop(FT_Face face, const std::vector<std::uint16_t>& codes, int size,
                             std::int64_t maxWidth) {
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    const double scale = static_cast<double>(size) / face->units_per_EM;
    const auto lineHeight = static_cast<std::int64_t>(face->height * scale + 0.5);
    // Glyfora's default import draws with pixel offset None: origins half a pixel right and down,
    // on the unrounded baseline. The loop does the same so that both pictures hold the same pixels.
    const double ascent = face->ascender * scale + 0.5;
    const auto wholeAscent = static_cast<std::int64_t>(ascent);
    const auto fraction = static_cast<FT_Pos>((ascent - static_cast<double>(wholeAscent)) * 64.0);
    struct Cell {
        std::int64_t X, Y, Width;
    };
    std::vector<Cell> cells;
    std::int64_t x = 0, y = 0;
    for (const std::uint16_t code : codes) {
        FT_Load_Char(face, code, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
        const auto width =
            static_cast<std::int64_t>(face->glyph->linearHoriAdvance / 65536.0 + 0.5);
        if (x + width > maxWidth) {
            x = 0;
            y += lineHeight;
        }
        cells.push_back({x, y, width});
        x += width;
    }
    const std::int64_t height = ((y + lineHeight + 63) / 64) * 64;
    auto image = document::MakeImage(maxWidth, height, 0x00FFFFFF);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        FT_Load_Char(face, codes[i], FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
        FT_Outline_Translate(&face->glyph->outline, 32, -fraction);
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const std::int64_t left = cells[i].X + face->glyph->bitmap_left;
        const std::int64_t top = cells[i].Y + wholeAscent - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const std::uint8_t coverage = bitmap.buffer[row * bitmap.pitch + column];
                if (coverage != 0 && image->Contains(left + column, top + row)) {
                    image->At(left + column, top + row) =
                        0x00FFFFFFU | static_cast<std::uint32_t>(coverage) << 24;
                }
            }
        }
    }
    return std::move(*image);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7 && argc != 8) {
        std::fprintf(stderr,
                     "usage: %s glyfora|freetype FAMILY SIZE all|latin WIDTH OUT.png [JOBS]\n",
                     argv[0]);
        return 2;
    }
    const bool glyfora = std::strcmp(argv[1], "glyfora") == 0;
    const std::string family = argv[2];
    const int size = std::atoi(argv[3]);
    const bool all = std::strcmp(argv[4], "all") == 0;
    const std::int64_t maxWidth = std::max(std::atoll(argv[5]), 1LL);
    const std::string out = argv[6];
    const std::int64_t jobs =
        argc == 8 ? std::max(std::atoll(argv[7]), 1LL) : fontimport::CoreCount();

    const auto start = std::chrono::steady_clock::now();
    platform::GraphicsLibrary graphics;
    if (!platform::InitGraphicsLibrary(graphics)) {
        return 1;
    }
    FT_Face face = OpenFace(graphics, family);
    const std::vector<std::uint16_t> codes = Codes(face, all);
    std::int64_t width = 0, height = 0;
    auto made = start;
    if (glyfora) {
        FT_Done_Face(face);
        fontimport::ImportOptions options;
        options.Family = family;
        options.Size = size;
        options.MaxWidth = maxWidth;
        options.Unicode = all;
        fontimport::FontImportInput input;
        input.Codes = codes;
        document::TypefaceRegistry registry;
        auto result =
            fontimport::CreateTypefaceFromFont(registry, 5, options, input, graphics, {}, jobs);
        made = std::chrono::steady_clock::now();
        if (!result.Typeface || !formats::WritePngFile(*result.Typeface->Content.Image, out).Ok()) {
            std::fprintf(stderr, "import failed: %s\n", result.Error.c_str());
            return 1;
        }
        width = result.Typeface->Content.Image->Width;
        height = result.Typeface->Content.Image->Height;
    } else {
        const document::Image image = FreeTypeLoop(face, codes, size, maxWidth);
        FT_Done_Face(face);
        made = std::chrono::steady_clock::now();
        if (!WriteLibpngPng(image, out)) {
            return 1;
        }
        width = image.Width;
        height = image.Height;
    }
    const auto seconds = [&start](auto end) {
        return std::chrono::duration<double>(end - start).count();
    };
    std::printf("%s %s size %d %s: %zu glyphs, %lld x %lld, picture %.3f s, %.3f s\n", argv[1],
                family.c_str(), size, argv[4], codes.size(), static_cast<long long>(width),
                static_cast<long long>(height), seconds(made),
                seconds(std::chrono::steady_clock::now()));
    return 0;
}

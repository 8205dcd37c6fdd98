// Reading and writing a full-table ".fnt" descriptor (65536 characters, 20000 kerning pairs) in
// each variant, against the floor of the same work measured in the same run: for text, splitting
// the lines and converting every number with std::from_chars; for XML, Expat with no handlers;
// for binary, copying the bytes. Pictures are left out: they cost the same PNG decode everywhere.
//
// Usage: glyfora_bench_fnt [repetitions]   (default 5; the best time of each is reported)
#include "BestTime.h"
#include "formats/bmfont/BmFontModel.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <expat.h>
#include <string_view>

namespace {

using glyfora::bench::BestMs;

using namespace glyfora::base;
using namespace glyfora::document;
using namespace glyfora::formats;

BmFont MakeFont() {
    BmFont font;
    font.Info.Face = "Bench Sans";
    font.Info.Size = 24;
    font.Common = {28, 22, 4096, 4096, 1, false, 0, 4, 4, 4};
    font.Pages = {{0, "bench_0.png"}};
    for (std::int64_t code = 0; code < 65536; ++code) {
        font.Chars.push_back({code, (code % 160) * 25, (code / 160) * 10 % 4000, 20, 26,
                              code % 5 - 2, code % 9, 18 + code % 4, 0, 15});
    }
    for (std::int64_t n = 0; n < 20000; ++n) {
        font.Kernings.push_back({32 + n % 200, 32 + n / 200, n % 7 - 3});
    }
    return font;
}

std::int64_t TextFloor(std::string_view text) {
    std::int64_t sum = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t equals = text.find('=', at);
        if (equals == std::string_view::npos) {
            break;
        }
        std::int64_t value = 0;
        const auto [next, error] =
            std::from_chars(text.data() + equals + 1, text.data() + text.size(), value);
        sum += error == std::errc() ? value : 1;
        at = static_cast<std::size_t>(next - text.data()) + 1;
    }
    return sum;
}

bool ExpatFloor(std::string_view xml) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    const bool ok =
        XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const BmFont font = MakeFont();
    struct Variant {
        const char* Name;
        Result<std::vector<std::uint8_t>> (*Encode)(const BmFont&);
        std::optional<BmFont> (*Parse)(std::span<const std::uint8_t>, std::vector<std::string>&);
    };
    const Variant variants[] = {{"text", EncodeBmFontText, ParseBmFontText},
                                {"xml", EncodeBmFontXml, ParseBmFontXml},
                                {"binary", EncodeBmFontBinary, ParseBmFontBinary}};
    std::printf("%-7s %10s %10s %10s %10s %8s\n", "variant", "bytes", "write ms", "read ms",
                "floor ms", "read/fl");
    volatile std::int64_t sink = 0;
    for (const Variant& variant : variants) {
        Result<std::vector<std::uint8_t>> encoded;
        const double write = BestMs(repetitions, [&] { encoded = variant.Encode(font); });
        if (!encoded) {
            std::fprintf(stderr, "%s: %s\n", variant.Name, encoded.Error.c_str());
            return 1;
        }
        const double read = BestMs(repetitions, [&] {
            std::vector<std::string> warnings;
            const std::optional<BmFont> parsed = variant.Parse(*encoded.Value, warnings);
            sink = sink + static_cast<std::int64_t>(parsed ? parsed->Chars.size() : 0);
        });
        const std::string_view view(reinterpret_cast<const char*>(encoded.Value->data()),
                                    encoded.Value->size());
        const double floor = BestMs(repetitions, [&] {
            if (std::strcmp(variant.Name, "text") == 0) {
                sink = sink + TextFloor(view);
            } else if (std::strcmp(variant.Name, "xml") == 0) {
                sink = sink + ExpatFloor(view);
            } else {
                std::vector<std::uint8_t> copy(*encoded.Value);
                sink = sink + static_cast<std::int64_t>(copy.size());
            }
        });
        std::printf("%-7s %10zu %10.2f %10.2f %10.2f %8.1f\n", variant.Name, encoded.Value->size(),
                    write, read, floor, read / floor);
    }
    return 0;
}

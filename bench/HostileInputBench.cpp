// Small hostile inputs that must still be read in linear time, each against a baseline of the same
// size measured in the same run:
// - a BMFont XML descriptor holding 1.6 MB of bare "&" in one value, which sends the reader into
//   its tolerant second pass; baseline: the well-formed descriptor with "&amp;" in place of each
//   "&", which is what the second pass hands to Expat;
// - 200,000 kerning pairs whose keys all fall into one bucket, added and then re-indexed;
//   baseline: 200,000 pairs spread over all buckets.
//
// Usage: glyfora_bench_hostile [repetitions]   (default 3; the best time of each is reported)
#include "BestTime.h"
#include "document/Typeface.h"
#include "formats/bmfont/BmFontModel.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using glyfora::bench::BestMs;

using namespace glyfora::document;
using namespace glyfora::formats;

constexpr std::size_t AmpersandBytes = 1600 * 1000;
constexpr std::int64_t PairCount = 200000;

std::string Descriptor(const std::string& ampersand) {
    std::string face;
    for (std::size_t i = 0; i < AmpersandBytes; ++i) {
        face += ampersand;
    }
    return "<font><info face=\"" + face +
           "\"/><common lineHeight=\"10\"/><chars count=\"0\"/></font>";
}

// Adds PairCount pairs with keys step apart, then rebuilds the indexes; returns the amount of the
// last key as a check that the table was filled.
std::int64_t EnterPairs(std::int64_t step) {
    TypefaceRegistry registry;
    Typeface* typeface = CreateTypeface(registry, 0);
    for (std::int64_t n = 0; n < PairCount; ++n) {
        const std::int64_t key = n * step;
        AddKerningPair(*typeface, key >> 16, key & 0xFFFF, n + 1);
    }
    RebuildIndexes(*typeface);
    return KerningAmount(*typeface, (PairCount - 1) * step);
}

void Report(const char* name, double ms, double baselineMs) {
    std::printf("%-34s %10.1f %12.1f %8.2f\n", name, ms, baselineMs, ms / baselineMs);
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("%-34s %10s %12s %8s\n", "case", "ms", "baseline ms", "ratio");

    const std::string hostile = Descriptor("&");
    const std::string plain = Descriptor("&amp;");
    std::size_t faceBytes = 0;
    auto parse = [&](const std::string& text) {
        std::vector<std::string> warnings;
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        const std::optional<BmFont> font = ParseBmFontXml(bytes, warnings);
        faceBytes = font ? font->Info.Face.size() : 0;
    };
    const double hostileMs = BestMs(repetitions, [&] { parse(hostile); });
    const std::size_t hostileFace = faceBytes;
    const double plainMs = BestMs(repetitions, [&] { parse(plain); });
    if (hostileFace != AmpersandBytes || faceBytes != AmpersandBytes) {
        std::fprintf(stderr, "the face was not read whole (%zu, %zu bytes)\n", hostileFace,
                     faceBytes);
        return 1;
    }
    Report("BMFont XML, 1.6 MB of bare \"&\"", hostileMs, plainMs);

    std::int64_t oneBucket = 0;
    std::int64_t spread = 0;
    const double oneBucketMs =
        BestMs(repetitions, [&] { oneBucket = EnterPairs(KerningBucketCount); });
    const double spreadMs = BestMs(repetitions, [&] { spread = EnterPairs(1); });
    if (oneBucket != PairCount || spread != PairCount) {
        std::fprintf(stderr, "a kerning pair was not found\n");
        return 1;
    }
    Report("200,000 pairs in one bucket", oneBucketMs, spreadMs);
    return 0;
}

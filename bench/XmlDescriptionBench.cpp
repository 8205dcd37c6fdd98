// Reading and writing an XML & Image description of a full 16-bit code table. The baseline is
// Expat walking the same bytes with empty handlers, so the ratio shows what building the
// typeface adds to parsing alone.
#include "formats/XmlImageFile.h"

#include <benchmark/benchmark.h>
#include <expat.h>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace glyfora::document;
using namespace glyfora::formats;

constexpr std::int64_t PairCount = 20000;

std::vector<std::uint8_t> FullDescription() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Typeface>\n";
    for (std::int64_t code = 0; code < CharacterCodeCount; ++code) {
        const std::string x = std::to_string(code % 256 * 16);
        const std::string y = std::to_string(code / 256 * 20);
        xml += "  <Character Index=\"" + std::to_string(code) + "\">\n    <Source X=\"" + x +
               "\" Y=\"" + y +
               "\" Width=\"14\" Height=\"18\"/>\n    <Outlay X=\"-1\" Y=\"2\" "
               "Width=\"13\" Height=\"20\"/>\n  </Character>\n";
    }
    for (std::int64_t pair = 0; pair < PairCount; ++pair) {
        xml += "  <KerningPair Left=\"" + std::to_string(pair % 300) + "\" Right=\"" +
               std::to_string(pair / 300) + "\" Amount=\"-2\"/>\n";
    }
    xml += "</Typeface>\n";
    return {xml.begin(), xml.end()};
}

const std::vector<std::uint8_t>& Description() {
    static const std::vector<std::uint8_t> bytes = FullDescription();
    return bytes;
}

void XMLCALL IgnoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL IgnoreEnd(void*, const XML_Char*) {}

void BaselineExpatOnly(benchmark::State& state) {
    const auto& bytes = Description();
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, &IgnoreStart, &IgnoreEnd);
        benchmark::DoNotOptimize(XML_Parse(parser, reinterpret_cast<const char*>(bytes.data()),
                                           static_cast<int>(bytes.size()), 1));
        XML_ParserFree(parser);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BaselineExpatOnly)->Unit(benchmark::kMillisecond);

void ReadDescription(benchmark::State& state) {
    const auto& bytes = Description();
    TypefaceRegistry registry;
    for (auto _ : state) {
        auto typeface = MakeTypeface(registry, 5);
        benchmark::DoNotOptimize(ReadXmlDescription(*typeface, bytes, "").Ok());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(ReadDescription)->Unit(benchmark::kMillisecond);

void WriteDescription(benchmark::State& state) {
    TypefaceRegistry registry;
    auto typeface = MakeTypeface(registry, 5);
    static_cast<void>(ReadXmlDescription(*typeface, Description(), ""));
    const std::string path =
        (std::filesystem::temp_directory_path() / "glyfora-bench-description.xml").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteXmlDescription(*typeface, path).Ok());
    }
    std::filesystem::remove(path);
}
BENCHMARK(WriteDescription)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

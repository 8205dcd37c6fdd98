// Feeds arbitrary bytes to the GPOS pair reader as a GPOS table. Whatever it reads must be pairs
// of wanted glyphs, sorted, each once, none of amount 0, within the limit; the sanitizers catch
// any read past the table.
#include "KerningFuzzing.h"
#include "import/GposKerning.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::fontimport;
    const std::vector<std::uint8_t> table(data, data + size);
    const GlyphSet wanted = fuzzing::WantedGlyphs();
    // Small limits: a damaged class table pairs every glyph with every other one.
    fuzzing::CheckPairs(ReadGposKerning(table, wanted, fuzzing::MaxPairs, 1 << 16), wanted);
    return 0;
}

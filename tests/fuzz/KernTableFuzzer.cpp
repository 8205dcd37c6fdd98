// Feeds arbitrary bytes to the legacy `kern` table reader, with the checks of the GPOS fuzzer.
#include "KerningFuzzing.h"
#include "import/KernTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::fontimport;
    const std::vector<std::uint8_t> table(data, data + size);
    const GlyphSet wanted = fuzzing::WantedGlyphs();
    fuzzing::CheckPairs(ReadKernTable(table, wanted, fuzzing::MaxPairs), wanted);
    return 0;
}

// Feeds arbitrary bytes to the ".fnt" JSON reader; see BmFontFuzzing.h for what is checked.
#include "BmFontFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::document;
    using namespace glyfora::formats;
    return fuzzing::FuzzBmFontReader({data, size}, ParseBmFontJson, EncodeBmFontJson);
}

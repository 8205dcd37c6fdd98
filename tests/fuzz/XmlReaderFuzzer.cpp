// Feeds arbitrary bytes to the XML & Image reader and its number reader. Besides the sanitizers'
// checks it verifies that every character read is reachable through the code table.
#include "formats/XmlImageFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::base;
    using namespace glyfora::document;
    using namespace glyfora::formats;
    TypefaceRegistry registry;
    const auto typeface = MakeTypeface(registry, 5);
    // Pictures are looked for in a folder that does not exist, so runs do not depend on files.
    const Result<Done> read =
        ReadXmlDescription(*typeface, {data, size}, "/nonexistent/glyfora-fuzz/");
    if (!read && (!typeface->Content.Characters.Empty() || read.Error.empty())) {
        std::abort(); // a refused description must leave nothing behind and say why
    }
    for (const Character& character : typeface->Content.Characters) {
        if (FindCharacter(*typeface, character.Index) == nullptr) {
            std::abort();
        }
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    static_cast<void>(ReadXmlNumber(text.c_str()));
    return 0;
}

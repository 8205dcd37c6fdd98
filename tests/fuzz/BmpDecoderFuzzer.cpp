// Feeds arbitrary bytes to the BMP decoder. A decoded picture must have a positive size within
// the limit and exactly one pixel per position; the sanitizers catch any read past the input.
#include "formats/BmpCodec.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace glyfora::base;
    using namespace glyfora::document;
    using namespace glyfora::formats;
    // A copy exactly as long as the input, so that a read past its end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const Result<Image> decoded = DecodeBmp(std::span(bytes));
    if (!decoded.Value) {
        if (decoded.Error.empty()) {
            std::abort();
        }
        return 0;
    }
    const Image& picture = *decoded.Value;
    if (picture.Width <= 0 || picture.Height <= 0 ||
        !ImageSizeAllowed(picture.Width, picture.Height) ||
        picture.Pixels.size() != static_cast<std::size_t>(picture.Width * picture.Height) ||
        !decoded.Error.empty()) {
        std::abort();
    }
    return 0;
}

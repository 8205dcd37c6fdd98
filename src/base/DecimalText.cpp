#include "base/DecimalText.h"

#include <charconv>
#include <cmath>

namespace glyfora::base {

std::string ShortestDecimal(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}

std::optional<double> ParseDecimal(std::string_view text) {
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last || text.empty() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace glyfora::base

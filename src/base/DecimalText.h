#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glyfora::base {

// The shortest decimal that reads back as value ("2", "1.5", "-0.25").
[[nodiscard]] std::string ShortestDecimal(double value);

// A finite decimal number ("1.5", "-2", "1e3") and nothing else; none otherwise.
[[nodiscard]] std::optional<double> ParseDecimal(std::string_view text);

} // namespace glyfora::base

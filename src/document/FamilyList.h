#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glyfora::document {

// Font families written as one text, as the configuration file and the "Fallbacks" property
// keep them: separated by a comma and a blank, as fontconfig and CSS write family lists (no
// installed family name holds a comma).
constexpr std::string_view FamilySeparator = ", ";

[[nodiscard]] std::string JoinFamilyList(const std::vector<std::string>& families);

// The families of a text split at commas, blanks around each name removed, empty names dropped.
[[nodiscard]] std::vector<std::string> SplitFamilyList(std::string_view text);

} // namespace glyfora::document

#include "document/FamilyList.h"

namespace glyfora::document {

std::string JoinFamilyList(const std::vector<std::string>& families) {
    std::string text;
    for (const std::string& family : families) {
        if (!text.empty()) {
            text += FamilySeparator;
        }
        text += family;
    }
    return text;
}

std::vector<std::string> SplitFamilyList(std::string_view text) {
    std::vector<std::string> families;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view name = text.substr(0, comma);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
            name.remove_prefix(1);
        }
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
            name.remove_suffix(1);
        }
        if (!name.empty()) {
            families.emplace_back(name);
        }
    }
    return families;
}

} // namespace glyfora::document

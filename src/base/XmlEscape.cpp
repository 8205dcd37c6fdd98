#include "base/XmlEscape.h"

#include "base/Utf8.h"

namespace glyfora::base {

bool IsXmlText(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        if (!NextCodePoint(text, position, Utf8Policy::RejectNonXml)) {
            return false;
        }
    }
    return true;
}

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

} // namespace glyfora::base

#pragma once

#include <string>
#include <string_view>

namespace glyfora::base {

// True when an XML 1.0 document can hold text: well-formed UTF-8 without the characters XML
// excludes (see Utf8Policy::RejectNonXml).
[[nodiscard]] bool IsXmlText(std::string_view text);

// The text escaped for a double-quoted attribute value or element content: "&", "<", ">" and '"'
// become entity references, tab, line feed and carriage return character references, so that
// attribute normalisation gives them back. Check the text with IsXmlText first.
[[nodiscard]] std::string EscapeXml(std::string_view text);

} // namespace glyfora::base

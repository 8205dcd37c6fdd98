// The XML variant: <font> with <info/>, <common/>, <pages><page/></pages>, <chars><char/></chars>
// and <kernings><kerning/></kernings>, the attributes named as in the text variant, and a
// <distanceField/> after the pages when the picture is one.

#include "base/XmlEscape.h"
#include "formats/bmfont/BmFontModel.h"

#include <cstring>
#include <expat.h>
#include <limits>
#include <memory>
#include <string_view>

namespace glyfora::formats {

namespace {

struct ParseState {
    BmFont Font;
    bool RootIsFont = false;
    int Depth = 0;
};

void XMLCALL StartElement(void* userData, const XML_Char* name, const XML_Char** attributes) {
    auto& state = *static_cast<ParseState*>(userData);
    ++state.Depth;
    if (state.Depth == 1) {
        state.RootIsFont = std::strcmp(name, "font") == 0;
        return;
    }
    // Records are taken by name wherever they sit below the root, as other readers do.
    BmFontRecord record{name, {}};
    for (const XML_Char** attribute = attributes; attribute[0] != nullptr; attribute += 2) {
        record.Fields.push_back({attribute[0], attribute[1], false});
    }
    AddBmFontRecord(state.Font, record);
}

void XMLCALL EndElement(void* userData, const XML_Char* /*name*/) {
    --static_cast<ParseState*>(userData)->Depth;
}

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Parses bytes; fails with the line and reason of the first error.
base::Result<base::Done> ParseWithExpat(std::string_view bytes, ParseState& state) {
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate("UTF-8"));
    if (!parser) {
        return base::Failure{"the XML parser could not be created"};
    }
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), StartElement, EndElement);
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()) ||
        XML_Parse(parser.get(), bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) ==
            XML_STATUS_ERROR) {
        return base::Failure{"line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                             ": " + XML_ErrorString(XML_GetErrorCode(parser.get()))};
    }
    return base::Done{};
}

bool IsReference(std::string_view rest) {
    // rest starts after "&": a named entity of XML or a character reference, then ";". Only the
    // few bytes a reference can span are looked at, so a file full of "&" is read in linear time.
    constexpr std::size_t LongestReference = 10;
    const std::size_t semicolon = rest.substr(0, LongestReference + 1).find(';');
    if (semicolon == std::string_view::npos || semicolon == 0) {
        return false;
    }
    const std::string_view name = rest.substr(0, semicolon);
    if (name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos") {
        return true;
    }
    if (name.size() < 2 || name[0] != '#') {
        return false;
    }
    const bool hex = name[1] == 'x';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) {
        return false;
    }
    for (const char c : digits) {
        const bool digit = c >= '0' && c <= '9';
        const bool hexLetter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit && !(hex && hexLetter)) {
            return false;
        }
    }
    return true;
}

// Some generators write face names and file names into attributes without escaping them, which
// Expat rightly refuses. This escapes a bare "&" anywhere and a "<" inside a quoted attribute
// value; comments, processing instructions and everything else pass through unchanged.
std::string EscapeStrayMarkup(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 64);
    enum class Where { Text, Tag, Quoted } where = Where::Text;
    char quote = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (where == Where::Text && bytes.substr(i).starts_with("<!--")) {
            const std::size_t end = bytes.find("-->", i + 4);
            const std::size_t stop = end == std::string_view::npos ? bytes.size() : end + 3;
            out.append(bytes.substr(i, stop - i));
            i = stop - 1;
            continue;
        }
        if (c == '&' && where != Where::Tag && !IsReference(bytes.substr(i + 1))) {
            out += "&amp;";
            continue;
        }
        switch (where) {
        case Where::Text:
            where = c == '<' ? Where::Tag : Where::Text;
            break;
        case Where::Tag:
            if (c == '"' || c == '\'') {
                where = Where::Quoted;
                quote = c;
            } else if (c == '>') {
                where = Where::Text;
            }
            break;
        case Where::Quoted:
            if (c == quote) {
                where = Where::Tag;
            } else if (c == '<') {
                out += "&lt;";
                continue;
            }
            break;
        }
        out += c;
    }
    return out;
}

} // namespace

std::optional<BmFont> ParseBmFontXml(std::span<const std::uint8_t> bytes,
                                     std::vector<std::string>& warnings) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ParseState state;
    const base::Result<base::Done> parsed = ParseWithExpat(text, state);
    if (!parsed) {
        // A second pass over a copy with the stray characters escaped; the first pass's partial
        // records are dropped so nothing is counted twice.
        ParseState retry;
        const base::Result<base::Done> reparsed = ParseWithExpat(EscapeStrayMarkup(text), retry);
        if (reparsed) {
            warnings.push_back("the XML held unescaped \"&\" or \"<\" characters in values (" +
                               parsed.Error + "); they were read as written");
        } else {
            warnings.push_back("the XML is not well-formed (" + reparsed.Error +
                               "); what came before was read");
        }
        state = std::move(retry);
    }
    if (!state.RootIsFont) {
        return std::nullopt;
    }
    return std::move(state.Font);
}

base::Result<std::vector<std::uint8_t>> EncodeBmFontXml(const BmFont& font) {
    if (base::Result<base::Done> fits = CheckBmFontTextRanges(font); !fits) {
        return base::Failure{std::move(fits.Error)};
    }
    std::string out = "<?xml version=\"1.0\"?>\n<font>\n";
    std::string openSection;
    auto closeSection = [&] {
        if (!openSection.empty()) {
            out += "  </" + openSection + ">\n";
            openSection.clear();
        }
    };
    for (const BmFontRecord& record : BmFontRecords(font)) {
        // Sections open with their count record ("chars", "kernings"); pages have none.
        if (record.Tag == "chars" || record.Tag == "kernings") {
            closeSection();
            if (record.Tag == "chars" && font.Pages.empty()) {
                out += "  <pages>\n  </pages>\n"; // readers expect the element
            }
            openSection = record.Tag;
            out += "  <" + record.Tag;
        } else if (record.Tag == "page" && openSection != "pages") {
            closeSection();
            openSection = "pages";
            out += "  <pages>\n";
        } else if (record.Tag == "info" || record.Tag == "common" ||
                   record.Tag == "distanceField") {
            closeSection();
        }
        const bool nested = !openSection.empty() && record.Tag != openSection;
        if (record.Tag != openSection) {
            out += std::string(nested ? "    <" : "  <") + record.Tag;
        }
        for (const BmFontField& field : record.Fields) {
            // XML 1.0 cannot hold other control characters even as references.
            if (!base::IsXmlText(field.Value)) {
                return base::Failure{"the " + record.Tag + " " + field.Key +
                                     " holds a control character or is not UTF-8, which XML cannot "
                                     "hold"};
            }
            out += ' ' + field.Key + "=\"";
            out += base::EscapeXml(field.Value);
            out += '"';
        }
        out += record.Tag == openSection ? ">\n" : "/>\n";
    }
    closeSection();
    out += "</font>\n";
    return std::vector<std::uint8_t>(out.begin(), out.end());
}

} // namespace glyfora::formats

#include "cli/JsonWriter.h"

#include "base/Utf8.h"

namespace glyfora::cli {

namespace {

void AppendRect(std::string& out, const document::Rect64& rect) {
    out += '[' + std::to_string(rect.X) + ", " + std::to_string(rect.Y) + ", " +
           std::to_string(rect.Width) + ", " + std::to_string(rect.Height) + ']';
}

// Writes items one per line between brackets (or braces), "[]" when there are none.
template <typename Range, typename AppendItem>
void AppendBlock(std::string& out, const Range& items, char open, char close,
                 AppendItem appendItem) {
    out += open;
    bool first = true;
    for (const auto& item : items) {
        out += first ? "\n    " : ",\n    ";
        appendItem(item);
        first = false;
    }
    if (!first) {
        out += "\n  ";
    }
    out += close;
}

} // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = position;
        const std::optional<char32_t> codePoint =
            base::NextCodePoint(text, position, base::Utf8Policy::Reject);
        if (!codePoint) {
            out += "\\ufffd";
            continue;
        }
        switch (*codePoint) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\b':
            out += "\\b";
            break;
        case U'\f':
            out += "\\f";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (*codePoint < 0x20) {
                out += "\\u00";
                out += Hex[*codePoint >> 4];
                out += Hex[*codePoint & 0xF];
            } else {
                out.append(text, start, position - start);
            }
        }
    }
    out += '"';
}

std::string TypefaceToJson(const document::Typeface& typeface,
                           const std::vector<std::string>& warnings) {
    const document::TypefaceContent& content = typeface.Content;
    std::string out = "{\n  \"image\": ";
    if (content.Image) {
        out += "{\"width\": " + std::to_string(content.Image->Width) +
               ", \"height\": " + std::to_string(content.Image->Height) + '}';
    } else {
        out += "null";
    }
    out += ",\n  \"characters\": ";
    AppendBlock(out, content.Characters, '[', ']', [&](const document::Character& character) {
        out += "{\"index\": " + std::to_string(character.Index) + ", \"outlay\": ";
        AppendRect(out, character.Outlay);
        out += ", \"source\": ";
        AppendRect(out, character.Source);
        out += '}';
    });
    out += ",\n  \"kerning\": ";
    AppendBlock(out, content.KerningPairs, '[', ']', [&](const document::KerningPair& pair) {
        out += "{\"left\": " + std::to_string(document::PairLeft(pair)) +
               ", \"right\": " + std::to_string(document::PairRight(pair)) +
               ", \"amount\": " + std::to_string(pair.Amount) + '}';
    });
    out += ",\n  \"properties\": ";
    AppendBlock(out, content.Properties, '{', '}', [&](const auto& property) {
        AppendJsonString(out, property.first);
        out += ": ";
        AppendJsonString(out, property.second);
    });
    out += ",\n  \"warnings\": ";
    AppendBlock(out, warnings, '[', ']',
                [&](const std::string& warning) { AppendJsonString(out, warning); });
    out += "\n}\n";
    return out;
}

} // namespace glyfora::cli

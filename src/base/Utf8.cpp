#include "base/Utf8.h"

#include <cstdint>

namespace glyfora::base {

namespace {

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one well-formed sequence at position and advances past it; none, advanced past the
// maximal ill-formed subpart, for a bad one.
std::optional<char32_t> DecodeWellFormed(std::string_view text, std::size_t& position) {
    const auto lead = static_cast<std::uint8_t>(text[position]);
    ++position;
    if (lead < 0x80) {
        return lead;
    }
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 3;
        code = lead & 0x07;
    } else {
        return std::nullopt;
    }
    // The second byte's range also rules out overlong forms, surrogates and values past U+10FFFF,
    // so a bad sequence ends at the first byte that cannot continue it.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead == 0xE0) {
        low = 0xA0;
    } else if (lead == 0xED) {
        high = 0x9F;
    } else if (lead == 0xF0) {
        low = 0x90;
    } else if (lead == 0xF4) {
        high = 0x8F;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (position >= text.size()) {
            return std::nullopt;
        }
        const auto next = static_cast<std::uint8_t>(text[position]);
        if (next < (i == 0 ? low : 0x80) || next > (i == 0 ? high : 0xBF)) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
        ++position;
    }
    return code;
}

bool IsXmlCharacter(char32_t code) {
    return code >= 0x20 ? code != 0xFFFE && code != 0xFFFF
                        : code == U'\t' || code == U'\n' || code == U'\r';
}

} // namespace

std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& position,
                                      Utf8Policy policy) {
    const std::optional<char32_t> code = DecodeWellFormed(text, position);
    switch (policy) {
    case Utf8Policy::Replace:
        return code.value_or(ReplacementCharacter);
    case Utf8Policy::Reject:
        return code;
    case Utf8Policy::RejectNonXml:
        return code && IsXmlCharacter(*code) ? code : std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> ValidUtf8(std::string_view bytes, Utf8Policy policy) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t position = 0;
    while (position < bytes.size()) {
        const std::optional<char32_t> code = NextCodePoint(bytes, position, policy);
        if (!code) {
            return std::nullopt;
        }
        AppendUtf8(out, *code);
    }
    return out;
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view text, Utf8Policy policy) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const std::optional<char32_t> code = NextCodePoint(text, position, policy);
        if (!code) {
            return std::nullopt;
        }
        if (*code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((*code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((*code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(*code);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, ReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        AppendUtf8(out, static_cast<std::uint8_t>(byte));
    }
    return out;
}

} // namespace glyfora::base

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace glyfora::base {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// What decoding makes of a character it cannot accept. Ill-formed UTF-8 is a byte that cannot
// start a sequence, a missing or stray continuation byte, an overlong form, a surrogate or a value
// above U+10FFFF; it is taken one maximal ill-formed subpart at a time, as Unicode recommends.
enum class Utf8Policy {
    Replace,      // ill-formed UTF-8 becomes U+FFFD: text to show or keep whatever it holds
    Reject,       // ill-formed UTF-8 fails: input the user has to correct
    RejectNonXml, // as Reject, and so do the characters XML 1.0 cannot hold: controls other than
                  // tab, line feed and carriage return, U+FFFE and U+FFFF
};

// Decodes the character that starts at text[position] (position < text.size()) and advances
// position past it, or past the maximal ill-formed subpart, at least one byte, when it is bad.
// None only when policy rejects the character.
[[nodiscard]] std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& position,
                                                    Utf8Policy policy);

// The bytes as UTF-8 under policy: with Replace, well-formed UTF-8 whatever the input; with the
// rejecting policies the bytes unchanged, or none when they hold a rejected character.
[[nodiscard]] std::optional<std::string> ValidUtf8(std::string_view bytes, Utf8Policy policy);

// UTF-8 to UTF-16 code units (characters beyond U+FFFF become surrogate pairs) under policy.
[[nodiscard]] std::optional<std::u16string> Utf8ToUtf16(std::string_view text, Utf8Policy policy);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);

// Every byte is one ISO 8859-1 character; the result is UTF-8.
[[nodiscard]] std::string Latin1ToUtf8(std::string_view bytes);

// The byte with A..Z folded to a..z; every other byte, those of UTF-8 sequences included, as it
// is. Names that files, fonts and settings compare without regard to case fold this way.
[[nodiscard]] constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the texts are the same after AsciiLower.
[[nodiscard]] constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace glyfora::base

#include "import/CharacterList.h"

#include "base/FileReading.h"
#include "base/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace glyfora::fontimport {

namespace {

// A text file of the characters a game shows is small; this bound keeps a wrong file from
// taking all memory.
constexpr std::uint64_t MaxCharacterFileBytes = 64ULL << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsLineBreak(char32_t c) {
    return c == U'\n' || c == U'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// Reads text from the lists: one item at a time, with the text still to read.
class ListReader {
public:
    explicit ListReader(std::string_view text) : text_(text) {}

    void SkipSeparators() {
        while (!AtEnd() && (IsBlank(text_[position_]) || text_[position_] == ',')) {
            ++position_;
        }
    }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(text_[position_])) {
            ++position_;
        }
    }
    [[nodiscard]] bool AtEnd() const { return position_ >= text_.size(); }
    [[nodiscard]] bool Take(char c) {
        if (!AtEnd() && text_[position_] == c) {
            ++position_;
            return true;
        }
        return false;
    }
    // The item from start on, up to the next separator, for messages.
    [[nodiscard]] std::string ItemFrom(std::size_t start) const {
        std::size_t end = start;
        while (end < text_.size() && text_[end] != ',' && !IsBlank(text_[end])) {
            ++end;
        }
        return std::string(text_.substr(start, std::max<std::size_t>(end - start, 1)));
    }
    [[nodiscard]] std::size_t Position() const { return position_; }

    // A decimal, 0x hex or U+ hex code, or a reason why there is none.
    [[nodiscard]] base::Result<std::uint32_t> Code() {
        const std::size_t start = position_;
        if (AtEnd()) {
            return base::Failure{"the list ends where a code should follow"};
        }
        int base = 10;
        const std::string_view rest = text_.substr(position_);
        if (rest.size() > 2 && (rest.starts_with("0x") || rest.starts_with("0X") ||
                                rest.starts_with("U+") || rest.starts_with("u+"))) {
            base = 16;
            position_ += 2;
        }
        std::uint64_t value = 0;
        const std::size_t digitsStart = position_;
        while (!AtEnd() && DigitValue(text_[position_], base) >= 0) {
            value = std::min<std::uint64_t>(
                value * static_cast<unsigned>(base) +
                    static_cast<unsigned>(DigitValue(text_[position_], base)),
                LastUnicodeCode + 1ULL);
            ++position_;
        }
        const bool ended = AtEnd() || IsBlank(text_[position_]) || text_[position_] == ',' ||
                           text_[position_] == '-';
        if (position_ == digitsStart || !ended) {
            return base::Failure{"\"" + ItemFrom(start) +
                                 "\" is not a character code; write codes as 65, 0x41 or "
                                 "U+0041 and ranges as 32-126"};
        }
        if (value > LastUnicodeCode) {
            return base::Failure{"\"" + ItemFrom(start) +
                                 "\" is beyond the last Unicode code, U+10FFFF"};
        }
        return static_cast<std::uint32_t>(value);
    }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace

base::Result<std::vector<std::uint32_t>> ParseCharacterList(std::string_view list) {
    // Ranges first, codes once at the end: a list repeating "0-0x10FFFF" must not cost more than
    // all of Unicode.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
    ListReader reader(list);
    reader.SkipSeparators();
    while (!reader.AtEnd()) {
        const std::size_t start = reader.Position();
        const base::Result<std::uint32_t> first = reader.Code();
        if (!first) {
            return base::Failure{first.Error};
        }
        std::uint32_t last = *first.Value;
        reader.SkipBlanks();
        if (reader.Take('-')) {
            reader.SkipBlanks();
            const base::Result<std::uint32_t> end = reader.Code();
            if (!end) {
                return base::Failure{end.Error};
            }
            last = *end.Value;
            if (last < *first.Value) {
                return base::Failure{"the range \"" +
                                     std::string(list.substr(start, reader.Position() - start)) +
                                     "\" ends before it starts"};
            }
        }
        ranges.emplace_back(*first.Value, last);
        reader.SkipSeparators();
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::uint32_t> codes;
    for (const auto& [first, last] : ranges) {
        const std::uint32_t from = codes.empty() ? first : std::max(first, codes.back() + 1);
        for (std::uint64_t code = from; code <= last; ++code) {
            codes.push_back(static_cast<std::uint32_t>(code));
        }
    }
    return codes;
}

base::Result<std::vector<std::uint32_t>> CharactersOfText(std::string_view text) {
    // Repeats are dropped as they are read, so a long text costs what its distinct characters do.
    std::vector<bool> seen(LastUnicodeCode + 1);
    std::vector<std::uint32_t> codes;
    std::size_t position = 0;
    std::size_t line = 1;
    while (position < text.size()) {
        const std::size_t start = position;
        const auto code = base::NextCodePoint(text, position, base::Utf8Policy::Reject);
        if (!code) {
            return base::Failure{"the text is not UTF-8: byte " + std::to_string(start + 1) +
                                 " (line " + std::to_string(line) +
                                 ") does not start a well-formed character"};
        }
        line += *code == U'\n' ? 1 : 0;
        const bool byteOrderMark = start == 0 && *code == 0xFEFF;
        if (!IsLineBreak(*code) && !byteOrderMark && !seen[*code]) {
            seen[*code] = true;
            codes.push_back(static_cast<std::uint32_t>(*code));
        }
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

base::Result<std::vector<std::uint32_t>> ReadCharacterFile(const std::string& path) {
    const auto bytes = base::ReadWholeFile(path, MaxCharacterFileBytes);
    if (!bytes) {
        return base::Failure{bytes.Error};
    }
    auto codes = CharactersOfText(
        std::string_view(reinterpret_cast<const char*>(bytes.Value->data()), bytes.Value->size()));
    if (!codes) {
        return base::Failure{"\"" + path + "\": " + codes.Error};
    }
    return codes;
}

std::string CodeName(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string FormatCharacterList(std::span<const std::uint32_t> codes) {
    std::string list;
    for (std::size_t i = 0; i < codes.size();) {
        std::size_t end = i;
        while (end + 1 < codes.size() && codes[end + 1] == codes[end] + 1) {
            ++end;
        }
        list += list.empty() ? "" : ", ";
        list += CodeName(codes[i]);
        if (end > i) {
            list += "-" + CodeName(codes[end]);
        }
        i = end + 1;
    }
    return list;
}

std::vector<std::uint32_t> MergeCharacterLists(std::span<const std::uint32_t> a,
                                               std::span<const std::uint32_t> b) {
    std::vector<std::uint32_t> merged;
    merged.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(merged));
    return merged;
}

base::Result<std::vector<std::uint32_t>> AddCharacterFiles(std::vector<std::uint32_t> codes,
                                                           std::span<const std::string> paths) {
    for (const std::string& path : paths) {
        const auto fileCodes = ReadCharacterFile(path);
        if (!fileCodes) {
            return base::Failure{fileCodes.Error};
        }
        codes = MergeCharacterLists(codes, *fileCodes.Value);
    }
    return codes;
}

base::Result<std::string> AddCharacterFilesToList(std::string_view list,
                                                  std::span<const std::string> paths) {
    base::Result<std::vector<std::uint32_t>> codes = ParseCharacterList(list);
    if (!codes) {
        return base::Failure{"The character list cannot be read: " + codes.Error + "."};
    }
    const base::Result<std::vector<std::uint32_t>> added =
        AddCharacterFiles(std::move(*codes.Value), paths);
    if (!added) {
        return base::Failure{added.Error};
    }
    return FormatCharacterList(*added.Value);
}

} // namespace glyfora::fontimport

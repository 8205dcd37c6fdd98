// The text variant: one record per line, "tag key=value key="quoted value" …".

#include "formats/bmfont/BmFontModel.h"

#include <string_view>

namespace glyfora::formats {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits one line into its record. Runs of blanks separate the fields; a quoted value runs to the
// next double quote (BMFont writes quotes in names unescaped, so nothing better is possible) or to
// the end of the line; a field without "=" is skipped.
BmFontRecord SplitLine(std::string_view line) {
    BmFontRecord record;
    std::size_t position = 0;
    auto skipBlanks = [&] {
        while (position < line.size() && IsBlank(line[position])) {
            ++position;
        }
    };
    skipBlanks();
    const std::size_t tagStart = position;
    while (position < line.size() && !IsBlank(line[position])) {
        ++position;
    }
    record.Tag = line.substr(tagStart, position - tagStart);
    while (true) {
        skipBlanks();
        if (position >= line.size()) {
            return record;
        }
        const std::size_t keyStart = position;
        while (position < line.size() && !IsBlank(line[position]) && line[position] != '=') {
            ++position;
        }
        if (position >= line.size() || line[position] != '=') {
            continue;
        }
        BmFontField field{std::string(line.substr(keyStart, position - keyStart)), {}, false};
        ++position;
        if (position < line.size() && line[position] == '"') {
            const std::size_t close = line.find('"', position + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            field.Value = line.substr(position + 1, end - position - 1);
            field.Quoted = true;
            position = close == std::string_view::npos ? line.size() : close + 1;
        } else {
            const std::size_t start = position;
            while (position < line.size() && !IsBlank(line[position])) {
                ++position;
            }
            field.Value = line.substr(start, position - start);
        }
        record.Fields.push_back(std::move(field));
    }
}

} // namespace

std::optional<BmFont> ParseBmFontText(std::span<const std::uint8_t> bytes,
                                      std::vector<std::string>& warnings) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    BmFont font;
    bool sawHeader = false;
    std::size_t unknownTags = 0;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        BmFontRecord record = SplitLine(line);
        if (record.Tag.empty()) {
            continue;
        }
        sawHeader = sawHeader || record.Tag == "info" || record.Tag == "common";
        if (record.Tag == "info" || record.Tag == "common" || record.Tag == "page" ||
            record.Tag == "chars" || record.Tag == "char" || record.Tag == "kernings" ||
            record.Tag == "kerning" || record.Tag == "distanceField") {
            AddBmFontRecord(font, record);
        } else {
            ++unknownTags;
        }
    }
    if (!sawHeader) {
        return std::nullopt;
    }
    if (unknownTags > 0) {
        warnings.push_back("ignored " + std::to_string(unknownTags) +
                           (unknownTags == 1 ? " line" : " lines") + " with an unknown tag");
    }
    return font;
}

base::Result<std::vector<std::uint8_t>> EncodeBmFontText(const BmFont& font) {
    if (base::Result<base::Done> fits = CheckBmFontTextRanges(font); !fits) {
        return base::Failure{std::move(fits.Error)};
    }
    std::string text;
    for (const BmFontRecord& record : BmFontRecords(font)) {
        text += record.Tag;
        for (const BmFontField& field : record.Fields) {
            if (field.Quoted && field.Value.find_first_of("\"\r\n") != std::string::npos) {
                return base::Failure{
                    "the " + record.Tag + " " + field.Key + " \"" + field.Value +
                    "\" holds a double quote or a line break, which the text variant "
                    "cannot write"};
            }
            text += ' ' + field.Key + '=';
            text += field.Quoted ? '"' + field.Value + '"' : field.Value;
        }
        text += '\n';
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace glyfora::formats

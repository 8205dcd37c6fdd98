#include "import/CharacterChoice.h"

#include "import/CharacterList.h"
#include "import/FontMatching.h"
#include "import/VariedKerning.h"

#include <algorithm>

namespace glyfora::fontimport {

namespace {

constexpr std::uint32_t LastTypefaceCode = 0xFFFF;
// How many of the codes left out a warning names.
constexpr std::size_t NamedCodes = 5;

std::string LeftOutWarning(const std::vector<std::uint32_t>& codes, const std::string& why) {
    std::string names;
    for (std::size_t i = 0; i < codes.size() && i < NamedCodes; ++i) {
        names += (i == 0 ? "" : ", ") + CodeName(codes[i]);
    }
    if (codes.size() > NamedCodes) {
        names += ", ...";
    }
    const bool one = codes.size() == 1;
    return std::to_string(codes.size()) +
           (one ? " listed character is " : " listed characters are ") + why + " and " +
           (one ? "was" : "were") + " left out: " + names;
}

// The index of the first font (0 the main one) that covers code, or none.
std::optional<std::size_t> CoveringFont(const FontCoverage& main,
                                        const std::vector<FontCoverage>& fallbacks,
                                        std::uint32_t code) {
    if (RangesCover(main.Ranges, code)) {
        return 0;
    }
    for (std::size_t i = 0; i < fallbacks.size(); ++i) {
        if (RangesCover(fallbacks[i].Ranges, code)) {
            return i + 1;
        }
    }
    return std::nullopt;
}

// Every code the fonts cover up to last, ascending.
std::vector<std::uint32_t> CoveredCodes(const FontCoverage& main,
                                        const std::vector<FontCoverage>& fallbacks,
                                        std::uint32_t last) {
    std::vector<std::uint32_t> codes;
    auto add = [&](const FontCoverage& font) {
        for (const std::uint16_t code : ExpandCharacterRanges(font.Ranges)) {
            if (code <= last) {
                codes.push_back(code);
            }
        }
    };
    add(main);
    for (const FontCoverage& fallback : fallbacks) {
        add(fallback);
    }
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

} // namespace

bool RangesCover(const std::vector<CharacterRange>& ranges, std::uint32_t code) {
    const auto after = std::upper_bound(
        ranges.begin(), ranges.end(), code,
        [](std::uint32_t value, const CharacterRange& range) { return value < range.First; });
    if (after == ranges.begin()) {
        return false;
    }
    const CharacterRange& range = *std::prev(after);
    return code - range.First < range.Count;
}

CharacterChoice ChooseCharacters(const std::optional<std::vector<std::uint32_t>>& listed,
                                 bool unicode, const FontCoverage& main,
                                 const std::vector<FontCoverage>& fallbacks) {
    CharacterChoice choice;
    const std::vector<std::uint32_t> wanted =
        listed ? *listed : CoveredCodes(main, fallbacks, unicode ? LastTypefaceCode : 255);
    std::vector<bool> used(fallbacks.size(), false);
    std::vector<std::uint32_t> tooHigh;
    std::vector<std::uint32_t> uncovered;
    for (const std::uint32_t code : wanted) {
        if (code > LastTypefaceCode) {
            tooHigh.push_back(code);
            continue;
        }
        const std::optional<std::size_t> font = CoveringFont(main, fallbacks, code);
        if (!font) {
            uncovered.push_back(code);
            continue;
        }
        if (*font > 0) {
            used[*font - 1] = true;
        }
        choice.Codes.push_back(static_cast<std::uint16_t>(code));
    }
    for (std::size_t i = 0; i < fallbacks.size(); ++i) {
        if (used[i]) {
            choice.Fallbacks.push_back(fallbacks[i].Family);
        }
    }
    if (!tooHigh.empty()) {
        choice.Warnings.push_back(
            LeftOutWarning(tooHigh, "above U+FFFF, which a typeface cannot hold,"));
    }
    if (!uncovered.empty()) {
        choice.Warnings.push_back(LeftOutWarning(uncovered, "in none of the fonts"));
    }
    return choice;
}

std::vector<FontKerningPair> ChooseKerningPairs(std::vector<FontKerningPair> pairs, bool unicode) {
    if (!unicode) {
        std::erase_if(pairs, [](const FontKerningPair& pair) {
            return pair.First > 255 || pair.Second > 255;
        });
    }
    return pairs;
}

base::Result<FontImportInput> ReadFontImportInput(FontFiles& files,
                                                  const platform::GraphicsLibrary& graphics,
                                                  const ImportOptions& options) {
    std::optional<std::vector<std::uint32_t>> listed;
    auto parsed = ParseCharacterList(options.Characters);
    if (!parsed) {
        return base::Failure{"The character list cannot be read: " + parsed.Error + "."};
    }
    // A list of nothing (blank, or only commas) is no list.
    if (!parsed.Value->empty()) {
        listed = std::move(*parsed.Value);
    }
    FontImportInput input;
    if (!options.FontFile.empty()) {
        const base::Result<base::Done> opened = files.OpenFile(
            graphics, {options.FontFile, options.FaceIndex, options.Instance, options.Axes});
        if (!opened) {
            return base::Failure{opened.Error};
        }
    }
    const std::string& mainName = MainFontName(options);
    // fontconfig draws with a substitute for a family that is not installed; the user is told.
    if (const std::optional<FontFile>& file = files.Match(mainName, options.Style);
        file && !file->ExactFamily) {
        input.Warnings.push_back("The font \"" + mainName + "\" is not installed; \"" +
                                 file->Family + "\" was used instead.");
    }
    // With a list only the listed codes matter, and looking them up is far quicker than reading
    // all a font covers.
    const auto coverage = [&](FT_Face face) {
        if (!face) {
            return std::vector<CharacterRange>{};
        }
        return listed ? FaceListedCharacterRanges(face, *listed) : FaceCharacterRanges(face);
    };
    // The main font's regular face gives the coverage and then the kerning pairs.
    const FontFace main = files.RegularFace(graphics, mainName);
    const FontCoverage mainCoverage{mainName, coverage(main.get())};
    std::vector<FontCoverage> fallbacks;
    for (const std::string& family : options.Fallbacks) {
        // A fallback file is opened by its name, which then stands for it as a family would.
        const bool isFile = NamesFontFile(family);
        if (isFile) {
            if (const base::Result<base::Done> opened = files.OpenFile(graphics, {.Path = family});
                !opened) {
                return base::Failure{"The fallback font cannot be used: " + opened.Error};
            }
        }
        const std::optional<FontFile>& file = files.Match(family, 0);
        if (!file || !file->ExactFamily) {
            input.Warnings.push_back("The fallback font \"" + family +
                                     "\" is not installed and was not used.");
            continue;
        }
        fallbacks.push_back(
            {isFile ? family : file->Family, coverage(files.RegularFace(graphics, family).get())});
    }
    CharacterChoice choice = ChooseCharacters(listed, options.Unicode, mainCoverage, fallbacks);
    input.Codes = std::move(choice.Codes);
    input.Fallbacks = std::move(choice.Fallbacks);
    input.Warnings.insert(input.Warnings.end(), choice.Warnings.begin(), choice.Warnings.end());
    input.Listed = listed.has_value();
    if (main && options.Size > 0) {
        input.Pairs = input.Listed ? FaceKerningPairsAmong(main.get(), options.Size, input.Codes)
                                   : ChooseKerningPairs(FaceKerningPairs(main.get(), options.Size),
                                                        options.Unicode);
        if (const std::optional<FontFile>& file = files.Match(mainName, 0);
            file && !file->Coordinates.empty()) {
            input.Pairs = VariedKerningPairs(main.get(), std::move(input.Pairs), options.Size);
        }
    }
    return input;
}

} // namespace glyfora::fontimport

#include "formats/bmfont/BmFontFile.h"

#include "base/AtomicFile.h"
#include "formats/FileFormat.h"
#include "formats/PictureFile.h"
#include "formats/PngCodec.h"
#include "formats/bmfont/BmFontModel.h"
#include "formats/bmfont/BmFontPages.h"

#include <string_view>

namespace glyfora::formats {

namespace {

bool StartsWithWord(std::string_view text, std::string_view word) {
    return text.starts_with(word) &&
           (text.size() == word.size() || text[word.size()] == ' ' || text[word.size()] == '\t' ||
            text[word.size()] == '\r' || text[word.size()] == '\n');
}

std::string_view SkipSpace(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' ||
                             text.front() == '\n')) {
        text.remove_prefix(1);
    }
    return text;
}

// Where a "<!" declaration that starts text ends (just past its ">"), or npos. A DOCTYPE's internal
// subset in brackets holds declarations with ">" of their own, and quoted strings and comments
// may hold any character.
std::size_t DeclarationEnd(std::string_view text) {
    int depth = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
            i = text.find(c, i + 1);
        } else if (text.substr(i).starts_with("<!--")) {
            i = text.find("-->", i + 4);
            i = i == std::string_view::npos ? i : i + 2;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            --depth;
        } else if (c == '>' && depth <= 0) {
            return i + 1;
        }
        if (i == std::string_view::npos) {
            break;
        }
    }
    return std::string_view::npos;
}

// True when the first element of the document is <font> and the text has <common and <chars.
bool LooksLikeXmlFont(std::string_view text) {
    while (true) {
        text = SkipSpace(text);
        std::size_t stop = std::string_view::npos;
        if (text.starts_with("<?")) {
            stop = text.find("?>");
            stop = stop == std::string_view::npos ? stop : stop + 2;
        } else if (text.starts_with("<!--")) {
            stop = text.find("-->");
            stop = stop == std::string_view::npos ? stop : stop + 3;
        } else if (text.starts_with("<!")) {
            stop = DeclarationEnd(text);
        } else {
            break;
        }
        if (stop == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(stop);
    }
    if (!text.starts_with("<font") || text.size() < 6) {
        return false;
    }
    const char after = text[5];
    if (after != '>' && after != '/' && after != ' ' && after != '\t' && after != '\r' &&
        after != '\n') {
        return false;
    }
    return text.find("<common") != std::string_view::npos &&
           text.find("<chars") != std::string_view::npos;
}

// Writes each page of the descriptor into files: the picture itself when it is the one page, else
// the pages cut from it one at a time, so that no more than one page is held beside it.
base::Result<base::Done> AddPageFiles(base::AtomicFileSet& files,
                                      const document::Typeface& typeface, const BmFont& font,
                                      const std::string& fileName) {
    const document::Image& picture = *typeface.Content.Image;
    const BmFontPaging paging{font.Common.ScaleW, font.Common.ScaleH, font.Common.Pages,
                              font.Common.Pages == 1 && font.Common.ScaleW == picture.Width &&
                                  font.Common.ScaleH == picture.Height};
    for (const BmFontPage& page : font.Pages) {
        base::AtomicFileWriter* writer = files.Add(DirectoryOf(fileName) + page.File);
        if (writer == nullptr) {
            break; // the set reports it when committed
        }
        base::Result<base::Done> encoded;
        if (paging.Whole) {
            encoded = WritePng(picture, *writer);
        } else if (const std::optional<document::Image> cut =
                       CutBmFontPage(picture, paging, page.Id)) {
            encoded = WritePng(*cut, *writer);
        } else {
            encoded = base::Failure{"not enough memory for a page of the picture"};
        }
        if (!encoded) {
            return encoded;
        }
    }
    return base::Done{};
}

} // namespace

std::optional<BmFontVariant> DetectBmFontVariant(std::span<const std::uint8_t> bytes) {
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.size() >= 4 && text.starts_with("BMF")) {
        return BmFontVariant::Binary;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::string_view start = SkipSpace(text);
    if (StartsWithWord(start, "info") || StartsWithWord(start, "common")) {
        return BmFontVariant::Text;
    }
    if (LooksLikeXmlFont(text)) {
        return BmFontVariant::Xml;
    }
    if (start.starts_with('{') && start.find("\"chars\"") != std::string_view::npos &&
        start.find("\"common\"") != std::string_view::npos) {
        return BmFontVariant::Json;
    }
    return std::nullopt;
}

base::Result<base::Done> ReadBmFont(document::Typeface& typeface,
                                    std::span<const std::uint8_t> bytes,
                                    const std::string& directory, BmFontVariant variant) {
    base::Result<base::Done> result;
    std::vector<std::string>& warnings = result.Warnings;
    std::optional<BmFont> font;
    switch (variant) {
    case BmFontVariant::Text:
        font = ParseBmFontText(bytes, warnings);
        break;
    case BmFontVariant::Xml:
        font = ParseBmFontXml(bytes, warnings);
        break;
    case BmFontVariant::Binary:
        font = ParseBmFontBinary(bytes, warnings);
        break;
    case BmFontVariant::Json:
        font = ParseBmFontJson(bytes, warnings);
        break;
    }
    if (!font) {
        // The parser's last word is why it gave up.
        result.Error = "not a BMFont descriptor";
        if (!warnings.empty()) {
            result.Error += " (" + warnings.back() + ")";
            warnings.pop_back();
        }
        return result;
    }
    ApplyBmFont(typeface, *font, directory, warnings);
    result.Value = base::Done{};
    return result;
}

std::string BmFontBaseName(const std::string& fileName) {
    std::string base = fileName.substr(DirectoryOf(fileName).size());
    if (const std::size_t dot = base.rfind('.'); dot != std::string::npos && dot > 0) {
        base.resize(dot);
    }
    return base;
}

base::Result<base::Done> WriteBmFont(const document::Typeface& typeface, const std::string& name,
                                     BmFontVariant variant) {
    // Through a symbolic link the page goes beside the file the link points to, named after it.
    const std::string fileName = base::ResolveSymbolicLinks(name);
    if (!typeface.Content.Image) {
        return base::Failure{
            "the typeface has no character-set picture to write as the font's page"};
    }
    if (base::Result<base::Done> fits =
            CheckPngSize(typeface.Content.Image->Width, typeface.Content.Image->Height);
        !fits) {
        return base::Failure{"the page cannot be saved: " + fits.Error};
    }
    base::Result<BmFont> font = BmFontFromTypeface(typeface, BmFontBaseName(fileName));
    // What the format cannot hold is reported whether or not the font is written.
    base::Result<base::Done> result;
    result.Warnings = std::move(font.Warnings);
    if (!font) {
        result.Error = std::move(font.Error);
        return result;
    }
    base::Result<std::vector<std::uint8_t>> descriptor;
    switch (variant) {
    case BmFontVariant::Text:
        descriptor = EncodeBmFontText(*font.Value);
        break;
    case BmFontVariant::Xml:
        descriptor = EncodeBmFontXml(*font.Value);
        break;
    case BmFontVariant::Binary:
        descriptor = EncodeBmFontBinary(*font.Value);
        break;
    case BmFontVariant::Json:
        descriptor = EncodeBmFontJson(*font.Value);
        break;
    }
    result.Warnings.insert(result.Warnings.end(), descriptor.Warnings.begin(),
                           descriptor.Warnings.end());
    if (!descriptor) {
        result.Error = std::move(descriptor.Error);
        return result;
    }
    // Every file is written before any replaces what is there; the pages are renamed into place
    // first, so a descriptor never names a page that was not written.
    base::AtomicFileSet files;
    if (base::Result<base::Done> pages = AddPageFiles(files, typeface, *font.Value, fileName);
        !pages) {
        result.Error = std::move(pages.Error);
        return result;
    }
    if (base::AtomicFileWriter* file = files.Add(fileName)) {
        static_cast<void>(file->Write(*descriptor.Value)); // a failure is what Commit reports
    }
    base::Result<base::Done> written = files.Commit();
    written.Warnings = std::move(result.Warnings);
    return written;
}

} // namespace glyfora::formats

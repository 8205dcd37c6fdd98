// Writes the installed desktop files that describe the typeface file type: the shared-mime-info
// package and the desktop entry. They come from the same record and writers as the registration a
// portable editor makes for itself at start, so the type is defined in one place.
#include "base/AtomicFile.h"
#include "platform/FileTypes.h"
#include "platform/XdgFileTypes.h"

#include <cstdint>
#include <iostream>
#include <span>
#include <string>

namespace {

using namespace glyfora;

// What a menu shows beside the name; the portable registration has no need for it.
constexpr const char* MenuKeys = "GenericName=Bitmap Font Editor\n"
                                 "Comment=Make and edit bitmap typefaces for games and displays\n"
                                 "Keywords=font;bitmap;typeface;glyph;atlas;kerning;\n";

bool Write(const std::string& path, const std::string& text) {
    const auto written = base::WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written) {
        std::cerr << "cannot write \"" << path << "\": " << written.Error << '\n';
    }
    return static_cast<bool>(written);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::cerr << "usage: write-desktop-files MIME_PACKAGE DESKTOP_ENTRY ICON_NAME\n";
        return 2;
    }
    platform::XdgFileTypeNames names;
    names.IconName = argv[3];
    // An installed program is found on PATH, wherever the prefix was chosen at install time.
    platform::FileTypeTable table;
    platform::DefineTypefaceFileType(table, names.IconName, "glyfora %f");
    const platform::FileType& type = table.Types.at(platform::TypefaceExtension);
    const bool written = Write(argv[1], platform::MimePackageText(type, names)) &&
                         Write(argv[2], platform::DesktopEntryText(type, names) + MenuKeys);
    return written ? 0 : 1;
}

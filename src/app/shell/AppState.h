#pragma once

#include "document/Typeface.h"
#include "formats/FileFormat.h"
#include "platform/GraphicsLibrary.h"
#include "views/ViewState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glyfora::app {

// The one document the editor works on always lives under this id.
constexpr std::int64_t TypefaceId = 5;

// Everything the editor keeps between events: the document registry, the file paths and folders,
// and the view state the canvases share. Made once in main() and handed to every handler.
struct AppState {
    document::TypefaceRegistry Registry;
    std::string CurrentFilePath;
    // The form CurrentFilePath was read or written in; "Save" of a ".fnt" keeps its variant.
    formats::FileFormatId CurrentFileFormat = formats::FileFormatId::Tf;
    // CurrentFilePath was read only in part (its reader warned): writing the document over it
    // would lose what could not be read, so "Save" asks first.
    bool CurrentFilePartlyRead = false;
    std::string CharacterSetImagePath;
    std::string SettingsFolder;
    std::string EditorPath;
    std::int64_t ExportedImageTime = 0;
    std::string OpenCommand;
    std::vector<std::string> RecentFiles; // newest first

    std::int64_t LastDialogCode = -1;
    // The max width the document was imported with in this run; 0 for any other document.
    std::int64_t ImportedMaxWidth = 0;
    views::ViewState View;
    platform::GraphicsLibrary Graphics;
};

// The document: the typeface under TypefaceId, or none. The registry is its only holder, so a
// replaced document can never be reached through a stale pointer.
[[nodiscard]] inline document::Typeface* CurrentTypeface(AppState& state) {
    return document::TypefaceFromId(state.Registry, TypefaceId);
}

} // namespace glyfora::app

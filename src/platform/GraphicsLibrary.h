#pragma once

#include <memory>

typedef struct FT_LibraryRec_* FT_Library;

namespace glyfora::platform {

// The text rasteriser shared by the font import: one FreeType library, started once, with its
// TrueType interpreter pinned so that hinted output is the same on every machine.
struct GraphicsLibrary {
    FT_Library Library = nullptr;
    bool GraphicsLibraryReady = false;

    GraphicsLibrary() = default;
    GraphicsLibrary(const GraphicsLibrary&) = delete;
    GraphicsLibrary& operator=(const GraphicsLibrary&) = delete;
    ~GraphicsLibrary();
};

// Starts FreeType and fontconfig once; later calls return the state of the first. True when ready.
bool InitGraphicsLibrary(GraphicsLibrary& graphics);

} // namespace glyfora::platform

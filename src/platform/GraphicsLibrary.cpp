#include "platform/GraphicsLibrary.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

namespace glyfora::platform {

GraphicsLibrary::~GraphicsLibrary() {
    if (Library != nullptr) {
        FT_Done_FreeType(Library);
    }
}

bool InitGraphicsLibrary(GraphicsLibrary& graphics) {
    if (graphics.Library != nullptr) {
        return graphics.GraphicsLibraryReady;
    }
    if (FT_Init_FreeType(&graphics.Library) != 0) {
        graphics.Library = nullptr;
        return false;
    }
    // FREETYPE_PROPERTIES may select another interpreter; hinted pixels must not depend on it.
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    FT_Property_Set(graphics.Library, "truetype", "interpreter-version", &interpreter);
    graphics.GraphicsLibraryReady = FcInit() == FcTrue;
    return graphics.GraphicsLibraryReady;
}

} // namespace glyfora::platform

#include "import/OpenedSources.h"

namespace glyfora::fontimport {

OpenedSources::OpenedSources(std::span<GlyphSource* const> sources,
                             std::span<document::Image> images, const ImportOptions& options) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (sources[i]->Begin(images[images.size() == 1 ? 0 : i], options)) {
            open_.push_back(sources[i]);
        }
    }
}

OpenedSources::~OpenedSources() {
    for (GlyphSource* source : open_) {
        source->End();
    }
}

} // namespace glyfora::fontimport

#pragma once

#include "document/Image.h"
#include "import/GlyphSource.h"
#include "import/ImportOptions.h"

#include <cstdint>
#include <span>
#include <vector>

namespace glyfora::fontimport {

// Glyph sources of one pass that opened, one per worker; they are closed again on destruction.
// Sources that cannot open are left out, so a pass runs with the others.
class OpenedSources {
public:
    // Opens sources[i] on images[i], or on images[0] when there is only one image.
    OpenedSources(std::span<GlyphSource* const> sources, std::span<document::Image> images,
                  const ImportOptions& options);
    ~OpenedSources();
    OpenedSources(const OpenedSources&) = delete;
    OpenedSources& operator=(const OpenedSources&) = delete;

    [[nodiscard]] bool Empty() const { return open_.empty(); }
    [[nodiscard]] std::int64_t Count() const { return static_cast<std::int64_t>(open_.size()); }
    // The first also clears and composites.
    [[nodiscard]] GlyphSource& operator[](std::int64_t worker) const {
        return *open_[static_cast<std::size_t>(worker)];
    }

private:
    std::vector<GlyphSource*> open_;
};

} // namespace glyfora::fontimport

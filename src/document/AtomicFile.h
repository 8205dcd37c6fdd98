#pragma once

#include "document/Result.h"

#include <cstdint>
#include <span>
#include <string>

namespace glyfora::document {

// Writes bytes to path through a temporary file in the same folder that is flushed and then
// renamed over the target, so an existing file is either replaced whole or left untouched.
[[nodiscard]] Result<Done> WriteFileAtomically(const std::string& path,
                                               std::span<const std::uint8_t> bytes);

} // namespace glyfora::document

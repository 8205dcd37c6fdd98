#pragma once

#include "base/Result.h"
#include "document/Typeface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyfora::formats {

// The ".tf" signature, the 64-bit value 0x7C30342E317C8354 in little-endian order.
constexpr std::array<std::uint8_t, 8> TfMagic{0x54, 0x83, 0x7C, 0x31, 0x2E, 0x34, 0x30, 0x7C};

// Reads the chunks that follow the signature into typeface. A chunk whose CRC fails is skipped
// when its size leads to a whole chunk of a known type, so the damage costs that chunk alone.
// Reading ends at the end chunk, at a CRC mismatch after which no chunk can be found, or where a
// chunk would run past the data. Every skipped chunk and early end is added to warnings with the
// chunk's number and the reason, and what was read before it is kept.
document::Typeface& ReadTfChunks(document::Typeface& typeface, std::span<const std::uint8_t> bytes,
                                 std::vector<std::string>& warnings);

// The complete ".tf" file for typeface: signature, image, characters, pairs, properties, end.
// A typeface without Image is written without the image chunk. A value that does not fit its
// field (CheckFieldLimits with TfFieldLimits) is refused, never cut down.
[[nodiscard]] base::Result<std::vector<std::uint8_t>>
EncodeTfFile(const document::Typeface& typeface);

// Writes EncodeTfFile's bytes atomically to fileName, as the picture is encoded.
[[nodiscard]] base::Result<base::Done> WriteTfFile(const document::Typeface& typeface,
                                                   const std::string& fileName);

// Whether bytes begin with the ".tf" signature.
[[nodiscard]] bool IsTfFile(std::span<const std::uint8_t> bytes);

// A whole ".tf" file, signature included, read as ReadTfChunks reads its chunks; never fails, as
// what came before damage is kept.
[[nodiscard]] base::Result<base::Done> ReadTfFile(document::Typeface& typeface,
                                                  std::span<const std::uint8_t> bytes,
                                                  const std::string& directory);

} // namespace glyfora::formats

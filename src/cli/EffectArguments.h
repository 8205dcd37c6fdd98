#pragma once

#include "base/Result.h"
#include "document/ImportOptions.h"

#include <string>
#include <string_view>
#include <vector>

namespace glyfora::cli {

// Whether arg is one of the import's effect flags that set several options at once, each taking
// one value: --outline W[,COLOUR], --shadow DX,DY[,BLUR[,COLOUR]], --fill COLOUR,
// --gradient TOP,BOTTOM and --sdf SPREAD, colours written #RRGGBB or #RRGGBBAA.
[[nodiscard]] bool IsEffectOption(std::string_view arg);

// Sets the effect option arg from its value; fails with a message that names the value.
[[nodiscard]] base::Result<base::Done>
SetEffectOption(document::GlyphEffects& effects, const std::string& arg, const std::string& value);

// Once every option is read: fails when the effects given cannot be imported together.
[[nodiscard]] base::Result<base::Done> CheckEffectOptions(const std::vector<std::string>& args,
                                                          const document::GlyphEffects& effects);

} // namespace glyfora::cli

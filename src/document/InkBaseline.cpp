#include "document/InkBaseline.h"

#include "document/Image.h"

#include <map>
#include <string_view>

namespace glyfora::document {

namespace {

// Glyphs whose bottom sits on the baseline without an overshoot in most typefaces.
constexpr std::string_view FlatBottomed = "HIEFLTZNMKxzvwkhlni1247";

} // namespace

std::optional<std::int64_t> InkBaseline(const Typeface& typeface) {
    const Image* picture = typeface.Content.Image.get();
    if (picture == nullptr) {
        return std::nullopt;
    }
    std::map<std::int64_t, int> votes;
    for (const char code : FlatBottomed) {
        const Character* character = FindCharacter(typeface, static_cast<unsigned char>(code));
        if (character == nullptr) {
            continue;
        }
        if (const std::optional<Rect64> ink = InkBoxOf(*picture, character->Source)) {
            const std::int64_t inkBottom = ink->Y + ink->Height - character->Source.Y;
            ++votes[character->Outlay.Y + inkBottom];
        }
    }
    std::optional<std::int64_t> best;
    int bestVotes = 0;
    for (const auto& [baseline, count] : votes) {
        if (count >= bestVotes) {
            best = baseline;
            bestVotes = count;
        }
    }
    return best;
}

} // namespace glyfora::document

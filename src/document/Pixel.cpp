#include "document/Pixel.h"

namespace glyfora::document {

std::uint32_t BlendSourceOver(std::uint32_t source, std::uint32_t destination) {
    const std::uint32_t sourceAlpha = Alpha(source);
    const std::uint32_t destinationAlpha = Alpha(destination);
    if (sourceAlpha == 255 || destinationAlpha == 0) {
        return source;
    }
    if (sourceAlpha == 0) {
        return destination;
    }
    // In units of 1/255²: the source's share and what shows of the destination beneath it. Each
    // channel is weighed by its pixel's coverage and divided by the result's.
    const std::uint32_t sourceWeight = sourceAlpha * 255;
    const std::uint32_t destinationWeight = destinationAlpha * (255 - sourceAlpha);
    const std::uint32_t totalWeight = sourceWeight + destinationWeight;
    const auto mix = [&](std::uint32_t sourceValue, std::uint32_t destinationValue) {
        return (sourceValue * sourceWeight + destinationValue * destinationWeight +
                totalWeight / 2) /
               totalWeight;
    };
    return Rgba(mix(Red(source), Red(destination)), mix(Green(source), Green(destination)),
                mix(Blue(source), Blue(destination)), DivideBy255(totalWeight));
}

} // namespace glyfora::document

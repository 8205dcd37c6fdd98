#include "import/GlyphEffects.h"

#include "document/Pixel.h"
#include "import/DistanceTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace glyfora::fontimport {

namespace {

// The blur radius is twice the Gaussian's standard deviation, and the kernel ends at three of
// them, where less than half a percent of the weight is left.
double BlurSigma(double blur) {
    return blur / 2.0;
}
std::int64_t BlurReach(double blur) {
    return blur > 0.0 ? static_cast<std::int64_t>(std::ceil(3.0 * BlurSigma(blur))) : 0;
}

std::int64_t OutlineReach(const GlyphEffects& effects) {
    const double limit =
        effects.Join == document::OutlineJoin::Sharp ? SharpOutlineMiterLimit : 1.0;
    return effects.OutlineWidth > 0.0
               ? static_cast<std::int64_t>(std::ceil(effects.OutlineWidth * limit))
               : 0;
}

// The effects' layers over the paint's box, each an amount of 0..1 per pixel.
struct Layers {
    std::int64_t Width = 0, Height = 0;
    std::vector<float> Fill, Outline, Shadow;
};

// The coverage of mask over box, 0 where the mask does not reach.
CoverageGrid GridOf(const Coverage& mask, const document::Rect64& box) {
    CoverageGrid grid{box.Width, box.Height,
                      std::vector<float>(static_cast<std::size_t>(box.Width * box.Height), 0.0F)};
    const std::int64_t x0 = std::max(mask.Left, box.X);
    const std::int64_t x1 = std::min(mask.Left + mask.Width, box.X + box.Width);
    const std::int64_t y0 = std::max(mask.Top, box.Y);
    const std::int64_t y1 = std::min(mask.Top + mask.Height, box.Y + box.Height);
    for (std::int64_t y = y0; y < y1; ++y) {
        for (std::int64_t x = x0; x < x1; ++x) {
            const std::uint8_t value =
                mask.Values[static_cast<std::size_t>((y - mask.Top) * mask.Width + x - mask.Left)];
            grid.Values[static_cast<std::size_t>((y - box.Y) * box.Width + x - box.X)] =
                static_cast<float>(value) / 255.0F;
        }
    }
    return grid;
}

// The Gaussian's weights from its centre outwards, summing to 1 over both sides.
std::vector<float> BlurWeights(double blur) {
    const std::int64_t reach = BlurReach(blur);
    const double sigma = BlurSigma(blur);
    std::vector<float> weights(static_cast<std::size_t>(reach + 1));
    double sum = 0.0;
    for (std::int64_t k = 0; k <= reach; ++k) {
        const double weight = std::exp(-static_cast<double>(k * k) / (2.0 * sigma * sigma));
        weights[static_cast<std::size_t>(k)] = static_cast<float>(weight);
        sum += k == 0 ? weight : 2.0 * weight;
    }
    for (float& weight : weights) {
        weight = static_cast<float>(weight / sum);
    }
    return weights;
}

// One pass of the separable blur: along the rows (neighbours 1 apart), or along the columns
// (neighbours a row apart). Each weight adds the whole picture moved by its distance, so that the
// inner loops run over contiguous values.
std::vector<float> BlurPass(const std::vector<float>& values, std::int64_t width,
                            std::int64_t height, bool alongRows,
                            const std::vector<float>& weights) {
    std::vector<float> out(values.size(), 0.0F);
    const auto reach = static_cast<std::int64_t>(weights.size()) - 1;
    for (std::int64_t k = -reach; k <= reach; ++k) {
        const float weight = weights[static_cast<std::size_t>(k < 0 ? -k : k)];
        for (std::int64_t y = 0; y < height; ++y) {
            // The values of row y moved by k, within the picture.
            std::int64_t fromY = y;
            std::int64_t x0 = 0;
            std::int64_t x1 = width;
            if (alongRows) {
                x0 = std::max<std::int64_t>(0, -k);
                x1 = std::min(width, width - k);
            } else {
                fromY = y + k;
                if (fromY < 0 || fromY >= height) {
                    continue;
                }
            }
            const float* in = values.data() + fromY * width + (alongRows ? k : 0);
            float* to = out.data() + y * width;
            for (std::int64_t x = x0; x < x1; ++x) {
                to[x] += weight * in[x];
            }
        }
    }
    return out;
}

// The shadow: the glyph with its outline, moved by the offset and blurred. The shape is moved
// into a grid larger than the paint by the blur's reach on every side, so that what the blur
// brings into the paint from just beyond it is not lost.
std::vector<float> ShadowOf(const Layers& layers, const GlyphEffects& effects) {
    const std::int64_t reach = BlurReach(effects.ShadowBlur);
    const std::int64_t width = layers.Width + 2 * reach;
    const std::int64_t height = layers.Height + 2 * reach;
    std::vector<float> grid(static_cast<std::size_t>(width * height), 0.0F);
    for (std::int64_t y = 0; y < layers.Height; ++y) {
        const std::int64_t toY = y + effects.ShadowY + reach;
        for (std::int64_t x = 0; x < layers.Width; ++x) {
            const std::int64_t toX = x + effects.ShadowX + reach;
            if (toX >= 0 && toY >= 0 && toX < width && toY < height) {
                const auto i = static_cast<std::size_t>(y * layers.Width + x);
                grid[static_cast<std::size_t>(toY * width + toX)] =
                    std::max(layers.Fill[i], layers.Outline[i]);
            }
        }
    }
    if (reach > 0) {
        const std::vector<float> weights = BlurWeights(effects.ShadowBlur);
        grid =
            BlurPass(BlurPass(grid, width, height, true, weights), width, height, false, weights);
    }
    std::vector<float> shadow(layers.Fill.size());
    for (std::int64_t y = 0; y < layers.Height; ++y) {
        for (std::int64_t x = 0; x < layers.Width; ++x) {
            shadow[static_cast<std::size_t>(y * layers.Width + x)] =
                grid[static_cast<std::size_t>((y + reach) * width + x + reach)];
        }
    }
    return shadow;
}

Layers LayersOf(const CoverageGrid& glyph, const Coverage& stroke, const document::Rect64& box,
                const GlyphEffects& effects, const CoverageAlphaRule& alpha) {
    Layers layers{box.Width, box.Height, {}, {}, {}};
    const std::size_t count = glyph.Values.size();
    layers.Fill.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        layers.Fill[i] = alpha[static_cast<std::size_t>(glyph.Values[i] * 255.0F + 0.5F)];
    }
    layers.Outline.assign(count, 0.0F);
    if (effects.OutlineWidth > 0.0) {
        if (effects.Join == document::OutlineJoin::Sharp && stroke.Width > 0) {
            layers.Outline = GridOf(stroke, box).Values;
        } else {
            // The outline's edge lies width beyond the glyph's, antialiased over one pixel.
            const auto width = static_cast<float>(effects.OutlineWidth);
            const std::vector<float> distance =
                DistanceToEdge(glyph, EdgeSide::Outside, width + 0.5F);
            for (std::size_t i = 0; i < count; ++i) {
                layers.Outline[i] = std::clamp(width + 0.5F - distance[i], 0.0F, 1.0F);
            }
        }
    }
    layers.Shadow = effects.Shadow ? ShadowOf(layers, effects) : std::vector<float>(count, 0.0F);
    return layers;
}

std::uint32_t Mix(std::uint32_t top, std::uint32_t bottom, double t) {
    const auto channel = [t](std::uint32_t a, std::uint32_t b) {
        return static_cast<std::uint32_t>(
            std::lround(static_cast<double>(a) + (static_cast<double>(b) - a) * t));
    };
    return document::Rgba(channel(document::Red(top), document::Red(bottom)),
                          channel(document::Green(top), document::Green(bottom)),
                          channel(document::Blue(top), document::Blue(bottom)),
                          channel(document::Alpha(top), document::Alpha(bottom)));
}

// The fill's colour in the picture's row y.
std::uint32_t FillColourAt(const GlyphEffects& effects, LineBox line, std::int64_t y) {
    if (!effects.Gradient) {
        return effects.FillColour;
    }
    const double t =
        line.Height > 0.0
            ? std::clamp((static_cast<double>(y) + 0.5 - line.Top) / line.Height, 0.0, 1.0)
            : 0.0;
    return Mix(effects.GradientTop, effects.GradientBottom, t);
}

// Layer by layer, bottom up: shadow, outline, fill.
void Compose(const Layers& layers, const GlyphEffects& effects, LineBox line, GlyphPaint& paint) {
    for (std::int64_t y = 0; y < layers.Height; ++y) {
        const std::uint32_t fill = FillColourAt(effects, line, paint.Top + y);
        for (std::int64_t x = 0; x < layers.Width; ++x) {
            const auto i = static_cast<std::size_t>(y * layers.Width + x);
            std::uint32_t pixel = paint.Pixels.Pixels[i];
            const auto layer = [&pixel](std::uint32_t colour, float amount) {
                const auto a = static_cast<std::uint32_t>(
                    static_cast<float>(document::Alpha(colour)) * amount + 0.5F);
                if (a > 0) {
                    pixel = document::BlendSourceOver(document::WithAlpha(colour, a), pixel);
                }
            };
            layer(effects.ShadowColour, layers.Shadow[i]);
            layer(effects.OutlineColour, layers.Outline[i]);
            layer(fill, layers.Fill[i]);
            paint.Pixels.Pixels[i] = pixel;
        }
    }
}

// The signed distance, positive inside, as R = G = B = A = v with the edge at 128.
void PaintDistanceField(const CoverageGrid& glyph, std::int64_t spread, GlyphPaint& paint) {
    const auto reach = static_cast<float>(spread);
    const std::vector<float> outside = DistanceToEdge(glyph, EdgeSide::Outside, reach);
    const std::vector<float> inside = DistanceToEdge(glyph, EdgeSide::Inside, reach);
    const auto scale = 128.0F / static_cast<float>(spread);
    for (std::size_t i = 0; i < glyph.Values.size(); ++i) {
        const float distance = glyph.Values[i] >= 0.5F ? inside[i] : -outside[i];
        // Rounded down, so that exactly the pixels at or inside the edge reach 128.
        const float v = std::clamp(std::floor(128.0F + distance * scale), 0.0F, 255.0F);
        const auto value = static_cast<std::uint32_t>(v);
        if (value > 0) {
            paint.Pixels.Pixels[i] = document::Rgba(value, value, value, value);
        }
    }
}

} // namespace

EffectReach ReachOf(const GlyphEffects& effects) {
    if (effects.DistanceField) {
        const std::int64_t spread = effects.DistanceSpread;
        return {spread, spread, spread, spread};
    }
    const std::int64_t outline = OutlineReach(effects);
    EffectReach reach{outline, outline, outline, outline};
    if (effects.Shadow) {
        const std::int64_t shadow = outline + BlurReach(effects.ShadowBlur);
        reach.Left = std::max(reach.Left, shadow - effects.ShadowX);
        reach.Right = std::max(reach.Right, shadow + effects.ShadowX);
        reach.Top = std::max(reach.Top, shadow - effects.ShadowY);
        reach.Bottom = std::max(reach.Bottom, shadow + effects.ShadowY);
    }
    return reach;
}

bool PaintsGlyphs(const GlyphEffects& effects) {
    return effects.DistanceField || effects.OutlineWidth > 0.0 || effects.Shadow ||
           effects.Gradient;
}

std::optional<std::string> EffectsConflict(const GlyphEffects& effects) {
    if (effects.DistanceField && (effects.OutlineWidth > 0.0 || effects.Shadow ||
                                  effects.Gradient || effects.FillColour != 0xFFFFFFFF)) {
        return "A distance field cannot be combined with an outline, a shadow or a coloured fill: "
               "engines draw those from the field themselves. Turn off either the distance field "
               "or the other effects.";
    }
    return std::nullopt;
}

GlyphPaint PaintGlyph(const Coverage& coverage, const Coverage& stroke, const GlyphEffects& effects,
                      const CoverageAlphaRule& alpha, LineBox line, std::int64_t pictureWidth,
                      std::int64_t pictureHeight) {
    if (coverage.Width <= 0 || coverage.Height <= 0) {
        return {};
    }
    const EffectReach reach = ReachOf(effects);
    const std::int64_t left = std::max<std::int64_t>(coverage.Left - reach.Left, 0);
    const std::int64_t top = std::max<std::int64_t>(coverage.Top - reach.Top, 0);
    const std::int64_t right = std::min(coverage.Left + coverage.Width + reach.Right, pictureWidth);
    const std::int64_t bottom =
        std::min(coverage.Top + coverage.Height + reach.Bottom, pictureHeight);
    if (right <= left || bottom <= top) {
        return {};
    }
    const document::Rect64 box{left, top, right - left, bottom - top};
    GlyphPaint paint{
        left, top,
        document::Image{box.Width, box.Height,
                        std::vector<std::uint32_t>(static_cast<std::size_t>(box.Width * box.Height),
                                                   document::WhiteWithAlpha(0))},
        effects.DistanceField};
    const CoverageGrid glyph = GridOf(coverage, box);
    if (effects.DistanceField) {
        PaintDistanceField(glyph, effects.DistanceSpread, paint);
    } else {
        Compose(LayersOf(glyph, stroke, box, effects, alpha), effects, line, paint);
    }
    return paint;
}

GlyphPaint PaintInk(const GlyphInk& ink, const GlyphEffects& effects,
                    const CoverageAlphaRule& alpha, double lineHeight, std::int64_t pictureWidth,
                    std::int64_t pictureHeight) {
    return PaintGlyph(ink.Mask, ink.Stroke, effects, alpha, {ink.Y, lineHeight}, pictureWidth,
                      pictureHeight);
}

void DrawPaint(document::Image& picture, const GlyphPaint& paint) {
    const document::Image& pixels = paint.Pixels;
    const std::int64_t x0 = std::max<std::int64_t>(0, -paint.Left);
    const std::int64_t x1 = std::min(pixels.Width, picture.Width - paint.Left);
    const std::int64_t y0 = std::max<std::int64_t>(0, -paint.Top);
    const std::int64_t y1 = std::min(pixels.Height, picture.Height - paint.Top);
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::uint32_t* from = pixels.Pixels.data() + y * pixels.Width;
        std::uint32_t* row = picture.Pixels.data() + (paint.Top + y) * picture.Width;
        for (std::int64_t x = x0; x < x1; ++x) {
            const std::uint32_t source = from[x];
            std::uint32_t& target = row[paint.Left + x];
            if (document::Alpha(source) == 0) {
                continue;
            }
            if (!paint.DistanceValues) {
                target = document::BlendSourceOver(source, target);
            } else if (document::Alpha(source) > document::Alpha(target)) {
                target = source;
            }
        }
    }
}

document::Rect64 PaintBox(const GlyphPaint& paint) {
    return {paint.Left, paint.Top, paint.Pixels.Width, paint.Pixels.Height};
}

} // namespace glyfora::fontimport

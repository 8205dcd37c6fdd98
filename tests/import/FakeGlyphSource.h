#pragma once

#include "import/GlyphSource.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace glyfora::fontimport {

// A font with known metrics that records what is drawn, so that measuring and packing checks are
// exact. Glyphs given a block are drawn as solid blocks at a known offset from where they are
// drawn; the others leave no pixels. A source that cannot begin stands for a font that cannot be
// made at the size.
class FakeGlyphSource final : public GlyphSource {
public:
    struct DrawCall {
        double X = 0, Y = 0;
        std::uint16_t Code = 0;
        ColourRGBA Colour = 0;
    };
    struct Block {
        std::int64_t X = 0, Y = 0, Width = 0, Height = 0; // relative to the line box's corner
    };

    double DefaultWidth = 10.0;
    std::map<std::uint16_t, double> Widths;
    double Height = 20.0;
    double Ascent = 15.2;
    std::string Family = "Fake Sans";
    bool CanBegin = true;
    std::map<std::uint16_t, Block> Blocks;
    std::vector<DrawCall> Draws;
    std::vector<ColourRGBA> Clears;
    std::int64_t OpenCount = 0; // Begin calls that opened less End calls

    bool Begin(document::Image& image, const ImportOptions&) override {
        if (CanBegin) {
            ++OpenCount;
            image_ = &image;
        }
        return CanBegin;
    }
    void End() override {
        --OpenCount;
        image_ = nullptr;
    }
    double MeasureWidth(std::uint16_t code) override {
        const auto it = Widths.find(code);
        return it == Widths.end() ? DefaultWidth : it->second;
    }
    double MeasureHeight(std::uint16_t) override { return Height; }
    double MeasureAscent() override { return Ascent; }
    std::string FamilyName() override { return Family; }
    void Clear(ColourRGBA colour) override {
        Clears.push_back(colour);
        std::fill(image_->Pixels.begin(), image_->Pixels.end(), colour);
    }
    void Draw(double x, double y, std::uint16_t code, ColourRGBA colour) override {
        Draws.push_back({x, y, code, colour});
        const auto block = Blocks.find(code);
        if (block == Blocks.end()) {
            return;
        }
        const auto left = static_cast<std::int64_t>(std::floor(x)) + block->second.X;
        const auto top = static_cast<std::int64_t>(std::floor(y)) + block->second.Y;
        for (std::int64_t py = top; py < top + block->second.Height; ++py) {
            for (std::int64_t px = left; px < left + block->second.Width; ++px) {
                if (image_->Contains(px, py)) {
                    image_->At(px, py) = colour;
                }
            }
        }
    }

private:
    document::Image* image_ = nullptr;
};

} // namespace glyfora::fontimport

#pragma once

#include "views/QuadSurface.h"

#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace glyfora::app {

// A QuadSurface that draws with OpenGL 2.1 / OpenGL ES 2 into the framebuffer bound when a frame
// begins. It draws what SoftwareQuadSurface draws: the quad as the triangles (c0, c1, c2) and
// (c0, c2, c3), perspective-correct when the depths differ, nearest texels clamped to the source
// rectangle (transparent outside the sprite), distance fields decoded from bilinearly sampled
// alpha, colour channels blended with the chosen factors and alpha as source over destination.
// Only across the seams of a tiled sprite does a distance field's sampling differ: the texels of
// the neighbouring tile are not at hand, so the pass's own edge texels stand in for them.
//
// Sprites become textures the first time they are drawn and stay until a frame ends in which they
// were not drawn; the cache holds each sprite itself, so a freed sprite's address cannot be
// mistaken for a new one. A sprite larger than the texture size limit is kept as a grid of tiles,
// uploaded as quads first touch them; a quad is then drawn once per tile its source rectangle
// touches, each pass writing only the pixels whose texel lies in that tile.
//
// Every member function needs the surface's OpenGL context to be current, the destructor too.
class OpenGlQuadSurface final : public views::QuadSurface {
public:
    // tileSizeLimit > 0 lowers the tile size below the implementation's maximum texture size
    // (tests use it to exercise tiling with small sprites).
    explicit OpenGlQuadSurface(int tileSizeLimit = 0);
    ~OpenGlQuadSurface() override;
    OpenGlQuadSurface(const OpenGlQuadSurface&) = delete;
    OpenGlQuadSurface& operator=(const OpenGlQuadSurface&) = delete;

    // False when the shaders could not be built; the surface then draws nothing.
    [[nodiscard]] bool IsValid() const { return valid_; }

    // Starts a frame on the bound framebuffer, framebufferHeight device pixels high. The surface is
    // width × height units at its top-left corner, scale device pixels per unit; drawing is
    // clipped to it, Clear fills the whole framebuffer.
    void BeginFrame(int framebufferHeight, int width, int height, double scale);
    // Ends the frame and frees the textures of sprites it did not draw.
    void EndFrame();

    void Clear(std::uint32_t colour) override;
    void SetBlendMode(views::BlendFactor sourceFactor,
                      views::BlendFactor destinationFactor) override;
    void DrawQuad(const document::Sprite& sprite, const document::Rect64& source,
                  const views::GlyphQuad& corners, std::int64_t opacity,
                  std::int64_t tint) override;
    void SetDistanceDecoding(float screenPxRange) override;

    // The side length of the tiles sprites are cut into.
    [[nodiscard]] int TileSize() const { return tileSize_; }
    // How many textures are held now, and how many were uploaded since the surface was made.
    [[nodiscard]] std::size_t TextureCount() const;
    [[nodiscard]] std::int64_t UploadCount() const { return uploads_; }

private:
    struct Tile {
        unsigned int Texture = 0; // 0 until first drawn
        bool Failed = false;      // the upload failed; the tile draws as transparent
    };
    struct CachedSprite {
        document::Sprite Sprite; // keeps the address from being reused while cached
        std::int64_t Columns = 0;
        std::int64_t Rows = 0;
        std::vector<Tile> Tiles; // row by row
        bool UsedThisFrame = false;
    };

    CachedSprite& Cached(const document::Sprite& sprite);
    unsigned int TileTexture(CachedSprite& cached, std::int64_t column, std::int64_t row);
    void DeleteTextures(CachedSprite& cached);
    void SetColourUniforms(std::int64_t opacity, std::int64_t tint);
    // Draws the quad once per tile in columns × rows (first, last), each pass only its texels.
    void DrawTiles(const document::Sprite& sprite, std::pair<std::int64_t, std::int64_t> columns,
                   std::pair<std::int64_t, std::int64_t> rows);
    void ApplyBlendMode();

    QOpenGLFunctions gl_;
    QOpenGLShaderProgram program_;
    bool valid_ = false;
    int tileSize_ = 0;
    views::BlendFactor sourceFactor_ = views::BlendFactor::SourceAlpha;
    views::BlendFactor destinationFactor_ = views::BlendFactor::OneMinusSourceAlpha;
    int width_ = 0;
    int height_ = 0;
    std::int64_t uploads_ = 0;
    std::unordered_map<const document::Image*, CachedSprite> cache_;
    document::Image tilePixels_; // scratch for copying a tile's rows
    // Uniform and attribute locations.
    int positionAttribute_ = -1;
    int texelAttribute_ = -1;
    int samplerUniform_ = -1;
    int tileUniform_ = -1;
    int sourceUniform_ = -1;
    int spriteUniform_ = -1;
    int modeUniform_ = -1;
    int tintUniform_ = -1;
    int opacityUniform_ = -1;
    int rangeUniform_ = -1;
    float screenPxRange_ = 0.0F;
};

} // namespace glyfora::app

#include "PictureHelpers.h"
#include "app/surfaces/ExampleScreen.h"
#include "app/surfaces/OpenGlQuadSurface.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"
#include "views/SoftwareQuadSurface.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <string>
#include <tuple>

namespace glyfora::app {
namespace {

using test::Id;

constexpr int CanvasWidth = 320;
constexpr int CanvasHeight = 200;

// A current OpenGL context on a hidden surface, drawing into a framebuffer object.
class GlContext {
public:
    GlContext() {
        if (!context_.create()) {
            return;
        }
        surface_.setFormat(context_.format());
        surface_.create();
        if (!surface_.isValid() || !context_.makeCurrent(&surface_)) {
            return;
        }
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(CanvasWidth, CanvasHeight);
    }
    ~GlContext() {
        framebuffer_.reset();
        context_.doneCurrent();
    }
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    [[nodiscard]] bool Ready() const { return framebuffer_ && framebuffer_->isValid(); }

    // One frame of surface into the framebuffer, read back.
    document::Image Render(OpenGlQuadSurface& surface,
                           const std::function<void(views::QuadSurface&)>& draw) {
        framebuffer_->bind();
        surface.BeginFrame(CanvasHeight, CanvasWidth, CanvasHeight, 1.0);
        draw(surface);
        surface.EndFrame();
        context_.functions()->glFinish();
        return test::ToImage(framebuffer_->toImage());
    }

private:
    QOpenGLContext context_;
    QOffscreenSurface surface_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};

using Drawing = std::function<void(views::QuadSurface&, document::TypefaceRegistry&)>;

struct Scene {
    const char* Name;
    Drawing Draw;
};

void Background(views::QuadSurface& surface) {
    DrawExampleFrame(surface, {});
}

void DrawSample(views::QuadSurface& surface, document::TypefaceRegistry& registry,
                std::int64_t intensity = views::DefaultIntegerArgument,
                std::int64_t tint = views::DefaultIntegerArgument) {
    static_cast<void>(views::SetKerningEnabled(registry, Id, true));
    views::DrawTypefaceText(registry, surface, Id, 10.0F, 10.0F, test::SampleText, intensity, tint);
}

const document::Sprite& SpriteOf(document::TypefaceRegistry& registry) {
    return document::TypefaceFromId(registry, Id)->Content.Sprite;
}

const Scene Scenes[] = {
    {"Text",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         Background(surface);
         DrawSample(surface, registry);
     }},
    {"ScaledSlantedText",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         ASSERT_TRUE(views::SetScale(registry, Id, 2.7F));
         ASSERT_TRUE(views::SetItalicAngle(registry, Id, 14.0F));
         Background(surface);
         DrawSample(surface, registry);
     }},
    {"ProjectedText",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         // Depth changes along x, so every glyph is mapped perspective-correct.
         ASSERT_TRUE(views::SetScale(registry, Id, 2.0F));
         ASSERT_TRUE(views::SetProjection(registry, Id, {{{1, 0, 0}, {0, 1, 0}, {0.6F, 0.1F, 1}}}));
         ASSERT_TRUE(views::SetProjectionCentre(registry, Id, 0.0F, 0.0F, -400.0F));
         Background(surface);
         DrawSample(surface, registry);
     }},
    {"TintAndIntensity",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         Background(surface);
         DrawSample(surface, registry, 140, 0x30A0F0);
         views::DrawTypefaceText(registry, surface, Id, 20.0F, 80.0F, test::SampleText, 77);
     }},
    {"BlendModes",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         Background(surface);
         using enum views::BlendFactor;
         const views::BlendFactor modes[][2] = {{One, One},
                                                {SourceColour, OneMinusSourceColour},
                                                {DestinationColour, Zero},
                                                {DestinationAlpha, OneMinusDestinationAlpha},
                                                {Zero, OneMinusDestinationColour},
                                                {SourceAlpha, One},
                                                {OneMinusDestinationColour, SourceColour}};
         float y = 5.0F;
         for (const auto& mode : modes) {
             surface.SetBlendMode(mode[0], mode[1]);
             views::DrawTypefaceText(registry, surface, Id, 10.0F, y, u"AVWagjy.AVWagjy.");
             y += 26.0F;
         }
     }},
    {"MirroredAndPerspectiveQuads",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         Background(surface);
         const document::Sprite& sprite = SpriteOf(registry);
         // Mirrored left to right (reversed winding) and enlarged.
         surface.DrawQuad(sprite, {15, 9, 10, 14},
                          {{{90, 10, 1}, {10, 10, 1}, {10, 122, 1}, {90, 122, 1}}}, 255, -1);
         // A trapezoid whose right edge is twice as far away.
         surface.DrawQuad(sprite, {29, 1, 10, 14},
                          {{{110, 10, 1}, {300, 40, 2}, {300, 120, 2}, {110, 180, 1}}}, 255, -1);
         // The whole sprite, squeezed.
         surface.DrawQuad(sprite, {0, 0, 96, 48},
                          {{{10, 130, -2}, {300, 140, -3}, {310, 195, -3}, {5, 190, -2}}}, 200, -1);
     }},
    {"SourceBeyondSprite",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         Background(surface);
         // "One, zero" writes the transparent black outside the sprite as well.
         surface.SetBlendMode(views::BlendFactor::One, views::BlendFactor::Zero);
         const document::Sprite& sprite = SpriteOf(registry);
         surface.DrawQuad(sprite, {-6, -4, 24, 20},
                          {{{10, 10, 1}, {106, 10, 1}, {106, 90, 1}, {10, 90, 1}}}, 255, -1);
         surface.DrawQuad(sprite, {80, 36, 24, 20},
                          {{{120, 10, 1}, {216, 10, 1}, {216, 90, 1}, {120, 90, 1}}}, 255, -1);
         surface.DrawQuad(sprite, {-500, -500, 20, 20},
                          {{{230, 10, 1}, {300, 10, 1}, {300, 90, 1}, {230, 90, 1}}}, 255, -1);
     }},
};

// The test typeface with its alpha read as a distance field of range 4.
void MakeDistanceField(document::TypefaceRegistry& registry) {
    auto& properties = document::TypefaceFromId(registry, Id)->Content.Properties;
    properties["DistanceField"] = "sdf";
    properties["DistanceRange"] = "4";
}

// Only whole textures: across the seams of a tiled sprite the OpenGL surface samples a distance
// field from the pass's own tile (see OpenGlQuadSurface).
const Scene DistanceFieldScenes[] = {
    {"DistanceFieldAt8x",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         MakeDistanceField(registry);
         ASSERT_TRUE(views::SetScale(registry, Id, 8.0F));
         Background(surface);
         views::DrawTypefaceText(registry, surface, Id, 4.0F, 4.0F, u"AVWa");
     }},
    {"DistanceFieldSlantedTinted",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         MakeDistanceField(registry);
         ASSERT_TRUE(views::SetScale(registry, Id, 2.5F));
         ASSERT_TRUE(views::SetItalicAngle(registry, Id, 12.0F));
         Background(surface);
         DrawSample(surface, registry, 170, 0x30A0F0);
     }},
    {"DistanceFieldInPerspective",
     [](views::QuadSurface& surface, document::TypefaceRegistry& registry) {
         MakeDistanceField(registry);
         ASSERT_TRUE(views::SetScale(registry, Id, 2.0F));
         ASSERT_TRUE(views::SetProjection(registry, Id, {{{1, 0, 0}, {0, 1, 0}, {0.6F, 0.1F, 1}}}));
         ASSERT_TRUE(views::SetProjectionCentre(registry, Id, 0.0F, 0.0F, -400.0F));
         Background(surface);
         DrawSample(surface, registry);
     }},
};

void ExpectMatchesSoftware(const Scene& scene, int tileLimit) {
    GlContext gl;
    ASSERT_TRUE(gl.Ready());

    document::TypefaceRegistry softwareRegistry;
    test::MakeTestTypeface(softwareRegistry);
    views::SoftwareQuadSurface software(CanvasWidth, CanvasHeight);
    scene.Draw(software, softwareRegistry);

    document::TypefaceRegistry glRegistry;
    test::MakeTestTypeface(glRegistry);
    OpenGlQuadSurface surface(tileLimit);
    ASSERT_TRUE(surface.IsValid());
    const document::Image picture =
        gl.Render(surface, [&](views::QuadSurface& target) { scene.Draw(target, glRegistry); });

    // The scene must show something, or matching would prove nothing.
    ASSERT_GT(test::CountOtherThan(software.Target, 0x404040), 1000);
    const test::Difference difference =
        test::Compare(picture, software.Target, test::OpenGlChannelTolerance);
    ASSERT_TRUE(difference.SizesMatch);
    std::cout << "[ measured ] " << scene.Name << ", tile size " << surface.TileSize() << ": "
              << test::Describe(difference) << '\n';
    ::testing::Test::RecordProperty("differing_pixels", std::to_string(difference.Differing));
    // Both pictures as PNG files for a look, when a folder is named.
    if (qEnvironmentVariableIsSet("GLYFORA_TEST_OUTPUT")) {
        const QString dir = qEnvironmentVariable("GLYFORA_TEST_OUTPUT");
        const auto save = [&](const document::Image& image, const char* what) {
            QImage(reinterpret_cast<const uchar*>(image.Pixels.data()), CanvasWidth, CanvasHeight,
                   QImage::Format_RGBA8888)
                .save(dir + QStringLiteral("/") + QString::fromLatin1(scene.Name) +
                      QString::fromLatin1(what) + QStringLiteral("_tiles") +
                      QString::number(surface.TileSize()) + QStringLiteral(".png"));
        };
        save(picture, "_gl");
        save(software.Target, "_sw");
    }
    EXPECT_LE(static_cast<double>(difference.Differing),
              test::OpenGlDifferingShare * static_cast<double>(difference.Pixels))
        << test::Describe(difference);
}

class OpenGlQuadSurfaceMatchesSoftware
    : public ::testing::TestWithParam<std::tuple<std::size_t, int>> {};

TEST_P(OpenGlQuadSurfaceMatchesSoftware, WithinTolerance) {
    const auto [sceneIndex, tileLimit] = GetParam();
    ExpectMatchesSoftware(Scenes[sceneIndex], tileLimit);
}

class OpenGlDistanceFieldMatchesSoftware : public ::testing::TestWithParam<std::size_t> {};

TEST_P(OpenGlDistanceFieldMatchesSoftware, WithinTolerance) {
    ExpectMatchesSoftware(DistanceFieldScenes[GetParam()], 0);
}

INSTANTIATE_TEST_SUITE_P(Scenes, OpenGlDistanceFieldMatchesSoftware,
                         ::testing::Range<std::size_t>(0, std::size(DistanceFieldScenes)),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(DistanceFieldScenes[info.param].Name);
                         });

INSTANTIATE_TEST_SUITE_P(Scenes, OpenGlQuadSurfaceMatchesSoftware,
                         ::testing::Combine(::testing::Range<std::size_t>(0, std::size(Scenes)),
                                            ::testing::Values(0, 16)),
                         [](const ::testing::TestParamInfo<std::tuple<std::size_t, int>>& info) {
                             const int tileLimit = std::get<1>(info.param);
                             return std::string(Scenes[std::get<0>(info.param)].Name) +
                                    (tileLimit == 0 ? "_WholeTexture"
                                                    : "_Tiles" + std::to_string(tileLimit));
                         });

TEST(OpenGlQuadSurface, UploadsEachSpriteOnceAndFreesSpritesNoLongerDrawn) {
    GlContext gl;
    ASSERT_TRUE(gl.Ready());
    OpenGlQuadSurface surface;
    const views::GlyphQuad corners{{{0, 0, 1}, {40, 0, 1}, {40, 40, 1}, {0, 40, 1}}};
    document::Sprite first = document::ImageToSprite(document::MakeImage(4, 4, 0xFF0000FFU));
    const auto drawFirst = [&](views::QuadSurface& target) {
        target.DrawQuad(first, {0, 0, 4, 4}, corners, 255, -1);
    };
    static_cast<void>(gl.Render(surface, drawFirst));
    static_cast<void>(gl.Render(surface, drawFirst));
    EXPECT_EQ(surface.UploadCount(), 1);
    EXPECT_EQ(surface.TextureCount(), 1U);

    // The picture is replaced: the old sprite is let go by its owner, a new one with other
    // colours is drawn and must show, not the old texture.
    first.reset();
    const document::Sprite second = document::ImageToSprite(document::MakeImage(4, 4, 0xFF00FF00U));
    const document::Image picture = gl.Render(surface, [&](views::QuadSurface& target) {
        target.DrawQuad(second, {0, 0, 4, 4}, corners, 255, -1);
    });
    EXPECT_EQ(picture.At(20, 20), 0xFF00FF00U);
    EXPECT_EQ(surface.UploadCount(), 2);
    EXPECT_EQ(surface.TextureCount(), 1U);

    // A frame that draws nothing frees everything.
    static_cast<void>(gl.Render(surface, [](views::QuadSurface&) {}));
    EXPECT_EQ(surface.TextureCount(), 0U);
}

TEST(OpenGlQuadSurface, UploadsOnlyTheTilesThatAreDrawn) {
    GlContext gl;
    ASSERT_TRUE(gl.Ready());
    document::TypefaceRegistry registry;
    test::MakeTestTypeface(registry);
    const document::Sprite& sprite = SpriteOf(registry); // 96 × 48: 6 × 3 tiles of 16
    OpenGlQuadSurface surface(16);
    EXPECT_EQ(surface.TileSize(), 16);
    const views::GlyphQuad corners{{{0, 0, 1}, {40, 0, 1}, {40, 40, 1}, {0, 40, 1}}};
    static_cast<void>(gl.Render(surface, [&](views::QuadSurface& target) {
        target.DrawQuad(sprite, {3, 2, 10, 14}, corners, 255, -1); // within tile (0, 0)
    }));
    EXPECT_EQ(surface.TextureCount(), 1U);
    static_cast<void>(gl.Render(surface, [&](views::QuadSurface& target) {
        target.DrawQuad(sprite, {3, 2, 10, 14}, corners, 255, -1);
        target.DrawQuad(sprite, {15, 9, 10, 14}, corners, 255, -1); // tiles (0..1, 0..1)
    }));
    EXPECT_EQ(surface.TextureCount(), 4U);
    EXPECT_EQ(surface.UploadCount(), 4);
}

TEST(OpenGlQuadSurface, DrawsFromSpritesTallerThanTheTextureLimit) {
    GlContext gl;
    ASSERT_TRUE(gl.Ready());
    OpenGlQuadSurface surface;
    GLint maxTextureSize = 0;
    QOpenGLContext::currentContext()->functions()->glGetIntegerv(GL_MAX_TEXTURE_SIZE,
                                                                 &maxTextureSize);
    ASSERT_EQ(surface.TileSize(), maxTextureSize);
    // A narrow atlas taller than any texture, as a full-coverage import makes; its last cell
    // straddles the first tile boundary below the limit... and the bottom rows.
    const std::int64_t height = maxTextureSize + 100;
    document::Image image = *document::MakeImage(8, height, 0xFF000000U);
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < 8; ++x) {
            image.At(x, y) = 0xFF000000U | static_cast<std::uint32_t>(y % 251) << 8 |
                             static_cast<std::uint32_t>(x * 30);
        }
    }
    const document::Sprite sprite = document::ImageToSprite(image);
    const std::int64_t straddling = maxTextureSize - 5;
    const std::int64_t bottom = height - 12;
    const auto draw = [&](views::QuadSurface& target) {
        Background(target);
        target.DrawQuad(sprite, {0, straddling, 8, 12},
                        {{{10, 10, 1}, {42, 10, 1}, {42, 58, 1}, {10, 58, 1}}}, 255, -1);
        target.DrawQuad(sprite, {0, bottom, 8, 12},
                        {{{60, 10, 1}, {92, 10, 1}, {92, 58, 1}, {60, 58, 1}}}, 255, -1);
    };
    const document::Image picture = gl.Render(surface, draw);
    views::SoftwareQuadSurface software(CanvasWidth, CanvasHeight);
    draw(software);
    const test::Difference difference = test::Compare(picture, software.Target, 0);
    EXPECT_EQ(difference.Differing, 0) << test::Describe(difference);
    EXPECT_EQ(picture.At(10, 57), image.At(0, straddling + 11));
    EXPECT_EQ(picture.At(91, 57), image.At(7, height - 1));
    EXPECT_EQ(surface.TextureCount(), 2U);
}

} // namespace
} // namespace glyfora::app

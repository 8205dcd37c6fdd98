#include "PictureHelpers.h"
#include "app/surfaces/ExampleScreen.h"
#include "document/Pixel.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"
#include "views/SoftwareQuadSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <iostream>
#include <string>
#include <vector>

namespace glyfora::app {
namespace {

using test::Id;

// Runs the event loop for a while, so that every pending paint happens.
void ProcessEventsFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// Waits until the screen has drawn more than frames, for at most five seconds.
bool WaitForFrameAfter(const ExampleScreen& screen, std::int64_t frames) {
    QElapsedTimer timer;
    timer.start();
    while (screen.FramesDrawn() <= frames && timer.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return screen.FramesDrawn() > frames;
}

struct Call {
    char Kind = ' '; // 'c' clear, 'b' blend mode, 'd' drawer
    std::int64_t A = 0;
    std::int64_t B = 0;
    friend bool operator==(const Call&, const Call&) = default;
};

class CallLog final : public views::QuadSurface {
public:
    void Clear(std::uint32_t colour) override { Calls.push_back({'c', colour, 0}); }
    void SetBlendMode(views::BlendFactor source, views::BlendFactor destination) override {
        Calls.push_back(
            {'b', static_cast<std::int64_t>(source), static_cast<std::int64_t>(destination)});
    }
    void DrawQuad(const document::Sprite&, const document::Rect64&, const views::GlyphQuad&,
                  std::int64_t, std::int64_t) override {}
    void SetDistanceDecoding(float) override {}
    std::vector<Call> Calls;
};

TEST(ExampleFrame, ClearsThenBlendsThenDraws) {
    CallLog log;
    DrawExampleFrame(log, [](views::QuadSurface& surface) {
        static_cast<CallLog&>(surface).Calls.push_back({'d', 0, 0});
    });
    EXPECT_EQ(log.Calls, (std::vector<Call>{{'c', 0x404040, 0}, {'b', 6, 7}, {'d', 0, 0}}));

    CallLog withoutDrawer;
    DrawExampleFrame(withoutDrawer, {});
    EXPECT_EQ(withoutDrawer.Calls.size(), 2U);
}

TEST(ExampleScreenFactory, GivesNamedSoftwareWidgetWithoutWindowSystem) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_FALSE(OpenGlScreenAvailable());
    QWidget window;
    ExampleScreen* screen = CreateExampleScreen(&window, {});
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->UsesOpenGl());
    EXPECT_EQ(screen->Widget()->objectName(), QStringLiteral("ExampleScreen"));
    EXPECT_EQ(screen->Widget()->parentWidget(), &window);
}

// The surfaces the example screen draws with, and by how much each may differ from what the
// software surface alone draws (see test::Compare).
struct SurfaceKind {
    const char* Name;
    bool OpenGl;
    int TileSizeLimit;
    int ChannelTolerance;
    double DifferingShareAllowed;
};

const SurfaceKind SurfaceKinds[] = {
    {"Software", false, 0, 0, 0.0},
    {"OpenGlWholeTexture", true, 0, test::OpenGlChannelTolerance, test::OpenGlDifferingShare},
    {"OpenGlTiles16", true, 16, test::OpenGlChannelTolerance, test::OpenGlDifferingShare},
};

// The example screen on one kind of surface; the OpenGL ones are skipped where no OpenGL context
// can be made (without a window system, or on a display without OpenGL).
class ExampleScreenOnSurface : public ::testing::TestWithParam<SurfaceKind> {
protected:
    void SetUp() override {
        if (GetParam().OpenGl && !OpenGlScreenAvailable()) {
            GTEST_SKIP() << "no OpenGL context on platform "
                         << QGuiApplication::platformName().toStdString();
        }
        test::MakeTestTypeface(registry_);
    }

    // The screen, width × height at (0, 20) of the window, showing text at (x, y).
    ExampleScreen* MakeScreen(std::u16string text, int width, int height, float x = 10.0F,
                              float y = 10.0F) {
        text_ = std::move(text);
        x_ = x;
        y_ = y;
        ExampleScreenOptions options;
        options.ForceSoftware = !GetParam().OpenGl;
        options.TileSizeLimit = GetParam().TileSizeLimit;
        window_.resize(width, height + 20);
        ExampleScreen* screen = CreateExampleScreen(
            &window_, [this](views::QuadSurface& surface) { DrawText(surface); }, options);
        screen->Widget()->setGeometry(0, 20, width, height);
        return screen;
    }

    // What the software surface alone draws for the same frame.
    document::Image Expected(int width, int height) {
        views::SoftwareQuadSurface surface(width, height);
        DrawExampleFrame(surface, [this](views::QuadSurface& target) { DrawText(target); });
        return surface.Target;
    }

    void ExpectShows(const document::Image& frame, const document::Image& expected) {
        const test::Difference difference =
            test::Compare(frame, expected, GetParam().ChannelTolerance);
        ASSERT_TRUE(difference.SizesMatch) << frame.Width << " × " << frame.Height;
        std::cout << "[ measured ] example screen, " << GetParam().Name << ": "
                  << test::Describe(difference) << '\n';
        EXPECT_LE(static_cast<double>(difference.Differing),
                  GetParam().DifferingShareAllowed * static_cast<double>(difference.Pixels))
            << test::Describe(difference);
    }

    document::TypefaceRegistry registry_;
    QWidget window_;

private:
    void DrawText(views::QuadSurface& surface) {
        static_cast<void>(views::SetKerningEnabled(registry_, Id, true));
        views::DrawTypefaceText(registry_, surface, Id, x_, y_, text_);
    }

    std::u16string text_;
    float x_ = 0.0F;
    float y_ = 0.0F;
};

TEST_P(ExampleScreenOnSurface, IsANamedChildOfItsKind) {
    ExampleScreen* screen = MakeScreen(u"AV", 200, 60);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->UsesOpenGl(), GetParam().OpenGl);
    EXPECT_EQ(screen->Widget()->objectName(), QStringLiteral("ExampleScreen"));
    EXPECT_EQ(screen->Widget()->parentWidget(), &window_);
}

TEST_P(ExampleScreenOnSurface, PaintsTheGlyphCellsOnTheBackground) {
    ExampleScreen* screen = MakeScreen(u"AV", 200, 60);
    window_.show();
    ASSERT_TRUE(WaitForFrameAfter(*screen, 0));
    const document::Image frame = test::ToImage(screen->GrabFrame());
    ASSERT_EQ(frame.Width, 200);
    ASSERT_EQ(frame.Height, 60);

    // A's cell (3, 2) of the sprite at pen (10, 10) + offset (0, 0); opaque texels appear as they
    // are, transparent ones leave the background.
    const document::Typeface& typeface = *document::TypefaceFromId(registry_, Id);
    const document::Image& sprite = *typeface.Content.Sprite;
    int opaque = 0;
    int transparent = 0;
    for (std::int64_t y = 0; y < 14; ++y) {
        for (std::int64_t x = 0; x < 7; ++x) { // V starts 7 further (advance 9, kerning -2)
            const std::uint32_t texel = sprite.At(3 + x, 2 + y);
            if (document::Alpha(texel) == 255) {
                EXPECT_EQ(frame.At(10 + x, 10 + y), texel) << x << ", " << y;
                ++opaque;
            } else if (document::Alpha(texel) == 0) {
                EXPECT_EQ(frame.At(10 + x, 10 + y), 0xFF404040U) << x << ", " << y;
                ++transparent;
            }
        }
    }
    EXPECT_GT(opaque, 5);
    EXPECT_GT(transparent, 5);
    EXPECT_EQ(frame.At(0, 0), 0xFF404040U);
    EXPECT_EQ(frame.At(199, 59), 0xFF404040U);
    // V (cell 15, 9; drawn one lower) starts at 10 + 9 - 2 = 17, over A's last columns.
    for (std::int64_t x = 0; x < 10; ++x) {
        const std::uint32_t texel = sprite.At(15 + x, 9 + 4);
        if (document::Alpha(texel) == 255) {
            EXPECT_EQ(frame.At(17 + x, 11 + 4), texel) << x;
        }
    }
    ExpectShows(frame, Expected(200, 60));
}

TEST_P(ExampleScreenOnSurface, ShowsWhatTheSoftwareSurfaceDraws) {
    ExampleScreen* screen = MakeScreen(std::u16string(test::SampleText), 320, 200);
    window_.show();
    ASSERT_TRUE(WaitForFrameAfter(*screen, 0));
    const document::Image frame = test::ToImage(screen->GrabFrame());
    const document::Image expected = Expected(320, 200);
    // The text must show plenty, or matching would prove little.
    ASSERT_GT(test::CountOtherThan(expected, 0x404040), 1000);
    ExpectShows(frame, expected);
}

TEST_P(ExampleScreenOnSurface, DrawsOnlyWithinTheBackBuffer) {
    // Text reaching past x = 1600 and y = 900 on a larger screen is cut there.
    ExampleScreen* screen = MakeScreen(u"AVWagjy", 1700, 950, 1580.0F, 890.0F);
    window_.show();
    ASSERT_TRUE(WaitForFrameAfter(*screen, 0));
    const document::Image frame = test::ToImage(screen->GrabFrame());
    ASSERT_EQ(frame.Width, 1700);
    for (std::int64_t y = 0; y < frame.Height; ++y) {
        for (std::int64_t x = 0; x < frame.Width; ++x) {
            if (x >= ExampleBackBufferWidth || y >= ExampleBackBufferHeight) {
                ASSERT_EQ(frame.At(x, y), 0xFF404040U) << x << ", " << y;
            }
        }
    }
    // Within the back buffer the text is there.
    EXPECT_GT(test::CountOtherThan(frame, 0x404040), 50);
}

TEST_P(ExampleScreenOnSurface, DrawsOnlyWhenAskedAndCoalescesRequests) {
    ExampleScreen* screen = MakeScreen(u"AV", 200, 60);
    window_.show();
    ASSERT_TRUE(WaitForFrameAfter(*screen, 0));
    ProcessEventsFor(200);
    const std::int64_t shown = screen->FramesDrawn();

    // Idle: no timer, no loop, no frames.
    ProcessEventsFor(300);
    EXPECT_EQ(screen->FramesDrawn(), shown);

    for (int i = 0; i < 5; ++i) {
        screen->RequestFrame();
    }
    ASSERT_TRUE(WaitForFrameAfter(*screen, shown));
    ProcessEventsFor(200);
    EXPECT_EQ(screen->FramesDrawn(), shown + 1);
    window_.hide();
}

INSTANTIATE_TEST_SUITE_P(Surfaces, ExampleScreenOnSurface, ::testing::ValuesIn(SurfaceKinds),
                         [](const ::testing::TestParamInfo<SurfaceKind>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace glyfora::app

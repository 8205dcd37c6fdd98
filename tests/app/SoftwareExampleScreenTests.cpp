#include "app/ExampleScreen.h"
#include "views/ExampleTextRenderer.h"
#include "views/RenderSettingsAccess.h"
#include "views/SoftwareQuadSurface.h"

#include "PictureHelpers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
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

// Waits until the screen has drawn more than frames, for at most two seconds.
bool WaitForFrameAfter(const ExampleScreen& screen, std::int64_t frames) {
    QElapsedTimer timer;
    timer.start();
    while (screen.FramesDrawn() <= frames && timer.elapsed() < 2000) {
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
    void SetBlendMode(int source, int destination) override {
        Calls.push_back({'b', source, destination});
    }
    void DrawQuad(const document::Sprite&, const document::Rect64&, const views::GlyphQuad&,
                  std::int64_t, std::int64_t) override {}
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

class SoftwareExampleScreen : public ::testing::Test {
protected:
    SoftwareExampleScreen() {
        test::MakeTestTypeface(registry_);
        window_.resize(400, 120);
    }

    ExampleScreen* MakeScreen(std::u16string text, float x = 10.0F, float y = 10.0F) {
        text_ = std::move(text);
        return CreateExampleScreen(&window_, [this, x, y](views::QuadSurface& surface) {
            static_cast<void>(views::SetKerningEnabled(registry_, Id, true));
            views::DrawTypefaceText(registry_, surface, Id, x, y, text_);
        });
    }

    // What the software surface alone draws for the same frame.
    document::Image Expected(std::int64_t width, std::int64_t height, float x = 10.0F,
                             float y = 10.0F) {
        views::SoftwareQuadSurface surface(width, height);
        DrawExampleFrame(surface, [&](views::QuadSurface& target) {
            static_cast<void>(views::SetKerningEnabled(registry_, Id, true));
            views::DrawTypefaceText(registry_, target, Id, x, y, text_);
        });
        return surface.Target;
    }

    document::TypefaceRegistry registry_;
    QWidget window_;
    std::u16string text_;
};

TEST_F(SoftwareExampleScreen, FactoryGivesNamedSoftwareWidgetWithoutWindowSystem) {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    EXPECT_FALSE(OpenGlScreenAvailable());
    ExampleScreen* screen = MakeScreen(u"AV");
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->UsesOpenGl());
    EXPECT_EQ(screen->Widget()->objectName(), QStringLiteral("ExampleScreen"));
    EXPECT_EQ(screen->Widget()->parentWidget(), &window_);

    // Asked for OpenGL-free drawing, it is software on every platform.
    ExampleScreenOptions options;
    options.ForceSoftware = true;
    EXPECT_FALSE(CreateExampleScreen(&window_, {}, options)->UsesOpenGl());
}

TEST_F(SoftwareExampleScreen, PaintsTheGlyphCellsOnTheBackground) {
    ExampleScreen* screen = MakeScreen(u"AV");
    screen->Widget()->setGeometry(0, 20, 200, 60);
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
            if (texel >> 24 == 255) {
                EXPECT_EQ(frame.At(10 + x, 10 + y), texel) << x << ", " << y;
                ++opaque;
            } else if (texel >> 24 == 0) {
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
        if (texel >> 24 == 255) {
            EXPECT_EQ(frame.At(17 + x, 11 + 4), texel) << x;
        }
    }

    const document::Image expected = Expected(200, 60);
    const test::Difference difference = test::Compare(frame, expected, 0);
    EXPECT_EQ(difference.Differing, 0) << test::Describe(difference);
}

TEST_F(SoftwareExampleScreen, DrawsOnlyWithinTheBackBuffer) {
    // Text reaching past x = 1600 and y = 900 on a larger screen is cut there.
    ExampleScreen* screen = MakeScreen(u"AVWagjy", 1580.0F, 890.0F);
    screen->Widget()->setGeometry(0, 0, 1700, 950);
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

TEST_F(SoftwareExampleScreen, DrawsOnlyWhenAskedAndCoalescesRequests) {
    ExampleScreen* screen = MakeScreen(u"AV");
    screen->Widget()->setGeometry(0, 20, 200, 60);
    window_.show();
    ASSERT_TRUE(WaitForFrameAfter(*screen, 0));
    ProcessEventsFor(100);
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

} // namespace
} // namespace glyfora::app

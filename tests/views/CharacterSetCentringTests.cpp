#include "views/CharacterSetCentring.h"

#include <gtest/gtest.h>
#include <optional>

namespace glyfora::views {
namespace {

TEST(CentreCharacterSetView, CentresAndClampsWithTruncatingDivisions) {
    struct Case {
        const char* Name;
        document::Rect64 Cell;
        std::int64_t CanvasWidth, CanvasHeight, Zoom;
        std::int64_t ImageWidth, ImageHeight;
        std::int64_t ScrollX, ScrollY;
    };
    const Case cases[] = {
        {"middle", {500, 400, 20, 10}, 400, 300, 1, 1000, 800, 310, 255},
        {"near the origin goes to 0", {10, 10, 8, 8}, 400, 300, 1, 1000, 800, 0, 0},
        {"near the far edge stops there", {990, 790, 10, 10}, 400, 300, 1, 1000, 800, 600, 500},
        // 300 - 200 + (-3 / 2): truncation gives -1, not -2.
        {"negative width truncates toward zero",
         {300, 300, -3, -5},
         400,
         300,
         1,
         1000,
         800,
         99,
         148},
        // 401 / 4 = 100 visible, half of it 50; 7 / 2 = 3.
        {"zoomed", {500, 400, 7, 9}, 401, 303, 4, 1000, 800, 453, 367},
        {"image narrower than the canvas", {250, 250, 0, 0}, 400, 400, 1, 300, 300, 0, 0},
        {"cell left of the image", {-7, -7, -3, -3}, 0, 0, 1, 1000, 800, 0, 0},
        {"damaged zoom counts as 1", {500, 400, 20, 10}, 400, 300, 0, 1000, 800, 310, 255},
    };
    for (const Case& test : cases) {
        ViewState state;
        state.CharacterSetZoom = test.Zoom;
        state.ScrollX = state.ScrollY = 12345;
        const std::optional<document::Image> image =
            document::MakeImage(test.ImageWidth, test.ImageHeight);
        ASSERT_TRUE(image.has_value()) << test.Name;
        CentreCharacterSetView(state, test.Cell, test.CanvasWidth, test.CanvasHeight, &*image);
        EXPECT_EQ(state.ScrollX, test.ScrollX) << test.Name;
        EXPECT_EQ(state.ScrollY, test.ScrollY) << test.Name;
    }
}

TEST(CentreCharacterSetView, WithoutAnImageScrollsToTheOrigin) {
    ViewState state;
    state.ScrollX = 40;
    state.ScrollY = 50;
    CentreCharacterSetView(state, {500, 400, 20, 10}, 400, 300, nullptr);
    EXPECT_EQ(state.ScrollX, 0);
    EXPECT_EQ(state.ScrollY, 0);
}

} // namespace
} // namespace glyfora::views

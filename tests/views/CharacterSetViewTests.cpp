#include "ExpectPixels.h"
#include "views/CharacterSetMouse.h"
#include "views/CharacterSetView.h"
#include "views/ViewCanvas.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glyfora::views {
namespace {

using test::CountPixels;
using test::ExpectPixels;
using test::Legend;
using test::PositionColour;
using test::PositionImage;

constexpr std::uint32_t Background = 0xFF404040;
constexpr std::uint32_t Frame = 0xFF4000FF;
constexpr std::uint32_t Marker = 0xFFA0A0A0;       // 0x80FFFFFF over the background
constexpr std::uint32_t DoubleMarker = 0xFFD0D0D0; // 0x80FFFFFF twice over the background

const Legend BackgroundAndFrame{{'B', Background}, {'F', Frame}};

std::unique_ptr<document::Typeface> TypefaceWithImage(std::optional<document::Image> image) {
    const document::TypefaceRegistry registry;
    auto typeface = document::MakeTypeface(registry, 5);
    document::SetCharacterSetImage(*typeface, std::move(image));
    return typeface;
}

// A selection whose frame lies far outside any test canvas.
ViewState StateWithoutFrame() {
    ViewState state;
    state.Selection = {-1000, -1000, 1, 1};
    return state;
}

std::string Repeat(char key, std::size_t count) {
    return std::string(count, key);
}

// ---- Picture ----------------------------------------------------------------------------------

TEST(CharacterSetViewPicture, StartStateShowsOnlyATwoByTwoFrameBlockOnTheBackground) {
    const auto withoutImage = TypefaceWithImage(std::nullopt);
    for (const document::Typeface* typeface :
         {static_cast<document::Typeface*>(nullptr), withoutImage.get()}) {
        document::Image canvas;
        DrawCharacterSetView(canvas, 400, 400, typeface, ViewState{}, true);
        ASSERT_EQ(canvas.Width, 400);
        ASSERT_EQ(canvas.Height, 400);
        ExpectPixels(canvas, 0, 0, {"FFB", "FFB", "BBB"}, BackgroundAndFrame);
        EXPECT_EQ(CountPixels(canvas, Frame), 4);
        EXPECT_EQ(CountPixels(canvas, Background), 400 * 400 - 4);
    }
}

TEST(CharacterSetViewPicture, SmallImageSitsAtTheTopLeftOverTheBackground) {
    document::Image image = PositionImage(3, 2);
    image.At(1, 1) = 0x80FF0000; // blue at half alpha
    image.At(2, 1) = 0x00FFFFFF; // fully transparent
    const auto typeface = TypefaceWithImage(image);
    document::Image canvas;
    DrawCharacterSetView(canvas, 6, 4, typeface.get(), StateWithoutFrame(), false);
    const Legend legend{{'B', Background},           {'a', PositionColour(0, 0)},
                        {'b', PositionColour(1, 0)}, {'c', PositionColour(2, 0)},
                        {'d', PositionColour(0, 1)}, {'h', 0xFFA02020}};
    ExpectPixels(canvas, 0, 0, {"abcBBB", "dhBBBB", "BBBBBB", "BBBBBB"}, legend);
}

TEST(CharacterSetViewPicture, ZoomFourFromColumnTenReplicatesEachPixel) {
    const auto typeface = TypefaceWithImage(PositionImage(20, 20));
    ViewState state = StateWithoutFrame();
    state.CharacterSetZoom = 4;
    state.ScrollX = 10;
    document::Image canvas;
    DrawCharacterSetView(canvas, 16, 8, typeface.get(), state, false);
    const Legend legend{{'a', PositionColour(10, 0)}, {'b', PositionColour(11, 0)},
                        {'c', PositionColour(12, 0)}, {'d', PositionColour(13, 0)},
                        {'e', PositionColour(10, 1)}, {'f', PositionColour(11, 1)},
                        {'g', PositionColour(12, 1)}, {'h', PositionColour(13, 1)}};
    const std::string top = "aaaabbbbccccdddd";
    const std::string bottom = "eeeeffffgggghhhh";
    ExpectPixels(canvas, 0, 0, {top, top, top, top, bottom, bottom, bottom, bottom}, legend);
}

TEST(CharacterSetViewPicture, OnlyWholeImagePixelsAreShownAndTheRestIsBackground) {
    const auto typeface = TypefaceWithImage(PositionImage(20, 20));
    ViewState state = StateWithoutFrame();
    state.CharacterSetZoom = 4;
    document::Image canvas;
    DrawCharacterSetView(canvas, 10, 5, typeface.get(), state, false);
    const Legend legend{
        {'B', Background}, {'a', PositionColour(0, 0)}, {'b', PositionColour(1, 0)}};
    const std::string row = "aaaabbbbBB";
    ExpectPixels(canvas, 0, 0, {row, row, row, row, "BBBBBBBBBB"}, legend);
}

TEST(CharacterSetViewPicture, AreaOutsideTheImageShowsTheBackground) {
    const auto typeface = TypefaceWithImage(PositionImage(4, 4));
    const Legend legend{{'B', Background},           {'a', PositionColour(0, 0)},
                        {'c', PositionColour(2, 0)}, {'d', PositionColour(3, 0)},
                        {'e', PositionColour(0, 3)}, {'f', PositionColour(1, 3)}};
    struct Case {
        std::int64_t ScrollX, ScrollY;
        std::vector<std::string> Rows;
    };
    const std::vector<Case> cases{
        {2, 0, {"cdBB", "????", "????", "????"}},
        {-1, 3, {"Bef?", "BBBB", "BBBB", "BBBB"}},
        {4, 4, {"BBBB", "BBBB", "BBBB", "BBBB"}},
        {-1, -1, {"BBBB", "Ba??", "B???", "B???"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scroll " << c.ScrollX << ", " << c.ScrollY);
        ViewState state = StateWithoutFrame();
        state.ScrollX = c.ScrollX;
        state.ScrollY = c.ScrollY;
        document::Image canvas;
        DrawCharacterSetView(canvas, 4, 4, typeface.get(), state, false);
        ExpectPixels(canvas, 0, 0, c.Rows, legend);
    }
}

TEST(CharacterSetViewPicture, ZoomIsKeptWithinOneAndTheCap) {
    const auto typeface = TypefaceWithImage(PositionImage(4, 4));
    ViewState state = StateWithoutFrame();
    state.CharacterSetZoom = 1000;
    document::Image canvas;
    DrawCharacterSetView(canvas, 130, 130, typeface.get(), state, false);
    EXPECT_EQ(canvas.At(63, 63), PositionColour(0, 0));
    EXPECT_EQ(canvas.At(64, 63), PositionColour(1, 0));
    EXPECT_EQ(canvas.At(127, 64), PositionColour(1, 1));
    EXPECT_EQ(canvas.At(128, 0), Background); // 130 / 64 = 2 whole pixels
    for (const std::int64_t damaged : {0, -3}) {
        state.CharacterSetZoom = damaged;
        DrawCharacterSetView(canvas, 4, 4, typeface.get(), state, false);
        EXPECT_EQ(canvas.At(1, 0), PositionColour(1, 0));
        EXPECT_EQ(canvas.At(3, 3), PositionColour(3, 3));
    }
}

TEST(CharacterSetViewPicture, ZoomLargerThanTheCanvasShowsTheBackgroundNotAStalePicture) {
    const auto typeface = TypefaceWithImage(PositionImage(8, 8));
    ViewState state;
    document::Image canvas;
    DrawCharacterSetView(canvas, 40, 40, typeface.get(), state, false);
    ASSERT_EQ(canvas.At(3, 3), PositionColour(3, 3));
    state.CharacterSetZoom = 64;
    DrawCharacterSetView(canvas, 40, 40, typeface.get(), state, false);
    ExpectPixels(canvas, 0, 0, {"FFB", "FFB", "BBB"}, BackgroundAndFrame);
    EXPECT_EQ(CountPixels(canvas, Background), 40 * 40 - 4);
}

TEST(CharacterSetViewPicture, CanvasSizeIsKeptWithinZeroAndTheCap) {
    const auto typeface = TypefaceWithImage(PositionImage(8, 8));
    struct Case {
        std::int64_t Width, Height, ExpectedWidth, ExpectedHeight;
    };
    for (const Case& c : {Case{100000, 3, 4096, 3}, Case{-5, 7, 0, 7}, Case{0, 0, 0, 0},
                          Case{std::numeric_limits<std::int64_t>::max(), -1, 4096, 0}}) {
        document::Image canvas;
        DrawCharacterSetView(canvas, c.Width, c.Height, typeface.get(), ViewState{}, true);
        EXPECT_EQ(canvas.Width, c.ExpectedWidth);
        EXPECT_EQ(canvas.Height, c.ExpectedHeight);
        EXPECT_EQ(canvas.Pixels.size(),
                  static_cast<std::size_t>(c.ExpectedWidth * c.ExpectedHeight));
    }
}

TEST(CharacterSetViewPicture, ARedrawLeavesNothingOfThePreviousPicture) {
    const auto image = TypefaceWithImage(PositionImage(8, 8));
    document::Image canvas;
    DrawCharacterSetView(canvas, 8, 8, image.get(), StateWithoutFrame(), false);
    DrawCharacterSetView(canvas, 4, 4, nullptr, StateWithoutFrame(), false);
    EXPECT_EQ(CountPixels(canvas, Background), 16);
}

// ---- Selection frame --------------------------------------------------------------------------

TEST(CharacterSetViewFrame, FrameLiesTwoPixelsOutsideTheSelectionAndLeavesItUntouched) {
    const auto typeface = TypefaceWithImage(PositionImage(9, 9));
    ViewState state;
    state.Selection = {2, 2, 3, 3};
    document::Image canvas;
    DrawCharacterSetView(canvas, 9, 9, nullptr, state, false);
    ExpectPixels(canvas, 0, 0,
                 {"FFFFFFFBB", "FFFFFFFBB", "FFBBBFFBB", "FFBBBFFBB", "FFBBBFFBB", "FFFFFFFBB",
                  "FFFFFFFBB", "BBBBBBBBB", "BBBBBBBBB"},
                 BackgroundAndFrame);

    DrawCharacterSetView(canvas, 9, 9, typeface.get(), state, false);
    for (std::int64_t y = 2; y < 5; ++y) {
        for (std::int64_t x = 2; x < 5; ++x) {
            EXPECT_EQ(canvas.At(x, y), PositionColour(x, y)) << x << ", " << y;
        }
    }
    EXPECT_EQ(canvas.At(7, 7), PositionColour(7, 7));
}

TEST(CharacterSetViewFrame, FrameFollowsZoomAndScroll) {
    ViewState state;
    state.Selection = {3, 1, 2, 1};
    state.ScrollX = 1;
    state.CharacterSetZoom = 2;
    document::Image canvas;
    DrawCharacterSetView(canvas, 12, 8, nullptr, state, false);
    ExpectPixels(canvas, 0, 0,
                 {"BBFFFFFFFFBB", "BBFFFFFFFFBB", "BBFFBBBBFFBB", "BBFFBBBBFFBB", "BBFFFFFFFFBB",
                  "BBFFFFFFFFBB", "BBBBBBBBBBBB", "BBBBBBBBBBBB"},
                 BackgroundAndFrame);
}

// A cleared mark draws no frame, wherever its rectangle lies; a press marks again.
TEST(CharacterSetViewFrame, AClearedMarkDrawsNoFrameUntilAPressMarksAgain) {
    const auto typeface = TypefaceWithImage(PositionImage(9, 9));
    for (const document::Rect64 selection :
         {document::Rect64{2, 2, 3, 3}, document::Rect64{0, 0, 0, 0}}) {
        ViewState state;
        state.Selection = selection;
        state.SelectionShown = false;
        document::Image canvas;
        DrawCharacterSetView(canvas, 9, 9, typeface.get(), state, false);
        for (std::int64_t y = 0; y < 9; ++y) {
            for (std::int64_t x = 0; x < 9; ++x) {
                EXPECT_EQ(canvas.At(x, y), PositionColour(x, y)) << x << ", " << y;
            }
        }
        static_cast<void>(OnCharacterSetLeftDown(state, 1, 1));
        EXPECT_TRUE(state.SelectionShown);
        DrawCharacterSetView(canvas, 9, 9, typeface.get(), state, false);
        EXPECT_EQ(canvas.At(0, 0), SelectionFrameColour);
    }
}

// Each of the two outline rectangles is normalised on its own, so a negative selection is not
// framed like the rectangle it covers: the outlines shrink or vanish.
TEST(CharacterSetViewFrame, NegativeSelectionsNormaliseEachOutlineOnItsOwn) {
    struct Case {
        document::Rect64 Selection;
        std::int64_t FramePixels;
        std::vector<std::string> Rows; // canvas rows 2..7, columns 2..7
    };
    const std::vector<Case> cases{
        // (7, 6, -3, -2) becomes x 4..6, y 4..5; (6, 5, -1, 0) is empty.
        {{8, 7, -5, -4}, 6, {"BBBBBB", "BBBBBB", "BBFFFB", "BBFFFB", "BBBBBB", "BBBBBB"}},
        // (4, 4, 1, 1) is one pixel, (3, 3, 3, 3) the ring around it.
        {{5, 5, -1, -1}, 9, {"BBBBBB", "BFFFBB", "BFFFBB", "BFFFBB", "BBBBBB", "BBBBBB"}},
        // (4, 4, 0, 0) is empty, (3, 3, 2, 2) a solid 2 x 2 block.
        {{5, 5, -2, -2}, 4, {"BBBBBB", "BFFBBB", "BFFBBB", "BBBBBB", "BBBBBB", "BBBBBB"}},
        // (4, 5, -3, 2) becomes x 1..3, y 5..6; (3, 4, -1, 4) becomes x 2, y 4..7.
        {{5, 6, -5, 0}, 8, {"BBBBBB", "BBBBBB", "FBBBBB", "FFBBBB", "FFBBBB", "FBBBBB"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selection " << c.Selection.X << ", " << c.Selection.Y
                                        << ", " << c.Selection.Width << ", " << c.Selection.Height);
        ViewState state;
        state.Selection = c.Selection;
        document::Image canvas;
        DrawCharacterSetView(canvas, 10, 10, nullptr, state, false);
        ExpectPixels(canvas, 2, 2, c.Rows, BackgroundAndFrame);
        EXPECT_EQ(CountPixels(canvas, Frame), c.FramePixels);
    }
}

TEST(CharacterSetViewFrame, DrawThickFrameBlendsATranslucentColourOncePerPixel) {
    document::Image canvas = document::MakeImage(6, 6, Background).value();
    DrawThickFrame(canvas, 2, 2, 2, 2, 0x80FFFFFF);
    EXPECT_EQ(CountPixels(canvas, Marker), 6 * 6 - 4);
    EXPECT_EQ(CountPixels(canvas, Background), 4);
}

TEST(CharacterSetViewFrame, ExtremeSelectionsAndScrollsStaySound) {
    constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();
    const auto typeface = TypefaceWithImage(PositionImage(16, 16));
    for (const document::Rect64 selection :
         {document::Rect64{Max, Max, Max, Max}, document::Rect64{Min, Min, Min, Min},
          document::Rect64{Min, 0, Max, 5}, document::Rect64{0, 0, Min, Max}}) {
        for (const std::int64_t scroll : {Min, std::int64_t{-3}, Max}) {
            ViewState state;
            state.Selection = selection;
            state.ScrollX = scroll;
            state.ScrollY = scroll;
            state.CharacterSetZoom = MaxZoom;
            document::Image canvas;
            DrawCharacterSetView(canvas, 70, 70, typeface.get(), state, true);
            EXPECT_EQ(canvas.Pixels.size(), 70U * 70U);
        }
    }
}

// ---- Scroll markers ---------------------------------------------------------------------------

// A transparent 40 x 30 image at zoom 2 on a 50 x 40 canvas, scrolled to (4, 5): the vertical
// markers are 40 * 40 / 60 = 26 high at (40 - 26) * 5 / (30 - 20) = 7, the horizontal ones
// 50 * 50 / 80 = 31 wide at (50 - 31) * 4 / (40 - 25) = 5.
TEST(CharacterSetViewMarkers, MarkersShowTheVisiblePartAtAllFourEdges) {
    const auto typeface = TypefaceWithImage(document::MakeImage(40, 30, 0));
    ViewState state = StateWithoutFrame();
    state.CharacterSetZoom = 2;
    state.ScrollX = 4;
    state.ScrollY = 5;
    document::Image canvas;
    DrawCharacterSetView(canvas, 50, 40, typeface.get(), state, true);
    const Legend legend{{'B', Background}, {'M', Marker}, {'D', DoubleMarker}};
    const std::string aboveVertical = Repeat('B', 5) + Repeat('M', 31) + Repeat('B', 14);
    const std::string verticalAndHorizontal =
        Repeat('M', 5) + Repeat('D', 5) + Repeat('M', 26) + Repeat('B', 4) + Repeat('M', 10);
    const std::string verticalOnly = Repeat('M', 10) + Repeat('B', 30) + Repeat('M', 10);
    ExpectPixels(canvas, 0, 6, {aboveVertical, verticalAndHorizontal}, legend);
    ExpectPixels(canvas, 0, 9, {verticalAndHorizontal, verticalOnly}, legend);
    ExpectPixels(canvas, 0, 29, {verticalOnly, verticalAndHorizontal}, legend);
    ExpectPixels(canvas, 0, 32, {verticalAndHorizontal, aboveVertical}, legend);
    ExpectPixels(canvas, 0, 39, {aboveVertical}, legend);
    EXPECT_EQ(CountPixels(canvas, DoubleMarker), 2 * 5 * 3); // where the left and top/bottom meet
}

TEST(CharacterSetViewMarkers, MarkerPositionTruncatesTowardZeroForNegativeScroll) {
    const auto typeface = TypefaceWithImage(document::MakeImage(40, 30, 0));
    ViewState state = StateWithoutFrame();
    state.CharacterSetZoom = 2;
    state.ScrollY = -3; // (40 - 26) * -3 / 10 = -4.2: top -4, so rows 0..21 (not 0..20)
    document::Image canvas;
    DrawCharacterSetView(canvas, 50, 40, typeface.get(), state, true);
    const Legend legend{{'B', Background}, {'M', Marker}, {'D', DoubleMarker}};
    ExpectPixels(canvas, 45, 9, {"MMMMM", "MMMMM"}, legend);
    ExpectPixels(canvas, 0, 20, {"M", "M", "B", "B"}, legend);
    ExpectPixels(canvas, 49, 20, {"M", "M", "B", "B"}, legend);
    ExpectPixels(canvas, 0, 0, {"D"}, legend);
}

TEST(CharacterSetViewMarkers, NoMarkersWithoutTheFlagOrWhenTheImageFits) {
    struct Case {
        std::int64_t ImageWidth, ImageHeight, Zoom;
        bool Flag;
    };
    for (const Case& c : {Case{40, 30, 2, false}, Case{50, 40, 1, true}, Case{10, 10, 4, true},
                          Case{0, 0, 1, true}}) {
        const auto typeface =
            TypefaceWithImage(document::MakeImage(c.ImageWidth, c.ImageHeight, 0));
        ViewState state = StateWithoutFrame();
        state.CharacterSetZoom = c.Zoom;
        document::Image canvas;
        DrawCharacterSetView(canvas, 50, 40, typeface.get(), state, c.Flag);
        EXPECT_EQ(CountPixels(canvas, Background), 50 * 40)
            << c.ImageWidth << " x " << c.ImageHeight << " at zoom " << c.Zoom;
    }
}

TEST(CharacterSetViewMarkers, OnlyTheTooLargeDirectionGetsMarkers) {
    const auto typeface = TypefaceWithImage(document::MakeImage(20, 100, 0));
    ViewState state = StateWithoutFrame();
    document::Image canvas;
    DrawCharacterSetView(canvas, 50, 40, typeface.get(), state, true);
    // 40 * 40 / 100 = 16 rows at the top, left and right; no horizontal marker.
    EXPECT_EQ(CountPixels(canvas, Marker), 2 * 10 * 16);
    ExpectPixels(canvas, 0, 15, {"MMMMMMMMMMB", "BBBBBBBBBBB"}, {{'B', Background}, {'M', Marker}});
}

// ---- Mouse ------------------------------------------------------------------------------------

TEST(CharacterSetMouse, LeftPressMovesTheSelectionOriginToTheImagePoint) {
    struct Case {
        std::int64_t Zoom, ScrollX, ScrollY, Px, Py, ExpectedX, ExpectedY;
    };
    const std::vector<Case> cases{
        {4, 10, 3, 7, 9, 11, 5},
        {4, 10, 0, -5, -1, 9, 0}, // truncation toward zero: -5 / 4 = -1, not -2
        {1, 0, 0, 399, 0, 399, 0},
        {1000, 0, 0, 130, 64, 2, 1}, // drawn at the cap, so measured at the cap too
    };
    for (const Case& c : cases) {
        ViewState state;
        state.CharacterSetZoom = c.Zoom;
        state.ScrollX = c.ScrollX;
        state.ScrollY = c.ScrollY;
        state.Selection = {0, 0, 6, 7};
        const ViewUpdate update = OnCharacterSetLeftDown(state, c.Px, c.Py);
        EXPECT_EQ(state.Selection, (document::Rect64{c.ExpectedX, c.ExpectedY, 6, 7}))
            << "press at " << c.Px << ", " << c.Py;
        EXPECT_TRUE(state.Selecting);
        EXPECT_TRUE(update.CharacterView);
        EXPECT_TRUE(update.CharacterSet);
        EXPECT_FALSE(update.ScrollMarks);
        EXPECT_FALSE(update.Pointer.has_value());
    }
}

TEST(CharacterSetMouse, DragSetsTheSizeOnlyBeyondTheThreshold) {
    const auto typeface = TypefaceWithImage(document::MakeImage(100, 100, 0));
    struct Case {
        std::int64_t Px, Py;
        bool Changes;
        std::int64_t Width, Height;
    };
    const std::vector<Case> cases{
        {12, 12, false, 4, 5}, {10, 10, false, 4, 5}, {5, 5, false, 4, 5},
        {13, 9, true, 3, -1},  {8, 13, true, -2, 3},  {40, 50, true, 30, 40},
    };
    for (const Case& c : cases) {
        ViewState state;
        state.Selection = {0, 0, 4, 5};
        (void)OnCharacterSetLeftDown(state, 10, 10);
        const ViewUpdate update = OnCharacterSetMove(state, typeface.get(), c.Px, c.Py, 400, 400);
        EXPECT_EQ(state.Selection, (document::Rect64{10, 10, c.Width, c.Height}))
            << "move to " << c.Px << ", " << c.Py;
        EXPECT_EQ(update.CharacterSet, c.Changes);
        EXPECT_FALSE(update.ScrollMarks);
        EXPECT_FALSE(update.CharacterView);
    }
}

TEST(CharacterSetMouse, MovesChangeNothingWithoutAnImageOrAHeldButton) {
    const auto withoutImage = TypefaceWithImage(std::nullopt);
    const auto withImage = TypefaceWithImage(document::MakeImage(100, 100, 0));
    ViewState state;
    state.Selection = {10, 10, 1, 1};
    state.Selecting = true;
    state.Panning = true;
    for (const document::Typeface* typeface :
         {static_cast<document::Typeface*>(nullptr), withoutImage.get()}) {
        const ViewUpdate update = OnCharacterSetMove(state, typeface, 90, 90, 40, 40);
        EXPECT_FALSE(update.CharacterSet);
        EXPECT_EQ(state.Selection, (document::Rect64{10, 10, 1, 1}));
        EXPECT_EQ(state.ScrollX, 0);
    }
    state.Selecting = false;
    state.Panning = false;
    const ViewUpdate update = OnCharacterSetMove(state, withImage.get(), 90, 90, 40, 40);
    EXPECT_FALSE(update.CharacterSet);
    EXPECT_EQ(state.Selection, (document::Rect64{10, 10, 1, 1}));
}

TEST(CharacterSetMouse, LeftReleaseEndsSelectingAndRedraws) {
    ViewState state;
    state.Selecting = true;
    const ViewUpdate update = OnCharacterSetLeftUp(state);
    EXPECT_FALSE(state.Selecting);
    EXPECT_TRUE(update.CharacterSet);
    EXPECT_FALSE(update.ScrollMarks);
    EXPECT_FALSE(update.CharacterView);
}

TEST(CharacterSetMouse, RightPressSetsTheFarCornerAlsoAboveAndLeft) {
    ViewState state;
    state.Selection = {10, 10, 4, 4};
    state.CharacterSetZoom = 2;
    state.ScrollX = 1;
    state.ScrollY = 1;
    const ViewUpdate update = OnCharacterSetRightDown(state, 6, 4); // image point (4, 3)
    EXPECT_EQ(state.Selection, (document::Rect64{10, 10, -6, -7}));
    EXPECT_TRUE(update.CharacterView);
    EXPECT_TRUE(update.CharacterSet);
    EXPECT_FALSE(state.Selecting);

    (void)OnCharacterSetRightDown(state, 30, 24); // image point (16, 13)
    EXPECT_EQ(state.Selection, (document::Rect64{10, 10, 6, 3}));
}

TEST(CharacterSetMouse, PanningIsClampedToTheImage) {
    struct Case {
        std::int64_t ImageWidth, ImageHeight, Zoom, Px, Py, ScrollX, ScrollY;
    };
    // The middle button goes down at canvas (20, 10) with the view at scroll 0 on a 40 x 30
    // canvas, so the anchor is (20 / zoom, 10 / zoom).
    const std::vector<Case> cases{
        {100, 80, 1, -100, -100, 60, 50}, // stops at image size - canvas size / zoom
        {100, 80, 1, 30, 15, 0, 0},       // never below 0
        {100, 80, 1, 5, 5, 15, 5},        {100, 80, 4, -400, -400, 90, 80 - 30 / 4},
        {30, 20, 1, -100, -100, 0, 0}, // narrower and lower than the canvas: stays 0
        {30, 20, 1, 100, 100, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ImageWidth << " x " << c.ImageHeight << " zoom "
                                        << c.Zoom << " to " << c.Px << ", " << c.Py);
        const auto typeface = TypefaceWithImage(document::MakeImage(c.ImageWidth, c.ImageHeight));
        ViewState state;
        state.CharacterSetZoom = c.Zoom;
        const ViewUpdate press = OnCharacterSetMiddleDown(state, 20, 10);
        EXPECT_TRUE(state.Panning);
        EXPECT_EQ(state.PanAnchorX, 20 / c.Zoom);
        EXPECT_EQ(press.Pointer, Pointer::Move);
        EXPECT_FALSE(press.CharacterSet);
        const ViewUpdate move = OnCharacterSetMove(state, typeface.get(), c.Px, c.Py, 40, 30);
        EXPECT_EQ(state.ScrollX, c.ScrollX);
        EXPECT_EQ(state.ScrollY, c.ScrollY);
        EXPECT_TRUE(move.CharacterSet);
        EXPECT_TRUE(move.ScrollMarks);
        const ViewUpdate release = OnCharacterSetMiddleUp(state);
        EXPECT_FALSE(state.Panning);
        EXPECT_EQ(release.Pointer, Pointer::Crosshair);
        EXPECT_TRUE(release.CharacterSet);
        EXPECT_FALSE(release.ScrollMarks);
    }
}

TEST(CharacterSetMouse, PanningAndSelectingTogetherPanFirstAndDrawWithoutMarkers) {
    const auto typeface = TypefaceWithImage(document::MakeImage(100, 100));
    ViewState state;
    (void)OnCharacterSetLeftDown(state, 10, 10);
    (void)OnCharacterSetMiddleDown(state, 10, 10);

    const ViewUpdate small = OnCharacterSetMove(state, typeface.get(), 5, 5, 40, 40);
    EXPECT_EQ(state.ScrollX, 5);
    EXPECT_EQ(state.ScrollY, 5);
    EXPECT_EQ(state.Selection, (document::Rect64{10, 10, 0, 0}));
    EXPECT_TRUE(small.ScrollMarks);

    // The pointer's image point after this pan is (2 + 8, 20 + 0): beyond the threshold downwards.
    const ViewUpdate large = OnCharacterSetMove(state, typeface.get(), 2, 20, 40, 40);
    EXPECT_EQ(state.ScrollX, 8);
    EXPECT_EQ(state.ScrollY, 0);
    EXPECT_EQ(state.Selection, (document::Rect64{10, 10, 0, 10}));
    EXPECT_TRUE(large.CharacterSet);
    EXPECT_FALSE(large.ScrollMarks);
}

TEST(CharacterSetMouse, WheelHalvesAndDoublesWithinOneAndTheCap) {
    struct Case {
        std::int64_t Zoom;
        int Notches;
        std::int64_t Expected;
    };
    const std::vector<Case> cases{
        {1, -1, 1},  {1, 1, 2}, {8, -3, 4}, {8, 120, 16},   {64, 1, 64},
        {32, 5, 64}, {2, 0, 2}, {0, 1, 2},  {1000, -1, 32}, {-4, -1, 1},
    };
    for (const Case& c : cases) {
        ViewState state;
        state.CharacterSetZoom = c.Zoom;
        const ViewUpdate update = OnCharacterSetWheel(state, c.Notches);
        EXPECT_EQ(state.CharacterSetZoom, c.Expected) << c.Zoom << " by " << c.Notches;
        EXPECT_TRUE(update.CharacterSet);
        EXPECT_FALSE(update.ScrollMarks);
        EXPECT_FALSE(update.CharacterView);
    }
}

} // namespace
} // namespace glyfora::views

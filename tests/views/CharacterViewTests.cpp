#include "ExpectPixels.h"
#include "views/CharacterView.h"
#include "views/KerningPairView.h"

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
constexpr std::uint32_t OutlayFrame = 0xFF00C040;
constexpr std::uint32_t AdvanceBar = 0xFF00C0FF;
constexpr std::int64_t Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Min = std::numeric_limits<std::int64_t>::min();

std::unique_ptr<document::Typeface> TypefaceWithImage(std::optional<document::Image> image) {
    const document::TypefaceRegistry registry;
    auto typeface = document::MakeTypeface(registry, 5);
    document::SetCharacterSetImage(*typeface, std::move(image));
    return typeface;
}

document::Character& AddCell(document::Typeface& typeface, std::int64_t code,
                             document::Rect64 source, document::Rect64 outlay) {
    document::Character& character = document::AddCharacter(typeface, code);
    character.Source = source;
    character.Outlay = outlay;
    return character;
}

// True when no pixel of picture comes from a PositionImage (whose blue byte is 0x80).
bool ShowsNoImagePixel(const document::Image& picture) {
    for (const std::uint32_t pixel : picture.Pixels) {
        if (((pixel >> 16) & 0xFF) == 0x80) {
            return false;
        }
    }
    return true;
}

// ---- Character view ---------------------------------------------------------------------------

TEST(CharacterView, TenByTwelveCellAtZoomEightWithItsLayoutBox) {
    const auto typeface = TypefaceWithImage(PositionImage(40, 40));
    ViewState state;
    state.CharacterZoom = 8;
    state.CurrentCharacter = &AddCell(*typeface, 65, {5, 6, 10, 12}, {-1, 2, 11, 16});
    const ViewPicture view = DrawCharacterView(typeface.get(), state);
    ASSERT_TRUE(view.Visible);
    ASSERT_EQ(view.Width, 144);
    ASSERT_EQ(view.Height, 160);
    ASSERT_EQ(view.Picture.Width, 144);
    ASSERT_EQ(view.Picture.Height, 160);

    // The cell at (32, 32), 80 x 96, each image pixel 8 x 8.
    EXPECT_EQ(view.Picture.At(31, 31), Background);
    EXPECT_EQ(view.Picture.At(32, 32), PositionColour(5, 6));
    EXPECT_EQ(view.Picture.At(47, 39), PositionColour(6, 6));
    EXPECT_EQ(view.Picture.At(111, 127), PositionColour(14, 17));
    EXPECT_EQ(view.Picture.At(112, 127), Background);
    EXPECT_EQ(view.Picture.At(111, 128), Background);

    // The frame around (40, 16, 88, 128): columns 38, 39 and 128, 129; rows 14, 15 and 144, 145.
    const Legend legend{{'B', Background},
                        {'F', OutlayFrame},
                        {'a', PositionColour(5, 8)},
                        {'c', PositionColour(6, 8)}};
    ExpectPixels(view.Picture, 37, 14, {"BFFFF", "BFFFF", "BFFBB", "BFFBB"}, legend);
    ExpectPixels(view.Picture, 126, 142, {"BBFFB", "BBFFB", "FFFFB", "FFFFB", "BBBBB"}, legend);
    ExpectPixels(view.Picture, 37, 50, {"aFFc"}, legend); // the frame lies over the cell
    EXPECT_EQ(CountPixels(view.Picture, OutlayFrame), (2 * (90 + 130) - 4) + (2 * (92 + 132) - 4));
}

TEST(CharacterView, HiddenWithoutACurrentCharacter) {
    const auto typeface = TypefaceWithImage(PositionImage(4, 4));
    AddCell(*typeface, 65, {0, 0, 2, 2}, {0, 0, 2, 2});
    const ViewPicture view = DrawCharacterView(typeface.get(), ViewState{});
    EXPECT_FALSE(view.Visible);
    EXPECT_TRUE(view.Picture.Pixels.empty());
}

TEST(CharacterView, EmptyCellsShowJustTheLayoutBox) {
    const auto typeface = TypefaceWithImage(PositionImage(40, 40));
    struct Case {
        document::Rect64 Source;
        std::int64_t Width, Height; // in pixels at zoom 2
    };
    const std::vector<Case> cases{
        {{5, 6, 0, 0}, 16, 16},   {{5, 6, 0, 12}, 16, 40},
        {{5, 6, 10, 0}, 36, 16},  {{5, 6, -4, 12}, 16, 40}, // a negative size counts as none
        {{5, 6, 3, Min}, 22, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "source size " << c.Source.Width << " x " << c.Source.Height);
        ViewState state;
        state.CharacterZoom = 2;
        // A full cell first, so that a stale picture would show.
        state.CurrentCharacter = &AddCell(*typeface, 65, {0, 0, 10, 10}, {0, 0, 10, 10});
        (void)DrawCharacterView(typeface.get(), state);
        state.CurrentCharacter = &AddCell(*typeface, 66, c.Source, {0, 0, 5, 6});
        const ViewPicture view = DrawCharacterView(typeface.get(), state);
        EXPECT_TRUE(view.Visible);
        EXPECT_EQ(view.Width, c.Width);
        EXPECT_EQ(view.Height, c.Height);
        EXPECT_TRUE(ShowsNoImagePixel(view.Picture));
        // The layout box (8, 8, 10, 12): its frame starts at (6, 6).
        ExpectPixels(view.Picture, 5, 5, {"BBBB", "BFFF", "BFFF", "BFFB"},
                     {{'B', Background}, {'F', OutlayFrame}});
    }
}

TEST(CharacterView, CellPartlyOutsideTheImageIsTransparentThere) {
    const auto typeface = TypefaceWithImage(PositionImage(40, 40));
    ViewState state;
    state.CharacterZoom = 1;
    state.CurrentCharacter = &AddCell(*typeface, 65, {38, -1, 4, 2}, {-20, -20, 0, 0});
    const ViewPicture view = DrawCharacterView(typeface.get(), state);
    ExpectPixels(view.Picture, 3, 4, {"BBBBBB", "BabBBB", "BBBBBB"},
                 {{'B', Background}, {'a', PositionColour(38, 0)}, {'b', PositionColour(39, 0)}});

    const auto withoutImage = TypefaceWithImage(std::nullopt);
    const ViewPicture empty = DrawCharacterView(withoutImage.get(), state);
    EXPECT_EQ(CountPixels(empty.Picture, Background), empty.Width * empty.Height);
}

TEST(CharacterView, ZoomIsKeptWithinOneAndTheCap) {
    const auto typeface = TypefaceWithImage(PositionImage(4, 4));
    ViewState state;
    state.CurrentCharacter = &AddCell(*typeface, 65, {1, 1, 1, 1}, {0, 0, 1, 1});
    struct Case {
        std::int64_t Zoom, Side;
    };
    for (const Case& c : {Case{1000, 9 * 64}, Case{64, 9 * 64}, Case{0, 9}, Case{-8, 9}}) {
        state.CharacterZoom = c.Zoom;
        const ViewPicture view = DrawCharacterView(typeface.get(), state);
        EXPECT_EQ(view.Width, c.Side) << "zoom " << c.Zoom;
        EXPECT_EQ(view.Height, c.Side) << "zoom " << c.Zoom;
        EXPECT_EQ(view.Picture.At(view.Width / 2, view.Height / 2), PositionColour(1, 1));
    }
}

TEST(CharacterView, LargeCellsAreCutOffAtTheCanvasCap) {
    const auto typeface = TypefaceWithImage(PositionImage(100, 100));
    ViewState state;
    state.CharacterZoom = 64;
    state.CurrentCharacter = &AddCell(*typeface, 65, {0, 0, 4000, 4000}, {0, 0, 4000, 4000});
    const ViewPicture view = DrawCharacterView(typeface.get(), state);
    EXPECT_EQ(view.Width, MaxCanvasSide);
    EXPECT_EQ(view.Height, MaxCanvasSide);
    // (4095 - 256) / 64 = 59
    EXPECT_EQ(view.Picture.At(4095, 4095), PositionColour(59, 59));
}

TEST(CharacterView, ExtremeMetricsStaySound) {
    const auto typeface = TypefaceWithImage(PositionImage(8, 8));
    ViewState state;
    state.CharacterZoom = MaxZoom;
    for (const std::int64_t value : {Min, std::int64_t{-1}, Max}) {
        document::Character& character =
            AddCell(*typeface, 65, {value, value, value, value}, {value, value, value, value});
        state.CurrentCharacter = &character;
        const ViewPicture view = DrawCharacterView(typeface.get(), state);
        EXPECT_TRUE(view.Visible);
        EXPECT_LE(view.Width, MaxCanvasSide);
        EXPECT_EQ(view.Picture.Pixels.size(), static_cast<std::size_t>(view.Width * view.Height));
        character.Source = {0, 0, 2, 2};
        character.Outlay = {Min, Max, Max, Min};
        (void)DrawCharacterView(typeface.get(), state);
    }
}

TEST(CharacterView, WheelZoomsBothViewsWithinTheLimits) {
    struct Case {
        std::int64_t Zoom;
        int Notches;
        std::int64_t Expected;
    };
    for (const Case& c : {Case{1, -1, 1}, Case{1, 1, 2}, Case{8, 1, 16}, Case{8, -2, 4},
                          Case{64, 3, 64}, Case{0, -1, 1}}) {
        ViewState state;
        state.CharacterZoom = c.Zoom;
        state.CharacterSetZoom = 4;
        const ViewUpdate update = OnCharacterZoomWheel(state, c.Notches);
        EXPECT_EQ(state.CharacterZoom, c.Expected) << c.Zoom << " by " << c.Notches;
        EXPECT_EQ(state.CharacterSetZoom, 4);
        EXPECT_TRUE(update.CharacterView);
        EXPECT_TRUE(update.KerningPairView);
        EXPECT_FALSE(update.CharacterSet);
    }
}

// ---- Kerning-pair view ------------------------------------------------------------------------

// Two 10 x 12 and 8 x 12 cells side by side in one 64 x 64 picture.
struct PairFixture {
    std::unique_ptr<document::Typeface> Typeface = TypefaceWithImage(PositionImage(64, 64));
    document::Character& Left = AddCell(*Typeface, 65, {0, 0, 10, 12}, {0, 0, 10, 12});
    document::Character& Right = AddCell(*Typeface, 86, {20, 0, 8, 12}, {1, 0, 8, 12});
};

TEST(KerningPairView, NegativeAmountMovesTheRightPenAndItsBar) {
    PairFixture fixture;
    document::KerningPair& pair = AddKerningPair(*fixture.Typeface, 65, 86, -3);
    ViewState state;
    state.CharacterZoom = 2;
    state.CurrentPair = &pair;
    const ViewPicture view = DrawKerningPairView(fixture.Typeface.get(), state);
    ASSERT_TRUE(view.Visible);
    ASSERT_EQ(view.Width, (10 + 8 - 3 + 8) * 2);
    ASSERT_EQ(view.Height, (12 + 8) * 2);

    // Left cell at unit (4, 4); right cell at the pen 4 + 10 - 3 = 11 plus its offset 1, over the
    // left one where they meet.
    EXPECT_EQ(view.Picture.At(7, 8), Background);
    EXPECT_EQ(view.Picture.At(8, 8), PositionColour(0, 0));
    EXPECT_EQ(view.Picture.At(23, 9), PositionColour(7, 0));
    EXPECT_EQ(view.Picture.At(24, 8), PositionColour(20, 0));
    EXPECT_EQ(view.Picture.At(39, 31), PositionColour(27, 11));
    EXPECT_EQ(view.Picture.At(40, 31), Background);

    // Left bar from unit 4, 10 wide, at row 0 + 12 + 5; right bar from the pen at unit 11, 8 wide,
    // at row 0 + 12 + 6.
    const std::string leftBar = std::string(2, 'B') + std::string(20, 'A') + std::string(12, 'B');
    const std::string rightBar = std::string(16, 'B') + std::string(16, 'A') + std::string(2, 'B');
    ExpectPixels(view.Picture, 6, 33, {std::string(34, 'B'), leftBar, leftBar, rightBar, rightBar},
                 {{'B', Background}, {'A', AdvanceBar}});
}

TEST(KerningPairView, HiddenWithoutAPairOrWithoutOneOfItsCharacters) {
    PairFixture fixture;
    ViewState state;
    EXPECT_FALSE(DrawKerningPairView(fixture.Typeface.get(), state).Visible);
    document::KerningPair& missingRight = AddKerningPair(*fixture.Typeface, 65, 87, 0);
    document::KerningPair& missingLeft = AddKerningPair(*fixture.Typeface, 64, 86, 0);
    document::KerningPair& complete = AddKerningPair(*fixture.Typeface, 65, 86, 0);
    for (document::KerningPair* pair : {&missingRight, &missingLeft}) {
        state.CurrentPair = pair;
        const ViewPicture view = DrawKerningPairView(fixture.Typeface.get(), state);
        EXPECT_FALSE(view.Visible);
        EXPECT_TRUE(view.Picture.Pixels.empty());
    }
    state.CurrentPair = &complete;
    EXPECT_TRUE(DrawKerningPairView(fixture.Typeface.get(), state).Visible);
    EXPECT_FALSE(DrawKerningPairView(nullptr, state).Visible);
}

TEST(KerningPairView, CodesAreUnsignedSixteenBitValues) {
    const auto typeface = TypefaceWithImage(PositionImage(64, 64));
    AddCell(*typeface, 233, {3, 4, 2, 2}, {0, 0, 2, 2});
    AddCell(*typeface, 65313, {30, 40, 2, 2}, {0, 0, 2, 2});
    ViewState state;
    state.CharacterZoom = 1;
    state.CurrentPair = &AddKerningPair(*typeface, 0x00E9, 0xFF21, 0);
    const ViewPicture view = DrawKerningPairView(typeface.get(), state);
    ASSERT_TRUE(view.Visible);
    EXPECT_EQ(view.Picture.At(4, 4), PositionColour(3, 4));
    EXPECT_EQ(view.Picture.At(6, 4), PositionColour(30, 40));
}

TEST(KerningPairView, WidthOrHeightOfZeroOrLessDrawsNothingAtOneUnit) {
    struct Case {
        std::int64_t Amount, LeftX, LeftHeight;
        bool Draws;
        std::int64_t Width, Height; // in units
    };
    const std::vector<Case> cases{
        {-25, -4, 12, true, 1, 20},  // 10 + 8 - 25 + 8 = 1: the left cell starts at unit 0
        {-26, -4, 12, false, 1, 20}, // exactly 0
        {-100, 0, 12, false, 1, 20},
        {Min, 0, 12, false, 1, 20},
        {0, 0, -20, true, 26, 20}, // the right cell's 12 is the larger height
        {Max, 0, 12, true, MaxCanvasSide / 4, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "amount " << c.Amount << ", left height " << c.LeftHeight);
        PairFixture fixture;
        fixture.Left.Outlay.X = c.LeftX;
        fixture.Left.Outlay.Height = c.LeftHeight;
        ViewState state;
        state.CharacterZoom = 4;
        state.CurrentPair = &AddKerningPair(*fixture.Typeface, 65, 86, c.Amount);
        const ViewPicture view = DrawKerningPairView(fixture.Typeface.get(), state);
        EXPECT_TRUE(view.Visible);
        EXPECT_EQ(view.Width, c.Width * 4);
        EXPECT_EQ(view.Height, c.Height * 4);
        EXPECT_EQ(CountPixels(view.Picture, Background) == view.Width * view.Height, !c.Draws);
    }

    PairFixture fixture;
    fixture.Left.Outlay.Height = -20;
    fixture.Right.Outlay.Height = -8;
    ViewState state;
    state.CurrentPair = &AddKerningPair(*fixture.Typeface, 65, 86, 0);
    const ViewPicture view = DrawKerningPairView(fixture.Typeface.get(), state);
    EXPECT_EQ(view.Height, 8); // one unit at the start zoom
    EXPECT_EQ(CountPixels(view.Picture, Background), view.Width * view.Height);
}

TEST(KerningPairView, EmptyCellsLeaveOnlyTheBars) {
    PairFixture fixture;
    fixture.Left.Source.Width = 0;
    fixture.Right.Source.Height = -3;
    ViewState state;
    state.CharacterZoom = 1;
    state.CurrentPair = &AddKerningPair(*fixture.Typeface, 65, 86, 0);
    const ViewPicture view = DrawKerningPairView(fixture.Typeface.get(), state);
    EXPECT_TRUE(ShowsNoImagePixel(view.Picture));
    EXPECT_EQ(CountPixels(view.Picture, AdvanceBar), 10 + 8);
}

} // namespace
} // namespace glyfora::views

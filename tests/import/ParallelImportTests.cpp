#include "ScratchFolder.h"
#include "formats/TypefaceFile.h"
#include "import/FontMatching.h"
#include "import/FontServices.h"
#include "import/GlyphPacking.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::fontimport {
namespace {

class ParallelImport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    [[nodiscard]] FontImportInput Input(const ImportOptions& options) const {
        FontImportInput input;
        input.Codes = ReadFontCharacters(graphics, options.Family, options.Size);
        for (const FontKerningPair& pair :
             ReadFontKerningPairs(graphics, options.Family, options.Size)) {
            input.Pairs.push_back({pair.First, pair.Second, pair.Amount});
        }
        return input;
    }

    // The typeface as a .tf file holds it (pixels, metrics, kerning, properties in file order).
    [[nodiscard]] std::string TfBytes(const document::Typeface& typeface,
                                      const std::string& name) const {
        EXPECT_TRUE(formats::WriteTfFile(typeface, folder.File(name)).Ok()) << name;
        return folder.Read(name);
    }

    platform::GraphicsLibrary graphics;
    testsupport::ScratchFolder folder;
};

struct Case {
    const char* Name;
    ImportOptions Options;
};

ImportOptions DejaVu(std::int64_t size, void (*adjust)(ImportOptions&)) {
    ImportOptions options;
    options.Family = "DejaVu Sans";
    options.Size = size;
    adjust(options);
    return options;
}

TEST_F(ParallelImport, AnyNumberOfWorkersGivesTheSameTypeface) {
    // Negative paddings and letter space make neighbouring rows' ink overlap, so the order in
    // which the glyphs are composited shows.
    const Case cases[] = {
        {"rows", DejaVu(24, [](ImportOptions&) {})},
        {"italic unicode rows", DejaVu(14,
                                       [](ImportOptions& o) {
                                           o.Style = StyleItalic;
                                           o.Unicode = true;
                                       })},
        {"bold unicode compact", DejaVu(12,
                                        [](ImportOptions& o) {
                                            o.Style = StyleBold;
                                            o.Unicode = true;
                                            o.Layout = CellLayout::Compact;
                                        })},
        {"overlapping rows", DejaVu(30,
                                    [](ImportOptions& o) {
                                        o.PaddingTop = o.PaddingBottom = -8;
                                        o.PaddingLeft = o.PaddingRight = -3;
                                        o.LetterSpace = -2;
                                        o.Center = true;
                                        o.HalfPixel = true;
                                        o.Style = StyleItalic | StyleUnderline;
                                    })},
        {"grid-fitted compact", DejaVu(20,
                                       [](ImportOptions& o) {
                                           o.TextAntialiasMode = HintClearTypeGridFit;
                                           o.Layout = CellLayout::Compact;
                                           o.PaddingLeft = 2;
                                           o.Center = true;
                                       })},
        {"monochrome rows", DejaVu(16,
                                   [](ImportOptions& o) {
                                       o.TextAntialiasMode = HintSingleBitPerPixelGridFit;
                                       o.MaxWidth = 200;
                                   })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const FontImportInput input = Input(c.Options);
        ASSERT_GT(input.Codes.size(), 100U);
        document::TypefaceRegistry registry;
        const ImportResult one =
            CreateTypefaceFromFont(registry, 5, c.Options, input, graphics, {}, 1);
        ASSERT_TRUE(one.Typeface) << one.Error;
        const std::string expected = TfBytes(*one.Typeface, "one.tf");
        for (const std::int64_t jobs : {2, 4}) {
            const ImportResult many =
                CreateTypefaceFromFont(registry, 5, c.Options, input, graphics, {}, jobs);
            ASSERT_TRUE(many.Typeface) << many.Error;
            EXPECT_EQ(many.Typeface->Content.Image->Pixels, one.Typeface->Content.Image->Pixels)
                << jobs;
            EXPECT_TRUE(TfBytes(*many.Typeface, "many.tf") == expected) << jobs;
        }
    }
}

// Opens never, as a font that cannot be made at the size.
class ClosedSource final : public GlyphSource {
public:
    bool Begin(document::Image&, const ImportOptions&) override { return false; }
    void End() override {}
    double MeasureWidth(std::uint16_t) override { return 0.0; }
    double MeasureHeight(std::uint16_t) override { return 0.0; }
    double MeasureAscent() override { return 0.0; }
    std::string FamilyName() override { return {}; }
    void Clear(ColourRGBA) override {}
    void Draw(double, double, std::uint16_t, ColourRGBA) override {}
};

TEST_F(ParallelImport, SourcesThatCannotOpenAreLeftOut) {
    for (const CellLayout layout : {CellLayout::Rows, CellLayout::Compact}) {
        const ImportOptions options = DejaVu(18, [](ImportOptions&) {});
        ImportOptions laidOut = options;
        laidOut.Layout = layout;
        const FontImportInput input = Input(options);
        document::TypefaceRegistry registry;
        const ImportResult one =
            CreateTypefaceFromFont(registry, 5, laidOut, input, graphics, {}, 1);
        ASSERT_TRUE(one.Typeface) << one.Error;

        ClosedSource closed;
        ContextGlyphSource first(graphics), second(graphics);
        GlyphSource* const sources[] = {&closed, &first, &closed, &second};
        const ImportResult mixed = CreateTypefaceFromFont(registry, 5, laidOut, input, sources);
        ASSERT_TRUE(mixed.Typeface) << mixed.Error;
        EXPECT_TRUE(TfBytes(*mixed.Typeface, "mixed.tf") == TfBytes(*one.Typeface, "one.tf"));

        GlyphSource* const none[] = {&closed, &closed};
        const ImportResult failed = CreateTypefaceFromFont(registry, 5, laidOut, input, none);
        EXPECT_FALSE(failed.Typeface);
        EXPECT_FALSE(failed.Cancelled);
        EXPECT_FALSE(failed.Error.empty());
    }
}

TEST_F(ParallelImport, CancellingStopsEveryWorkerAndReportsNoMore) {
    const ImportOptions options = DejaVu(16, [](ImportOptions& o) { o.Unicode = true; });
    const FontImportInput input = Input(options);
    const auto count = static_cast<std::int64_t>(input.Codes.size());
    for (const CellLayout layout : {CellLayout::Rows, CellLayout::Compact}) {
        for (const std::int64_t stopAt : {std::int64_t{0}, std::int64_t{300}, count + 300}) {
            for (const std::int64_t jobs : {2, 4}) {
                ImportOptions laidOut = options;
                laidOut.Layout = layout;
                std::vector<std::int64_t> reports;
                document::TypefaceRegistry registry;
                const ImportResult result = CreateTypefaceFromFont(
                    registry, 5, laidOut, input, graphics,
                    [&](std::int64_t done, std::int64_t) {
                        reports.push_back(done);
                        return done < stopAt;
                    },
                    jobs);
                SCOPED_TRACE(::testing::Message() << "stop at " << stopAt << ", jobs " << jobs);
                EXPECT_FALSE(result.Typeface);
                EXPECT_TRUE(result.Cancelled);
                ASSERT_FALSE(reports.empty());
                EXPECT_EQ(reports.back(), stopAt);
                EXPECT_EQ(std::count(reports.begin(), reports.end(), stopAt), 1);
            }
        }
    }
}

} // namespace
} // namespace glyfora::fontimport

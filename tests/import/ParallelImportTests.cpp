#include "FakeGlyphSource.h"
#include "ScratchFolder.h"
#include "formats/TypefaceFile.h"
#include "import/FontMatching.h"
#include "import/ImportRun.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::fontimport {
namespace {

class ParallelImport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::InitGraphicsLibrary(graphics)); }

    [[nodiscard]] FontImportInput Input(const ImportOptions& options) {
        auto input = ReadFontImportInput(files, graphics, options);
        EXPECT_TRUE(input) << input.Error;
        return input ? std::move(*input.Value) : FontImportInput{};
    }

    // The typeface as a .tf file holds it (pixels, metrics, kerning, properties in file order).
    [[nodiscard]] std::string TfBytes(const document::Typeface& typeface,
                                      const std::string& name) const {
        EXPECT_TRUE(formats::WriteTfFile(typeface, folder.File(name)).Ok()) << name;
        return folder.Read(name);
    }

    platform::GraphicsLibrary graphics;
    FontFiles files;
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
                                           o.TextAntialiasMode = TextHint::ClearTypeGridFit;
                                           o.Layout = CellLayout::Compact;
                                           o.PaddingLeft = 2;
                                           o.Center = true;
                                       })},
        {"monochrome rows", DejaVu(16,
                                   [](ImportOptions& o) {
                                       o.TextAntialiasMode = TextHint::SingleBitPerPixelGridFit;
                                       o.MaxWidth = 200;
                                   })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const FontImportInput input = Input(c.Options);
        ASSERT_GT(input.Codes.size(), 100U);
        document::TypefaceRegistry registry;
        const ImportOutcome one =
            ImportFromInput(registry, 5, c.Options, input, graphics, files, {}, 1);
        ASSERT_TRUE(one.Typeface) << one.Reason;
        const std::string expected = TfBytes(*one.Typeface, "one.tf");
        for (const std::int64_t jobs : {2, 4}) {
            const ImportOutcome many =
                ImportFromInput(registry, 5, c.Options, input, graphics, files, {}, jobs);
            ASSERT_TRUE(many.Typeface) << many.Reason;
            EXPECT_EQ(many.Typeface->Content.Image->Pixels, one.Typeface->Content.Image->Pixels)
                << jobs;
            EXPECT_TRUE(TfBytes(*many.Typeface, "many.tf") == expected) << jobs;
        }
    }
}

TEST_F(ParallelImport, SourcesThatCannotOpenAreLeftOut) {
    for (const CellLayout layout : {CellLayout::Rows, CellLayout::Compact}) {
        const ImportOptions options = DejaVu(18, [](ImportOptions&) {});
        ImportOptions laidOut = options;
        laidOut.Layout = layout;
        const FontImportInput input = Input(options);
        document::TypefaceRegistry registry;
        const ImportOutcome one =
            ImportFromInput(registry, 5, laidOut, input, graphics, files, {}, 1);
        ASSERT_TRUE(one.Typeface) << one.Reason;

        FakeGlyphSource closed; // as a font that cannot be made at the size
        closed.CanBegin = false;
        ContextGlyphSource first(graphics), second(graphics);
        GlyphSource* const sources[] = {&closed, &first, &closed, &second};
        const ImportOutcome mixed = ImportFromInput(registry, 5, laidOut, input, sources);
        ASSERT_TRUE(mixed.Typeface) << mixed.Reason;
        EXPECT_TRUE(TfBytes(*mixed.Typeface, "mixed.tf") == TfBytes(*one.Typeface, "one.tf"));

        GlyphSource* const none[] = {&closed, &closed};
        const ImportOutcome failed = ImportFromInput(registry, 5, laidOut, input, none);
        EXPECT_FALSE(failed.Typeface);
        EXPECT_EQ(failed.End, ImportEnd::Failed);
        EXPECT_FALSE(failed.Reason.empty());
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
                const ImportOutcome result = ImportFromInput(
                    registry, 5, laidOut, input, graphics, files,
                    [&](std::int64_t done, std::int64_t) {
                        reports.push_back(done);
                        return done < stopAt;
                    },
                    jobs);
                SCOPED_TRACE(::testing::Message() << "stop at " << stopAt << ", jobs " << jobs);
                EXPECT_FALSE(result.Typeface);
                EXPECT_EQ(result.End, ImportEnd::Cancelled);
                ASSERT_FALSE(reports.empty());
                EXPECT_EQ(reports.back(), stopAt);
                EXPECT_EQ(std::count(reports.begin(), reports.end(), stopAt), 1);
            }
        }
    }
}

} // namespace
} // namespace glyfora::fontimport

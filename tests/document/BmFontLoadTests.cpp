// The ".fnt" variants through the typeface load and save entry points.
#include "BmFontTestSupport.h"
#include "document/TypefaceFile.h"
#include "document/TypefaceIo.h"
#include "document/XmlImageFile.h"

#include <gtest/gtest.h>

namespace glyfora::document {
namespace {

using namespace fnttest;

struct FormatCase {
    const char* Name;
    int Format;
};

const FormatCase FntFormats[] = {
    {"Text", FormatBmFontText}, {"Xml", FormatBmFontXml}, {"Binary", FormatBmFontBinary}};

class BmFontLoadAndSave : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BmFontLoadAndSave, LoadRecordsTheVariantSoSaveWritesItAgain) {
    ScratchFolder scratch;
    TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    const std::string path = scratch.File("font.fnt");
    const SaveResult saved = SaveTypeface(registry, 5, path, GetParam().Format);
    ASSERT_TRUE(saved.Saved) << saved.Error;
    const std::vector<std::uint8_t> written = ReadBytes(path);

    const LoadResult loaded = LoadTypeface(registry, 5, path);
    ASSERT_NE(loaded.Loaded, nullptr) << loaded.Error;
    EXPECT_EQ(loaded.Format, GetParam().Format);
    EXPECT_EQ(loaded.Warnings, std::vector<std::string>{});
    EXPECT_FALSE(loaded.Loaded->Modified);
    EXPECT_EQ(loaded.Loaded->Content.Characters.Size(), 3u);
    ASSERT_TRUE(loaded.Loaded->Content.Image != nullptr);

    ASSERT_TRUE(SaveTypeface(registry, 5, path, loaded.Format).Saved);
    EXPECT_EQ(ReadBytes(path), written);
}

INSTANTIATE_TEST_SUITE_P(Variants, BmFontLoadAndSave, ::testing::ValuesIn(FntFormats),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmFontLoad, OtherFormatsKeepTheirReadersAndReportTheirForm) {
    ScratchFolder scratch;
    TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    ASSERT_TRUE(SaveTypeface(registry, 5, scratch.File("a.tf"), FormatTf).Saved);
    ASSERT_TRUE(SaveTypeface(registry, 5, scratch.File("a.xml"), FormatXmlImage).Saved);

    const LoadResult tf = LoadTypeface(registry, 5, scratch.File("a.tf"));
    ASSERT_NE(tf.Loaded, nullptr) << tf.Error;
    EXPECT_EQ(tf.Format, FormatTf);
    const LoadResult xml = LoadTypeface(registry, 5, scratch.File("a.xml"));
    ASSERT_NE(xml.Loaded, nullptr) << xml.Error;
    EXPECT_EQ(xml.Format, FormatXmlImage);
    EXPECT_EQ(xml.Loaded->Content.Characters.Size(), 3u);
}

TEST(BmFontLoad, ByContentWhateverTheName) {
    ScratchFolder scratch;
    TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    ASSERT_TRUE(SaveTypeface(registry, 5, scratch.File("looks.tf"), FormatBmFontBinary).Saved);
    const LoadResult loaded = LoadTypeface(registry, 5, scratch.File("looks.tf"));
    ASSERT_NE(loaded.Loaded, nullptr) << loaded.Error;
    EXPECT_EQ(loaded.Format, FormatBmFontBinary);
}

TEST(BmFontLoad, UnreadableDescriptorLeavesTheDocumentAlone) {
    TypefaceRegistry registry;
    Typeface* before = &MakeSampleTypeface(registry);
    const std::vector<std::uint8_t> bytes = Bytes(std::string_view("BMF\x01junk", 8));
    const LoadResult loaded = LoadTypefaceFromMemory(registry, 5, bytes, "");
    EXPECT_EQ(loaded.Loaded, nullptr);
    EXPECT_EQ(loaded.Error,
              "not a BMFont descriptor (binary version 1 is not supported (only version 3))");
    EXPECT_TRUE(loaded.Warnings.empty());
    EXPECT_EQ(TypefaceFromId(registry, 5), before);
    EXPECT_EQ(before->Content.Characters.Size(), 3u);
}

TEST(BmFontLoad, SavingAFailedFormatReportsWhy) {
    ScratchFolder scratch;
    TypefaceRegistry registry;
    Typeface& typeface = MakeSampleTypeface(registry);
    typeface.Modified = true;
    typeface.Content.Characters.begin()->Outlay.X = -40000;
    const SaveResult saved = SaveTypeface(registry, 5, scratch.File("f.fnt"), FormatBmFontBinary);
    EXPECT_FALSE(saved.Saved);
    EXPECT_EQ(saved.Error, "character 32: xoffset -40000 does not fit the binary variant "
                           "(-32768..32767)");
    EXPECT_TRUE(typeface.Modified);
}

} // namespace
} // namespace glyfora::document

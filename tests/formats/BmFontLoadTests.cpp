// The ".fnt" variants through the typeface load and save entry points.
#include "BmFontTestSupport.h"
#include "formats/TypefaceFile.h"
#include "formats/TypefaceIo.h"
#include "formats/XmlImageFile.h"

#include <gtest/gtest.h>

namespace glyfora::formats {
namespace {

using namespace fnttest;

struct FormatCase {
    const char* Name;
    FileFormatId Format;
};

const FormatCase FntFormats[] = {{"Text", FileFormatId::BmFontText},
                                 {"Xml", FileFormatId::BmFontXml},
                                 {"Binary", FileFormatId::BmFontBinary}};

class BmFontLoadAndSave : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BmFontLoadAndSave, LoadRecordsTheVariantSoSaveWritesItAgain) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    const std::string path = scratch.File("font.fnt");
    const base::Result<base::Done> saved = SaveTypeface(registry, 5, path, GetParam().Format);
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    const std::vector<std::uint8_t> written = ReadBytes(path);

    const base::Result<LoadedTypeface> loaded = LoadTypeface(registry, 5, path);
    ASSERT_TRUE(loaded.Ok()) << loaded.Error;
    EXPECT_EQ(loaded.Value->Format, GetParam().Format);
    EXPECT_EQ(loaded.Warnings, std::vector<std::string>{});
    EXPECT_FALSE(loaded.Value->Installed->Modified);
    EXPECT_EQ(loaded.Value->Installed->Content.Characters.Size(), 3u);
    ASSERT_TRUE(loaded.Value->Installed->Content.Image != nullptr);

    ASSERT_TRUE(SaveTypeface(registry, 5, path, loaded.Value->Format).Ok());
    EXPECT_EQ(ReadBytes(path), written);
}

INSTANTIATE_TEST_SUITE_P(Variants, BmFontLoadAndSave, ::testing::ValuesIn(FntFormats),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BmFontLoad, OtherFormatsKeepTheirReadersAndReportTheirForm) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    ASSERT_TRUE(SaveTypeface(registry, 5, scratch.File("a.tf"), FileFormatId::Tf).Ok());
    ASSERT_TRUE(SaveTypeface(registry, 5, scratch.File("a.xml"), FileFormatId::XmlImage).Ok());

    const base::Result<LoadedTypeface> tf = LoadTypeface(registry, 5, scratch.File("a.tf"));
    ASSERT_TRUE(tf.Ok()) << tf.Error;
    EXPECT_EQ(tf.Value->Format, FileFormatId::Tf);
    const base::Result<LoadedTypeface> xml = LoadTypeface(registry, 5, scratch.File("a.xml"));
    ASSERT_TRUE(xml.Ok()) << xml.Error;
    EXPECT_EQ(xml.Value->Format, FileFormatId::XmlImage);
    EXPECT_EQ(xml.Value->Installed->Content.Characters.Size(), 3u);
}

TEST(BmFontLoad, ByContentWhateverTheName) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    MakeSampleTypeface(registry);
    ASSERT_TRUE(
        SaveTypeface(registry, 5, scratch.File("looks.tf"), FileFormatId::BmFontBinary).Ok());
    const base::Result<LoadedTypeface> loaded = LoadTypeface(registry, 5, scratch.File("looks.tf"));
    ASSERT_TRUE(loaded.Ok()) << loaded.Error;
    EXPECT_EQ(loaded.Value->Format, FileFormatId::BmFontBinary);
}

TEST(BmFontLoad, UnreadableDescriptorLeavesTheDocumentAlone) {
    document::TypefaceRegistry registry;
    document::Typeface* before = &MakeSampleTypeface(registry);
    const std::vector<std::uint8_t> bytes = Bytes(std::string_view("BMF\x01junk", 8));
    const base::Result<LoadedTypeface> loaded = LoadTypefaceFromMemory(registry, 5, bytes, "");
    EXPECT_FALSE(loaded.Ok());
    EXPECT_EQ(loaded.Error,
              "not a BMFont descriptor (binary version 1 is not supported (only version 3))");
    EXPECT_TRUE(loaded.Warnings.empty());
    EXPECT_EQ(document::TypefaceFromId(registry, 5), before);
    EXPECT_EQ(before->Content.Characters.Size(), 3u);
}

TEST(BmFontLoad, SavingAFailedFormatReportsWhy) {
    ScratchFolder scratch;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = MakeSampleTypeface(registry);
    typeface.Modified = true;
    typeface.Content.Characters.begin()->Outlay.X = -40000;
    const base::Result<base::Done> saved =
        SaveTypeface(registry, 5, scratch.File("f.fnt"), FileFormatId::BmFontBinary);
    EXPECT_FALSE(saved.Ok());
    EXPECT_EQ(saved.Error, "character 32: xoffset -40000 does not fit the binary variant "
                           "(-32768..32767)");
    EXPECT_TRUE(typeface.Modified);
}

} // namespace
} // namespace glyfora::formats

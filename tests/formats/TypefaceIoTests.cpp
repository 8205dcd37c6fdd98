#include "PngBytes.h"
#include "ScratchFolder.h"
#include "formats/PngCodec.h"
#include "formats/TypefaceFile.h"
#include "formats/TypefaceIo.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::formats {
namespace {

using testsupport::ScratchFolder;

constexpr std::int64_t DocumentId = 5;

std::vector<std::int64_t> Codes(const document::Typeface& typeface) {
    std::vector<std::int64_t> codes;
    for (const document::Character& character : typeface.Content.Characters) {
        codes.push_back(character.Index);
    }
    return codes;
}

// A registry whose document holds one character 'Z', to see whether a load replaced it.
struct RegistryWithDocument {
    RegistryWithDocument() {
        Document = document::CreateTypeface(Registry, DocumentId);
        document::AddCharacter(*Document, 'Z');
        Document->Modified = true;
    }
    void ExpectDocumentKept() {
        EXPECT_EQ(document::TypefaceFromId(Registry, DocumentId), Document);
        EXPECT_EQ(Codes(*Document), std::vector<std::int64_t>{'Z'});
        EXPECT_TRUE(Document->Modified);
    }
    document::TypefaceRegistry Registry;
    document::Typeface* Document = nullptr;
};

const std::string SmallDescription = R"(<Typeface Image="Set.png">
  <Character Index="65"><Source X="1" Y="2" Width="3" Height="4"/></Character>
  <KerningPair Left="65" Right="66" Amount="-2"/>
</Typeface>)";

TEST(TypefacePaths, WithExtensionComparesTheLastExtensionIgnoringCase) {
    const struct {
        const char* Name;
        const char* Extension;
        const char* Expected;
    } cases[] = {
        {"a.tf", "tf", "a.tf"},     {"a.TF", "tf", "a.TF"},
        {"a.Tf", "TF", "a.Tf"},     {"a", "tf", "a.tf"},
        {"a.b.tf", "tf", "a.b.tf"}, {"a.tf.xml", "tf", "a.tf.xml.tf"},
        {"a.xml", "xml", "a.xml"},  {"a.tf", "xml", "a.tf.xml"},
        {"a.", "tf", "a..tf"},      {"dir.tf/a", "tf", "dir.tf/a.tf"},
        {"", "tf", ".tf"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(WithExtension(test.Name, test.Extension), test.Expected) << test.Name;
    }
}

TEST(TypefacePaths, DirectoryOfKeepsTheLastSeparator) {
    const struct {
        const char* Name;
        const char* Expected;
    } cases[] = {
        {"a/b/c.tf", "a/b/"}, {"c.tf", ""},        {"/c.tf", "/"},   {"C:\\x\\y.xml", "C:\\x\\"},
        {"a\\b/c", "a\\b/"},  {"a/b\\c", "a/b\\"}, {"dir/", "dir/"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(DirectoryOf(test.Name), test.Expected) << test.Name;
    }
}

TEST(TypefaceLoading, AFailedOpenKeepsTheDocument) {
    ScratchFolder folder;
    folder.Write("empty.tf", std::string());
    folder.Write("text.tf", std::string("just some words"));
    folder.Write("short.tf", std::string("\x54\x83\x7C\x31\x2E\x34\x30", 7));
    std::filesystem::create_directory(folder.File("folder.tf"));
    const struct {
        std::string Name;
        std::string ErrorPart;
    } cases[] = {
        {"missing.tf", "cannot open"},
        {"empty.tf", "empty"},
        {"text.tf", "not a Glyfora typeface (.tf) or XML description"},
        {"short.tf", "not a Glyfora typeface"},
        {"folder.tf", "folder.tf"},
    };
    for (const auto& test : cases) {
        RegistryWithDocument state;
        const base::Result<LoadedTypeface> result =
            LoadTypeface(state.Registry, DocumentId, folder.File(test.Name));
        EXPECT_FALSE(result.Ok()) << test.Name;
        EXPECT_NE(result.Error.find(test.ErrorPart), std::string::npos)
            << test.Name << ": " << result.Error;
        state.ExpectDocumentKept();
    }
}

TEST(TypefaceLoading, ReadsAnXmlDescriptionWhateverItsNameAndFindsThePictureBesideIt) {
    ScratchFolder folder;
    folder.Write("Set.png", *testsupport::PngBytes(*document::MakeImage(4, 2, 0xFF00FF00)));
    folder.Write("font.tf", SmallDescription);
    RegistryWithDocument state;
    const base::Result<LoadedTypeface> result =
        LoadTypeface(state.Registry, DocumentId, folder.File("font.tf"));
    ASSERT_TRUE(result.Ok()) << result.Error;
    EXPECT_TRUE(result.Warnings.empty());
    EXPECT_EQ(document::TypefaceFromId(state.Registry, DocumentId), result.Value->Installed);
    EXPECT_EQ(result.Value->Installed->Id, DocumentId);
    EXPECT_FALSE(result.Value->Installed->Modified);
    EXPECT_EQ(Codes(*result.Value->Installed), std::vector<std::int64_t>{65});
    EXPECT_EQ(document::KerningAmount(*result.Value->Installed, document::MakePairKey(65, 66)), -2);
    ASSERT_TRUE(result.Value->Installed->Content.Image != nullptr);
    EXPECT_EQ(result.Value->Installed->Content.Image->Width, 4);
}

TEST(TypefaceLoading, PartlyReadFilesLoadWithWarnings) {
    RegistryWithDocument state;
    const std::string broken = SmallDescription.substr(0, SmallDescription.find("<Kerning"));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(broken.data());
    const base::Result<LoadedTypeface> result =
        LoadTypefaceFromMemory(state.Registry, DocumentId, {bytes, broken.size()}, "/nonexistent/");
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(Codes(*result.Value->Installed), std::vector<std::int64_t>{65});
    EXPECT_EQ(result.Warnings.size(), 2U); // the missing picture and the unclosed root
}

TEST(TypefaceLoading, RefusesIdsOutsideTheRegistry) {
    RegistryWithDocument state;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(SmallDescription.data());
    for (const std::int64_t id : {std::int64_t{-1}, std::int64_t{65536}}) {
        const base::Result<LoadedTypeface> result =
            LoadTypefaceFromMemory(state.Registry, id, {bytes, SmallDescription.size()}, "");
        EXPECT_FALSE(result.Ok());
        EXPECT_FALSE(result.Error.empty());
    }
    state.ExpectDocumentKept();
}

TEST(FileFormats, AnExtensionNamesItsFormatInAnyLetterCase) {
    const struct {
        const char* Name;
        std::optional<FileFormatId> Current;
        std::optional<FileFormatId> Expected;
    } cases[] = {
        {"a.tf", std::nullopt, FileFormatId::Tf},
        {"a.TF", std::nullopt, FileFormatId::Tf},
        {"a.Xml", FileFormatId::Tf, FileFormatId::XmlImage},
        {"a.FNT", std::nullopt, FileFormatId::BmFontText},
        {"a.fnt", FileFormatId::BmFontBinary, FileFormatId::BmFontBinary}, // keeps its variant
        {"a.fnt", FileFormatId::Tf, FileFormatId::BmFontText},
        {"a.png", std::nullopt, std::nullopt},
        {"a", FileFormatId::Tf, std::nullopt},
        {"fonts.tf/a", std::nullopt, std::nullopt},
        {"fonts\\a.Tf", std::nullopt, FileFormatId::Tf},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(FormatForFileName(test.Name, test.Current), test.Expected) << test.Name;
    }
    EXPECT_EQ(ExtensionOf("Dir.X/Name.TF"), "tf");
}

TEST(FileFormats, DetectionByContentFollowsTheTableAndFallsBackToXml) {
    const struct {
        std::string Bytes;
        FileFormatId Expected;
    } cases[] = {
        {std::string("\x54\x83\x7C\x31\x2E\x34\x30\x7C", 8), FileFormatId::Tf},
        {"BMF\x03", FileFormatId::BmFontBinary},
        {"info face=\"A\"\n", FileFormatId::BmFontText},
        {"<font><common/><chars/></font>", FileFormatId::BmFontXml},
        {"<Typeface/>", FileFormatId::XmlImage},
        {"anything else", FileFormatId::XmlImage},
    };
    for (const auto& test : cases) {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(test.Bytes.data()), test.Bytes.size());
        EXPECT_EQ(DetectFileFormat(bytes).Id, test.Expected) << test.Bytes;
    }
    // Every format has a name, an extension, a reader and a writer; one has no signature.
    int withoutSignature = 0;
    for (const FileFormat& format : FileFormats()) {
        EXPECT_NE(std::string(format.DisplayName), "");
        EXPECT_FALSE(format.Extensions.empty());
        EXPECT_TRUE(format.Read != nullptr && format.Write != nullptr);
        withoutSignature += format.Detect == nullptr ? 1 : 0;
    }
    EXPECT_EQ(withoutSignature, 1);
}

TEST(TypefaceSaving, WritesTheChosenFormatAndRefusesOthers) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, DocumentId);
    document::AddCharacter(typeface, 65);
    typeface.Modified = true;

    const base::Result<base::Done> unknown =
        SaveTypeface(registry, DocumentId, folder.File("a.xml"), static_cast<FileFormatId>(99));
    EXPECT_FALSE(unknown.Ok());
    EXPECT_FALSE(unknown.Error.empty());
    const base::Result<base::Done> noTypeface =
        SaveTypeface(registry, 6, folder.File("a.xml"), FileFormatId::XmlImage);
    EXPECT_FALSE(noTypeface.Ok());
    const base::Result<base::Done> defaults = SaveTypeface(
        registry, document::DefaultTypefaceId, folder.File("a.xml"), FileFormatId::XmlImage);
    EXPECT_FALSE(defaults.Ok());
    EXPECT_TRUE(folder.Names().empty());
    EXPECT_TRUE(typeface.Modified);

    const base::Result<base::Done> xml =
        SaveTypeface(registry, DocumentId, folder.File("a.xml"), FileFormatId::XmlImage);
    ASSERT_TRUE(xml.Ok()) << xml.Error;
    EXPECT_FALSE(typeface.Modified);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"a.xml"});

    document::TypefaceRegistry other;
    const base::Result<LoadedTypeface> back = LoadTypeface(other, 1, folder.File("a.xml"));
    ASSERT_TRUE(back.Ok());
    EXPECT_EQ(Codes(*back.Value->Installed), std::vector<std::int64_t>{65});
}

// A typeface with something in every part a .tf file holds except properties.
void FillTypeface(document::Typeface& typeface) {
    document::Image picture = *document::MakeImage(7, 5, 0x00FFFFFF);
    picture.At(2, 1) = 0xFF3366CC;
    picture.At(6, 4) = 0x7F000000;
    document::SetCharacterSetImage(typeface, picture);
    document::Character& a = document::AddCharacter(typeface, 65);
    a.Source = {1, 2, 3, 4};
    a.Outlay = {-2, -1, 4, 5};
    document::AddCharacter(typeface, 0xFFFF).Outlay = {0, 0, 32767, -32768};
    document::AddCharacter(typeface, 32).Outlay = {0, 0, 3, 5};
    document::AddKerningPair(typeface, 65, 86, -3);
    document::AddKerningPair(typeface, 0xFFFF, 0, 127);
}

TEST(TypefaceRoundTrip, TfThroughXmlGivesTheSameTfFile) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    FillTypeface(*document::CreateTypeface(registry, DocumentId));
    ASSERT_TRUE(SaveTypeface(registry, DocumentId, folder.File("first.tf"), FileFormatId::Tf).Ok());

    ASSERT_TRUE(LoadTypeface(registry, DocumentId, folder.File("first.tf")).Ok());
    const base::Result<base::Done> xml =
        SaveTypeface(registry, DocumentId, folder.File("middle.xml"), FileFormatId::XmlImage);
    ASSERT_TRUE(xml.Ok()) << xml.Error;
    EXPECT_TRUE(xml.Warnings.empty());

    const base::Result<LoadedTypeface> fromXml =
        LoadTypeface(registry, DocumentId, folder.File("middle.xml"));
    ASSERT_TRUE(fromXml.Ok());
    EXPECT_TRUE(fromXml.Warnings.empty());
    ASSERT_TRUE(SaveTypeface(registry, DocumentId, folder.File("last.tf"), FileFormatId::Tf).Ok());
    EXPECT_EQ(folder.Read("first.tf"), folder.Read("last.tf"));
    EXPECT_EQ(Codes(*fromXml.Value->Installed), (std::vector<std::int64_t>{65, 0xFFFF, 32}));
}

// Every format that stores a picture stores white glyphs as grey + alpha and reads them back as
// the same RGBA pixels.
TEST(TypefaceRoundTrip, EveryFormatKeepsAGreyPictureAsGreyAlpha) {
    struct Case {
        FileFormatId Format;
        const char* Name;
        const char* Picture; // the file that holds the PNG
    };
    const std::vector<Case> cases = {
        {FileFormatId::Tf, "g.tf", "g.tf"},
        {FileFormatId::XmlImage, "g.xml", "g.png"},
        {FileFormatId::BmFontText, "t.fnt", "t_0.png"},
        {FileFormatId::BmFontXml, "x.fnt", "x_0.png"},
        {FileFormatId::BmFontBinary, "b.fnt", "b_0.png"},
    };
    document::Image glyphs = *document::MakeImage(9, 4, 0x00FFFFFF);
    for (std::int64_t x = 0; x < 9; ++x) {
        glyphs.At(x, x % 4) = static_cast<std::uint32_t>(x * 30) << 24 | 0xFFFFFF;
    }
    for (const Case& c : cases) {
        ScratchFolder folder;
        document::TypefaceRegistry registry;
        document::Typeface& typeface = *document::CreateTypeface(registry, DocumentId);
        document::SetCharacterSetImage(typeface, glyphs);
        document::AddCharacter(typeface, 65).Source = {0, 0, 9, 4};
        ASSERT_TRUE(SaveTypeface(registry, DocumentId, folder.File(c.Name), c.Format).Ok())
            << c.Name;

        const std::string bytes = folder.Read(c.Picture);
        const std::size_t header = bytes.find("IHDR");
        ASSERT_NE(header, std::string::npos) << c.Name;
        EXPECT_EQ(bytes.at(header + 13), 4) << c.Name; // colour type after width, height, depth
        document::TypefaceRegistry other;
        const base::Result<LoadedTypeface> back =
            LoadTypeface(other, DocumentId, folder.File(c.Name));
        ASSERT_TRUE(back.Ok()) << c.Name << ": " << back.Error;
        ASSERT_TRUE(back.Value->Installed->Content.Image) << c.Name;
        EXPECT_EQ(back.Value->Installed->Content.Image->Pixels, glyphs.Pixels) << c.Name;
    }
}

TEST(TypefaceRoundTrip, PropertiesSurviveTfButAreReportedWhenXmlDropsThem) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, DocumentId);
    FillTypeface(typeface);
    document::PropertyValue(typeface, "Comment") = "Zeichensatz f\xC3\xBCr Titel";
    ASSERT_TRUE(SaveTypeface(registry, DocumentId, folder.File("with.tf"), FileFormatId::Tf).Ok());

    const base::Result<LoadedTypeface> tf =
        LoadTypeface(registry, DocumentId, folder.File("with.tf"));
    ASSERT_TRUE(tf.Ok());
    EXPECT_EQ(document::PropertyValue(*tf.Value->Installed, "Comment"),
              "Zeichensatz f\xC3\xBCr Titel");
    const base::Result<base::Done> xml =
        SaveTypeface(registry, DocumentId, folder.File("without.xml"), FileFormatId::XmlImage);
    ASSERT_TRUE(xml.Ok());
    ASSERT_EQ(xml.Warnings.size(), 1U);
    EXPECT_NE(xml.Warnings[0].find("Comment"), std::string::npos);
    const base::Result<LoadedTypeface> back =
        LoadTypeface(registry, DocumentId, folder.File("without.xml"));
    ASSERT_TRUE(back.Ok());
    EXPECT_TRUE(back.Value->Installed->Content.Properties.empty());
}

TEST(TypefaceLoading, TheSignatureDecidesNotTheName) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    FillTypeface(*document::CreateTypeface(registry, DocumentId));
    ASSERT_TRUE(
        SaveTypeface(registry, DocumentId, folder.File("typeface.xml"), FileFormatId::Tf).Ok());
    RegistryWithDocument state;
    const base::Result<LoadedTypeface> result =
        LoadTypeface(state.Registry, DocumentId, folder.File("typeface.xml"));
    ASSERT_TRUE(result.Ok()) << result.Error;
    EXPECT_TRUE(result.Warnings.empty());
    EXPECT_EQ(Codes(*result.Value->Installed), (std::vector<std::int64_t>{65, 0xFFFF, 32}));
    EXPECT_EQ(document::KerningAmount(*result.Value->Installed, document::MakePairKey(0xFFFF, 0)),
              127);
}

} // namespace
} // namespace glyfora::formats

#include "PngBytes.h"
#include "ScratchFolder.h"
#include "formats/PngCodec.h"
#include "formats/XmlImageFile.h"

#include <chrono>
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace glyfora::formats {
namespace {

using testsupport::ScratchFolder;

struct Read {
    std::unique_ptr<document::Typeface> Result;
    bool Ok = false;
    std::string Error; // why it was refused
    std::vector<std::string> Warnings;
};

Read ReadText(const std::string& xml, const std::string& directory = "") {
    document::TypefaceRegistry registry;
    Read read;
    read.Result = document::MakeTypeface(registry, 5);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(xml.data());
    base::Result<base::Done> outcome =
        ReadXmlDescription(*read.Result, {bytes, xml.size()}, directory);
    read.Ok = outcome.Ok();
    read.Error = std::move(outcome.Error);
    read.Warnings = std::move(outcome.Warnings);
    return read;
}

std::vector<std::int64_t> Codes(const document::Typeface& typeface) {
    std::vector<std::int64_t> codes;
    for (const document::Character& character : typeface.Content.Characters) {
        codes.push_back(character.Index);
    }
    return codes;
}

std::vector<std::vector<std::int64_t>> Pairs(const document::Typeface& typeface) {
    std::vector<std::vector<std::int64_t>> pairs;
    for (const document::KerningPair& pair : typeface.Content.KerningPairs) {
        pairs.push_back({document::PairLeft(pair), document::PairRight(pair), pair.Amount});
    }
    return pairs;
}

bool AnyWarningHas(const Read& read, const std::string& part) {
    for (const std::string& warning : read.Warnings) {
        if (warning.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

document::Image TestPicture() {
    document::Image image = *document::MakeImage(5, 3, 0x00FFFFFF);
    image.At(1, 0) = 0xFF0000FF;
    image.At(4, 2) = 0x80FF8040;
    return image;
}

void WritePicture(const ScratchFolder& folder, const std::string& name,
                  const document::Image& image) {
    folder.Write(name, *testsupport::PngBytes(image));
}

TEST(XmlNumber, ReadsEveryNotation) {
    const struct {
        const char* Text;
        std::int64_t Value;
    } cases[] = {
        {"65", 65},
        {"$41", 65},
        {"$ff", 255},
        {"$FF", 255},
        {"%1000001", 65},
        {" 65abc", 65},
        {"\t \t-12", -12},
        {"+7", 7},
        {"-$10", -16},
        {"+$10", 16},
        {"-%11", -3},
        {"%102", 2},
        {"$1g", 1},
        {"12.9", 12},
        {"abc", 0},
        {"", 0},
        {"$", 0},
        {"%", 0},
        {"-", 0},
        {"--5", 0},
        {"- 5", 0},
        {"$-5", 0},
        {"\n5", 0}, // only blanks and tabs are skipped
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"$7FFFFFFFFFFFFFFF", INT64_MAX},
        {"$FFFFFFFFFFFFFFFF", -1},
        {"18446744073709551617", 1}, // wraps modulo 2^64
    };
    for (const auto& test : cases) {
        EXPECT_EQ(ReadXmlNumber(test.Text), test.Value) << '"' << test.Text << '"';
    }
    EXPECT_EQ(ReadXmlNumber(nullptr), 0);
}

TEST(XmlDescription, ReadsCharactersPairsAndPictureFromTheDescriptionsFolder) {
    ScratchFolder folder;
    WritePicture(folder, "CharacterSet.png", TestPicture());
    const Read read = ReadText(R"(<?xml version="1.0"?>
<AnyName Image="CharacterSet.png">
  <Character Index="65">
    <Source X="1" Y="2" Width="10" Height="16"/>
    <Outlay X="0" Y="0" Width="10" Height="16"/>
  </Character>
  <KerningPair Left="65" Right="86" Amount="-3"/>
</AnyName>)",
                               folder.Directory());
    ASSERT_TRUE(read.Ok);
    EXPECT_TRUE(read.Warnings.empty());
    const document::Typeface& typeface = *read.Result;
    ASSERT_EQ(Codes(typeface), std::vector<std::int64_t>{65});
    const document::Character* a = document::FindCharacter(typeface, 65);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->Source, (document::Rect64{1, 2, 10, 16}));
    EXPECT_EQ(a->Outlay, (document::Rect64{0, 0, 10, 16}));
    EXPECT_EQ(document::KerningAmount(typeface, document::MakePairKey(65, 86)), -3);
    EXPECT_TRUE(typeface.Content.Properties.empty());

    ASSERT_TRUE(typeface.Content.Image != nullptr);
    EXPECT_EQ(typeface.Content.Image->Pixels, TestPicture().Pixels);
    ASSERT_NE(typeface.Content.Sprite, nullptr);
    EXPECT_EQ(typeface.Content.Sprite->Pixels, TestPicture().Pixels);
    EXPECT_EQ(document::FlippedSpriteHeight(typeface.Content), 3);
    EXPECT_EQ(document::FlippedSprite(typeface.Content)->At(4, 0), 0x80FF8040U);
}

TEST(XmlDescription, IndexAndMetricsUseTheNumberFormat) {
    const Read read = ReadText(R"(<r>
  <Character Index="$41"/>
  <Character Index="%1000010"/>
  <Character Index=" 67xyz"/>
  <Character Index="xyz"/>
  <Character Index="69">
    <Source X="4294967297" Y="$80000000" Width="-1" Height="%11"/>
    <Outlay X="$FFFFFFFF" Y=" +12px" Width="" Height="  "/>
  </Character>
</r>)");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(Codes(*read.Result), (std::vector<std::int64_t>{65, 66, 67, 0, 69}));
    const document::Character* e = document::FindCharacter(*read.Result, 69);
    ASSERT_NE(e, nullptr);
    // Metrics are 32-bit: wider values keep their low 32 bits, sign included.
    EXPECT_EQ(e->Source, (document::Rect64{1, INT32_MIN, -1, 3}));
    EXPECT_EQ(e->Outlay, (document::Rect64{-1, 12, 0, 0}));
}

TEST(XmlDescription, ReadsOnlyDirectChildrenWithExactNames) {
    const Read read = ReadText(R"(<Character Index="1">
  <Group><Character Index="2"/><KerningPair Left="1" Right="2" Amount="3"/></Group>
  <character Index="3"/>
  <CHARACTER Index="4"/>
  <x:Character xmlns:x="urn:x" Index="5"/>
  <kerningpair Left="1" Right="2" Amount="3"/>
  <Character Index="6">
    <source X="9" Y="9" Width="9" Height="9"/>
    <Wrapper><Source X="8" Y="8" Width="8" Height="8"/></Wrapper>
    <Source X="1" Y="2" Width="3" Height="4"><Outlay X="7" Y="7" Width="7" Height="7"/></Source>
    <Source X="5" Y="5" Width="5" Height="5"/>
  </Character>
  <Character Index="7"><Outlay X="1" Y="1" Width="1" Height="1"/></Character>
  <!-- a comment --><?processing instruction?>text between
</Character>)");
    ASSERT_TRUE(read.Ok);
    // The root itself is no character, whatever its name.
    EXPECT_EQ(Codes(*read.Result), (std::vector<std::int64_t>{6, 7}));
    EXPECT_TRUE(Pairs(*read.Result).empty());
    const document::Character& six = *document::FindCharacter(*read.Result, 6);
    EXPECT_EQ(six.Source, (document::Rect64{1, 2, 3, 4})); // the first direct "Source" only
    EXPECT_EQ(six.Outlay, (document::Rect64{}));           // no direct "Outlay": zeros
    const document::Character& seven = *document::FindCharacter(*read.Result, 7);
    EXPECT_EQ(seven.Source, (document::Rect64{}));
    EXPECT_EQ(seven.Outlay, (document::Rect64{1, 1, 1, 1}));
}

TEST(XmlDescription, DuplicateIndexKeepsBothAndTheLaterTakesTheSlot) {
    const Read read = ReadText(R"(<r>
  <Character Index="65"><Source X="1"/></Character>
  <Character Index="66"/>
  <Character Index="65"><Source X="2"/></Character>
</r>)");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(Codes(*read.Result), (std::vector<std::int64_t>{65, 66, 65}));
    EXPECT_EQ(document::FindCharacter(*read.Result, 65)->Source.X, 2);
}

TEST(XmlDescription, KerningPairsKeepLow16BitsAndMissingAmountIsZero) {
    const Read read = ReadText(R"(<r>
  <KerningPair Left="65" Right="86"/>
  <KerningPair Left="$10041" Right="-1" Amount="-7"/>
  <KerningPair Amount="$7FFFFFFFFFFFFFFF"/>
  <KerningPair Left="65" Right="86" Amount="4"/>
</r>)");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(Pairs(*read.Result),
              (std::vector<std::vector<std::int64_t>>{
                  {65, 86, 0}, {65, 0xFFFF, -7}, {0, 0, INT64_MAX}, {65, 86, 4}}));
    EXPECT_EQ(document::KerningAmount(*read.Result, document::MakePairKey(65, 86)),
              0); // the first pair of a key
}

TEST(XmlDescription, CodesOutsideTheTableAreSkippedWithAWarning) {
    const Read read = ReadText("<r>\n<Character Index=\"-1\"/>\n<Character Index=\"65536\">"
                               "<Source X=\"5\"/></Character>\n<Character Index=\"65535\"/>\n"
                               "<Character Index=\"$10041\"/>\n</r>");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(Codes(*read.Result), std::vector<std::int64_t>{65535});
    EXPECT_EQ(document::FindCharacter(*read.Result, 65), nullptr); // not reduced to its low 16 bits
    ASSERT_EQ(read.Warnings.size(), 3U);
    EXPECT_NE(read.Warnings[0].find("line 2"), std::string::npos);
    EXPECT_NE(read.Warnings[0].find("-1"), std::string::npos);
    EXPECT_NE(read.Warnings[1].find("line 3"), std::string::npos);
    EXPECT_NE(read.Warnings[2].find("65601"), std::string::npos);
}

TEST(XmlDescription, ManySkippedCharactersAreCountedNotListed) {
    std::string xml = "<r>";
    for (int i = 0; i < 1000; ++i) {
        xml += "<Character Index=\"-" + std::to_string(i + 1) + "\"/><Character Index=\"" +
               std::to_string(i) + "\"/>";
    }
    const Read read = ReadText(xml + "</r>");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Result->Content.Characters.Size(), 1000U);
    ASSERT_EQ(read.Warnings.size(), 21U);
    EXPECT_NE(read.Warnings[19].find("Index -20 "), std::string::npos) << read.Warnings[19];
    EXPECT_EQ(read.Warnings[20].rfind("980 more characters skipped", 0), 0U) << read.Warnings[20];
}

TEST(XmlDescription, MissingOrDamagedPictureLeavesNoImageButKeepsTheRest) {
    ScratchFolder folder;
    folder.Write("Broken.png", std::string("\x89PNG\r\n\x1a\n but not really", 24));
    std::filesystem::create_directory(folder.File("Folder.png"));
    const char* const pictures[] = {"Missing.png", "Broken.png", "Folder.png"};
    for (const char* picture : pictures) {
        const Read read = ReadText(std::string("<r Image=\"") + picture + R"(">
  <Character Index="65"/><KerningPair Left="65" Right="66" Amount="1"/></r>)",
                                   folder.Directory());
        ASSERT_TRUE(read.Ok) << picture;
        EXPECT_EQ(Codes(*read.Result), std::vector<std::int64_t>{65}) << picture;
        EXPECT_EQ(Pairs(*read.Result).size(), 1U) << picture;
        EXPECT_FALSE(read.Result->Content.Image != nullptr) << picture;
        EXPECT_EQ(read.Result->Content.Sprite, nullptr) << picture;
        ASSERT_EQ(read.Warnings.size(), 1U) << picture;
        EXPECT_TRUE(AnyWarningHas(read, folder.File(picture))) << read.Warnings[0];
    }
    // No picture named at all is no fault: a description may stand without one.
    for (const std::string xml : {"<r/>", "<r Image=\"\"/>"}) {
        const Read read = ReadText(xml, folder.Directory());
        EXPECT_TRUE(read.Ok);
        EXPECT_TRUE(read.Warnings.empty()) << xml;
        EXPECT_FALSE(read.Result->Content.Image != nullptr);
    }
}

TEST(XmlDescription, PictureNamesAreUtf8AndMayBeAbsolute) {
    ScratchFolder folder;
    WritePicture(folder, "Zeichens\xC3\xA4tze & Co.png", TestPicture());
    const Read utf8 =
        ReadText("<r Image=\"Zeichens\xC3\xA4tze &amp; Co.png\"/>", folder.Directory());
    EXPECT_TRUE(utf8.Warnings.empty());
    EXPECT_TRUE(utf8.Result->Content.Image != nullptr);
    // A declared single-byte encoding is honoured: the name still means the same file.
    const Read latin1 = ReadText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                 "<r Image=\"Zeichens\xE4tze &amp; Co.png\"/>",
                                 folder.Directory());
    EXPECT_TRUE(latin1.Result->Content.Image != nullptr);
    const Read absolute = ReadText(
        "<r Image=\"" + folder.File("Zeichens\xC3\xA4tze &amp; Co.png") + "\"/>", "/nonexistent/");
    EXPECT_TRUE(absolute.Result->Content.Image != nullptr);
}

TEST(XmlDescription, PictureIsPngOrBmpAndBackslashesSeparateFolders) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder.File("sub/deeper"));
    for (const char* name : {"picture-3x2.bmp", "picture-3x2.png"}) {
        std::filesystem::copy_file(std::string(GLYFORA_TEST_DATA_FALLBACK) + "/" + name,
                                   folder.File(std::string("sub/deeper/") + name));
    }
    for (const char* image : {"sub\\deeper\\picture-3x2.bmp", "sub/deeper\\picture-3x2.png",
                              "sub/deeper/picture-3x2.bmp"}) {
        const Read read = ReadText(std::string("<r Image=\"") + image + "\"/>", folder.Directory());
        EXPECT_TRUE(read.Warnings.empty()) << image << ": " << read.Warnings.front();
        ASSERT_TRUE(read.Result->Content.Image != nullptr) << image;
        EXPECT_EQ(read.Result->Content.Image->Width, 3) << image;
        EXPECT_EQ(read.Result->Content.Image->Height, 2) << image;
    }
}

TEST(XmlDescription, BrokenXmlIsReadUpToTheFaultWithAWarningNamingTheLine) {
    const Read read = ReadText("<r>\n"
                               "  <Character Index=\"65\"><Source X=\"1\"/></Character>\n"
                               "  <KerningPair Left=\"1\" Right=\"2\" Amount=\"3\"/>\n"
                               "  <Character Index=\"66\"></Oops>\n"
                               "  <Character Index=\"67\"/>\n"
                               "</r>\n");
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(Codes(*read.Result), (std::vector<std::int64_t>{65, 66}));
    EXPECT_EQ(Pairs(*read.Result).size(), 1U);
    ASSERT_EQ(read.Warnings.size(), 1U);
    EXPECT_NE(read.Warnings[0].find("line 4"), std::string::npos) << read.Warnings[0];
    EXPECT_NE(read.Warnings[0].find("mismatched tag"), std::string::npos) << read.Warnings[0];

    const Read junk = ReadText("<r><Character Index=\"1\"/></r>\n<r><Character Index=\"2\"/></r>");
    ASSERT_TRUE(junk.Ok);
    EXPECT_EQ(Codes(*junk.Result), std::vector<std::int64_t>{1});
    EXPECT_TRUE(AnyWarningHas(junk, "line 2"));
}

TEST(XmlDescription, EveryTruncationReadsAPrefixOrIsRefused) {
    const std::string full =
        "<?xml version=\"1.0\"?>\n<r Image=\"x.png\">\n"
        "<Character Index=\"1\"><Source X=\"1\"/><Outlay Y=\"2\"/></Character>\n"
        "<KerningPair Left=\"1\" Right=\"2\" Amount=\"3\"/>\n"
        "<Character Index=\"2\"/><Character Index=\"3\"/>\n</r>\n";
    const std::size_t rootEnd = full.find("\">\n") + 2;
    const std::vector<std::int64_t> allCodes{1, 2, 3};
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const Read read = ReadText(full.substr(0, length), "/nonexistent/");
        EXPECT_EQ(read.Ok, length >= rootEnd) << length;
        const std::vector<std::int64_t> codes = Codes(*read.Result);
        ASSERT_LE(codes.size(), allCodes.size());
        EXPECT_TRUE(std::equal(codes.begin(), codes.end(), allCodes.begin())) << length;
        // The missing picture at least, or why nothing was read.
        EXPECT_FALSE(read.Warnings.empty() && read.Error.empty()) << length;
    }
}

TEST(XmlDescription, BytesWithoutARootElementAreRefused) {
    const std::string inputs[] = {
        "",
        "   \n",
        "hello",
        "<?xml version=\"1.0\"?>",
        "<!-- only a comment -->",
        "<r",
        "<r Image=\"x.png\"",
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        std::string("\x54\x83\x7C\x31\x2E", 5), // too short for the .tf signature
    };
    for (const std::string& input : inputs) {
        const Read read = ReadText(input);
        EXPECT_FALSE(read.Ok) << input;
        EXPECT_NE(read.Error, "") << input; // the parser's reason
        EXPECT_TRUE(read.Warnings.empty()) << input;
        EXPECT_TRUE(read.Result->Content.Characters.Empty());
    }
}

TEST(XmlDescription, EntityExpansionIsBoundedAndExternalEntitiesAreNotFetched) {
    std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [\n<!ENTITY l0 \"lol\">\n";
    for (int level = 1; level <= 10; ++level) {
        const std::string previous = "&l" + std::to_string(level - 1) + ";";
        std::string value;
        for (int copy = 0; copy < 10; ++copy) {
            value += previous;
        }
        laughs += "<!ENTITY l" + std::to_string(level) + " \"" + value + "\">\n";
    }
    laughs += "]>\n<r><Character Index=\"1\"/>&l10;<Character Index=\"2\"/></r>\n";
    const auto started = std::chrono::steady_clock::now();
    const Read read = ReadText(laughs);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(read.Ok);
    EXPECT_EQ(Codes(*read.Result), std::vector<std::int64_t>{1});
    EXPECT_FALSE(read.Warnings.empty());

    ScratchFolder folder;
    folder.Write("secret.txt", std::string("<Character Index=\"9\"/>"));
    const Read external = ReadText("<!DOCTYPE r [<!ENTITY x SYSTEM \"" + folder.File("secret.txt") +
                                   "\">]><r>&x;<Character Index=\"1\"/></r>");
    EXPECT_EQ(Codes(*external.Result), std::vector<std::int64_t>{1});
}

TEST(XmlWriter, WritesPictureAndDescriptionThatReadBackTheSame) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(typeface, TestPicture());
    document::Character& b = document::AddCharacter(typeface, 66);
    b.Source = {1, 2, 3, 4};
    b.Outlay = {-2, -70000, 5, 2147483647}; // the reader's 32-bit limit
    document::AddCharacter(typeface, 65535).Source = {0, 0, 1, 1};
    document::AddCharacter(typeface, 0);
    document::AddKerningPair(typeface, 65, 86, -3);
    document::AddKerningPair(typeface, 0xFFFF, 0, 1);

    const base::Result<base::Done> saved = WriteXmlDescription(typeface, folder.File("Font.xml"));
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    EXPECT_TRUE(saved.Warnings.empty());
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"Font.png", "Font.xml"}));
    const std::string xml = folder.Read("Font.xml");
    EXPECT_EQ(
        xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Typeface Image=\"Font.png\">", 0),
        0U)
        << xml;

    const Read read = ReadText(xml, folder.Directory());
    ASSERT_TRUE(read.Ok);
    EXPECT_TRUE(read.Warnings.empty());
    EXPECT_EQ(Codes(*read.Result), (std::vector<std::int64_t>{66, 65535, 0}));
    const document::Character& readB = *document::FindCharacter(*read.Result, 66);
    EXPECT_EQ(readB.Source, b.Source);
    EXPECT_EQ(readB.Outlay, b.Outlay);
    EXPECT_EQ(document::FindCharacter(*read.Result, 65535)->Source, (document::Rect64{0, 0, 1, 1}));
    EXPECT_EQ(Pairs(*read.Result), Pairs(typeface));
    ASSERT_TRUE(read.Result->Content.Image != nullptr);
    EXPECT_EQ(read.Result->Content.Image->Width, 5);
    EXPECT_EQ(read.Result->Content.Image->Pixels, TestPicture().Pixels);

    // One past it would read back changed, so nothing is written.
    b.Outlay.Height = 2147483648;
    const base::Result<base::Done> refused = WriteXmlDescription(typeface, folder.File("Wide.xml"));
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(refused.Error.rfind("character 66: Outlay Height 2147483648 does not fit", 0), 0U)
        << refused.Error;
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"Font.png", "Font.xml"}));
}

TEST(XmlWriter, WithoutImageWritesNoPictureAndNoImageAttribute) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::AddCharacter(typeface, 65);
    const base::Result<base::Done> saved = WriteXmlDescription(typeface, folder.File("Plain.xml"));
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"Plain.xml"});
    EXPECT_EQ(folder.Read("Plain.xml").find("Image="), std::string::npos);
    const Read read = ReadText(folder.Read("Plain.xml"), folder.Directory());
    EXPECT_TRUE(read.Warnings.empty());
    EXPECT_EQ(Codes(*read.Result), std::vector<std::int64_t>{65});
}

TEST(XmlWriter, PropertiesWithValuesAreNamedInAWarning) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::PropertyValue(typeface, "Comment") = "made by hand";
    document::PropertyValue(typeface, "Designer") = "\xC3\xA4";
    document::PropertyValue(typeface, "Empty");
    const base::Result<base::Done> saved = WriteXmlDescription(typeface, folder.File("P.xml"));
    ASSERT_TRUE(saved.Ok());
    ASSERT_EQ(saved.Warnings.size(), 1U);
    EXPECT_NE(saved.Warnings[0].find("\"Comment\""), std::string::npos);
    EXPECT_NE(saved.Warnings[0].find("\"Designer\""), std::string::npos);
    EXPECT_EQ(saved.Warnings[0].find("Empty"), std::string::npos);

    document::Typeface& onlyEmpty = *document::CreateTypeface(registry, 6);
    document::PropertyValue(onlyEmpty, "Comment");
    EXPECT_TRUE(WriteXmlDescription(onlyEmpty, folder.File("Q.xml")).Warnings.empty());
}

TEST(XmlWriter, FileNamesAreEscapedOrRefused) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(typeface, TestPicture());
    document::AddCharacter(typeface, 65);

    const std::string awkward[] = {"a&b \"c\" <d> 'e'", "tab\there", "line\nbreak",
                                   "\xC3\xA4\xE2\x82\xAC"};
    for (const std::string& stem : awkward) {
        const base::Result<base::Done> saved =
            WriteXmlDescription(typeface, folder.File(stem + ".xml"));
        ASSERT_TRUE(saved.Ok()) << stem << ": " << saved.Error;
        const Read read = ReadText(folder.Read(stem + ".xml"), folder.Directory());
        ASSERT_TRUE(read.Ok) << stem;
        EXPECT_TRUE(read.Warnings.empty()) << stem << ": " << read.Warnings.front();
        EXPECT_TRUE(read.Result->Content.Image != nullptr) << stem;
    }

    // Names XML cannot carry are refused before anything is written.
    ScratchFolder empty;
    for (const std::string& stem : {std::string("bell\x07"), std::string("bad\xFF"),
                                    std::string("noncharacter\xEF\xBF\xBF")}) {
        const base::Result<base::Done> saved =
            WriteXmlDescription(typeface, empty.File(stem + ".xml"));
        EXPECT_FALSE(saved.Ok()) << stem;
        EXPECT_FALSE(saved.Error.empty());
    }
    EXPECT_TRUE(empty.Names().empty());
}

TEST(XmlWriter, PictureNeverOverwritesItsDescriptionAndFailuresWriteNothing) {
    ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface& typeface = *document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(typeface, TestPicture());
    ASSERT_TRUE(WriteXmlDescription(typeface, folder.File("odd.png")).Ok());
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"odd.png", "odd.png.png"}));
    EXPECT_NE(folder.Read("odd.png").find("Image=\"odd.png.png\""), std::string::npos);

    const base::Result<base::Done> missing =
        WriteXmlDescription(typeface, folder.File("no/such/folder/a.xml"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_FALSE(missing.Error.empty());
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"odd.png", "odd.png.png"}));
}

} // namespace
} // namespace glyfora::formats

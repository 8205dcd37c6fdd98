#include "FileSizeLimit.h"
#include "ScratchFolder.h"
#include "base/FileReading.h"
#include "formats/PngCodec.h"
#include "formats/TypefaceIo.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace glyfora::formats {
namespace {

using testsupport::FileSizeLimit;
using testsupport::ScratchFolder;

constexpr std::int64_t Id = 5;

// Pixels that deflate badly, so that the picture's PNG is large.
document::Image Noise(std::int64_t side, std::uint32_t seed) {
    document::Image picture = *document::MakeImage(side, side);
    for (std::uint32_t& pixel : picture.Pixels) {
        seed = seed * 1664525u + 1013904223u;
        pixel = seed;
    }
    return picture;
}

// A typeface whose picture and descriptor are each large or small as asked.
document::Typeface& MakeTypeface(document::TypefaceRegistry& registry, std::int64_t pictureSide,
                                 std::int64_t characters, std::uint32_t seed) {
    document::Typeface& typeface = *document::CreateTypeface(registry, Id);
    document::SetCharacterSetImage(typeface, Noise(pictureSide, seed));
    for (std::int64_t code = 32; code < 32 + characters; ++code) {
        document::Character& c = document::AddCharacter(typeface, code);
        c.Source = {0, 0, 1, 1};
        c.Outlay = {0, 0, 2, 4};
    }
    return typeface;
}

// Every file of the folder with its bytes.
std::map<std::string, std::vector<std::uint8_t>> Contents(const ScratchFolder& folder) {
    std::map<std::string, std::vector<std::uint8_t>> contents;
    for (const std::string& name : folder.Names()) {
        contents[name] =
            base::ReadWholeFile(folder.File(name)).Value.value_or(std::vector<std::uint8_t>{});
    }
    return contents;
}

struct SaveFormat {
    const char* Name;
    FileFormatId Format;
    const char* FileName;
};
const SaveFormat MultiFileFormats[] = {
    {"fnt text", FileFormatId::BmFontText, "face.fnt"},
    {"fnt XML", FileFormatId::BmFontXml, "face.fnt"},
    {"fnt binary", FileFormatId::BmFontBinary, "face.fnt"},
    {"XML & Image", FileFormatId::XmlImage, "face.xml"},
};

// With a file size limit between the sizes of the two files, exactly one write fails: the
// picture's when it is the large one, the descriptor's when that is. Either way the old files stay
// byte for byte and no temporary file is left.
TEST(MultiFileSave, AFailedWriteLeavesEveryOldFileAsItWasAndNoTemporary) {
    const struct {
        const char* Name;
        std::int64_t PictureSide, Characters;
    } failing[] = {
        {"the picture's write fails", 256, 2},
        {"the descriptor's write fails", 2, 4000},
    };
    for (const SaveFormat& format : MultiFileFormats) {
        for (const auto& which : failing) {
            SCOPED_TRACE(std::string(format.Name) + ": " + which.Name);
            ScratchFolder folder;
            const std::string path = folder.File(format.FileName);
            document::TypefaceRegistry registry;
            MakeTypeface(registry, 8, 3, 1);
            ASSERT_EQ(SaveTypeface(registry, Id, path, format.Format).Error, "");
            const auto before = Contents(folder);
            ASSERT_EQ(before.size(), 2u);

            MakeTypeface(registry, which.PictureSide, which.Characters, 2);
            base::Result<base::Done> saved;
            {
                const FileSizeLimit limit(16 * 1024);
                saved = SaveTypeface(registry, Id, path, format.Format);
            }
            EXPECT_FALSE(saved.Ok());
            EXPECT_NE(saved.Error.find("File too large"), std::string::npos) << saved.Error;
            EXPECT_EQ(Contents(folder), before);

            // Without the limit the same save goes through.
            EXPECT_EQ(SaveTypeface(registry, Id, path, format.Format).Error, "");
            EXPECT_NE(Contents(folder), before);
            EXPECT_EQ(folder.Names().size(), 2u);
        }
    }
}

TEST(MultiFileSave, ATargetThatIsAFolderWritesNothing) {
    for (const SaveFormat& format : MultiFileFormats) {
        SCOPED_TRACE(format.Name);
        ScratchFolder folder;
        std::filesystem::create_directory(folder.File(format.FileName));
        document::TypefaceRegistry registry;
        MakeTypeface(registry, 8, 3, 1);
        const base::Result<base::Done> saved =
            SaveTypeface(registry, Id, folder.File(format.FileName), format.Format);
        EXPECT_NE(saved.Error.find("is a folder"), std::string::npos) << saved.Error;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{format.FileName});
    }
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

// A save replaces the file a link points to, keeps the link and the file's permissions.
TEST(MultiFileSave, KeepsPermissionsAndWritesThroughSymbolicLinks) {
    const struct {
        const char* Name;
        mode_t Mode;
        int Links; // links in a chain from the saved name to the file
    } cases[] = {
        {"private file", 0600, 0},
        {"group-readable file", 0640, 0},
        {"through a link", 0600, 1},
        {"through a chain of links", 0644, 2},
    };
    const struct {
        FileFormatId Format;
        const char* Extension;
    } formats[] = {{FileFormatId::Tf, ".tf"},
                   {FileFormatId::XmlImage, ".xml"},
                   {FileFormatId::BmFontText, ".fnt"}};
    for (const auto& format : formats) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + " " + format.Extension);
            ScratchFolder folder;
            std::filesystem::create_directory(folder.File("real"));
            const std::string target = folder.File(std::string("real/face") + format.Extension);
            document::TypefaceRegistry registry;
            MakeTypeface(registry, 8, 3, 1);
            ASSERT_EQ(SaveTypeface(registry, Id, target, format.Format).Error, "");
            ASSERT_EQ(::chmod(target.c_str(), c.Mode), 0);
            std::string saved = target;
            for (int link = 0; link < c.Links; ++link) {
                const std::string name =
                    folder.File("link" + std::to_string(link) + format.Extension);
                std::filesystem::create_symlink(
                    link == 0 ? "real/face" + std::string(format.Extension) : saved, name);
                saved = name;
            }
            MakeTypeface(registry, 16, 5, 2);
            ASSERT_EQ(SaveTypeface(registry, Id, saved, format.Format).Error, "");
            EXPECT_EQ(ModeOf(target), c.Mode);
            EXPECT_EQ(std::filesystem::is_symlink(saved), c.Links > 0);
            document::TypefaceRegistry reread;
            const base::Result<LoadedTypeface> loaded = LoadTypeface(reread, Id, target);
            ASSERT_TRUE(loaded.Ok()) << loaded.Error;
            EXPECT_EQ(loaded.Value->Installed->Content.Characters.Size(), 5u);
            EXPECT_EQ(loaded.Value->Installed->Content.Image->Width, 16);
            // Nothing was left beside the links or the file.
            EXPECT_EQ(folder.Names().size(), 1u + static_cast<std::size_t>(c.Links));
        }
    }
}

// What a PNG cannot hold is refused with the limit named, before any file is made.
TEST(MultiFileSave, PicturesBeyondThePngLimitAreRefusedBeforeAnythingIsWritten) {
    const struct {
        std::int64_t Width, Height;
        bool Fits;
    } sizes[] = {{1000000, 1, true}, {1, 1000000, true}, {1000001, 1, false}, {1, 1000001, false}};
    for (const auto& size : sizes) {
        const base::Result<base::Done> checked = CheckPngSize(size.Width, size.Height);
        EXPECT_EQ(checked.Ok(), size.Fits) << size.Width << " x " << size.Height;
        if (!size.Fits) {
            EXPECT_NE(checked.Error.find("at most 1000000 pixels wide and high"),
                      std::string::npos);
        }
    }
    const struct {
        FileFormatId Format;
        const char* FileName;
    } formats[] = {{FileFormatId::Tf, "face.tf"},
                   {FileFormatId::XmlImage, "face.xml"},
                   {FileFormatId::BmFontText, "face.fnt"},
                   {FileFormatId::BmFontBinary, "face.fnt"}};
    for (const auto& format : formats) {
        SCOPED_TRACE(format.FileName);
        ScratchFolder folder;
        document::TypefaceRegistry registry;
        document::Typeface& typeface = MakeTypeface(registry, 1, 3, 1);
        document::SetCharacterSetImage(typeface, document::MakeImage(1, 1000001, 0xFFFFFFFF));
        const base::Result<base::Done> saved =
            SaveTypeface(registry, Id, folder.File(format.FileName), format.Format);
        EXPECT_NE(saved.Error.find("at most 1000000 pixels wide and high, not 1 x 1000001"),
                  std::string::npos)
            << saved.Error;
        EXPECT_TRUE(folder.Names().empty());
    }
}

} // namespace
} // namespace glyfora::formats

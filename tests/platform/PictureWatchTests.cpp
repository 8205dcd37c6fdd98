#include "PngBytes.h"
#include "ScratchFolder.h"
#include "base/FileReading.h"
#include "formats/PngCodec.h"
#include "platform/PictureWatch.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace glyfora::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> PngOf(std::uint32_t colour, std::int64_t width = 4) {
    const auto image = document::MakeImage(width, 2, colour);
    return *testsupport::PngBytes(*image);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Gives the file a modification time, so a test can make two versions share the same second,
// or even the same nanosecond.
void SetModificationTime(const std::string& path, std::int64_t seconds, std::int64_t nanoseconds) {
    const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class PictureWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        typeface_ = document::CreateTypeface(registry_, 5);
        document::SetCharacterSetImage(*typeface_, document::MakeImage(4, 2, 0xFF0000FFU));
        const base::Result<std::string> exported =
            ExportCharacterSetPicture(*typeface_, folder_.Path(), watch_);
        ASSERT_TRUE(exported.Error.empty()) << exported.Error;
        path_ = exported.Value.value_or(std::string());
    }

    WatchResult Poll(Clock::time_point now = Clock::now()) { return PollPictureWatch(watch_, now); }

    testsupport::ScratchFolder folder_;
    document::TypefaceRegistry registry_;
    document::Typeface* typeface_ = nullptr;
    PictureWatch watch_;
    std::string path_;
};

TEST_F(PictureWatchTest, ExportWritesThePictureAndSeesNoChangeUntilTheFileChanges) {
    EXPECT_EQ(path_, folder_.Path() + "/CharacterSet.png");
    const base::Result<std::vector<std::uint8_t>> bytes = base::ReadWholeFile(path_);
    ASSERT_TRUE(bytes.Ok()) << bytes.Error;
    const auto decoded = formats::DecodePng(*bytes.Value);
    ASSERT_TRUE(decoded.Value.has_value());
    EXPECT_EQ(decoded.Value->Pixels, typeface_->Content.Image->Pixels);

    EXPECT_EQ(Poll().Status, WatchStatus::Unchanged);
    EXPECT_EQ(Poll().Status, WatchStatus::Unchanged);

    WriteFile(path_, PngOf(0xFF00FF00U));
    WatchResult result = Poll();
    ASSERT_EQ(result.Status, WatchStatus::Reloaded) << result.Reason;
    ASSERT_TRUE(result.Picture.has_value());
    EXPECT_EQ(result.Picture->At(0, 0), 0xFF00FF00U);
    EXPECT_EQ(Poll().Status, WatchStatus::Unchanged); // the reloaded version is now the known one
}

TEST_F(PictureWatchTest, ASaveWithinTheSameSecondIsNoticed) {
    SetModificationTime(path_, 1'700'000'000, 100);
    ArmPictureWatch(watch_, path_);
    WriteFile(path_, PngOf(0xFF00FF00U));
    SetModificationTime(path_, 1'700'000'000, 200); // same second, later nanosecond
    EXPECT_EQ(Poll().Status, WatchStatus::Reloaded);

    // Same nanosecond too, but a different size.
    WriteFile(path_, PngOf(0xFF00FF00U, 40));
    SetModificationTime(path_, 1'700'000'000, 200);
    const WatchResult result = Poll();
    ASSERT_EQ(result.Status, WatchStatus::Reloaded);
    EXPECT_EQ(result.Picture->Width, 40);
}

TEST_F(PictureWatchTest, ASaveByRenamingANewFileIsNoticedEvenWithTimeAndSizeAlike) {
    SetModificationTime(path_, 1'700'000'000, 0);
    ArmPictureWatch(watch_, path_);
    const std::string other = folder_.Path() + "/saved.png";
    // Another colour whose PNG takes as many bytes as the export's.
    const auto exported = std::filesystem::file_size(path_);
    std::uint32_t colour = 0;
    for (const std::uint32_t candidate : {0xFF00FF00U, 0xFFFF0000U, 0xFF00FFFFU, 0xFFFF00FFU,
                                          0xFFFFFF00U, 0xFF0000FEU, 0xFF0100FFU}) {
        if (PngOf(candidate).size() == exported) {
            colour = candidate;
            break;
        }
    }
    ASSERT_NE(colour, 0U) << "no other colour gives a PNG of " << exported << " bytes";
    WriteFile(other, PngOf(colour));
    SetModificationTime(other, 1'700'000'000, 0);
    std::filesystem::rename(other, path_);
    const WatchResult result = Poll();
    ASSERT_EQ(result.Status, WatchStatus::Reloaded);
    EXPECT_EQ(result.Picture->At(0, 0), colour);
}

TEST_F(PictureWatchTest, ADeletedFileStopsNothingAndLosesNothing) {
    std::filesystem::remove(path_);
    EXPECT_EQ(Poll().Status, WatchStatus::Deleted);
    EXPECT_EQ(Poll().Status, WatchStatus::Deleted);
    WriteFile(path_, PngOf(0xFFFF0000U));
    const WatchResult result = Poll();
    ASSERT_EQ(result.Status, WatchStatus::Reloaded);
    EXPECT_EQ(result.Picture->At(0, 0), 0xFFFF0000U);
}

TEST_F(PictureWatchTest, AHalfWrittenFileIsTriedAgainUntilItDecodes) {
    const std::vector<std::uint8_t> whole = PngOf(0xFF00FF00U);
    WriteFile(path_, std::vector<std::uint8_t>(whole.begin(), whole.begin() + 40));
    WatchResult result = Poll();
    EXPECT_EQ(result.Status, WatchStatus::Undecodable);
    EXPECT_FALSE(result.Reason.empty());
    EXPECT_FALSE(result.Picture.has_value());
    EXPECT_EQ(Poll().Status, WatchStatus::Undecodable); // tried again, not taken as known

    WriteFile(path_, whole);
    result = Poll();
    ASSERT_EQ(result.Status, WatchStatus::Reloaded);
    EXPECT_EQ(result.Picture->At(3, 1), 0xFF00FF00U);
}

TEST_F(PictureWatchTest, AnUnreadableChangeIsWaitedForAtMostTheTimeoutAndThenRetried) {
    // A folder in the picture's place cannot be read as a picture, whoever runs the test.
    std::filesystem::remove(path_);
    std::filesystem::create_directory(path_);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(Poll(start).Status, WatchStatus::Busy);
    EXPECT_EQ(Poll(start + 4900ms).Status, WatchStatus::Busy);
    const WatchResult gaveUp = Poll(start + 5s);
    EXPECT_EQ(gaveUp.Status, WatchStatus::GaveUp);
    EXPECT_FALSE(gaveUp.Reason.empty());
    EXPECT_EQ(Poll(start + 5250ms).Status, WatchStatus::Busy); // the wait starts over

    std::filesystem::remove(path_);
    WriteFile(path_, PngOf(0xFF00FF00U));
    EXPECT_EQ(Poll(start + 5500ms).Status, WatchStatus::Reloaded);
    EXPECT_FALSE(watch_.BusySince.has_value());
}

TEST(PictureWatch, DoesNothingBeforeTheFirstExport) {
    PictureWatch watch;
    EXPECT_EQ(PollPictureWatch(watch, Clock::now()).Status, WatchStatus::Unarmed);
}

TEST(ExportCharacterSetPicture, WithoutAPictureNothingIsWrittenOrWatched) {
    testsupport::ScratchFolder folder;
    document::TypefaceRegistry registry;
    document::Typeface* typeface = document::CreateTypeface(registry, 5);
    PictureWatch watch;
    const base::Result<std::string> outcome =
        ExportCharacterSetPicture(*typeface, folder.Path(), watch);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_TRUE(watch.Path.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/CharacterSet.png"));
}

TEST(ExportCharacterSetPicture, AnUnwritableFolderIsReportedAndNotWatched) {
    document::TypefaceRegistry registry;
    document::Typeface* typeface = document::CreateTypeface(registry, 5);
    document::SetCharacterSetImage(*typeface, document::MakeImage(2, 2, 0xFFFFFFFFU));
    PictureWatch watch;
    const base::Result<std::string> outcome =
        ExportCharacterSetPicture(*typeface, "/nonexistent-folder-for-glyfora", watch);
    EXPECT_FALSE(outcome.Error.empty());
    EXPECT_TRUE(watch.Path.empty());
}

} // namespace
} // namespace glyfora::platform

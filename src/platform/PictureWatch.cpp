#include "platform/PictureWatch.h"

#include "base/FileReading.h"
#include "formats/PictureFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace glyfora::platform {

namespace {

WatchResult Busy(PictureWatch& watch, std::chrono::steady_clock::time_point now,
                 std::string reason) {
    if (!watch.BusySince) {
        watch.BusySince = now;
    }
    if (now - *watch.BusySince >= PictureReleaseTimeout) {
        watch.BusySince.reset();
        return {WatchStatus::GaveUp, std::nullopt, std::move(reason)};
    }
    return {WatchStatus::Busy, std::nullopt, std::move(reason)};
}

} // namespace

void ArmPictureWatch(PictureWatch& watch, const std::string& path) {
    watch.Path = path;
    watch.Known = ReadFileStamp(path);
    watch.BusySince.reset();
}

WatchResult PollPictureWatch(PictureWatch& watch, std::chrono::steady_clock::time_point now) {
    if (watch.Path.empty()) {
        return {WatchStatus::Unarmed, std::nullopt, {}};
    }
    struct stat status {};
    if (::stat(watch.Path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            watch.BusySince.reset();
            return {WatchStatus::Deleted, std::nullopt, {}};
        }
        return Busy(watch, now, std::string("cannot look at the picture: ") + std::strerror(errno));
    }
    if (watch.Known && ReadFileStamp(watch.Path) == watch.Known) {
        watch.BusySince.reset();
        return {WatchStatus::Unchanged, std::nullopt, {}};
    }
    // Read non-blocking and refused when it changes meanwhile, so a FIFO put in the picture's
    // place cannot stall the user interface and a half-saved picture is tried again later.
    base::Result<base::FileContents> version = base::ReadRegularFile(watch.Path);
    if (!version) {
        return Busy(watch, now, std::move(version.Error));
    }
    watch.BusySince.reset();
    base::Result<document::Image> loaded = formats::DecodePicture(version.Value->Bytes);
    if (!loaded) {
        return {WatchStatus::Undecodable, std::nullopt, std::move(loaded.Error)};
    }
    watch.Known = version.Value->Stamp;
    return {WatchStatus::Reloaded, std::move(loaded.Value), {}};
}

base::Result<std::string> ExportCharacterSetPicture(const document::Typeface& typeface,
                                                    const std::string& folder,
                                                    PictureWatch& watch) {
    const auto& image = typeface.Content.Image;
    if (!image || image->Width <= 0 || image->Height <= 0) {
        return base::Failure{"there is no character-set picture"};
    }
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += ExportedPictureName;
    if (base::Result<base::Done> written = formats::WritePngFile(*image, path); !written) {
        return base::Failure{std::move(written.Error)};
    }
    ArmPictureWatch(watch, path);
    return path;
}

} // namespace glyfora::platform

#pragma once

// A limit on the size of the files this process writes, so that a write fails midway as it would
// on a full disk: writes beyond it fail with EFBIG instead of raising SIGXFSZ.

#include <csignal>
#include <sys/resource.h>

namespace glyfora::testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        signal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, signal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*signal_)(int) = nullptr;
};

} // namespace glyfora::testsupport

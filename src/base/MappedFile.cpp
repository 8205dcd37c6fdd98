#include "base/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyfora::base {

MappedFile::MappedFile(const std::string& path) {
    // Non-blocking, so that a FIFO put where a file was expected cannot hang the open.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return;
    }
    struct stat status {};
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* address = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (address != MAP_FAILED) {
            data_ = static_cast<const std::uint8_t*>(address);
            size_ = size;
        }
    }
    // The mapping stays valid without the descriptor.
    close(descriptor);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        munmap(const_cast<std::uint8_t*>(data_), size_);
    }
}

} // namespace glyfora::base

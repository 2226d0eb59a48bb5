// POSIX realisation of the bounded file reading.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_reading.h"

namespace hcurve::platform {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

}  // namespace

FileBytes readFileBounded(const std::string& path, std::size_t maxBytes) {
    FileBytes file;
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        file.openError = errno;
        return file;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        file.openError = EISDIR;
        return file;
    }
    if (S_ISREG(status.st_mode) && static_cast<unsigned long long>(status.st_size) > maxBytes) {
        ::close(fd);
        file.tooLarge = true;
        return file;
    }
    if (S_ISREG(status.st_mode))
        file.bytes.reserve(static_cast<std::size_t>(status.st_size) + 1);
    for (;;) {
        // One byte beyond the limit tells a file of exactly maxBytes from a larger one.
        const std::size_t room = maxBytes + 1 - file.bytes.size();
        const std::size_t chunk = room < kChunkBytes ? room : kChunkBytes;
        const std::size_t had = file.bytes.size();
        file.bytes.resize(had + chunk);
        const ssize_t n = ::read(fd, file.bytes.data() + had, chunk);
        if (n < 0) {
            file.bytes.resize(had);
            if (errno == EINTR)
                continue;
            file.readError = errno;
            break;
        }
        file.bytes.resize(had + static_cast<std::size_t>(n));
        if (n == 0)
            break;
        if (file.bytes.size() > maxBytes) {
            file.tooLarge = true;
            std::string().swap(file.bytes);
            break;
        }
    }
    ::close(fd);
    return file;
}

}  // namespace hcurve::platform

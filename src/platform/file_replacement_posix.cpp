// POSIX realisation of the file replacement.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/file_replacement.h"

namespace hcurve::platform {
namespace {

// A buffer of this size goes to the system in one write.
constexpr std::size_t kWriteBuffer = 64 * 1024;
// Random names tried for a temporary file before giving up: each is taken only by a race or by
// something planted there.
constexpr int kTemporaryNameTries = 100;
// Links followed before a path is taken as a loop.
constexpr int kMaxLinks = 40;
constexpr int kNewFilePermissions = 0666;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string randomSuffix() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::mt19937_64(device() ^ static_cast<std::uint64_t>(now) ^
                               (static_cast<std::uint64_t>(::getpid()) << 32));
    }();
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int k = 0; k < 8; ++k)
        suffix += kLetters[generator() % (sizeof kLetters - 1)];
    return suffix;
}

#ifdef __EMSCRIPTEN__
// emscripten's umask is a value of its own that starts at 0777 and that no file call applies: taken
// as the mask, every file written would have no permission at all. Under node the files are the
// host's, and the node process's umask is the one a file gets; in a browser there is no host's.
// (In a browser: 022, 18.)
// clang-format off
EM_JS(int, hostFileMask, (), {
    return typeof process == "object" && process.umask ? process.umask() : 18;
});
// clang-format on

mode_t newFilePermissions() {
    return kNewFilePermissions & ~static_cast<mode_t>(hostFileMask());
}
#else
// The permission bits a new file gets under the process's umask. The umask can only be read by
// setting it; the program changes it nowhere else.
mode_t newFilePermissions() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFilePermissions & ~mask;
}
#endif

// Whether the user may write the file at path in place, by the effective ids, as a writer that
// opens it would be judged. 0, or the errno that says why not.
int writableInPlace(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

bool writtenInto(mode_t mode) {
    return S_ISFIFO(mode) || S_ISCHR(mode);
}

// The system's temporary folder: TMPDIR when it names a folder, else /tmp.
std::string temporaryFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    struct stat info;
    if (tmpdir && tmpdir[0] == '/' && ::stat(tmpdir, &info) == 0 && S_ISDIR(info.st_mode))
        return tmpdir;
    return "/tmp";
}

int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int createExclusive(const std::string& path, int permissions) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    static_cast<mode_t>(permissions));
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::string followLinks(const std::string& path) {
    std::string current = path;
    std::vector<char> target(4096);
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return current;
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.empty())
            return current;
        current = next.front() == '/' ? next : folderOf(current) + "/" + next;
    }
    return current;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat x, y;
    return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

FileReplacement::~FileReplacement() {
    discard();
}

int FileReplacement::open(const std::string& target, Target kind) {
    discard();
    kind_ = kind;
    direct_ = false;
    error_ = 0;
    buffer_.clear();
    if (target.empty())
        return error_ = ENOENT;
    if (target.back() == '/')
        return error_ = EISDIR;
    target_ = kind == Target::Replace ? followLinks(target) : target;
    struct stat info;
    const bool exists = ::stat(target.c_str(), &info) == 0;
    // Links that go round in a loop lead to no file: the link is not replaced by one.
    if (kind == Target::Replace && !exists && errno == ELOOP)
        return error_ = ELOOP;
    if (kind == Target::Replace && exists) {
        if (S_ISDIR(info.st_mode))
            return error_ = EISDIR;
        if (!S_ISREG(info.st_mode) && !writtenInto(info.st_mode))
            return error_ = ENOTSUP;
        // The system's own links (/dev/stdout) need not name a path: a pipe or device is opened
        // by the name given.
        direct_ = writtenInto(info.st_mode);
        if (direct_)
            target_ = target;
        if (const int error = writableInPlace(target_))
            return error_ = error;
    }
    const std::string folder = direct_ ? temporaryFolder() : folderOf(target_);
    const std::string stem = folder + "/." + target_.substr(target_.find_last_of('/') + 1) + ".";
    for (int k = 0; k < kTemporaryNameTries; ++k) {
        temporary_ = stem + randomSuffix() + ".tmp";
        fd_ = createExclusive(temporary_);
        if (fd_ >= 0)
            return 0;
        if (errno != EEXIST) {
            error_ = errno;
            temporary_.clear();
            return error_;
        }
    }
    temporary_.clear();
    return error_ = EEXIST;
}

int FileReplacement::write(std::string_view bytes) {
    if (error_ != 0 || fd_ < 0)
        return error_ != 0 ? error_ : EBADF;
    buffer_.append(bytes);
    if (buffer_.size() >= kWriteBuffer)
        return flushBuffer();
    return 0;
}

int FileReplacement::flushBuffer() {
    if (error_ == 0)
        error_ = writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return error_;
}

int FileReplacement::commit() {
    if (fd_ < 0)
        return error_ != 0 ? error_ : EBADF;
    flushBuffer();
    // A writer that opened the temporary file by name must have written the file made here.
    struct stat mine, named;
    if (error_ == 0 && (::fstat(fd_, &mine) != 0 || ::lstat(temporary_.c_str(), &named) != 0 ||
                        mine.st_dev != named.st_dev || mine.st_ino != named.st_ino))
        error_ = EEXIST;
    if (direct_) {
        if (error_ == 0)
            error_ = writeInto();
        ::close(fd_);
        fd_ = -1;
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return error_;
    }
    if (error_ == 0) {
        struct stat old;
        if (kind_ == Target::Replace && ::stat(target_.c_str(), &old) == 0) {
            // Owner first: changing it may clear the set-id bits that fchmod then restores.
            if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
                // Only the owner's own files can be given away; the new file stays the user's.
            }
            if (::fchmod(fd_, old.st_mode & 07777) != 0)
                error_ = errno;
        } else if (::fchmod(fd_, newFilePermissions()) != 0) {
            error_ = errno;
        }
    }
    if (error_ == 0 && ::fsync(fd_) != 0)
        error_ = errno;
    if (::close(fd_) != 0 && error_ == 0)
        error_ = errno;
    fd_ = -1;
    if (error_ == 0) {
        // A new file takes its name only while the name is free: link() never replaces.
        const bool placed = kind_ == Target::Replace
                                ? ::rename(temporary_.c_str(), target_.c_str()) == 0
                                : ::link(temporary_.c_str(), target_.c_str()) == 0;
        if (!placed)
            error_ = errno;
    }
    // Renamed, the temporary name is gone; linked, the file has two names until this.
    if (error_ != 0 || kind_ == Target::New)
        ::unlink(temporary_.c_str());
    temporary_.clear();
    if (error_ != 0)
        return error_;
    // The new name itself reaches the disk with the folder.
    const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}

// Opens the pipe or device (never creating a file in its place) and copies the temporary file into
// it, with SIGPIPE held back so that a reader that left is a failure like any other.
int FileReplacement::writeInto() {
    sigset_t pipeSignal, previous;
    ::sigemptyset(&pipeSignal);
    ::sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    sigset_t pending;
    ::sigpending(&pending);
    const bool pipeSignalWaiting = ::sigismember(&pending, SIGPIPE) == 1;

    int error = 0;
    int out;
    do {
        out = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    } while (out < 0 && errno == EINTR);
    struct stat info;
    if (out < 0)
        error = errno;
    else if (::fstat(out, &info) != 0)
        error = errno;
    else if (!writtenInto(info.st_mode))
        error = EEXIST;  // something else took the name since open()
    std::vector<char> block(kWriteBuffer);
    for (off_t offset = 0; error == 0;) {
        const ssize_t n = ::pread(fd_, block.data(), block.size(), offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0)
            break;
        error = writeAll(out, block.data(), static_cast<std::size_t>(n));
        offset += n;
    }
    if (out >= 0 && ::close(out) != 0 && error == 0 && errno != EINTR)
        error = errno;

    if (error == EPIPE && !pipeSignalWaiting) {
        const struct timespec none = {0, 0};
        while (::sigtimedwait(&pipeSignal, nullptr, &none) < 0 && errno == EINTR) {
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return error;
}

void FileReplacement::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

}  // namespace hcurve::platform

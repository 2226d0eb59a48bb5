// Windows realisation of the file replacement. The temporary file is made beside the target,
// flushed to the disk (FlushFileBuffers) and put in the target's place in one step: ReplaceFileW,
// which keeps the replaced file's attributes and access rights, or MoveFileExW where no file
// stands there yet. A target the user could not write in place (read-only, no right to write, or
// held open by another program without sharing) is refused and kept; a pipe or character device
// is written into directly, through the handle opened for the check, and never replaced; anything
// else that is no regular file is refused.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <chrono>
#include <random>

#include "platform/file_replacement.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

// A buffer of this size goes to the system in one write.
constexpr std::size_t kWriteBuffer = 64 * 1024;
// Random names tried for a temporary file before giving up: each is taken only by a race or by
// something planted there.
constexpr int kTemporaryNameTries = 100;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// Everything up to the file's own name: its folder with the separator, a drive ("C:"), or nothing.
std::size_t nameStart(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator != std::string::npos)
        return separator + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

std::string randomSuffix() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::mt19937_64(device() ^ static_cast<std::uint64_t>(now) ^
                               (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32));
    }();
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string suffix;
    for (int k = 0; k < 8; ++k)
        suffix += kLetters[generator() % (sizeof kLetters - 1)];
    return suffix;
}

int lastError() {
    return errorFromWindows(::GetLastError());
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// A descriptor on a handle; the handle is closed when that fails.
int descriptorOf(HANDLE handle) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

int writeAll(int fd, const char* data, std::size_t size) {
    const HANDLE handle = handleOf(fd);
    while (size > 0) {
        const DWORD chunk =
            size > kWriteBuffer ? static_cast<DWORD>(kWriteBuffer) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(handle, data, chunk, &written, nullptr))
            return lastError();
        data += written;
        size -= written;
    }
    return 0;
}

// Whether two handles are one file: same volume, same file index.
bool sameHandleFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x, y;
    return ::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

// The full path of a name: ReplaceFileW and MoveFileExW are handed full paths, since Wine's
// ReplaceFileW fails on a name relative to the current folder ("Directory name invalid").
std::wstring fullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

}  // namespace

int createExclusive(const std::string& path, int /*permissions: the folder's rights apply*/) {
    // CREATE_NEW fails on any name already taken, a link's included, and never follows one.
    const HANDLE handle =
        ::CreateFileW(wideText(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = lastError();
        return -1;
    }
    return descriptorOf(handle);
}

std::string followLinks(const std::string& path) {
    const std::wstring wide = wideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    const HANDLE handle = ::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return path;
    std::wstring final(32768, L'\0');
    const DWORD n =
        ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(handle);
    if (n == 0 || n >= final.size())
        return path;
    final.resize(n);
    // "\\?\C:\..." reads as "C:\..."; "\\?\UNC\server\..." as "\\server\...".
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0)
        final = L"\\\\" + final.substr(8);
    else if (final.rfind(L"\\\\?\\", 0) == 0)
        final = final.substr(4);
    return utf8Text(final);
}

bool sameFile(const std::string& a, const std::string& b) {
    // A pipe or device is named in the device namespace (\\.\pipe\name); opening it to read its
    // identity would take a pipe's one instance, and neither is a file that could be replaced.
    const auto device = [](const std::string& path) {
        return path.size() >= 4 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] == '.' &&
               isSeparator(path[3]);
    };
    if (device(a) || device(b))
        return false;
    // Opened for no access at all, links followed, folders too: only the identity is read.
    const auto opened = [](const std::string& path) {
        return ::CreateFileW(wideText(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    };
    const HANDLE x = opened(a);
    if (x == INVALID_HANDLE_VALUE)
        return false;
    const HANDLE y = opened(b);
    const bool same = y != INVALID_HANDLE_VALUE && sameHandleFile(x, y);
    if (y != INVALID_HANDLE_VALUE)
        ::CloseHandle(y);
    ::CloseHandle(x);
    return same;
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
    if (target.find('\0') != std::string::npos || !isUtf8(target))
        return error_ = -ERROR_INVALID_NAME;
    if (isSeparator(target.back()))
        return error_ = EISDIR;
    target_ = kind == Target::Replace ? followLinks(target) : target;
    const std::wstring wideTarget = wideText(target_);
    const DWORD attributes = ::GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return error_ = EISDIR;
    if (kind == Target::Replace) {
        // What stands there is replaced only where it could have been written in place.
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return error_ = EACCES;
        const HANDLE existing =
            ::CreateFileW(wideTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (existing == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            if (code != ERROR_FILE_NOT_FOUND)
                return error_ = errorFromWindows(code);
        } else if (const DWORD type = ::GetFileType(existing); type != FILE_TYPE_DISK) {
            if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE) {
                ::CloseHandle(existing);
                return error_ = ENOTSUP;
            }
            // A pipe or a character device (NUL, a console) takes the bytes itself, through the
            // handle opened here: a pipe's one instance is not given up and asked for again.
            direct_ = true;
            target_ = target;
            fd_ = descriptorOf(existing);
            return fd_ < 0 ? error_ = errno : 0;
        } else {
            ::CloseHandle(existing);
            // A program that holds the file open without letting others delete it would make
            // ReplaceFileW fail halfway: refused now, before anything is made.
            const HANDLE deletable = ::CreateFileW(wideTarget.c_str(), DELETE, kShareAll, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (deletable == INVALID_HANDLE_VALUE)
                return error_ = errorFromWindows(::GetLastError());
            ::CloseHandle(deletable);
        }
    }
    const std::string stem =
        target_.substr(0, nameStart(target_)) + "." + target_.substr(nameStart(target_)) + ".";
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
    const HANDLE handle = handleOf(fd_);
    if (direct_) {
        // Written into a pipe or device: nothing to put in place.
        ::_close(fd_);
        fd_ = -1;
        return error_;
    }
    const std::wstring wideTemporary = fullPath(wideText(temporary_));
    // A writer that opened the temporary file by name must have written the file made here.
    if (error_ == 0) {
        const HANDLE named =
            ::CreateFileW(wideTemporary.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (named == INVALID_HANDLE_VALUE || !sameHandleFile(handle, named))
            error_ = EEXIST;
        if (named != INVALID_HANDLE_VALUE)
            ::CloseHandle(named);
    }
    if (error_ == 0 && !::FlushFileBuffers(handle))
        error_ = lastError();
    ::_close(fd_);
    fd_ = -1;
    if (error_ == 0) {
        const std::wstring wideTarget = fullPath(wideText(target_));
        bool placed;
        if (kind_ == Target::New) {
            // Without MOVEFILE_REPLACE_EXISTING the move takes the name only while it is free.
            placed =
                ::MoveFileExW(wideTemporary.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH);
        } else {
            placed = ::ReplaceFileW(wideTarget.c_str(), wideTemporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
            if (!placed && ::GetLastError() == ERROR_FILE_NOT_FOUND &&
                ::GetFileAttributesW(wideTarget.c_str()) == INVALID_FILE_ATTRIBUTES)
                placed = ::MoveFileExW(wideTemporary.c_str(), wideTarget.c_str(),
                                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        }
        if (!placed)
            error_ = lastError();
    }
    if (error_ != 0)
        ::DeleteFileW(wideTemporary.c_str());
    temporary_.clear();
    return error_;
}

void FileReplacement::discard() {
    if (fd_ >= 0) {
        ::_close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::DeleteFileW(wideText(temporary_).c_str());
        temporary_.clear();
    }
    buffer_.clear();
}

}  // namespace hcurve::platform

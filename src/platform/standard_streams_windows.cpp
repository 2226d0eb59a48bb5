// Windows realisation of the standard streams. Bytes go to files and pipes exactly as they are
// (no line-end translation); a console window is read and written in UTF-16 (ReadConsoleW,
// WriteConsoleW), so that Chinese reads right whatever its code page, and the program sees UTF-8.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/standard_streams.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

constexpr std::size_t kBufferBytes = 64 * 1024;
// UTF-16 units read from a console at once: each becomes at most three bytes of UTF-8.
constexpr DWORD kConsoleUnits = kBufferBytes / 4;
constexpr wchar_t kConsoleEndOfInput = 0x1A;  // Ctrl+Z at the start of a line

HANDLE handleOf(int fd) {
    const intptr_t h = ::_get_osfhandle(fd);
    return h == -1 || h == -2 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(h);
}

bool isConsole(HANDLE handle) {
    DWORD mode;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// A folder given as a standard stream (a shell's "< folder") fails its reads with
// ERROR_INVALID_FUNCTION, which says nothing to a user.
bool isFolder(HANDLE handle) {
    FILE_BASIC_INFO information;
    return ::GetFileInformationByHandleEx(handle, FileBasicInfo, &information,
                                          sizeof information) &&
           (information.FileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Bytes at the end of text that begin a UTF-8 sequence not yet complete.
std::size_t incompleteTail(const char* text, std::size_t size) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const unsigned char c = static_cast<unsigned char>(text[size - back]);
        if ((c & 0xC0) == 0x80)
            continue;  // a continuation byte: look further back
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

}  // namespace

InputDescriptorBuffer::InputDescriptorBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

InputDescriptorBuffer::int_type InputDescriptorBuffer::underflow() {
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    const HANDLE handle = handleOf(fd_);
    if (handle == INVALID_HANDLE_VALUE)
        throw std::system_error(EBADF, std::generic_category());
    std::size_t n = 0;
    if (isConsole(handle)) {
        std::wstring units(kConsoleUnits, L'\0');
        DWORD read = 0;
        if (!::ReadConsoleW(handle, units.data(), kConsoleUnits - 1, &read, nullptr))
            throw std::system_error(errorFromWindows(::GetLastError()), std::generic_category());
        units.resize(read);
        // A pair of surrogates is read whole: its second half is not left for the next read.
        if (!units.empty() && units.back() >= 0xD800 && units.back() <= 0xDBFF) {
            wchar_t low = 0;
            DWORD one = 0;
            if (::ReadConsoleW(handle, &low, 1, &one, nullptr) && one == 1)
                units += low;
        }
        if (units.empty() || units.front() == kConsoleEndOfInput)
            return traits_type::eof();
        const std::string text = utf8Text(units);
        n = std::min(text.size(), buffer_.size());
        std::memcpy(buffer_.data(), text.data(), n);
    } else {
        DWORD read = 0;
        if (!::ReadFile(handle, buffer_.data(), static_cast<DWORD>(buffer_.size()), &read,
                        nullptr)) {
            const DWORD code = ::GetLastError();
            // A pipe whose writer has gone is the end of the input, not a failure.
            if (code != ERROR_BROKEN_PIPE && code != ERROR_HANDLE_EOF)
                throw std::system_error(isFolder(handle) ? EISDIR : errorFromWindows(code),
                                        std::generic_category());
        }
        n = read;
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return n == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

OutputDescriptorBuffer::OutputDescriptorBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

OutputDescriptorBuffer::~OutputDescriptorBuffer() {
    drain();
}

bool OutputDescriptorBuffer::drain() {
    const char* data = pbase();
    std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (error_ != 0 || size == 0)
        return error_ == 0;
    const HANDLE handle = handleOf(fd_);
    if (handle == INVALID_HANDLE_VALUE) {
        error_ = EBADF;
        return false;
    }
    if (isConsole(handle)) {
        // A character cut by the end of the buffer waits for the rest of its bytes.
        const std::size_t tail = incompleteTail(data, size);
        char kept[4];
        std::memcpy(kept, data + size - tail, tail);
        const std::wstring text = wideText(std::string_view(data, size - tail));
        std::memcpy(buffer_.data(), kept, tail);
        pbump(static_cast<int>(tail));
        for (std::size_t done = 0; done < text.size();) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 8192));
            if (!::WriteConsoleW(handle, text.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                error_ = errorFromWindows(::GetLastError());
                return false;
            }
            done += written;
        }
        return true;
    }
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(handle, data, static_cast<DWORD>(size), &written, nullptr)) {
            error_ = errorFromWindows(::GetLastError());
            if (error_ == 0)
                error_ = EIO;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

OutputDescriptorBuffer::int_type OutputDescriptorBuffer::overflow(int_type c) {
    if (!drain())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize OutputDescriptorBuffer::xsputn(const char* s, std::streamsize n) {
    std::streamsize done = 0;
    while (done < n) {
        if (error_ != 0)
            return done;
        const std::streamsize room = epptr() - pptr();
        if (room == 0) {
            if (!drain())
                return done;
            continue;
        }
        const std::streamsize chunk = std::min(room, n - done);
        std::memcpy(pptr(), s + done, static_cast<std::size_t>(chunk));
        pbump(static_cast<int>(chunk));
        done += chunk;
    }
    return done;
}

int OutputDescriptorBuffer::sync() {
    return drain() ? 0 : -1;
}

int guardStandardDescriptors() {
    int closed = 0;
    for (int fd = 0; fd <= 2; ++fd) {
        if (handleOf(fd) != INVALID_HANDLE_VALUE)
            continue;
        closed |= 1 << fd;
        const int null = ::_open("NUL", (fd == 0 ? _O_RDONLY : _O_WRONLY) | _O_BINARY);
        if (null >= 0 && null != fd) {
            ::_dup2(null, fd);
            ::_close(null);
        }
    }
    return closed;
}

}  // namespace hcurve::platform

// Windows realisation of the bounded file reading: the path as UTF-16, a folder told by its
// attributes, a pipe read until its writer closes it.
#include <windows.h>

#include <cerrno>

#include "platform/file_reading.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

FileBytes readFileBounded(const std::string& path, std::size_t maxBytes) {
    FileBytes file;
    if (path.empty()) {
        file.openError = ENOENT;
        return file;
    }
    if (path.find('\0') != std::string::npos || !isUtf8(path)) {
        file.openError = -ERROR_INVALID_NAME;
        return file;
    }
    const std::wstring wide = wideText(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.openError = EISDIR;
        return file;
    }
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        file.openError = errorFromWindows(::GetLastError());
        return file;
    }
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    LARGE_INTEGER size{};
    if (disk && ::GetFileSizeEx(handle, &size)) {
        if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
            ::CloseHandle(handle);
            file.tooLarge = true;
            return file;
        }
        file.bytes.reserve(static_cast<std::size_t>(size.QuadPart) + 1);
    }
    for (;;) {
        // One byte beyond the limit tells a file of exactly maxBytes from a larger one.
        const std::size_t room = maxBytes + 1 - file.bytes.size();
        const std::size_t chunk = room < kChunkBytes ? room : kChunkBytes;
        const std::size_t had = file.bytes.size();
        file.bytes.resize(had + chunk);
        DWORD n = 0;
        if (!::ReadFile(handle, file.bytes.data() + had, static_cast<DWORD>(chunk), &n, nullptr)) {
            file.bytes.resize(had);
            const DWORD code = ::GetLastError();
            // A pipe whose writer has closed it, or the end of a file: the end of the text.
            if (code != ERROR_BROKEN_PIPE && code != ERROR_HANDLE_EOF)
                file.readError = errorFromWindows(code);
            break;
        }
        file.bytes.resize(had + n);
        if (n == 0)
            break;
        if (file.bytes.size() > maxBytes) {
            file.tooLarge = true;
            std::string().swap(file.bytes);
            break;
        }
    }
    ::CloseHandle(handle);
    return file;
}

}  // namespace hcurve::platform

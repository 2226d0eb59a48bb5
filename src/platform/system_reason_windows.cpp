// Windows realisation of the system's reasons: its error codes as errno values where one says the
// same, and its own text for the rest.
#include <windows.h>

#include <cerrno>
#include <system_error>

#include "platform/system_reason.h"
#include "platform/win32_support.h"

namespace hcurve::platform {

int errorFromWindows(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_CANNOT_MAKE:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
        case ERROR_PIPE_NOT_CONNECTED:
            return EPIPE;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return EBUSY;
        case ERROR_CANT_RESOLVE_FILENAME:  // symbolic links in a loop
            return ELOOP;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        default:
            return -static_cast<int>(code);
    }
}

std::string otherSystemReason(int error) {
    if (error >= 0)
        return "系统错误（" + std::generic_category().message(error) + "）";
    const DWORD code = static_cast<DWORD>(-error);
    if (code == ERROR_INVALID_NAME)
        return "文件名不合法（不能含有 \\ / : * ? \" < > |）";
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide = n > 0 ? std::wstring(text, n) : std::wstring();
    if (text != nullptr)
        ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                             wide.back() == L'.'))
        wide.pop_back();
    const std::string words = wide.empty() ? "错误代码 " + std::to_string(code) : utf8Text(wide);
    return "系统错误（" + words + "）";
}

}  // namespace hcurve::platform

// Windows realisation of the text conversions: the system's own code pages.
#include <windows.h>

#include <climits>

#include "platform/text_encoding.h"
#include "platform/win32_support.h"

namespace hcurve::platform {
namespace {

// GB18030, the superset of GBK that the POSIX build reads too; plain GBK where a system lacks it.
constexpr UINT kGb18030 = 54936;
constexpr UINT kGbk = 936;

}  // namespace

std::wstring wideText(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(utf8.size());
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

bool isUtf8(std::string_view bytes) {
    return bytes.empty() || (bytes.size() <= INT_MAX &&
                             ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                   static_cast<int>(bytes.size()), nullptr, 0) > 0);
}

std::string utf8Text(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX / 4)
        return {};
    const int size = static_cast<int>(wide.size());
    const int n =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::optional<std::string> gbkToUtf8(std::string_view bytes) {
    if (bytes.empty())
        return std::string();
    if (bytes.size() > INT_MAX / 2)
        return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    for (const UINT page : {kGb18030, kGbk}) {
        const int n =
            ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
        if (n > 0) {
            std::wstring wide(static_cast<std::size_t>(n), L'\0');
            ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), n);
            return utf8Text(wide);
        }
        if (::GetLastError() == ERROR_NO_UNICODE_TRANSLATION)
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace hcurve::platform

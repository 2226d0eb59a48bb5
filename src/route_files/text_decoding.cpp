#include "route_files/text_decoding.h"

#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdio>

namespace hcurve {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Continuation bytes a lead byte asks for, and the smallest code point it may encode.
struct Lead {
    int continuation;
    unsigned minimum;
};

std::optional<Lead> leadOf(unsigned char c) {
    if (c < 0x80)
        return Lead{0, 0};
    if ((c & 0xE0) == 0xC0)
        return Lead{1, 0x80};
    if ((c & 0xF0) == 0xE0)
        return Lead{2, 0x800};
    if ((c & 0xF8) == 0xF0)
        return Lead{3, 0x10000};
    return std::nullopt;
}

}  // namespace

std::size_t firstInvalidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::optional<Lead> lead = leadOf(c);
        if (!lead)
            return i;
        unsigned code = lead->continuation == 0 ? c : (c & (0x3Fu >> lead->continuation));
        for (int k = 1; k <= lead->continuation; ++k) {
            if (i + static_cast<std::size_t>(k) >= bytes.size())
                return i;
            const unsigned char b =
                static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (b & 0x3Fu);
        }
        if (code < lead->minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += static_cast<std::size_t>(lead->continuation) + 1;
    }
    return std::string_view::npos;
}

bool isUtf8(std::string_view bytes) {
    return firstInvalidUtf8(bytes) == std::string_view::npos;
}

Result<std::string> decodeRouteText(std::string_view bytes) {
    const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (marked)
        bytes.remove_prefix(kByteOrderMark.size());
    const std::size_t invalid = firstInvalidUtf8(bytes);
    if (invalid == std::string_view::npos)
        return std::string(bytes);
    const Failure neither{"既不是 UTF-8 也不是 GBK 编码的文本。"};
    std::optional<std::string> gbk = marked ? std::nullopt : gbkToUtf8(bytes);
    if (gbk && gbk->find("点号") != std::string::npos)
        return std::move(*gbk);
    // UTF-8 Chinese (three bytes from 0xE0 on) before the first invalid byte.
    const std::string_view before = bytes.substr(0, invalid);
    const bool chinese = std::any_of(before.begin(), before.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    if (!marked && !chinese) {
        if (gbk)
            return std::move(*gbk);
        return neither;
    }
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < invalid; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && bytes[i + 1] != '\n')) {
            ++line;
            lineStart = i + 1;
        }
    }
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(bytes[invalid]));
    return Failure{"第 " + std::to_string(invalid - lineStart + 1) + " 个字节（" + byte +
                       "）不是有效的 UTF-8 编码：文件的其余部分是 UTF-8，这里也许混进了 GBK "
                       "等别的编码的字。",
                   line};
}

std::optional<std::string> routeTextAsUtf8(std::string_view bytes) {
    Result<std::string> text = decodeRouteText(bytes);
    if (!text)
        return std::nullopt;
    return std::move(*text);
}

std::optional<std::string> gbkToUtf8(std::string_view bytes) {
    return platform::gbkToUtf8(bytes);
}

}  // namespace hcurve

// The text of a route file as UTF-8, whatever a spreadsheet saved: UTF-8 with or without a
// byte-order mark, or GBK (read as GB18030, of which it is a part).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "curve/result.h"
#include "route_files/route_file.h"

namespace hcurve {

/// True when the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

/// The place of the first byte that is not part of well-formed UTF-8; npos when there is none.
std::size_t firstInvalidUtf8(std::string_view bytes);

/// The bytes as UTF-8 (a byte-order mark dropped). They are GBK when they are not UTF-8 and read
/// as GBK hold the column title 点号; they are meant as UTF-8 when they start with a byte-order
/// mark or hold valid UTF-8 Chinese before the first invalid byte: that byte is then the failure,
/// with its line ("第 5 个字节（0xCF）不是有效的 UTF-8 编码：…"). Bytes that are neither UTF-8 nor
/// GBK are the failure "既不是 UTF-8 也不是 GBK 编码的文本。", which has no line.
Result<std::string> decodeRouteText(std::string_view bytes);

/// The text of decodeRouteText, or nothing.
std::optional<std::string> routeTextAsUtf8(std::string_view bytes);

/// GBK bytes decoded to UTF-8; nothing when they are not GBK. The system's converter does it
/// (iconv on POSIX, the GB18030 code page on Windows), in every build alike.
std::optional<std::string> gbkToUtf8(std::string_view bytes);

}  // namespace hcurve

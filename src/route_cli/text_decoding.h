// The text of a route file as UTF-8, whatever a spreadsheet saved: UTF-8 with or without a
// byte-order mark, or GBK (read as GB18030, of which it is a part).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hcurve {

/// True when the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

/// The bytes as UTF-8 (a byte-order mark dropped), or nothing when they are neither UTF-8 nor
/// GBK.
std::optional<std::string> routeTextAsUtf8(std::string_view bytes);

/// GBK bytes decoded to UTF-8; nothing when they are not GBK. The system's converter does it
/// (iconv on POSIX, the GB18030 code page on Windows), in every build alike.
std::optional<std::string> gbkToUtf8(std::string_view bytes);

}  // namespace hcurve

// The text of a route file as UTF-8, whatever a spreadsheet saved: UTF-8 with or without a
// byte-order mark, or GBK (read as GB18030, of which it is a part).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "route_files/route_file.h"

namespace hcurve {

/// True when the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

/// The place of the first byte that is not part of well-formed UTF-8; npos when there is none.
std::size_t firstInvalidUtf8(std::string_view bytes);

/// The text of a route file as UTF-8, or why there is none.
struct RouteText {
    std::optional<std::string> utf8;
    /// Set when the file is UTF-8 but for one place (a GBK name in a UTF-8 file): its line, and
    /// the byte of that line.
    std::optional<RouteFault> fault;
};

/// The bytes as UTF-8 (a byte-order mark dropped). They are GBK when they are not UTF-8 and read
/// as GBK hold the column title 点号; they are meant as UTF-8 when they start with a byte-order
/// mark or hold valid UTF-8 Chinese before the first invalid byte: that byte is then the fault.
/// Neither text nor fault when the bytes are neither UTF-8 nor GBK.
RouteText decodeRouteText(std::string_view bytes);

/// The text of decodeRouteText, or nothing.
std::optional<std::string> routeTextAsUtf8(std::string_view bytes);

/// GBK bytes decoded to UTF-8; nothing when they are not GBK. The system's converter does it
/// (iconv on POSIX, the GB18030 code page on Windows), in every build alike.
std::optional<std::string> gbkToUtf8(std::string_view bytes);

}  // namespace hcurve

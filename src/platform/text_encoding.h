// Text in the encodings files come in, decoded by the system's own converter.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hcurve::platform {

/// GBK bytes (read as GB18030, of which GBK is a part) as UTF-8; nothing when they are not GBK.
std::optional<std::string> gbkToUtf8(std::string_view bytes);

}  // namespace hcurve::platform

// Typed text made safe to show: whatever the user typed is echoed into fields and messages, and a
// terminal or a window must show it as characters, never act on it.
#pragma once

#include <string>
#include <string_view>

namespace hcurve {

/// The text with every control character written as an escape ("\x1B" for ESC, "\x00" for NUL,
/// "\x7F" for DEL, "\u0085" for a C1 control, "\u202E" for a bidirectional control: U+061C,
/// U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) and every byte that is not part of valid
/// UTF-8 as U+FFFD. Text without either is returned unchanged.
std::string shownText(std::string_view typed);

}  // namespace hcurve

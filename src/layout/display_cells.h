// How wide a text stands in a grid of character cells: the console's printed columns and the
// browser page's printed lines count in them.
#pragma once

#include <string_view>

namespace hcurve {

/// The cells a UTF-8 text takes on a terminal: two for each East Asian wide or fullwidth
/// character, one for any other character (and for each byte that is not valid UTF-8).
/// "ab" -> 2, "黑体" -> 4, "(ZH)" -> 4, "：" -> 2.
int displayCells(std::string_view utf8);

}  // namespace hcurve

// Placing the items of one printed line at their character columns. The printers measure the
// texts (each in its own unit: device pixels, console cells); the rule of where an item goes is
// the same for all of them and lives here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "report/printer_port.h"

namespace hcurve {

/// One piece of text placed on a line, x measured from the left edge in the measuring unit.
struct PlacedText {
    double x = 0;
    std::string text;
};

/// The pieces of one output line, left to right. An empty vector is an empty line.
using PlacedLine = std::vector<PlacedText>;

/// Measures the width of a text in the printer's unit.
using TextWidth = std::function<double(const std::string& text)>;

/// Lays out one printed line starting at startX. An item at column n (n >= 1) goes to
/// x = (n - 1) * columnWidth; when the line has already passed that x, the line is broken and the
/// item goes to that x on the next line. An item at column 0 follows the previous one directly.
/// Every output line after the first starts at the left edge. The result holds at least one line:
/// an empty item list gives one empty line.
///
///   columnWidth 1, width = number of chars:
///   {(3,"ab"),(0,"c")}          -> line 0: "ab" at 2, "c" at 4
///   {(1,"abcdef"),(4,"x")}      -> line 0: "abcdef" at 0;  line 1: "x" at 3
std::vector<PlacedLine> layoutLine(const std::vector<PrintItem>& items, double startX,
                                   double columnWidth, const TextWidth& width);

}  // namespace hcurve

#include "report/print_layout.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

// Each character one unit wide (the tests use ASCII only).
double chars(const std::string& text) {
    return double(text.size());
}

// Lines as "x:text x:text", one string per output line.
std::vector<std::string> laidOut(const std::vector<PrintItem>& items, double startX,
                                 double columnWidth) {
    std::vector<std::string> out;
    for (const PlacedLine& line : layoutLine(items, startX, columnWidth, chars)) {
        std::string text;
        for (const PlacedText& piece : line) {
            if (!text.empty())
                text += " ";
            text += std::to_string(int(piece.x)) + ":" + piece.text;
        }
        out.push_back(text);
    }
    return out;
}

using Lines = std::vector<std::string>;

TEST(PrintLayout, ItemsPlacedByColumn) {
    const struct {
        std::vector<PrintItem> items;
        double startX, columnWidth;
        Lines lines;
    } cases[] = {
        {{}, 0, 1, {""}},
        // Column n starts n - 1 widths in; column 0 follows the previous item directly.
        {{{1, "a"}, {5, "b"}}, 0, 1, {"0:a 4:b"}},
        {{{1, "a"}, {5, "b"}}, 0, 2.5, {"0:a 10:b"}},
        {{{3, "x="}, {0, "12.5"}, {0, "!"}}, 0, 1, {"2:x= 4:12.5 8:!"}},
        // An item at the column where the line ends stays on the line; a column already passed
        // is that column of the next line, each time.
        {{{1, "abcd"}, {5, "e"}}, 0, 1, {"0:abcd 4:e"}},
        {{{1, "abcde"}, {5, "f"}, {0, "g"}, {9, "h"}}, 0, 1, {"0:abcde", "4:f 5:g 8:h"}},
        {{{2, "abcdef"}, {3, "gh"}, {1, "i"}}, 0, 1, {"1:abcdef", "2:gh", "0:i"}},
        // The start position counts on the first line only.
        {{{0, "ab"}, {2, "c"}}, 3, 1, {"3:ab", "1:c"}},
        {{{6, "ab"}}, 3, 1, {"5:ab"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(laidOut(c.items, c.startX, c.columnWidth), c.lines) << c.lines.back();
}

}  // namespace
}  // namespace hcurve

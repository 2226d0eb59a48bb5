#include "report/print_layout.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

// Each character one unit wide (the tests use ASCII only).
double chars(const std::string& text) {
    return double(text.size());
}

// Lines as "x:text x:text", one string per output line.
std::vector<std::string> laidOut(const std::vector<PrintItem>& items, double startX = 0,
                                 double columnWidth = 1) {
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

TEST(PrintLayout, EmptyItemListIsOneEmptyLine) {
    EXPECT_EQ(laidOut({}), Lines{""});
}

TEST(PrintLayout, ColumnNStartsNMinusOneWidthsIn) {
    EXPECT_EQ(laidOut({{1, "a"}, {5, "b"}}), Lines{"0:a 4:b"});
    EXPECT_EQ(laidOut({{1, "a"}, {5, "b"}}, 0, 2.5), Lines{"0:a 10:b"});
}

TEST(PrintLayout, ColumnZeroFollowsThePreviousItemDirectly) {
    EXPECT_EQ(laidOut({{3, "x="}, {0, "12.5"}, {0, "!"}}), Lines{"2:x= 4:12.5 8:!"});
}

TEST(PrintLayout, ItemAtTheColumnWhereTheLineEndsStaysOnTheLine) {
    EXPECT_EQ(laidOut({{1, "abcd"}, {5, "e"}}), Lines{"0:abcd 4:e"});
}

TEST(PrintLayout, PassedColumnGoesToThatColumnOfTheNextLine) {
    EXPECT_EQ(laidOut({{1, "abcde"}, {5, "f"}, {0, "g"}, {9, "h"}}),
              (Lines{"0:abcde", "4:f 5:g 8:h"}));
}

TEST(PrintLayout, EachPassedColumnBreaksAgain) {
    EXPECT_EQ(laidOut({{2, "abcdef"}, {3, "gh"}, {1, "i"}}), (Lines{"1:abcdef", "2:gh", "0:i"}));
}

TEST(PrintLayout, StartPositionCountsOnTheFirstLineOnly) {
    EXPECT_EQ(laidOut({{0, "ab"}, {2, "c"}}, 3), (Lines{"3:ab", "1:c"}));
    EXPECT_EQ(laidOut({{6, "ab"}}, 3), Lines{"5:ab"});
}

}  // namespace
}  // namespace hcurve

// The cells a text takes in the console's and the page's printed columns.
#include "layout/display_cells.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

TEST(DisplayCells, WideCharactersTakeTwoCells) {
    EXPECT_EQ(displayCells(""), 0);
    EXPECT_EQ(displayCells("K1+234.500"), 10);
    EXPECT_EQ(displayCells("交点座标"), 4 * 2);
    EXPECT_EQ(displayCells("直缓点(ZH) K"), 3 * 2 + 6);
    EXPECT_EQ(displayCells("：，。"), 3 * 2);  // fullwidth and CJK punctuation
    EXPECT_EQ(displayCells("é·°"), 3);         // narrow although not ASCII
    EXPECT_EQ(displayCells("\xff"
                           "a"),
              2);                            // a stray byte counts as one cell
    EXPECT_EQ(displayCells("\xe4\xba"), 2);  // a cut-off character: each byte one cell
}

}  // namespace
}  // namespace hcurve

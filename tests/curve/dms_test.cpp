#include "curve/dms.h"

#include <gtest/gtest.h>

namespace hcurve {
namespace {

TEST(Dms, WorkedConversions) {
    EXPECT_DOUBLE_EQ(dmsToDegrees(45.3015), 45.0 + 30.0 / 60 + 15.0 / 3600);
    EXPECT_NEAR(dmsToDegrees(45.3015), 45.50416666666667, 1e-13);
    EXPECT_NEAR(dmsToDegrees(30.59), 30.983333333333334, 1e-13);
    EXPECT_NEAR(dmsToDegrees(12.0101), 12.016944444444444, 1e-13);
    EXPECT_NEAR(dmsToDegrees(-45.3015), -45.50416666666667, 1e-13);
    EXPECT_NEAR(dmsToDegrees(-25.3), -25.5, 1e-13);
    EXPECT_NEAR(dmsToDegrees(30.1530), 30.258333333333333, 1e-13);
}

TEST(Dms, TheGuardKeepsMinutesThatMultiplyBelowTheirValue) {
    // 0.29 * 100 and 1.15 * 100 fall just below 29 and 115 in double precision.
    EXPECT_NEAR(dmsToDegrees(0.29), 29.0 / 60, 1e-13);
    EXPECT_NEAR(dmsToDegrees(1.15), 1.25, 1e-13);
    EXPECT_EQ(dmsToDegrees(0), 0);
    EXPECT_NEAR(dmsToDegrees(359.5959), 359.0 + 59.0 / 60 + 59.0 / 3600, 1e-12);
}

TEST(Dms, ValidityOfMinutesAndSeconds) {
    for (double ok : {0.0, 45.3015, 1.15, 0.29, 359.5959, 12.0101, -25.3, 30.59, 0.5959999}) {
        EXPECT_TRUE(isValidDms(ok)) << ok;
    }
    for (double bad : {30.6, 30.0060, 1.5999, 1.2995, 29.99, 0.9, 10.7530, -30.6}) {
        EXPECT_FALSE(isValidDms(bad)) << bad;
    }
}

}  // namespace
}  // namespace hcurve

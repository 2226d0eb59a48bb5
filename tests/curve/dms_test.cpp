#include "curve/dms.h"

#include <gtest/gtest.h>

#include <utility>

namespace hcurve {
namespace {

TEST(Dms, Conversions) {
    const std::pair<double, double> cases[] = {
        {45.3015, 45.0 + 30.0 / 60 + 15.0 / 3600},
        {30.59, 30.983333333333334},
        {12.0101, 12.016944444444444},
        {-45.3015, -45.50416666666667},
        {-25.3, -25.5},
        {30.1530, 30.258333333333333},
        // 0.29 * 100 and 1.15 * 100 fall just below 29 and 115 in double precision: the guard
        // keeps the minutes.
        {0.29, 29.0 / 60},
        {1.15, 1.25},
        {0, 0},
        {359.5959, 359.0 + 59.0 / 60 + 59.0 / 3600},
    };
    for (const auto& [dms, degrees] : cases)
        EXPECT_NEAR(dmsToDegrees(dms), degrees, 1e-12) << dms;
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

#include "curve/angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace hcurve {
namespace {

// pi to more digits than a double holds, for the expected values of the turns.
constexpr long double kLongPi = 3.141592653589793238462643383279502884L;

TEST(Angle, TheTwoDegreesAndTheirTurns) {
    // A true full turn in the program's degrees: 360 times pi over the ten-decimal pi.
    EXPECT_NEAR(kFullTurn_deg, static_cast<double>(360 * kLongPi / 3.1415926535L), 1e-12);
    EXPECT_NEAR(kFullTurn_deg - kFullCircle_deg, 1.03e-8, 0.01e-8);
    EXPECT_EQ(kTrueDegreesPerRadian, 57.295779513082320876798);  // the drawings' factor, to the bit
    EXPECT_NEAR(kRadiansPerTrueDegree * kTrueDegreesPerRadian, 1.0, 1e-15);
    EXPECT_NEAR(kQuarterTurn_deg * kDegreeFactor, static_cast<double>(kLongPi / 2), 1e-15);
}

// Each wrap's contract at its boundaries: what comes out for what goes in.
TEST(Angle, WrapsAtTheirBoundaries) {
    struct Case {
        const char* contract;
        double (*wrap)(double);
        double in, out;
    };
    const double hair = 1e-14;
    const Case cases[] = {
        // The formulas' correction: once each way, a hair below 0 rounds up to 360 and stays.
        {"once", normaliseAzimuthOnce, 440, 80},
        {"once", normaliseAzimuthOnce, 360, 0},
        {"once", normaliseAzimuthOnce, 359.5, 359.5},
        {"once", normaliseAzimuthOnce, 0, 0},
        {"once", normaliseAzimuthOnce, -20, 340},
        {"once", normaliseAzimuthOnce, -hair, 360},
        {"once", normaliseAzimuthOnce, 800, 440},
        {"once", normaliseAzimuthOnce, -400, -40},
        // The other order: the hair below 0 comes out 0.
        {"once from below", normaliseAzimuthOnceFromBelow, -hair, 0},
        {"once from below", normaliseAzimuthOnceFromBelow, -20, 340},
        {"once from below", normaliseAzimuthOnceFromBelow, 360, 0},
        {"once from below", normaliseAzimuthOnceFromBelow, 359.99999995, 359.99999995},
        // Fully into [0, 360).
        {"360", wrapAzimuth_deg, 360, 0},
        {"360", wrapAzimuth_deg, 720.5, 0.5},
        {"360", wrapAzimuth_deg, -0.5, 359.5},
        {"360", wrapAzimuth_deg, -360, 0},
        {"360", wrapAzimuth_deg, -hair, 0},
        {"360", wrapAzimuth_deg, 359.99999995, 359.99999995},
        {"360", wrapAzimuth_deg, 3600.25, 0.25},
        // Fully into [0, a true full turn): 360 of these degrees is not yet a turn.
        {"full turn", wrapFullTurn_deg, 360, 360},
        {"full turn", wrapFullTurn_deg, kFullTurn_deg, 0},
        {"full turn", wrapFullTurn_deg, -hair, 0},
        {"full turn", wrapFullTurn_deg, -90, kFullTurn_deg - 90},
        {"full turn", wrapFullTurn_deg, 2 * kFullTurn_deg + 45, 45},
        // A turn into (-half, half]: the formulas' 180 is less than half a turn.
        {"turn", wrapTurn_deg, 180, 180},
        {"turn", wrapTurn_deg, kHalfTurn_deg, kHalfTurn_deg},
        {"turn", wrapTurn_deg, -kHalfTurn_deg, kHalfTurn_deg},
        {"turn", wrapTurn_deg, 270, 270 - kFullTurn_deg},
        {"turn", wrapTurn_deg, -300, kFullTurn_deg - 300},
        // Radians.
        {"radians", wrapFullTurn_rad, kFullTurn_rad, 0},
        {"radians", wrapFullTurn_rad, -kQuarterTurn_rad, 3 * kQuarterTurn_rad},
        {"radians", wrapFullTurn_rad, 7.0, 7.0 - kFullTurn_rad},
        // A drawing's angle into [-180, 180).
        {"signed", wrapSigned_tdeg, 180, -180},
        {"signed", wrapSigned_tdeg, -180, -180},
        {"signed", wrapSigned_tdeg, 190, -170},
        {"signed", wrapSigned_tdeg, -540.5, 179.5},
    };
    for (const Case& c : cases) {
        const double out = c.wrap(c.in);
        EXPECT_NEAR(out, c.out, 1e-12) << c.contract << " of " << c.in;
        EXPECT_FALSE(std::signbit(out) && out == 0) << c.contract << " of " << c.in;
    }
}

TEST(Angle, DirectionsAndTheirDistances) {
    // Clockwise from north, x north and y east.
    const struct {
        double dx, dy, azimuth_rad;
    } directions[] = {
        {1, 0, 0},
        {0, 1, kQuarterTurn_rad},
        {-1, 0, kHalfTurn_rad},
        {0, -1, 3 * kQuarterTurn_rad},
        {1, -1, 7 * kQuarterTurn_rad / 2},
        {1, -1e-300, kFullTurn_rad},  // a hair left of north: the turn is added, and stays
    };
    for (const auto& d : directions)
        EXPECT_DOUBLE_EQ(azimuthOf_rad(d.dx, d.dy), d.azimuth_rad) << d.dx << ", " << d.dy;

    // The arc's central angle stays within a half turn of its middle.
    EXPECT_NEAR(withinHalfTurnOf_rad(6.0, 0.5), 6.0 - kFullTurn_rad, 1e-15);
    EXPECT_NEAR(withinHalfTurnOf_rad(-3.0, 0.5), -3.0 + kFullTurn_rad, 1e-15);
    EXPECT_NEAR(withinHalfTurnOf_rad(-2.0, 0.5), -2.0, 1e-15);

    EXPECT_NEAR(turnApart_rad(0.1, kFullTurn_rad - 0.1), 0.2, 1e-15);
    EXPECT_NEAR(turnApart_rad(-3.0, 3.0), kFullTurn_rad - 6.0, 1e-15);
    EXPECT_EQ(turnApart_rad(1.0, 1.0), 0);

    EXPECT_EQ(counterClockwiseSpan_tdeg(10, 350), 340);
    EXPECT_EQ(counterClockwiseSpan_tdeg(350, 10), 20);
    EXPECT_EQ(counterClockwiseSpan_tdeg(10, 10), 0);
    EXPECT_NEAR(counterClockwiseSpan_tdeg(10, 10 - 1e-13), 360, 1e-12);  // all but a hair
}

// The degrees of a ddd.mmss text worked out from its digits.
double degreesOfDigits(const std::string& text) {
    const bool negative = text[0] == '-';
    const std::string t = negative ? text.substr(1) : text;
    const std::size_t dot = t.find('.');
    const std::string fraction = t.substr(dot + 1);  // seven digits: mm ss sss
    const double d = std::stod(t.substr(0, dot));
    const double m = std::stod(fraction.substr(0, 2));
    const double s = std::stod(fraction.substr(2, 2) + "." + fraction.substr(4));
    return (negative ? -1 : 1) * (d + m / 60 + s / 3600);
}

TEST(Angle, DmsReadAndWritten) {
    // Typed, its decimals shown, and what the text reads with those decimals.
    const struct {
        double dms;
        int secondDecimals;
        const char* text;
    } cases[] = {
        {45.3015, 0, "45.3015"},
        {30.59, 0, "30.5900"},
        {12.0101, 0, "12.0101"},
        {-45.3015, 0, "-45.3015"},
        {-25.3, 0, "-25.3000"},
        {0.29, 0, "0.2900"},  // 0.29 * 100 falls just below 29: the guard keeps the minutes
        {1.15, 0, "1.1500"},
        {0, 0, "0.0000"},
        {359.5959, 0, "359.5959"},
        {89.5959999, 3, "89.5959999"},
        {89.5959999, 0, "90.0000"},    // 59.999" rounds up and carries into the degrees
        {-0.0000001, 2, "0.000000"},   // rounds to nothing, and so has no sign
        {-12.000006, 1, "-12.00001"},  // 0.06" to a tenth
    };
    for (const auto& c : cases) {
        const std::string typed = [&] {
            char text[32];
            std::snprintf(text, sizeof text, "%.7f", c.dms);
            return std::string(text);
        }();
        ASSERT_TRUE(isValidDms(c.dms)) << c.dms;
        const double degrees = dmsToDegrees(c.dms);
        EXPECT_NEAR(degrees, degreesOfDigits(typed), 1e-12) << c.dms;
        EXPECT_EQ(dmsText(degrees, c.secondDecimals), c.text) << c.dms;
    }
}

TEST(Angle, DmsOfAzimuths) {
    const std::pair<double, const char*> cases[] = {
        {45.504166, "45.301500"}, {-90, "270.000000"},        {360, "0.000000"},
        {359.9999, "359.595964"}, {359.99999995, "0.000000"},  // rounds to 360
        {-0.0, "0.000000"},       {720 + 0.5, "0.300000"},
    };
    for (const auto& [azimuth, text] : cases)
        EXPECT_EQ(azimuthDmsText(azimuth), text) << azimuth;
    // Without the wrap an angle of a whole circle stays one.
    EXPECT_EQ(dmsText(359.99999995), "360.0000");
}

TEST(Angle, ValidityOfMinutesAndSeconds) {
    for (double ok : {0.0, 45.3015, 1.15, 0.29, 359.5959, 12.0101, -25.3, 30.59, 0.5959999}) {
        EXPECT_TRUE(isValidDms(ok)) << ok;
    }
    for (double bad : {30.6, 30.0060, 1.5999, 1.2995, 29.99, 0.9, 10.7530, -30.6}) {
        EXPECT_FALSE(isValidDms(bad)) << bad;
    }
}

TEST(Angle, DottedDms) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12.30.15", 12 + 30.0 / 60 + 15.0 / 3600},
        {"-12.30.15.5", -(12 + 30.0 / 60 + 15.5 / 3600)},
        {"-0.30.00", -0.5},
        {"359.59.59.999", 359 + 59.0 / 60 + 59.999 / 3600},
        {"12.60.00", std::nullopt},
        {"12.30.60", std::nullopt},
        {"12.-5.00", std::nullopt},
        {"12.30", std::nullopt},
        {"a.b.c", std::nullopt},
        {"12..15", std::nullopt},
    };
    for (const auto& [text, degrees] : cases) {
        const std::optional<double> read = dottedDmsToDegrees(text);
        ASSERT_EQ(read.has_value(), degrees.has_value()) << text;
        if (degrees) {
            EXPECT_NEAR(*read, *degrees, 1e-12) << text;
        }
    }
}

}  // namespace
}  // namespace hcurve

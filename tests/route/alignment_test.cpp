// The alignment's elements against an independent quadrature of the tangent angle, its joints, its
// feet and its side points.
#include <cmath>
#include <functional>

#include <gtest/gtest.h>

#include "alignment/alignment.h"
#include "curve/angle.h"
#include "geometry/side_points.h"

namespace hcurve {
namespace {

// Azimuths in the degrees of the stake position: a full turn is 2 pi / kDegreeFactor of them.
double angleBetween_deg(double a, double b) {
    return std::fabs(std::remainder(a - b, kFullTurn_rad / kDegreeFactor));
}

// Romberg's method on [0, s] with 2^14 intervals and 15 extrapolations: for these integrands (a
// tangent turning by at most a few radians) far below 1e-11 m.
double romberg(const std::function<double(double)>& g, double s) {
    constexpr int kLevels = 15;
    double r[kLevels][kLevels];
    double h = s;
    r[0][0] = h / 2 * (g(0) + g(s));
    for (int i = 1; i < kLevels; ++i) {
        h /= 2;
        double sum = 0;
        const long n = 1L << (i - 1);
        for (long k = 1; k <= n; ++k)
            sum += g((2 * k - 1) * h);
        r[i][0] = r[i - 1][0] / 2 + h * sum;
        double factor = 1;
        for (int j = 1; j <= i; ++j) {
            factor *= 4;
            r[i][j] = r[i][j - 1] + (r[i][j - 1] - r[i - 1][j - 1]) / (factor - 1);
        }
    }
    return r[kLevels - 1][kLevels - 1];
}

struct Clothoid {
    const char* what;
    double length_m;
    double k0, k1;  // signed curvatures, positive to the right
};

// Radii written as curvatures; a minus turns left.
constexpr Clothoid kClothoids[] = {
    {"egg curve R 800 -> 400, right", 150, 1 / 800.0, 1 / 400.0},
    {"egg curve R 800 -> 400, left", 150, -1 / 800.0, -1 / 400.0},
    {"turn reversing within one element", 220, 1 / 300.0, -1 / 250.0},
    {"ramp ending on a spiral at R 60, left", 300, 0, -1 / 60.0},
    {"ramp ending on a spiral at R 60, right", 300, 0, 1 / 60.0},
    {"incomplete spiral R 300 -> 1000 over 1 km, right", 1000, 1 / 300.0, 1 / 1000.0},
    {"incomplete spiral R 1000 -> 300 over 1 km, left", 1000, -1 / 1000.0, -1 / 300.0},
    {"spiral leaving R 400 to a straight", 120, 1 / 400.0, 0},
};

TEST(Alignment, ClothoidsAgreeWithAQuadratureOfTheTangentAngle) {
    const AlignmentPoint start{3456789.123, 512345.678, 37.25};
    for (const Clothoid& c : kClothoids) {
        SCOPED_TRACE(c.what);
        const Element e = Element::fromStart(1000, c.length_m, start, c.k0, c.k1);
        ASSERT_EQ(e.kind(), ElementKind::Spiral);
        const Element fromEnd =
            Element::spiralToEnd(1000, c.length_m, e.at(1000 + c.length_m), c.k0, c.k1);
        const double rate = (c.k1 - c.k0) / c.length_m;
        const double theta0 = start.azimuth_deg * kDegreeFactor;
        auto theta = [&](double t) { return theta0 + c.k0 * t + rate * t * t / 2; };
        for (int i = 0; i <= 9; ++i) {
            const double s = c.length_m * i / 9;
            const double dx = romberg([&](double t) { return std::cos(theta(t)); }, s);
            const double dy = romberg([&](double t) { return std::sin(theta(t)); }, s);
            const AlignmentPoint p = e.at(1000 + s);
            EXPECT_NEAR(p.x_m - start.x_m, dx, 1e-9) << "at " << s;
            EXPECT_NEAR(p.y_m - start.y_m, dy, 1e-9) << "at " << s;
            EXPECT_LT(angleBetween_deg(p.azimuth_deg, theta(s) / kDegreeFactor), 1e-9);
            // The same clothoid fixed by its end, run backwards.
            const AlignmentPoint q = fromEnd.at(1000 + s);
            EXPECT_NEAR(q.x_m, p.x_m, 1e-9) << "at " << s;
            EXPECT_NEAR(q.y_m, p.y_m, 1e-9) << "at " << s;
            EXPECT_LT(angleBetween_deg(q.azimuth_deg, p.azimuth_deg), 1e-9);
        }
    }
}

// An element route: straight, spiral into R 800, arc, egg curve to R 400, arc, spiral reversing
// the turn to R 250 on the left, arc, spiral out, straight.
Alignment eggRoute() {
    struct Piece {
        double length_m, k0, k1;
    };
    const Piece pieces[] = {{200, 0, 0},
                            {120, 0, 1 / 800.0},
                            {150, 1 / 800.0, 1 / 800.0},
                            {90, 1 / 800.0, 1 / 400.0},
                            {100, 1 / 400.0, 1 / 400.0},
                            {160, 1 / 400.0, -1 / 250.0},
                            {80, -1 / 250.0, -1 / 250.0},
                            {100, -1 / 250.0, 0},
                            {300, 0, 0}};
    Alignment a;
    AlignmentPoint at{1000, 2000, 300.5};
    double s = 5000;
    for (const Piece& p : pieces) {
        a.elements.push_back(Element::fromStart(s, p.length_m, at, p.k0, p.k1));
        s += p.length_m;
        at = a.elements.back().at(s);
    }
    return a;
}

TEST(Alignment, JointsAreContinuous) {
    const Alignment a = eggRoute();
    for (std::size_t i = 1; i < a.elements.size(); ++i) {
        const double joint = a.elements[i].start_m();
        const AlignmentPoint before = a.elements[i - 1].at(joint);
        const AlignmentPoint after = a.at(joint);
        EXPECT_LT(std::hypot(before.x_m - after.x_m, before.y_m - after.y_m), 1e-6) << i;
        EXPECT_LT(angleBetween_deg(before.azimuth_deg, after.azimuth_deg), 1e-6) << i;
    }
}

// A spiral whose A is so small that its length A^2 / R comes out as no length at all (a mistyped
// design can reach it): one piece, which is its point, and a finite point where it is asked
// beyond its ends as every element has.
TEST(Alignment, ASpiralOfNoLengthIsItsOnePoint) {
    const AlignmentPoint at{3456789.123, 512345.678, 37.25};
    const Element spirals[] = {Element::fromStart(100, 0, at, 0, 1 / 300.0),
                               Element::spiralToEnd(100, 0, at, 1 / 300.0, 0)};
    for (const Element& e : spirals) {
        const AlignmentPoint p = e.at(100);
        EXPECT_NEAR(p.x_m, at.x_m, 1e-6);
        EXPECT_NEAR(p.y_m, at.y_m, 1e-6);
        for (const double s_m : {100.5, 99.5}) {
            const AlignmentPoint beyond = e.at(s_m);
            EXPECT_NEAR(std::hypot(beyond.x_m - at.x_m, beyond.y_m - at.y_m), 0.5, 1e-6) << s_m;
        }
    }
}

// The element that holds a chainage, searched over the chain or from any guess (stakes in route
// order guess the element of the stake before): at a joint the later element, before the start
// the first, beyond the end the last; an element of no length holds nothing but lies between.
TEST(Alignment, TheElementOfAChainageIsTheSameFromEveryGuess) {
    const Alignment egg = eggRoute();  // starts 5000, 5200, 5320, 5470, 5560, 5660, 5820, 5900,
                                       // 6000; ends at 6300
    Alignment withAPoint;              // straight 0..100, a spiral of no length, straight 100..200
    withAPoint.elements.push_back(Element::fromStart(0, 100, {0, 0, 0}, 0, 0));
    withAPoint.elements.push_back(Element::fromStart(100, 0, {100, 0, 0}, 0, 1 / 300.0));
    withAPoint.elements.push_back(Element::fromStart(100, 100, {100, 0, 0}, 0, 0));
    struct Case {
        const Alignment* chain;
        double continuous_m;
        std::size_t element;
    };
    const Case cases[] = {
        {&egg, 4000, 0},      {&egg, 5000, 0},      {&egg, 5199.999, 0},   {&egg, 5200, 1},
        {&egg, 5200.001, 1},  {&egg, 5400, 2},      {&egg, 5470, 3},       {&egg, 5899.9999, 6},
        {&egg, 5900, 7},      {&egg, 6000, 8},      {&egg, 6300, 8},       {&egg, 7000, 8},
        {&withAPoint, -5, 0}, {&withAPoint, 50, 0}, {&withAPoint, 100, 2}, {&withAPoint, 250, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.continuous_m);
        EXPECT_EQ(c.chain->elementAt(c.continuous_m), c.element);
        // Every guess, and guesses beyond the chain.
        for (std::size_t guess = 0; guess < c.chain->elements.size() + 3; ++guess)
            EXPECT_EQ(c.chain->elementAt(c.continuous_m, guess), c.element) << "guess " << guess;
    }
}

TEST(Alignment, FeetGiveBackTheStakeAndItsOffset) {
    const Alignment a = eggRoute();
    const double length = a.end_m() - a.start_m();
    for (int i = 0; i <= 40; ++i) {
        const double s = a.start_m() - 30 + (length + 60) * i / 40;
        for (double offset : {-12.5, -0.3, 0.0, 4.0, 15.0}) {
            const AlignmentPoint p = a.at(s);
            const double right = (p.azimuth_deg + 90) * kDegreeFactor;
            const double x = p.x_m + offset * std::cos(right), y = p.y_m + offset * std::sin(right);
            const std::vector<AlignmentFoot> feet = alignmentFeet(a, x, y);
            ASSERT_FALSE(feet.empty());
            EXPECT_NEAR(feet[0].continuous_m, s, 1e-6) << s << " " << offset;
            EXPECT_NEAR(feet[0].offset_m, offset, 1e-6) << s << " " << offset;
        }
    }
}

TEST(Alignment, NearlyEqualFeetAreToldAndTheCentreOfAnArcIsAmbiguous) {
    // Two straights meeting at a right angle: a point on the bisector is as near to both.
    Alignment corner;
    corner.elements.push_back(Element::fromStart(0, 100, {0, 0, 0}, 0, 0));
    corner.elements.push_back(
        Element::fromStart(100, 100 * kPi / 2, {100, 0, 0}, 1 / 100.0, 1 / 100.0));
    const std::vector<AlignmentFoot> atCentre = alignmentFeet(corner, 100, 100);
    ASSERT_FALSE(atCentre.empty());
    EXPECT_TRUE(feetAmbiguous(atCentre));
    EXPECT_FALSE(feetAmbiguous(alignmentFeet(corner, 50, -3)));
}

// The transverse axis is the tangent's normal to the right, turned clockwise by the skew.
TEST(Alignment, SidePointsStandOnTheSkewedNormal) {
    struct Case {
        double tangent_deg, skew_deg;
        double rightX_m, rightY_m;  // of the right point 10 m out from (100, 200)
    };
    const Case cases[] = {
        {0, 0, 100, 210}, {90, 0, 90, 200}, {0, 90, 90, 200}, {350, 30, 96.579799, 209.396926}};
    for (const Case& k : cases) {
        SideRequest request;
        request.right_m = {10};
        request.skew_deg = k.skew_deg;
        const std::vector<SidePoint> got = sidePointsOf({100, 200, k.tangent_deg}, request);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_NEAR(got[0].x_m, k.rightX_m, 1e-6) << k.tangent_deg << " " << k.skew_deg;
        EXPECT_NEAR(got[0].y_m, k.rightY_m, 1e-6) << k.tangent_deg << " " << k.skew_deg;
        // Into a buffer a stake before used: emptied first.
        std::vector<SidePoint> buffer = {{1, 2}, {3, 4}};
        sidePointsOf({100, 200, k.tangent_deg}, request, buffer);
        ASSERT_EQ(buffer.size(), 1u);
        EXPECT_EQ(buffer[0].x_m, got[0].x_m);
        EXPECT_EQ(buffer[0].y_m, got[0].y_m);
    }
}

}  // namespace
}  // namespace hcurve

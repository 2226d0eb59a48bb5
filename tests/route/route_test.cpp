// The route against the one-JD computation, its joints, the reverse calculation and chain breaks.
#include <algorithm>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "alignment/route.h"
#include "geometry/curve_elements.h"
#include "geometry/side_points.h"
#include "geometry/stake_position.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"
#include "route_samples.h"

namespace hcurve {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

Route routeOf(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    EXPECT_TRUE(reading) << (reading.failures().empty() ? "" : faultText(reading.failures()[0]));
    Result<BuiltRoute> building = buildRoute(*reading);
    EXPECT_TRUE(building) << (building.failures().empty() ? "" : faultText(building.failures()[0]));
    return building->route;
}

double angleBetween_deg(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

// BP 1 km before the JD on its incoming tangent, EP 1 km after it on the outgoing one.
std::string oneJdRoute(const DesignValues& d) {
    const CurveElements c = computeCurve(d);
    const test::SamplePoint jd{
        "JD1", d.X_m, d.Y_m, std::to_string(d.R_m), std::to_string(d.A1_m), std::to_string(d.A2_m)};
    return test::routeText(
        {test::pointFrom(jd, c.T, -1000, "BP"), jd, test::pointFrom(jd, c.tb, 1000, "EP")},
        std::to_string(d.K_m - 1000));
}

TEST(Route, OneJdGivesTheElementsAndStakesOfTheOneJdCurve) {
    const DesignValues designs[] = {
        {12345.678, 3456789.123, 512345.678, 45.3015, 30.1530, 500, 200, 250},
        {2500, 1000, 2000, 120, -45, 300, 0, 0},
        {5000, 100, 200, 350, 20, 800, 0, 300},
    };
    for (const DesignValues& d : designs) {
        SCOPED_TRACE(d.K_m);
        const CurveElements one = computeCurve(d);
        const Route route = routeOf(oneJdRoute(d));
        ASSERT_EQ(route.curves.size(), 1u);
        const CurveElements& c = route.curves[0].curve;
        EXPECT_EQ(c.p, one.p);
        const double pairs[][2] = {
            {c.K, one.K},     {c.T1, one.T1}, {c.T2, one.T2},   {c.Ls1, one.Ls1}, {c.Ls2, one.Ls2},
            {c.Lf, one.Lf},   {c.zh, one.zh}, {c.hy, one.hy},   {c.yh, one.yh},   {c.hz, one.hz},
            {c.xa, one.xa},   {c.ya, one.ya}, {c.xh1, one.xh1}, {c.yh1, one.yh1}, {c.xh2, one.xh2},
            {c.yh2, one.yh2}, {c.xb, one.xb}, {c.yb, one.yb},   {c.Xo, one.Xo},   {c.Yo, one.Yo}};
        for (const auto& [got, want] : pairs)
            EXPECT_NEAR(got, want, 1e-6);
        // Across north the route turns by the true angle; the one-JD tb steps back 360 of its
        // degrees, a full turn short by 1e-8 degrees.
        EXPECT_NEAR(route.curves[0].deflection_deg, one.p * one.B, 1e-7);

        for (double Kp = one.zh - 150; Kp <= one.hz + 150; Kp += 12.5) {
            const RouteStake s = stakeAt(route, Kp);
            const StakePosition want = *centreStake(one, Kp, 0);
            EXPECT_NEAR(s.x_m, want.x_m, 1e-6) << Kp;
            EXPECT_NEAR(s.y_m, want.y_m, 1e-6) << Kp;
            EXPECT_LE(angleBetween_deg(s.tangent_deg + 90, want.axisAzimuth_deg), 1e-7) << Kp;
        }
    }
}

// Pile rows on a skewed axis: every stake's side points are those the stake run computes for the
// same JD, chainage, PPQ and setup.
TEST(Route, PileRowsMatchTheStakeRunsSidePoints) {
    const DesignValues d{12345.678, 3456789.123, 512345.678, 45.3015, 30.1530, 500, 200, 250};
    const CurveElements one = computeCurve(d);
    const Route route = routeOf(oneJdRoute(d));
    StakeRequest request;
    request.interval_m = 25;
    request.from_m = one.zh - 30;
    request.to_m = one.hz + 30;
    request.left_m = {5, 10};
    request.right_m = {7.5};
    request.skew_deg = dmsToDegrees(15.3);
    request.doubleRow = true;
    request.front_m = 1.5;
    request.back_m = 2;
    const StakeTable table = *stakeTable(route, request);
    ASSERT_EQ(table.sidesPerStake, 6u);
    SideSetup setup;
    setup.dl = {0, 5, 10};
    setup.dr = {0, 7.5};
    setup.dl_n = 2;
    setup.dr_n = 1;
    setup.dd_n = 2;
    setup.ds_l = 1.5;
    setup.ds_r = 2;
    std::vector<PlanePoint> want;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const StakeRow& r = table.rows[i];
        const StakePosition s = *centreStake(one, r.continuous_m, request.skew_deg);
        sidePointsOnAxis(s.x_m, s.y_m, s.axisAzimuth_deg, sideRequestOf(setup), want);
        for (std::size_t j = 0; j < 6; ++j) {
            EXPECT_NEAR(table.sideX_m[i * 6 + j], want[j].x_m, 1e-6) << r.text << " " << j;
            EXPECT_NEAR(table.sideY_m[i * 6 + j], want[j].y_m, 1e-6) << r.text << " " << j;
        }
    }
    EXPECT_EQ(stakeTableRows(table, request)[0][6], "前左1X");
    EXPECT_EQ(stakeTableRows(table, request)[0].back(), "后右1Y");
}

TEST(Route, OneJdElementRowReadsLikeTheOneJdDisplay) {
    const std::string csv = elementTableCsv(
        routeOf(oneJdRoute({12345.678, 3456789.123, 512345.678, 45.3015, 30.1530, 500, 200, 250})));
    // T1 176.8435, T2 196.4784, ZH k 12+168.835, HY K12+248.835, YH K12+410.388, HZ K12+535.388.
    EXPECT_NE(csv.find("\nJD1,12345.6780,3456789.1230,512345.6780,30.1530,500.0000,200.0000,"
                       "250.0000,80.0000,125.0000,176.8435,196.4784,366.5538,22.8893,6.7681,"
                       "12168.8345,12248.8345,12329.6114,12410.3883,12535.3883,1000.0000,75.4545,"
                       "823.1565\n"),
              std::string::npos)
        << csv;
}

// The chainage runs on from BP through every curve to EP, without a step at any joint.
TEST(Route, PositionAndAzimuthAreContinuousAtEveryJoint) {
    const Route route = routeOf(test::routeText(test::threeJdRoute(), "K10+000"));
    EXPECT_NEAR(route.curves[0].curve.K, 11000, 1e-6);
    EXPECT_NEAR(route.end_m, route.curves[2].curve.hz + 1000 - route.curves[2].curve.T2, 1e-6);
    for (const RouteCurve& rc : route.curves) {
        const CurveElements& c = rc.curve;
        for (double joint : {c.zh, c.hy, c.yh, c.hz}) {
            SCOPED_TRACE(rc.name + " " + std::to_string(joint));
            const RouteStake at = stakeAt(route, joint);
            for (double near : {std::nextafter(joint, -kInf), std::nextafter(joint, kInf)}) {
                const RouteStake s = stakeAt(route, near);
                EXPECT_LE(std::hypot(s.x_m - at.x_m, s.y_m - at.y_m), 1e-5);
                EXPECT_LE(angleBetween_deg(s.tangent_deg, at.tangent_deg), 1e-6);
            }
        }
    }
}

TEST(Route, StakeLocateRoundTrip) {
    const Route route = routeOf(test::routeText(test::threeJdRoute(), "K10+000"));
    std::vector<double> chainages;
    for (double c = route.start_m - 50; c <= route.end_m + 50; c += 7.3)
        chainages.push_back(c);
    for (const RouteCurve& rc : route.curves)
        for (double joint : {rc.curve.zh, rc.curve.hy, rc.curve.yh, rc.curve.hz})
            chainages.insert(chainages.end(), {joint - 1e-3, joint, joint + 1e-3});
    for (double c : chainages) {
        const RouteStake s = stakeAt(route, c);
        const double right = (s.tangent_deg + 90) * kDegreeFactor;
        for (double offset : {-12.0, 0.0, 5.5}) {
            const std::optional<RouteFoot> foot =
                locate(route, s.x_m + offset * std::cos(right), s.y_m + offset * std::sin(right));
            ASSERT_TRUE(foot);
            EXPECT_NEAR(foot->continuous_m, c, 1e-6) << c << " " << offset;
            EXPECT_NEAR(foot->offset_m, offset, 1e-6) << c << " " << offset;
        }
    }
}

// A winding road of hairpins: turns of 70 to 126 degrees on radii of 60 to 200 m, with and
// without spirals, on legs of 600 to 750 m, so that a point has many elements about as near.
Route hairpins() {
    std::vector<test::SamplePoint> points{{"BP", 3000000, 500000, "", "", ""}};
    double az = 30;
    const char* radii[] = {"60", "120", "200", "80", "150", "100", "60", "180"};
    const char* spirals[] = {"50", "0", "90", "60", "0", "80", "40", "0"};
    for (int i = 0; i < 8; ++i) {
        points.push_back(test::pointFrom(points.back(), az, 600 + 50 * (i % 4),
                                         "JD" + std::to_string(i + 1), radii[i], spirals[i],
                                         spirals[(i + 3) % 8]));
        az += (i % 2 == 0 ? 1 : -1) * (70 + 8 * i);
    }
    points.push_back(test::pointFrom(points.back(), az, 600, "EP"));
    return routeOf(test::routeText(points, "K0+000"));
}

// The local minima of the distance from (x, y) to the road and its end tangents, from samples
// every 0.2 m refined by golden sections: chainage and distance.
std::vector<std::pair<double, double>> nearestPlaces(const Route& route, double x, double y) {
    const auto distance = [&](double c) {
        const AlignmentPoint p = route.alignment.at(c);
        return std::hypot(p.x_m - x, p.y_m - y);
    };
    constexpr double kStep_m = 0.2;
    const double from = route.start_m - 600, to = route.end_m + 600;
    std::vector<std::pair<double, double>> minima;
    double before = distance(from), here = distance(from + kStep_m);
    for (double c = from + kStep_m; c + kStep_m <= to; c += kStep_m) {
        const double after = distance(c + kStep_m);
        if (here <= before && here <= after) {
            double a = c - kStep_m, b = c + kStep_m;
            const double g = (std::sqrt(5.0) - 1) / 2;
            for (int i = 0; i < 80 && b - a > 1e-10; ++i) {
                const double l = b - g * (b - a), r = a + g * (b - a);
                if (distance(l) < distance(r))
                    b = r;
                else
                    a = l;
            }
            minima.emplace_back((a + b) / 2, distance((a + b) / 2));
        }
        before = here;
        here = after;
    }
    return minima;
}

TEST(Route, EveryFootWithinReachIsFoundWhereverThePointLies) {
    const Route route = hairpins();
    double minX = kInf, maxX = -kInf, minY = kInf, maxY = -kInf;
    for (const RoutePointRow& p : route.points) {
        minX = std::min(minX, p.x_m), maxX = std::max(maxX, p.x_m);
        minY = std::min(minY, p.y_m), maxY = std::max(maxY, p.y_m);
    }
    // A grid over the road and beyond, and behind each arc's centre seen from its JD, where the
    // two legs are as near.
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 20; ++j)
            points.emplace_back(minX - 300 + (maxX - minX + 600) * i / 20.0,
                                minY - 300 + (maxY - minY + 600) * j / 20.0);
    for (const RouteCurve& rc : route.curves) {
        const double dx = rc.curve.Xo - rc.curve.X, dy = rc.curve.Yo - rc.curve.Y;
        for (double behind_m : {5.0, 30.0, 100.0}) {
            const double f = 1 + behind_m / std::hypot(dx, dy);
            points.emplace_back(rc.curve.X + f * dx, rc.curve.Y + f * dy);
        }
    }
    int searched = 0;
    for (const auto& [x, y] : points) {
        // Not at an arc's centre, where every point of the arc is about as near.
        bool atCentre = false;
        for (const RouteCurve& rc : route.curves)
            atCentre = atCentre || std::hypot(rc.curve.Xo - x, rc.curve.Yo - y) < 2;
        if (atCentre)
            continue;
        ++searched;
        const std::vector<AlignmentFoot> feet = alignmentFeet(route.alignment, x, y);
        const std::vector<std::pair<double, double>> places = nearestPlaces(route, x, y);
        ASSERT_FALSE(feet.empty());
        double nearest = kInf;
        for (const auto& [c, d] : places)
            nearest = std::min(nearest, d);
        EXPECT_NEAR(feet[0].distance_m, nearest, 1e-6) << x << " " << y;
        // Every place clearly within a metre of the nearest is a foot.
        for (const auto& place : places) {
            const double c = place.first, d = place.second;
            if (d > nearest + 0.99)
                continue;
            // The same place, as near as the sampled distances tell it far from the road.
            const bool found = std::any_of(feet.begin(), feet.end(), [&](const AlignmentFoot& f) {
                return std::fabs(f.continuous_m - c) < 5e-3;
            });
            EXPECT_TRUE(found) << x << " " << y << ": " << c << " at " << d;
        }
    }
    EXPECT_GT(searched, 420);
}

// The foot search looks only at the elements whose box lies near the point (the alignment's
// index); searched over every element of the chain (an alignment without its index) each point
// has the same feet to the last bit, in the same order, and the same located foot: beside the
// joints, on the tight curves and behind their centres, far off the road, on the end tangents run
// on, and in the middle of a symmetric curve, whose two legs are as near.
TEST(Route, TheIndexedFootSearchFindsWhatTheSearchOfEveryElementFinds) {
    // JD1 turning by 130 degrees on R 90 with equal spirals, then three more curves, so that the
    // chain is long enough to be indexed.
    const test::SamplePoint bp{"BP", 3000000, 500000, "", "", ""};
    const test::SamplePoint jd1 = test::pointFrom(bp, 20, 800, "JD1", "90", "60", "60");
    const test::SamplePoint jd2 = test::pointFrom(jd1, 150, 800, "JD2", "300", "100", "100");
    const test::SamplePoint jd3 = test::pointFrom(jd2, 100, 900, "JD3", "400", "0", "0");
    const test::SamplePoint jd4 = test::pointFrom(jd3, 160, 900, "JD4", "250", "80", "80");
    const Route symmetric = routeOf(
        test::routeText({bp, jd1, jd2, jd3, jd4, test::pointFrom(jd4, 90, 800, "EP")}, "K0+000"));
    ASSERT_GT(symmetric.alignment.elements.size(), 12u);
    ASSERT_EQ(symmetric.alignment.index.elements, symmetric.alignment.elements.size());
    const Route winding = hairpins();
    for (const Route* route : {&winding, &symmetric}) {
        Route unindexed = *route;
        unindexed.alignment.index = ElementIndex{};
        std::vector<std::pair<double, double>> points;
        const auto beside = [&](double c, double offset_m) {
            const RouteStake s = stakeAt(*route, c);
            const double right = (s.tangent_deg + 90) * kDegreeFactor;
            points.emplace_back(s.x_m + offset_m * std::cos(right),
                                s.y_m + offset_m * std::sin(right));
        };
        const std::vector<Element>& elements = route->alignment.elements;
        for (const Element& e : elements)
            for (double c : {e.start_m() - 1e-6, e.start_m(), e.start_m() + 1e-6, e.end_m() - 1e-3,
                             (e.start_m() + e.end_m()) / 2})
                for (double offset_m : {-250.0, -40.0, -3.0, 0.0, 0.5, 12.0, 99.0, 101.5, 400.0})
                    beside(c, offset_m);
        for (double c :
             {route->start_m - 5000, route->start_m - 30, route->end_m + 30, route->end_m + 5000})
            for (double offset_m : {-2000.0, -10.0, 0.0, 10.0, 2000.0})
                beside(c, offset_m);
        for (const RouteCurve& rc : route->curves) {
            const double dx = rc.curve.Xo - rc.curve.X, dy = rc.curve.Yo - rc.curve.Y;
            for (double f : {0.0, 0.5, 0.999, 1.0, 1.001, 1.5, 3.0, 20.0})
                points.emplace_back(rc.curve.X + f * dx, rc.curve.Y + f * dy);
        }
        points.emplace_back(route->points.front().x_m + 1e6, route->points.front().y_m - 1e6);
        for (const auto& [x, y] : points) {
            const std::vector<AlignmentFoot> got = alignmentFeet(route->alignment, x, y);
            const std::vector<AlignmentFoot> every = alignmentFeet(unindexed.alignment, x, y);
            ASSERT_EQ(got.size(), every.size()) << x << " " << y;
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].continuous_m, every[i].continuous_m) << x << " " << y << " " << i;
                EXPECT_EQ(got[i].offset_m, every[i].offset_m) << x << " " << y << " " << i;
                EXPECT_EQ(got[i].distance_m, every[i].distance_m) << x << " " << y << " " << i;
                EXPECT_EQ(got[i].element, every[i].element) << x << " " << y << " " << i;
                EXPECT_EQ(got[i].forWholeArc, every[i].forWholeArc) << x << " " << y << " " << i;
            }
            const std::optional<RouteFoot> a = locate(*route, x, y), b = locate(unindexed, x, y);
            ASSERT_EQ(a.has_value(), b.has_value());
            if (a) {
                EXPECT_EQ(a->element, b->element) << x << " " << y;
                EXPECT_EQ(a->ambiguous, b->ambiguous) << x << " " << y;
            }
        }
    }
    // The middle of the symmetric curve, beyond its centre: the two legs are as near.
    const RouteCurve& rc = symmetric.curves[0];
    const std::optional<RouteFoot> middle =
        locate(symmetric, rc.curve.X + 1.5 * (rc.curve.Xo - rc.curve.X),
               rc.curve.Y + 1.5 * (rc.curve.Yo - rc.curve.Y));
    ASSERT_TRUE(middle);
    EXPECT_TRUE(middle->ambiguous);
}

TEST(Route, LocateNamesTheElement) {
    const Route route = routeOf(test::routeText(test::threeJdRoute(), "K10+000"));
    const CurveElements &jd1 = route.curves[0].curve, &jd2 = route.curves[1].curve,
                        &jd3 = route.curves[2].curve;
    const std::pair<double, const char*> cases[] = {
        {route.start_m - 20, "直线 BP-JD1"},         {(jd1.zh + jd1.hy) / 2, "JD1 第一缓和曲线"},
        {(jd1.hy + jd1.yh) / 2, "JD1 圆曲线"},       {(jd1.yh + jd1.hz) / 2, "JD1 第二缓和曲线"},
        {(jd1.hz + jd2.zh) / 2, "直线 JD1-JD2"},     {(jd2.zh + jd2.hz) / 2, "JD2 圆曲线"},
        {(jd3.yh + jd3.hz) / 2, "JD3 第二缓和曲线"}, {route.end_m + 20, "直线 JD3-EP"}};
    for (const auto& [c, name] : cases) {
        const RouteStake s = stakeAt(route, c);
        EXPECT_EQ(locate(route, s.x_m, s.y_m)->element, name);
    }
}

TEST(Route, ChainBreaksShowOnBothSides) {
    // A long chain of 10 m at K1+500 and a short one of 30 m at K2+000.
    const Route route = routeOf(
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
        "EP,2000,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\nK2+000,K2+030\n");
    ASSERT_EQ(route.breaks.size(), 2u);
    EXPECT_DOUBLE_EQ(route.breaks[1].at_m, 2010);
    EXPECT_EQ(stakeText(route, 1499.9999), "K1+500.000");
    EXPECT_EQ(stakeText(route, 1500), "K1+490.000");
    EXPECT_EQ(continuousChainages(route, 1495), (std::vector<double>{1495, 1505}));
    EXPECT_EQ(continuousChainages(route, 2015), std::vector<double>{});
    EXPECT_EQ(continuousChainages(route, 2040), std::vector<double>{2020});

    const auto tableOf = [&](double from_m, double to_m) {
        StakeRequest request;
        request.interval_m = 10;
        request.from_m = from_m;
        request.to_m = to_m;
        return *stakeTable(route, request);
    };
    // The rows of a stretch as "text@continuous".
    const auto rows = [](const StakeTable& table) {
        std::string text;
        for (const StakeRow& r : table.rows)
            text += r.text + "@" + std::to_string(r.continuous_m).substr(0, 4) + " ";
        return text;
    };
    EXPECT_EQ(rows(tableOf(1490, 1510)),
              "K1+490.000@1490 K1+500.000@1500 K1+490.000@1500 K1+500.000@1510 ");
    const StakeTable table = tableOf(2000, 2020);
    EXPECT_EQ(rows(table), "K1+990.000@2000 K2+000.000@2010 K2+030.000@2010 K2+040.000@2020 ");
    // The two rows of a break stand on the same stake.
    EXPECT_EQ(table.rows[1].x_m, table.rows[2].x_m);
    EXPECT_EQ(table.rows[1].y_m, table.rows[2].y_m);
}

TEST(Route, ManyChainBreaksReadAsTheirSum) {
    // 2000 breaks, alternately long and short chains of 1 m and 0.5 m, every 7 m of 桩号: the
    // chainage value at any place is its continuous chainage plus the sum of the breaks before it.
    std::string text =
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,20000,0,300,,,\nEP,20000,20000,,,,\n\n"
        "断链前桩号,断链后桩号\n";
    std::vector<std::pair<double, double>> breaks;  // continuous chainage, after - before
    double sum = 0;
    for (int i = 1; i <= 2000; ++i) {
        const double before = 7.0 * i, change = i % 2 ? -1.0 : 0.5;
        breaks.emplace_back(before - sum, change);
        sum += change;
        text += std::to_string(before) + "," + std::to_string(before + change) + "\n";
    }
    const Route route = routeOf(text);
    for (double c_m : {0.0, 6.9, 7.0, 3500.25, 13990.0, 14500.0}) {
        double expected = c_m;
        for (const auto& [at, change] : breaks)
            expected += at <= c_m ? change : 0;
        EXPECT_DOUBLE_EQ(brokenChainage(route, c_m), expected) << c_m;
        for (double found : continuousChainages(route, expected))
            EXPECT_NEAR(brokenChainage(route, found), expected, 1e-9);
    }
}

TEST(Route, ABreakAtTheRoundedChainageOfAPointIsThatPoint) {
    // ZY of this curve lies at 1000 - T1 = 1000 - 300 tan 45 = 700 (continuous); a break given
    // within the last digit of its text lists no text twice: the break and ZY are one stake.
    const std::string route =
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,1000,0,300,,,\nEP,1000,1000,,,,\n\n"
        "断链前桩号,断链后桩号\n";
    const std::pair<const char*, const char*> cases[] = {
        {"K0+700.0004", "ZYK0+700.000 K0+650.000 "}, {"K0+699.9996", "K0+700.000 ZYK0+650.000 "}};
    for (const auto& [at, expected] : cases) {
        StakeRequest request;
        request.interval_m = 100;
        request.from_m = 690;
        request.to_m = 710;
        std::string rows;
        const StakeTable table = *stakeTable(routeOf(route + at + ",K0+650\n"), request);
        for (const StakeRow& r : table.rows)
            rows += r.point + r.text + " ";
        EXPECT_EQ(rows, expected) << at;
    }
}

// Chainage texts and coordinates round their halves to even, as the stake listing of one curve.
TEST(Route, HalvesReadAsInTheStakeListing) {
    const Route route = routeOf(
        "点号,X,Y,R,A1,A2,桩号\nBP,0.00025,0,,,,K1+000.0625\nJD1,1000,0,300,100,100,\n"
        "EP,1000,1000,,,,\n");
    const TableRows rows = elementTableRows(route);
    EXPECT_EQ(rows[1][2], "0.0002");
    EXPECT_EQ(stakeText(route, route.start_m), "K1+000.062");
}

TEST(Route, StakeTableHoldsEveryCharacteristicPointOnce) {
    const Route route = routeOf(test::routeText(test::threeJdRoute(), "K10+000"));
    StakeRequest request;
    request.interval_m = 20;
    const StakeTable table = *stakeTable(route, request);
    std::string points;
    for (const StakeRow& r : table.rows)
        if (!r.point.empty())
            points += r.point + " ";
    EXPECT_EQ(points, "BP ZH HY QZ YH HZ ZY QZ YZ ZY QZ YH HZ EP ");
    for (std::size_t i = 1; i < table.rows.size(); ++i)
        EXPECT_LT(table.rows[i - 1].continuous_m, table.rows[i].continuous_m);
    EXPECT_EQ(table.rows.front().text, "K10+000.000");
}

// The stake table's merge alone, on lists made by hand: where a whole multiple meets a named
// point or a break it becomes that stake only when both chainage texts read alike, and named
// points at one place each keep their row.
TEST(StakeTableMerge, PlainStakesFoldIntoTheNamedOnesTheyReadAs) {
    using P = PlannedStake;
    const auto plain = [](double c, int order = P::kAfterBreak) { return P{c, order, "", c}; };
    const auto named = [](double c, const char* name) { return P{c, P::kNamed, name, c}; };
    struct Case {
        const char* what;
        std::vector<P> multiples, named;
        std::vector<std::pair<std::string, double>> rows;  // name and continuous chainage
    };
    const std::vector<Case> cases = {
        {"0.4 mm apart, one text: the named point only",
         {plain(100.0)},
         {named(100.0004, "ZH")},
         {{"ZH", 100.0004}}},
        {"the plain stake first, 0.7 mm before: the named point takes its row",
         {plain(99.9997)},
         {named(100.0004, "ZH")},
         {{"ZH", 100.0004}}},
        {"0.6 mm apart, the texts differ: both",
         {plain(100.0)},
         {named(100.0006, "ZH")},
         {{"", 100.0}, {"ZH", 100.0006}}},
        {"two names at one place keep both, the multiple there goes",
         {plain(199.0), plain(200.0), plain(201.0)},
         {named(200.0, "HZ"), named(200.0, "ZH")},
         {{"", 199.0}, {"HZ", 200.0}, {"ZH", 200.0}, {"", 201.0}}},
        {"a break: the multiple is its text before it, its text after it follows",
         {plain(290.0), plain(300.0, P::kBeforeBreak)},
         {P{300.0, P::kBeforeBreak, "", 300.0}, P{300.0, P::kAfterBreak, "", 310.0}},
         {{"", 290.0}, {"", 300.0}, {"", 300.0}}},
        {"nothing named", {plain(5.0), plain(10.0)}, {}, {{"", 5.0}, {"", 10.0}}},
    };
    for (const Case& c : cases) {
        const std::vector<P> merged = mergedStakes(c.multiples, c.named);
        std::vector<std::pair<std::string, double>> rows;
        for (const P& p : merged)
            rows.emplace_back(p.point, p.continuous_m);
        EXPECT_EQ(rows, c.rows) << c.what;
    }
    // The break's two texts: 300 before it, 310 after it.
    const std::vector<P> atBreak = mergedStakes(cases[4].multiples, cases[4].named);
    ASSERT_EQ(atBreak.size(), 3u);
    EXPECT_EQ(atBreak[1].broken_m, 300.0);
    EXPECT_EQ(atBreak[2].broken_m, 310.0);
}

}  // namespace
}  // namespace hcurve

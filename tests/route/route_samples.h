// Route files for the tests, written from points computed here so that every azimuth is known.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "curve/angle.h"

namespace hcurve::test {

struct SamplePoint {
    std::string name;
    double x_m, y_m;
    std::string R, A1, A2;  // empty on BP and EP
};

/// The point at distance d_m from (x, y) in azimuth az_deg.
inline SamplePoint pointFrom(const SamplePoint& from, double az_deg, double d_m, std::string name,
                             std::string R = "", std::string A1 = "", std::string A2 = "") {
    return {std::move(name),
            from.x_m + d_m * std::cos(az_deg * kDegreeFactor),
            from.y_m + d_m * std::sin(az_deg * kDegreeFactor),
            std::move(R),
            std::move(A1),
            std::move(A2)};
}

/// "点号,X,Y,R,A1,A2,桩号" and one row a point (BP carries the chainage), then the tail as given.
inline std::string routeText(const std::vector<SamplePoint>& points, const std::string& bpChainage,
                             const std::string& tail = "") {
    std::string text = "点号,X,Y,R,A1,A2,桩号\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SamplePoint& p = points[i];
        char xy[96];
        std::snprintf(xy, sizeof xy, "%.9f,%.9f", p.x_m, p.y_m);
        text += p.name + "," + xy + "," + p.R + "," + p.A1 + "," + p.A2 + "," +
                (i == 0 ? bpChainage : "") + "\n";
    }
    return text + tail;
}

/// Three JDs: right-hand with two different spirals, left-hand without spirals, right-hand with
/// the exit spiral only; 1 km of straight before and after.
inline std::vector<SamplePoint> threeJdRoute() {
    const SamplePoint jd1{"JD1", 3456789.123, 512345.678, "500", "200", "250"};
    const double t0 = dmsToDegrees(45.3015);
    const double t1 = t0 + dmsToDegrees(30.1530);
    const double t2 = t1 - 45.0;
    const double t3 = t2 + 25.5;
    const SamplePoint bp = pointFrom(jd1, t0, -1000, "BP");
    const SamplePoint jd2 = pointFrom(jd1, t1, 800, "JD2", "300", "0", "0");
    const SamplePoint jd3 = pointFrom(jd2, t2, 600, "JD3", "1200", "0", "350");
    const SamplePoint ep = pointFrom(jd3, t3, 1000, "EP");
    return {bp, jd1, jd2, jd3, ep};
}

}  // namespace hcurve::test

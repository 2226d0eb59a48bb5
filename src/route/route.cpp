#include "route/route.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "curve/chainage.h"
#include "curve/dms.h"
#include "curve/format.h"
#include "geometry/angles.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "geometry/reverse.h"

namespace hcurve {
namespace {

// A full turn as atan2 counts it, in the degrees of the stake position.
constexpr double kFullTurn_deg = kFullTurn_rad / kDegreeFactor;

// Two points nearer than this are the same point.
constexpr double kSamePoint_m = 1e-6;
// A deflection below this (about 0.004") is no turn; one this close to a half circle turns back.
constexpr double kSmallestDeflection_deg = 1e-6;
// Curves may touch (a straight of length 0); an overlap up to this is rounding.
constexpr double kTouch_m = 1e-6;
// A foot may lie this far beyond its element's end, so that a point at a joint finds it.
constexpr double kJointSlack_m = 1e-6;
constexpr double kNewtonStep_m = 1e-9;
constexpr int kMaxNewtonSteps = 100;

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
}

// The chainage before BP (or after EP) is still on the first (last) straight, so the curves are
// found by the end of each: the first curve whose HZ is not before the chainage.
std::size_t curveHolding(const Route& route, double continuous_m) {
    auto it = std::lower_bound(route.curves.begin(), route.curves.end(), continuous_m,
                               [](const RouteCurve& c, double ch) { return c.curve.hz < ch; });
    if (it == route.curves.end())
        return route.curves.size() - 1;
    return static_cast<std::size_t>(it - route.curves.begin());
}

// Offsets of the chain breaks: the sum of (after - before) of every break before index k.
double offsetBefore(const Route& route, std::size_t k) {
    return k == 0 ? 0.0 : route.breaks[k - 1].offset_m;
}

// Farther than this from the centre line a point is hardly one of this road, whatever R.
constexpr double kPlausibleOffsetLimit_m = 1000.0;

// The stake at a chainage by the formulas of one curve (its straights running on without end).
RouteStake stakeOnCurve(const Route& route, std::size_t k, double continuous_m) {
    const std::optional<StakePosition> s = centreStake(route.curves[k].curve, continuous_m, 0.0);
    if (!s)  // not a number
        return {continuous_m, continuous_m, continuous_m, Segment::IncomingTangent, k};
    return {s->x_m, s->y_m, wrapAzimuth_deg(s->axisAzimuth_deg - kRightAngle_deg), s->segment, k};
}

struct Direction {
    double c;  // north component
    double s;  // east component
};

Direction towards(double azimuth_deg) {
    return {std::cos(azimuth_deg * kDegreeFactor), std::sin(azimuth_deg * kDegreeFactor)};
}

// The point seen from a stake: along the centre line and to its right.
struct Seen {
    double along_m;
    double right_m;
};

Seen seenFrom(const RouteStake& s, double x_m, double y_m) {
    const Direction t = towards(s.tangent_deg);
    const double dx = x_m - s.x_m, dy = y_m - s.y_m;
    return {dx * t.c + dy * t.s, -dx * t.s + dy * t.c};
}

// The best foot so far: where, and on which element (a straight k runs before curve k, straight
// n after the last curve).
struct Best {
    double distance_m = std::numeric_limits<double>::infinity();
    double continuous_m = 0;
    double offset_m = 0;
    std::size_t index = 0;
    bool straight = true;
    Segment element = Segment::IncomingTangent;
    void offer(double continuous, double right_m, bool onStraight, std::size_t k, Segment e) {
        if (std::fabs(right_m) < distance_m) {
            distance_m = std::fabs(right_m);
            continuous_m = continuous;
            offset_m = right_m;
            straight = onStraight;
            index = k;
            element = e;
        }
    }
};

// Straight k from (x0, y0) at chainage c0 in the direction (north, east), between chainages
// from_m and to_m (either may be infinite).
void footOnStraight(double x0_m, double y0_m, double c0_m, double north, double east, double from_m,
                    double to_m, double x_m, double y_m, std::size_t k, Best& best) {
    const double dx = x_m - x0_m, dy = y_m - y0_m;
    const double c = c0_m + (dx * north + dy * east);
    if (c >= from_m - kJointSlack_m && c <= to_m + kJointSlack_m)
        best.offer(c, -dx * east + dy * north, true, k, Segment::IncomingTangent);
}

// Curvature of the centre line at chainage c on one element of a curve, 1/m.
double curvature_per_m(const CurveElements& c, Segment element, double ch_m) {
    switch (element) {
        case Segment::FirstSpiral:
            return (ch_m - c.zh) / (c.A1 * c.A1);
        case Segment::SecondSpiral:
            return (c.hz - ch_m) / (c.A2 * c.A2);
        case Segment::Arc:
            return 1 / c.R;
        default:
            return 0;
    }
}

// The foot on one element of a curve, between chainages a and b: where the point is neither ahead
// of nor behind the stake. Newton's method with the curvature; a step that leaves the bracket is
// replaced by halving it.
void footOnCurveElement(const Route& route, std::size_t k, Segment element, double a, double b,
                        double x_m, double y_m, Best& best) {
    if (!(b > a))
        return;
    const CurveElements& c = route.curves[k].curve;
    auto along = [&](double ch) { return seenFrom(stakeOnCurve(route, k, ch), x_m, y_m); };
    a -= kJointSlack_m;
    b += kJointSlack_m;
    Seen sa = along(a), sb = along(b);
    if ((sa.along_m > 0) == (sb.along_m > 0) && sa.along_m != 0 && sb.along_m != 0)
        return;
    // The first guess by the straight line between the ends: along is nearly linear in l.
    double l = sa.along_m == sb.along_m ? a + (b - a) / 2
                                        : a + (b - a) * sa.along_m / (sa.along_m - sb.along_m);
    l = std::min(std::max(l, a), b);
    Seen s = along(l);
    for (int i = 0; i < kMaxNewtonSteps && s.along_m != 0; ++i) {
        if ((s.along_m > 0) == (sa.along_m > 0)) {
            a = l;
            sa = s;
        } else {
            b = l;
        }
        // d(along)/dl = -1 + curvature * (distance towards the centre of curvature).
        const double slope = -1 + curvature_per_m(c, element, l) * c.p * s.right_m;
        const double next = l - s.along_m / slope;
        double step;
        if (next >= a && next <= b) {
            step = next - l;
            l = next;
        } else {
            l = a + (b - a) / 2;
            step = b - a;
        }
        s = along(l);
        if (std::fabs(step) < kNewtonStep_m)
            break;
    }
    best.offer(l, s.right_m, false, k, element);
}

std::string straightName(const Route& route, std::size_t k) {
    return "直线 " + route.points[k].name + "-" + route.points[k + 1].name;
}

}  // namespace

double legLength_m(const RoutePointRow& a, const RoutePointRow& b) {
    return std::hypot(b.x_m - a.x_m, b.y_m - a.y_m);
}

double wrapAzimuth_deg(double azimuth_deg) {
    double a = std::fmod(azimuth_deg, kFullCircle_deg);
    if (a < 0)
        a += kFullCircle_deg;
    if (a >= kFullCircle_deg)
        a -= kFullCircle_deg;
    return a;
}

double azimuthBetween_deg(double x0_m, double y0_m, double x1_m, double y1_m) {
    double a_rad = std::atan2(y1_m - y0_m, x1_m - x0_m);
    if (a_rad < 0)
        a_rad += kFullTurn_rad;
    return a_rad / kDegreeFactor;
}

RouteBuilding buildRoute(const RouteDesign& design) {
    RouteBuilding building;
    std::vector<RouteFault>& faults = building.faults;
    const std::vector<RoutePointRow>& pts = design.points;
    if (pts.size() < 3) {
        faults.push_back({pts.empty() ? 1 : pts.back().line, "交点表至少要有三个点。"});
        return building;
    }
    for (std::size_t k = 1; k < pts.size() && faults.size() < kMostRouteFaults; ++k) {
        if (legLength_m(pts[k - 1], pts[k]) < kSamePoint_m)
            faults.push_back({pts[k].line, "点 " + pts[k].name + " 与前一点 " + pts[k - 1].name +
                                               " 的座标相同。"});
    }
    if (!faults.empty())
        return building;

    Route route;
    route.points = pts;
    route.start_m = design.startChainage_m;
    // The chainage at the start of the straight before each JD; unknown after a JD that failed.
    double straightStart = route.start_m;
    bool chainagesKnown = true;
    double previousT2 = 0;
    for (std::size_t i = 1; i + 1 < pts.size() && faults.size() < kMostRouteFaults; ++i) {
        const RoutePointRow &prev = pts[i - 1], &jd = pts[i], &next = pts[i + 1];
        const double tIn = azimuthBetween_deg(prev.x_m, prev.y_m, jd.x_m, jd.y_m);
        const double tOut = azimuthBetween_deg(jd.x_m, jd.y_m, next.x_m, next.y_m);
        double deflection = tOut - tIn;
        if (deflection > kFullTurn_deg / 2)
            deflection -= kFullTurn_deg;
        else if (deflection <= -kFullTurn_deg / 2)
            deflection += kFullTurn_deg;
        const double legIn = legLength_m(prev, jd);
        if (std::fabs(deflection) < kSmallestDeflection_deg) {
            faults.push_back({jd.line, "交点 " + jd.name + " 的偏角为零：" + prev.name + "、" +
                                           jd.name + "、" + next.name + " 在一条直线上。"});
        } else if (std::fabs(deflection) > kHalfCircle_deg - kSmallestDeflection_deg) {
            faults.push_back({jd.line, "交点 " + jd.name + " 的偏角达到 180 度：路线在这里折回。"});
        }
        // A JD that failed leaves the chainages after it unknown; the rest is still checked.
        auto failed = [&] {
            chainagesKnown = false;
            previousT2 = 0;
        };
        if (!faults.empty() && faults.back().line == jd.line) {
            failed();
            continue;
        }
        const double K = chainagesKnown ? straightStart + legIn - previousT2 : 0;
        RouteCurve rc;
        rc.name = jd.name;
        rc.line = jd.line;
        rc.deflection_deg = deflection;
        rc.curve =
            computeCurveFromDegrees({K, jd.x_m, jd.y_m, tIn, deflection, jd.R_m, jd.A1_m, jd.A2_m});
        const CurveElements& c = rc.curve;
        if (std::optional<std::string> wrong = checkCurve(c)) {
            faults.push_back({jd.line, "交点 " + jd.name + "：" + *wrong});
            failed();
            continue;
        }
        if (c.T1 < 0 || c.T2 < 0) {
            faults.push_back(
                {jd.line,
                 "交点 " + jd.name + " 的两段缓和曲线相差太大，切线长为负。请检查 R、A1、A2。"});
            failed();
            continue;
        }
        if (c.T1 > legIn - previousT2 + kTouch_m) {
            if (i == 1) {
                faults.push_back({jd.line, "交点 " + jd.name + " 的 ZH 超出了 " + prev.name +
                                               "：切线长 T1 = " + metres(c.T1) + " 米，而 " +
                                               prev.name + " 至 " + jd.name + " 只有 " +
                                               metres(legIn) + " 米。"});
            } else {
                faults.push_back(
                    {jd.line, "交点 " + prev.name + " 的 HZ 超过了交点 " + jd.name +
                                  " 的 ZH：两曲线重叠 " + metres(c.T1 + previousT2 - legIn) +
                                  " 米（T2 = " + metres(previousT2) + "，T1 = " + metres(c.T1) +
                                  "，交点间距 " + metres(legIn) + "）。"});
            }
        }
        rc.qz_m = c.hy + c.Lf / 2;
        previousT2 = c.T2;
        if (chainagesKnown) {
            straightStart = c.hz;
            route.curves.push_back(rc);
        }
    }
    const RoutePointRow &lastJd = pts[pts.size() - 2], &ep = pts.back();
    if (faults.empty() && route.curves.back().curve.T2 > legLength_m(lastJd, ep) + kTouch_m) {
        faults.push_back({ep.line, "交点 " + lastJd.name + " 的 HZ 超出了 " + ep.name +
                                       "：切线长 T2 = " + metres(route.curves.back().curve.T2) +
                                       " 米，而 " + lastJd.name + " 至 " + ep.name + " 只有 " +
                                       metres(legLength_m(lastJd, ep)) + " 米。"});
    }
    if (!faults.empty())
        return building;
    route.end_m = route.curves.back().curve.hz + legLength_m(lastJd, ep) - previousT2;

    for (RouteCurve& rc : route.curves) {
        const CurveElements& c = rc.curve;
        RouteStake qz = stakeAt(route, rc.qz_m);
        rc.external_m = std::hypot(qz.x_m - c.X, qz.y_m - c.Y);
        const Direction in = towards(c.T), out = towards(c.tb);
        rc.inNorth = in.c;
        rc.inEast = in.s;
        rc.outNorth = out.c;
        rc.outEast = out.s;
        // The curve turns by less than a half circle, always the same way, so it lies in the
        // triangle of ZH, the JD and HZ.
        rc.boxMinX_m = std::min({c.xa, c.X, c.xb}) - kJointSlack_m;
        rc.boxMaxX_m = std::max({c.xa, c.X, c.xb}) + kJointSlack_m;
        rc.boxMinY_m = std::min({c.ya, c.Y, c.yb}) - kJointSlack_m;
        rc.boxMaxY_m = std::max({c.ya, c.Y, c.yb}) + kJointSlack_m;
    }

    // Chain breaks, placed by the chainage in force before each.
    double offset = 0, previousAt = route.start_m;
    for (const ChainBreakRow& b : design.breaks) {
        const double at = b.before_m - offset;
        if (at <= route.start_m || at >= route.end_m) {
            faults.push_back({b.line, "断链前桩号 " + chainageText(b.before_m, kPlainForm) +
                                          " 不在路线上（BP 至 EP 之间）。"});
        } else if (at <= previousAt) {
            faults.push_back({b.line, "断链前桩号 " + chainageText(b.before_m, kPlainForm) +
                                          " 不在上一个断链之后：断链要按路线顺序排列。"});
        } else {
            previousAt = at;
        }
        offset += b.after_m - b.before_m;
        route.breaks.push_back({at, b.before_m, b.after_m, offset});
        if (faults.size() >= kMostRouteFaults)
            break;
    }
    // The grade line and the cross-fall read their K-texts through the breaks.
    if (faults.empty() && design.grade)
        route.gradeLine = buildGradeLine(*design.grade, route, faults);
    if (faults.empty() && design.crossFall)
        route.crossFall = buildCrossFall(*design.crossFall, route, faults);
    if (faults.empty())
        building.route = std::move(route);
    return building;
}

double brokenChainage(const Route& route, double continuous_m) {
    // The last break at or before the chainage.
    auto after = std::upper_bound(route.breaks.begin(), route.breaks.end(), continuous_m,
                                  [](double c, const ChainBreak& b) { return c < b.at_m; });
    return continuous_m +
           offsetBefore(route, static_cast<std::size_t>(after - route.breaks.begin()));
}

std::string stakeText(const Route& route, double continuous_m) {
    return chainageText(brokenChainage(route, continuous_m), kPlainForm);
}

std::vector<double> continuousChainages(const Route& route, double broken_m) {
    std::vector<double> found;
    const std::size_t n = route.breaks.size();
    for (std::size_t k = 0; k <= n; ++k) {
        // Stretch k runs from break k-1 (or BP) up to break k (or EP), both ends included.
        const double from = k == 0 ? route.start_m : route.breaks[k - 1].at_m;
        const double to = k == n ? route.end_m : route.breaks[k].at_m;
        const double c = broken_m - offsetBefore(route, k);
        if (c >= from - kJointSlack_m && c <= to + kJointSlack_m) {
            const double clamped = std::min(std::max(c, from), to);
            if (found.empty() || std::fabs(found.back() - clamped) > kJointSlack_m)
                found.push_back(clamped);
        }
    }
    return found;
}

RouteStake stakeAt(const Route& route, double continuous_m) {
    return stakeOnCurve(route, curveHolding(route, continuous_m), continuous_m);
}

bool RouteFoot::far() const {
    return roundTo(fromRoute_m, 4) > plausibleOffset_m;
}

std::optional<RouteFoot> locate(const Route& route, double x_m, double y_m) {
    if (!std::isfinite(x_m) || !std::isfinite(y_m) || std::fabs(x_m) > kMaxCoordinate_m ||
        std::fabs(y_m) > kMaxCoordinate_m)
        return std::nullopt;
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Best best;
    const std::size_t n = route.curves.size();
    // The straights, each before its curve, and the last one after it.
    for (std::size_t k = 0; k < n; ++k) {
        const RouteCurve& rc = route.curves[k];
        const double from = k == 0 ? -kInf : route.curves[k - 1].curve.hz;
        footOnStraight(rc.curve.xa, rc.curve.ya, rc.curve.zh, rc.inNorth, rc.inEast, from,
                       rc.curve.zh, x_m, y_m, k, best);
    }
    const RouteCurve& last = route.curves.back();
    footOnStraight(last.curve.xb, last.curve.yb, last.curve.hz, last.outNorth, last.outEast,
                   last.curve.hz, kInf, x_m, y_m, n, best);

    // The curves, nearest box first, as long as a box can still hold a nearer foot.
    std::vector<std::pair<double, std::size_t>> candidates;
    for (std::size_t k = 0; k < n; ++k) {
        const RouteCurve& rc = route.curves[k];
        const double dx = std::max({rc.boxMinX_m - x_m, 0.0, x_m - rc.boxMaxX_m});
        const double dy = std::max({rc.boxMinY_m - y_m, 0.0, y_m - rc.boxMaxY_m});
        const double d = std::hypot(dx, dy);
        if (d < best.distance_m)
            candidates.emplace_back(d, k);
    }
    std::sort(candidates.begin(), candidates.end());
    for (const auto& [d, k] : candidates) {
        if (d >= best.distance_m)
            break;
        const CurveElements& c = route.curves[k].curve;
        if (c.A1 != 0)
            footOnCurveElement(route, k, Segment::FirstSpiral, c.zh, c.hy, x_m, y_m, best);
        footOnCurveElement(route, k, Segment::Arc, c.hy, c.yh, x_m, y_m, best);
        if (c.A2 != 0)
            footOnCurveElement(route, k, Segment::SecondSpiral, c.yh, c.hz, x_m, y_m, best);
    }
    if (!std::isfinite(best.distance_m))
        return std::nullopt;
    const std::string element =
        best.straight ? straightName(route, best.index)
                      : route.curves[best.index].name + " " + elementName(best.element);
    double plausible_m = kPlausibleOffsetLimit_m;
    const auto radiusOf = [&](std::size_t k) {
        plausible_m = std::min(plausible_m, route.curves[k].curve.R);
    };
    if (!best.straight) {
        radiusOf(best.index);
    } else {  // straight k runs from curve k - 1 to curve k
        if (best.index > 0)
            radiusOf(best.index - 1);
        if (best.index < n)
            radiusOf(best.index);
    }
    const double beyond_m =
        std::max({route.start_m - best.continuous_m, best.continuous_m - route.end_m, 0.0});
    return RouteFoot{best.continuous_m, best.offset_m, element, std::hypot(best.offset_m, beyond_m),
                     plausible_m};
}

}  // namespace hcurve

#include "alignment/stake_table.h"

#include <algorithm>
#include <cmath>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "geometry/characteristic_points.h"

namespace hcurve {
namespace {

// The names of the grade line's points in the stake table: 变坡点, 竖曲线起点, 竖曲线终点.
constexpr char kGradePoint[] = "BPD";
constexpr char kVerticalCurveStart[] = "SQD";
constexpr char kVerticalCurveEnd[] = "SZD";

// More stakes than this are a mistyped interval, not a stake table.
constexpr double kMostStakes = 1e6;
// Two stakes nearer than this are the same stake.
constexpr double kSameStake_m = 1e-7;
// The last digit of a chainage text: two stakes this near may show one text.
constexpr double kOneText_m = 1e-3;

// A stake before its position is computed: its place, the chainage its text shows, and its name
// (BP, ZH, ...; empty for a plain stake). order breaks ties of equal place: a break's text before
// it (0), the named points (1), the break's text after it (2).
struct Planned {
    double continuous_m;
    int order;
    const char* point;
    double broken_m;
};

// Two stakes at one place are one stake when their chainage texts read the same.
bool sameText(const Planned& a, const Planned& b) {
    return chainageText(a.broken_m, kPlainForm) == chainageText(b.broken_m, kPlainForm);
}

}  // namespace

SideRequest sideRequestOf(const StakeRequest& request) {
    return {request.left_m,    request.right_m, request.skew_deg,
            request.doubleRow, request.front_m, request.back_m};
}

namespace {

// The tangent's direction at a stake, as the cosine and sine of its azimuth in radians.
struct Direction {
    double cos, sin;
};

Direction directionAt(const RouteStake& stake) {
    const double a = stake.tangent_deg * kDegreeFactor;
    return {std::cos(a), std::sin(a)};
}

// sidePointFoot, with the direction at the stake given: every side point of a stake starts from
// it.
std::optional<RouteFoot> footFromStake(const Route& route, const RouteStake& stake,
                                       Direction atStake, double stake_m, double x_m, double y_m) {
    // Newton on the along-track distance from the stake's own place: a point on the normal is
    // at its foot at once, a skewed one within a few steps.
    constexpr int kMostSteps = 30;
    constexpr double kConverged_m = 1e-9;
    RouteStake at = stake;
    Direction t = atStake;
    double c = stake_m;
    for (int i = 0; i < kMostSteps; ++i) {
        const double dx = x_m - at.x_m, dy = y_m - at.y_m;
        const double along = dx * t.cos + dy * t.sin;
        if (std::fabs(along) < kConverged_m) {
            const double offset = -dx * t.sin + dy * t.cos;
            return RouteFoot{c, offset, "", false, std::fabs(offset), kMaxCoordinate_m};
        }
        c += along;
        at = stakeAt(route, c);
        t = directionAt(at);
    }
    return std::nullopt;
}

}  // namespace

StakeTable stakeTable(const Route& route, const StakeRequest& request) {
    StakeTable table;
    const double from = request.from_m.value_or(route.start_m);
    const double to = request.to_m.value_or(route.end_m);
    if (!(request.interval_m > 0) || !std::isfinite(request.interval_m)) {
        table.fault = "桩距必须大于零。";
        return table;
    }
    if (!(from <= to)) {
        table.fault = "起点里程在终点里程之后。";
        return table;
    }
    if (to < route.start_m || from > route.end_m) {
        // Where the route is, so the user can type a stretch on it.
        table.fault = "所给的范围不在路线上（BP " + stakeText(route, route.start_m) + " 至 EP " +
                      stakeText(route, route.end_m) + " 之间）。";
        return table;
    }
    // The named points of the stretch where it lies on the road: a grade line or a stretch that
    // reaches beyond BP or EP adds no stake there.
    const double first_m = std::max(from, route.start_m), last_m = std::min(to, route.end_m);
    const auto inside = [&](double c) {
        return c >= first_m - kSameStake_m && c <= last_m + kSameStake_m;
    };
    // The multiples are counted before they are made, and everything once the named points (at
    // most a few a row of the files) are merged with them: what is refused is what would be
    // written, each stake once however many names meet there.
    const double onRoad_m = last_m - first_m;
    const std::size_t sides = sidePointCount(sideRequestOf(request));
    if (onRoad_m / request.interval_m > kMostStakes) {
        table.fault = "桩距太小：这一段会有一百万个以上的桩。";
        return table;
    }

    // Whole multiples of the interval, stretch by stretch between the breaks: in route order.
    std::vector<Planned> multiples;
    multiples.reserve(static_cast<std::size_t>(onRoad_m / request.interval_m) +
                      2 * route.breaks.size() + 2);
    const std::size_t nb = route.breaks.size();
    double offset = 0;
    for (std::size_t k = 0; k <= nb; ++k) {
        const double a = std::max(from, k == 0 ? route.start_m : route.breaks[k - 1].at_m);
        const double b = std::min(to, k == nb ? route.end_m : route.breaks[k].at_m);
        if (a <= b) {
            const double first = std::ceil((a + offset - kSameStake_m) / request.interval_m);
            const double last = std::floor((b + offset + kSameStake_m) / request.interval_m);
            for (double m = first; m <= last; ++m) {
                const double broken = m * request.interval_m;
                // The last multiple of a stretch that ends at a break is the break's own stake.
                const bool beforeBreak =
                    k < nb && std::fabs(broken - offset - route.breaks[k].at_m) <= kSameStake_m;
                multiples.push_back({broken - offset, beforeBreak ? 0 : 2, "", broken});
            }
        }
        if (k < nb)
            offset += route.breaks[k].after_m - route.breaks[k].before_m;
    }

    // BP, EP, the characteristic points and both sides of every break.
    std::vector<Planned> named;
    auto add = [&](double c, int order, const char* point, double broken) {
        if (inside(c))
            named.push_back({std::min(std::max(c, from), to), order, point, broken});
    };
    auto addPoint = [&](double c, const char* point) {
        add(c, 1, point, brokenChainage(route, c));
    };
    for (const ChainBreak& b : route.breaks) {
        add(b.at_m, 0, "", b.before_m);
        add(b.at_m, 2, "", b.after_m);
    }
    // Where every element starts (named or not), the middles that have a name, and the end.
    for (const Element& e : route.alignment.elements) {
        addPoint(e.start_m(), e.name.c_str());
        if (!e.middleName.empty())
            addPoint(e.start_m() + e.length_m() / 2, e.middleName.c_str());
    }
    addPoint(route.end_m, route.alignment.endName.c_str());
    if (route.gradeLine) {
        const std::vector<GradePoint>& g = route.gradeLine->points;
        for (std::size_t k = 1; k + 1 < g.size(); ++k) {
            if (g[k].T_m > 0)
                addPoint(g[k].curveStart_m(), kVerticalCurveStart);
            addPoint(g[k].at_m, kGradePoint);
            if (g[k].T_m > 0)
                addPoint(g[k].curveEnd_m(), kVerticalCurveEnd);
        }
    }

    const auto before = [](const Planned& a, const Planned& b) {
        if (std::fabs(a.continuous_m - b.continuous_m) > kSameStake_m)
            return a.continuous_m < b.continuous_m;
        return a.order < b.order;
    };
    std::stable_sort(named.begin(), named.end(), before);

    // Both lists merged in route order. A whole multiple that falls on a named point or a break is
    // that stake; named points at one place each keep their row.
    std::vector<Planned> stakes;
    stakes.reserve(multiples.size() + named.size());
    auto take = [&](const Planned& p) {
        if (!stakes.empty()) {
            Planned& q = stakes.back();
            // Within a millimetre, where their chainage texts read alike, a plain stake is the
            // named point beside it (a break given at the rounded chainage of a ZH).
            const bool samePlace =
                std::fabs(q.continuous_m - p.continuous_m) <= kOneText_m && sameText(q, p);
            if (samePlace && *p.point == '\0')
                return;
            if (samePlace && *q.point == '\0') {
                q = p;
                return;
            }
        }
        stakes.push_back(p);
    };
    std::size_t i = 0, j = 0;
    while (i < multiples.size() || j < named.size()) {
        if (j == named.size() || (i < multiples.size() && !before(named[j], multiples[i])))
            take(multiples[i++]);
        else
            take(named[j++]);
    }

    if (static_cast<double>(stakes.size()) * static_cast<double>(1 + sides) > kMostStakes) {
        table.fault = "这一段的中桩、特征点与边桩合计会有一百万个以上。";
        return table;
    }

    const SideRequest sideRequest = sideRequestOf(request);
    table.rows.reserve(stakes.size());
    table.sidesPerStake = sidePointCount(sideRequest);
    table.sideX_m.reserve(stakes.size() * table.sidesPerStake);
    table.sideY_m.reserve(stakes.size() * table.sidesPerStake);
    const GradeLine* grade = route.gradeLine ? &*route.gradeLine : nullptr;
    const CrossFall* cross = grade && route.crossFall ? &*route.crossFall : nullptr;
    table.withHeights = grade != nullptr;
    table.withSideHeights = cross != nullptr;
    if (cross)
        table.sideH_m.reserve(stakes.size() * table.sidesPerStake);
    // The stakes outside the grade line, before its start and beyond its end.
    std::optional<std::pair<double, double>> outsideBefore, outsideAfter;
    for (const Planned& p : stakes) {
        const RouteStake s = stakeAt(route, p.continuous_m);
        table.rows.push_back({p.point, chainageText(p.broken_m, kPlainForm), p.continuous_m, s.x_m,
                              s.y_m, s.tangent_deg, std::nullopt});
        if (grade) {
            table.rows.back().H_m = designElevation_m(*grade, p.continuous_m);
            if (!table.rows.back().H_m) {
                auto& outside = p.continuous_m < grade->start_m() ? outsideBefore : outsideAfter;
                if (!outside)
                    outside.emplace(p.continuous_m, p.continuous_m);
                outside->second = p.continuous_m;
            }
        }
        if (table.sidesPerStake == 0)
            continue;
        const Direction atStake = cross ? directionAt(s) : Direction{};
        for (const SidePoint& side : sidePointsOf({s.x_m, s.y_m, s.tangent_deg}, sideRequest)) {
            table.sideX_m.push_back(side.x_m);
            table.sideY_m.push_back(side.y_m);
            if (!cross)
                continue;
            std::optional<double> H;
            if (const std::optional<RouteFoot> foot =
                    footFromStake(route, s, atStake, p.continuous_m, side.x_m, side.y_m))
                H = surfaceElevation_m(*grade, *cross, foot->continuous_m, foot->offset_m);
            table.sideH_m.push_back(H.value_or(std::nan("")));
        }
    }
    if (outsideBefore || outsideAfter) {
        std::string stretches;
        for (const auto& outside : {outsideBefore, outsideAfter}) {
            if (!outside)
                continue;
            if (!stretches.empty())
                stretches += "和";
            stretches += stakeText(route, outside->first);
            if (outside->second != outside->first)
                stretches += " 至 " + stakeText(route, outside->second);
        }
        table.warning = stretches + " 的中桩在纵断面（" + stakeText(route, grade->start_m()) +
                        " 至 " + stakeText(route, grade->end_m()) + "）以外，没有高程。";
    }
    return table;
}

std::optional<RouteFoot> sidePointFoot(const Route& route, const RouteStake& stake, double stake_m,
                                       double x_m, double y_m) {
    return footFromStake(route, stake, directionAt(stake), stake_m, x_m, y_m);
}

LocatedHeights locatedHeights(const Route& route, const RouteFoot& foot,
                              std::optional<double> measuredH_m) {
    LocatedHeights h;
    if (!route.gradeLine)
        return h;
    h.centre_m = designElevation_m(*route.gradeLine, foot.continuous_m);
    if (route.crossFall)
        h.design_m = surfaceElevation_m(*route.gradeLine, *route.crossFall, foot.continuous_m,
                                        foot.offset_m);
    const std::optional<double> against = route.crossFall ? h.design_m : h.centre_m;
    if (measuredH_m && against)
        h.above_m = *measuredH_m - *against;
    return h;
}

}  // namespace hcurve

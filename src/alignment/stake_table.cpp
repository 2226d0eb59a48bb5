#include "alignment/stake_table.h"

#include <algorithm>
#include <cmath>

#include "alignment/cross_section.h"
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
// A side point this near the formation's edge is on the formation.
constexpr double kEdgeSlack_m = 1e-6;

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

namespace {

bool isPlain(const PlannedStake& p) {
    return *p.point == '\0';
}

// Two stakes at one place are one stake when their chainage texts read the same.
bool sameText(const PlannedStake& a, const PlannedStake& b) {
    return chainageText(a.broken_m, kPlainForm) == chainageText(b.broken_m, kPlainForm);
}

// Route order; at one place a break's text before it, the named points, the break's text after.
bool before(const PlannedStake& a, const PlannedStake& b) {
    if (std::fabs(a.continuous_m - b.continuous_m) > kSameStake_m)
        return a.continuous_m < b.continuous_m;
    return a.order < b.order;
}

// The stretch asked for, or why it has no table: an interval that is none, ends in the wrong
// order, a stretch beside the route.
Result<void> stretchChecked(const Route& route, const StakeRequest& request, double from_m,
                            double to_m) {
    if (!(request.interval_m > 0) || !std::isfinite(request.interval_m))
        return Failure{"桩距必须大于零。"};
    if (!(from_m <= to_m))
        return Failure{"起点里程在终点里程之后。"};
    if (to_m < route.start_m || from_m > route.end_m) {
        // Where the route is, so the user can type a stretch on it.
        return Failure{"所给的范围不在路线上（BP " + stakeText(route, route.start_m) + " 至 EP " +
                       stakeText(route, route.end_m) + " 之间）。"};
    }
    return done();
}

// The elevation of the formation at a side point's foot, as --locate gives it without a measured
// height: none beyond the formation, where only the ground tells fill from cut. A point asked at
// an edge's offset lies on the formation even where its foot comes out a hair beyond the edge.
std::optional<double> formationH(const CrossSection& section, const Route& route,
                                 const RouteFoot& foot) {
    for (double towardsCentre_m : {0.0, kEdgeSlack_m}) {
        const double offset_m =
            foot.offset_m < 0 ? foot.offset_m + towardsCentre_m : foot.offset_m - towardsCentre_m;
        const std::optional<SurfacePoint> surface =
            designSurfaceAt(section, route, foot.continuous_m, offset_m, SectionEarthwork::Fill);
        if (surface && surface->onFormation)
            return surface->H_m;
    }
    return std::nullopt;
}

// The side points of one stake into the table, with their elevations where the route has a
// cross-fall or a cross-section: each at the foot of its own on the centre line.
// points is the buffer they are worked out in, kept from stake to stake.
void addSidePoints(StakeTable& table, const Route& route, const CrossSection* section,
                   const SideRequest& sides, const RouteStake& stake, double stake_m,
                   std::vector<SidePoint>& points) {
    const GradeLine* grade = route.gradeLine ? &*route.gradeLine : nullptr;
    const CrossFall* cross = grade && !section && route.crossFall ? &*route.crossFall : nullptr;
    const bool heights = table.withSideHeights;
    const Direction atStake = heights ? directionAt(stake) : Direction{};
    sidePointsOf({stake.x_m, stake.y_m, stake.tangent_deg}, sides, points);
    for (const SidePoint& side : points) {
        table.sideX_m.push_back(side.x_m);
        table.sideY_m.push_back(side.y_m);
        if (!heights)
            continue;
        std::optional<double> H;
        if (const std::optional<RouteFoot> foot =
                footFromStake(route, stake, atStake, stake_m, side.x_m, side.y_m)) {
            if (cross) {
                H = surfaceElevation_m(*grade, *cross, foot->continuous_m, foot->offset_m);
            } else {
                H = formationH(*section, route, *foot);
            }
        }
        table.sideH_m.push_back(H.value_or(std::nan("")));
    }
}

// The rows of the planned stakes, positioned, with their elevations and side points.
void addRows(StakeTable& table, const Route& route, const CrossSection* section,
             const StakeRequest& request, const std::vector<PlannedStake>& stakes) {
    const SideRequest sides = sideRequestOf(request);
    const GradeLine* grade = route.gradeLine ? &*route.gradeLine : nullptr;
    table.rows.reserve(stakes.size());
    table.sidesPerStake = sidePointCount(sides);
    table.sideX_m.reserve(stakes.size() * table.sidesPerStake);
    table.sideY_m.reserve(stakes.size() * table.sidesPerStake);
    table.withHeights = grade != nullptr;
    table.withSideHeights = grade != nullptr && (section || route.crossFall.has_value());
    if (table.withSideHeights)
        table.sideH_m.reserve(stakes.size() * table.sidesPerStake);
    std::vector<SidePoint> sidePoints;
    std::size_t element = 0;
    for (const PlannedStake& p : stakes) {
        const RouteStake s = stakeAt(route, p.continuous_m, element);
        element = s.element;
        table.rows.push_back({p.point, chainageText(p.broken_m, kPlainForm), p.continuous_m, s.x_m,
                              s.y_m, s.tangent_deg, std::nullopt});
        if (grade)
            table.rows.back().H_m = designElevation_m(*grade, p.continuous_m);
        if (table.sidesPerStake > 0)
            addSidePoints(table, route, section, sides, s, p.continuous_m, sidePoints);
    }
}

// Which stakes of the table lie outside the grade line, before its start and beyond its end, as
// the warning tells it; nothing when every stake has its elevation.
std::optional<std::string> outsideGradeLine(const Route& route, const StakeTable& table) {
    if (!route.gradeLine)
        return std::nullopt;
    const GradeLine& grade = *route.gradeLine;
    std::optional<std::pair<double, double>> outsideBefore, outsideAfter;
    for (const StakeRow& row : table.rows) {
        if (row.H_m)
            continue;
        auto& outside = row.continuous_m < grade.start_m() ? outsideBefore : outsideAfter;
        if (!outside)
            outside.emplace(row.continuous_m, row.continuous_m);
        outside->second = row.continuous_m;
    }
    if (!outsideBefore && !outsideAfter)
        return std::nullopt;
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
    return stretches + " 的中桩在纵断面（" + stakeText(route, grade.start_m()) + " 至 " +
           stakeText(route, grade.end_m()) + "）以外，没有高程。";
}

}  // namespace

std::vector<PlannedStake> wholeMultiples(const Route& route, double from_m, double to_m,
                                         double interval_m) {
    std::vector<PlannedStake> multiples;
    const std::size_t nb = route.breaks.size();
    const double onRoad_m = std::min(to_m, route.end_m) - std::max(from_m, route.start_m);
    multiples.reserve(static_cast<std::size_t>(std::max(onRoad_m, 0.0) / interval_m) + 2 * nb + 2);
    // Stretch by stretch between the breaks, each with the offset of the breaks before it.
    double offset = 0;
    for (std::size_t k = 0; k <= nb; ++k) {
        const double a = std::max(from_m, k == 0 ? route.start_m : route.breaks[k - 1].at_m);
        const double b = std::min(to_m, k == nb ? route.end_m : route.breaks[k].at_m);
        if (a <= b) {
            const double first = std::ceil((a + offset - kSameStake_m) / interval_m);
            const double last = std::floor((b + offset + kSameStake_m) / interval_m);
            for (double m = first; m <= last; ++m) {
                const double broken = m * interval_m;
                // The last multiple of a stretch that ends at a break is the break's own stake.
                const bool beforeBreak =
                    k < nb && std::fabs(broken - offset - route.breaks[k].at_m) <= kSameStake_m;
                multiples.push_back(
                    {broken - offset,
                     beforeBreak ? PlannedStake::kBeforeBreak : PlannedStake::kAfterBreak, "",
                     broken});
            }
        }
        if (k < nb)
            offset += route.breaks[k].after_m - route.breaks[k].before_m;
    }
    return multiples;
}

std::vector<PlannedStake> namedStakes(const Route& route, double from_m, double to_m) {
    // Only where the stretch lies on the road: a grade line or a stretch that reaches beyond BP
    // or EP adds no stake there.
    const double first_m = std::max(from_m, route.start_m), last_m = std::min(to_m, route.end_m);
    std::vector<PlannedStake> named;
    auto add = [&](double c, int order, const char* point, double broken) {
        if (c >= first_m - kSameStake_m && c <= last_m + kSameStake_m)
            named.push_back({std::min(std::max(c, from_m), to_m), order, point, broken});
    };
    auto addPoint = [&](double c, const char* point) {
        add(c, PlannedStake::kNamed, point, brokenChainage(route, c));
    };
    for (const ChainBreak& b : route.breaks) {
        add(b.at_m, PlannedStake::kBeforeBreak, "", b.before_m);
        add(b.at_m, PlannedStake::kAfterBreak, "", b.after_m);
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
    std::stable_sort(named.begin(), named.end(), before);
    return named;
}

std::vector<PlannedStake> mergedStakes(const std::vector<PlannedStake>& multiples,
                                       const std::vector<PlannedStake>& named) {
    std::vector<PlannedStake> stakes;
    stakes.reserve(multiples.size() + named.size());
    auto take = [&](const PlannedStake& p) {
        if (!stakes.empty()) {
            PlannedStake& q = stakes.back();
            // Within a millimetre, where their chainage texts read alike, a plain stake is the
            // named point beside it (a break given at the rounded chainage of a ZH).
            const bool samePlace =
                std::fabs(q.continuous_m - p.continuous_m) <= kOneText_m && sameText(q, p);
            if (samePlace && isPlain(p))
                return;
            if (samePlace && isPlain(q)) {
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
    return stakes;
}

Result<StakeTable> stakeTable(const Route& route, const StakeRequest& request,
                              const CrossSection* section) {
    const double from = request.from_m.value_or(route.start_m);
    const double to = request.to_m.value_or(route.end_m);
    if (const Result<void> stretch = stretchChecked(route, request, from, to); !stretch)
        return stretch.failure();
    // The multiples are counted before they are made, and everything once the named points (at
    // most a few a row of the files) are merged with them: what is refused is what would be
    // written, each stake once however many names meet there.
    const double onRoad_m = std::min(to, route.end_m) - std::max(from, route.start_m);
    if (onRoad_m / request.interval_m > kMostStakes)
        return Failure{"桩距太小：这一段会有一百万个以上的桩。"};
    const std::vector<PlannedStake> stakes = mergedStakes(
        wholeMultiples(route, from, to, request.interval_m), namedStakes(route, from, to));
    const std::size_t sides = sidePointCount(sideRequestOf(request));
    if (static_cast<double>(stakes.size()) * static_cast<double>(1 + sides) > kMostStakes)
        return Failure{"这一段的中桩、特征点与边桩合计会有一百万个以上。"};
    Result<StakeTable> table = StakeTable{};
    addRows(*table, route, section, request, stakes);
    if (std::optional<std::string> outside = outsideGradeLine(route, *table))
        table.warnings().push_back({std::move(*outside)});
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

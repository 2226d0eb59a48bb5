#include "route/route_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/csv_writing.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"

namespace hcurve {
namespace {

constexpr char kElementHeader[] =
    "点号,交点里程,X,Y,偏角,R,A1,A2,Ls1,Ls2,T1,T2,L,E,J,ZH,HY,QZ,YH,HZ,交点间距,方位角,直线长";
constexpr char kSegmentHeader[] =
    "线元,名称,起点里程,终点里程,长度,起点半径,终点半径,转向,起点X,起点Y,起点方位角,终点X,终点Y,"
    "终点方位角";
constexpr char kStakeHeader[] = "点,桩号,里程,X,Y,方位角";
constexpr char kLocateHeader[] = "里程,桩号,偏距,元素";
// The names of the grade line's points in the stake table: 变坡点, 竖曲线起点, 竖曲线终点.
constexpr char kGradePoint[] = "BPD";
constexpr char kVerticalCurveStart[] = "SQD";
constexpr char kVerticalCurveEnd[] = "SZD";
constexpr int kAzimuthDecimals = 6;

// More stakes than this are a mistyped interval, not a stake table.
constexpr double kMostStakes = 1e6;
// Two stakes nearer than this are the same stake.
constexpr double kSameStake_m = 1e-7;
// The last digit of a chainage text: two stakes this near may show one text.
constexpr double kOneText_m = 1e-3;

// Lengths and continuous chainages in metres.
std::string fixed4(double v) {
    return format(v, Pattern::Fixed4);
}

// Coordinates, rounded once as every coordinate of the one-curve fields, listing and export.
std::string coordinate(double v_m) {
    return coordinateText(v_m, kTableCoordinate);
}

std::string azimuthText(double v_deg) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", kAzimuthDecimals, v_deg);
    std::string t = text;
    if (t.find_first_not_of("-0.") == std::string::npos && t[0] == '-')
        t.erase(0, 1);  // no negative zero
    return t;
}

std::vector<std::string> splitHeader(std::string_view header) {
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t comma; (comma = header.find(',', start)) != std::string_view::npos;
         start = comma + 1)
        names.emplace_back(header.substr(start, comma - start));
    names.emplace_back(header.substr(start));
    return names;
}

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

// The side points' column names, in the order of sidePointsOf.
std::vector<std::string> sideColumnNames(const StakeRequest& request, bool withHeights) {
    std::vector<std::string> names;
    const std::vector<std::string> rows =
        request.doubleRow ? std::vector<std::string>{"前", "后"} : std::vector<std::string>{""};
    for (const std::string& row : rows) {
        for (auto [side, distances] :
             {std::pair{"左", &request.left_m}, {"右", &request.right_m}}) {
            for (std::size_t j = 1; j <= distances->size(); ++j) {
                names.push_back(row + side + std::to_string(j) + "X");
                names.push_back(row + side + std::to_string(j) + "Y");
                if (withHeights)
                    names.push_back(row + side + std::to_string(j) + "H");
            }
        }
    }
    return names;
}

}  // namespace

TableRows elementTableRows(const Route& route) {
    TableRows rows{splitHeader(kElementHeader)};
    const std::vector<RoutePointRow>& pts = route.points;
    const std::size_t n = route.curves.size();
    const auto azimuthOn = [&](std::size_t i) {
        return dmsText(azimuthBetween_deg(pts[i].x_m, pts[i].y_m, pts[i + 1].x_m, pts[i + 1].y_m));
    };

    std::vector<std::string> bp(23);
    bp[0] = pts[0].name;
    bp[1] = fixed4(route.start_m);
    bp[2] = coordinate(pts[0].x_m);
    bp[3] = coordinate(pts[0].y_m);
    bp[21] = azimuthOn(0);
    rows.push_back(bp);

    for (std::size_t k = 0; k < n; ++k) {
        const RouteCurve& rc = route.curves[k];
        const CurveElements& c = rc.curve;
        const double L = c.hz - c.zh;
        const double previousEnd = k == 0 ? route.start_m : route.curves[k - 1].curve.hz;
        rows.push_back({rc.name,
                        fixed4(c.K),
                        coordinate(c.X),
                        coordinate(c.Y),
                        dmsText(rc.deflection_deg),
                        fixed4(c.R),
                        fixed4(c.A1),
                        fixed4(c.A2),
                        fixed4(c.Ls1),
                        fixed4(c.Ls2),
                        fixed4(c.T1),
                        fixed4(c.T2),
                        fixed4(L),
                        fixed4(rc.external_m),
                        fixed4(c.T1 + c.T2 - L),
                        fixed4(c.zh),
                        fixed4(c.hy),
                        fixed4(rc.qz_m),
                        fixed4(c.yh),
                        fixed4(c.hz),
                        fixed4(legLength_m(pts[k], pts[k + 1])),
                        azimuthOn(k + 1),
                        fixed4(c.zh - previousEnd)});
    }

    std::vector<std::string> ep(23);
    ep[0] = pts.back().name;
    ep[1] = fixed4(route.end_m);
    ep[2] = coordinate(pts.back().x_m);
    ep[3] = coordinate(pts.back().y_m);
    ep[20] = fixed4(legLength_m(pts[n], pts[n + 1]));
    ep[22] = fixed4(route.end_m - route.curves.back().curve.hz);
    rows.push_back(ep);
    return rows;
}

TableRows segmentTableRows(const Route& route) {
    TableRows rows{splitHeader(kSegmentHeader)};
    const auto radius = [](double k_per_m) {
        return k_per_m == 0 ? "" : fixed4(1 / std::fabs(k_per_m));
    };
    for (const Element& e : route.alignment.elements) {
        const AlignmentPoint a = e.at(e.start_m()), b = e.at(e.end_m());
        const double k0 = e.startCurvature_per_m(), k1 = e.endCurvature_per_m();
        const double turn = k0 + k1;
        rows.push_back({elementKindName(e.kind()), e.name, fixed4(e.start_m()), fixed4(e.end_m()),
                        fixed4(e.length_m()), radius(k0), radius(k1),
                        turn > 0   ? "右"
                        : turn < 0 ? "左"
                                   : "",
                        coordinate(a.x_m), coordinate(a.y_m), azimuthDmsText(a.azimuth_deg),
                        coordinate(b.x_m), coordinate(b.y_m), azimuthDmsText(b.azimuth_deg)});
    }
    return rows;
}

std::string segmentTableCsv(const Route& route) {
    return csvText(segmentTableRows(route), kScriptCsv);
}

std::string elementTableCsv(const Route& route) {
    return csvText(elementTableRows(route), kScriptCsv);
}

SideRequest sideRequestOf(const StakeRequest& request) {
    return {request.left_m,    request.right_m, request.skew_deg,
            request.doubleRow, request.front_m, request.back_m};
}

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
        const AlignmentPoint at{s.x_m, s.y_m, s.tangent_deg};
        const AlignmentFrame frame = cross ? frameAt(at) : AlignmentFrame{};
        for (const SidePoint& side : sidePointsOf(at, sideRequest)) {
            table.sideX_m.push_back(side.x_m);
            table.sideY_m.push_back(side.y_m);
            if (!cross)
                continue;
            std::optional<double> H;
            if (const std::optional<AlignmentFoot> foot =
                    footNear(route.alignment, frame, p.continuous_m, side.x_m, side.y_m))
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

std::vector<std::string> stakeTableHeader(const StakeTable& table, const StakeRequest& request) {
    std::vector<std::string> header = splitHeader(kStakeHeader);
    if (table.withHeights)
        header.push_back("高程");
    for (std::string& name : sideColumnNames(request, table.withSideHeights))
        header.push_back(std::move(name));
    return header;
}

std::vector<std::string> stakeTableFields(const StakeTable& table, std::size_t i) {
    const StakeRow& r = table.rows[i];
    std::vector<std::string> fields = {r.point,
                                       r.text,
                                       fixed4(r.continuous_m),
                                       coordinate(r.x_m),
                                       coordinate(r.y_m),
                                       azimuthText(r.tangent_deg)};
    if (table.withHeights)
        fields.push_back(r.H_m ? fixed4(*r.H_m) : "");
    for (std::size_t j = 0; j < table.sidesPerStake; ++j) {
        const std::size_t at = i * table.sidesPerStake + j;
        fields.push_back(coordinate(table.sideX_m[at]));
        fields.push_back(coordinate(table.sideY_m[at]));
        if (table.withSideHeights)
            fields.push_back(std::isnan(table.sideH_m[at]) ? "" : fixed4(table.sideH_m[at]));
    }
    return fields;
}

TableRows stakeTableRows(const StakeTable& table, const StakeRequest& request) {
    TableRows rows{stakeTableHeader(table, request)};
    rows.reserve(table.rows.size() + 1);
    for (std::size_t i = 0; i < table.rows.size(); ++i)
        rows.push_back(stakeTableFields(table, i));
    return rows;
}

std::string stakeTableCsv(const StakeTable& table, const StakeRequest& request) {
    return csvText(stakeTableRows(table, request), kScriptCsv);
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

std::string locateCsv(const Route& route, const RouteFoot& foot,
                      std::optional<double> measuredH_m) {
    std::vector<std::string> header = splitHeader(kLocateHeader);
    std::vector<std::string> fields = {fixed4(foot.continuous_m),
                                       stakeText(route, foot.continuous_m), fixed4(foot.offset_m),
                                       foot.element};
    if (route.gradeLine) {
        const LocatedHeights h = locatedHeights(route, foot, measuredH_m);
        const auto add = [&](const char* title, const std::optional<double>& v) {
            header.push_back(title);
            fields.push_back(v ? fixed4(*v) : "");
        };
        add("中线高程", h.centre_m);
        if (route.crossFall)
            add("设计高程", h.design_m);
        if (measuredH_m)
            add("高差", h.above_m);
    }
    return csvText({header, fields}, kScriptCsv);
}

}  // namespace hcurve

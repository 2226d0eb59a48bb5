#include "route_files/route_tables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <unordered_map>

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
constexpr int kAzimuthDecimals = 6;

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

std::vector<std::string> locateHeader(const Route& route, bool heightColumn) {
    std::vector<std::string> header = splitHeader(kLocateHeader);
    if (route.gradeLine) {
        header.push_back("中线高程");
        if (route.crossFall)
            header.push_back("设计高程");
        if (heightColumn)
            header.push_back("高差");
    }
    return header;
}

std::vector<std::string> locateFields(const Route& route, const RouteFoot& foot,
                                      std::optional<double> measuredH_m, bool heightColumn) {
    std::vector<std::string> fields = {fixed4(foot.continuous_m),
                                       stakeText(route, foot.continuous_m), fixed4(foot.offset_m),
                                       foot.element};
    if (route.gradeLine) {
        const LocatedHeights h = locatedHeights(route, foot, measuredH_m);
        const auto add = [&](const std::optional<double>& v) {
            fields.push_back(v ? fixed4(*v) : "");
        };
        add(h.centre_m);
        if (route.crossFall)
            add(h.design_m);
        if (heightColumn)
            add(h.above_m);
    }
    return fields;
}

std::string locateCsv(const Route& route, const RouteFoot& foot,
                      std::optional<double> measuredH_m) {
    const bool heightColumn = measuredH_m.has_value();
    return csvText(
        {locateHeader(route, heightColumn), locateFields(route, foot, measuredH_m, heightColumn)},
        kScriptCsv);
}

std::vector<ExportPoint> routeExportPoints(const StakeTable& table, const StakeRequest& request) {
    std::vector<ExportPoint> points;
    // The rows in the order of the table's side points: per row, left then right.
    struct Row {
        const char* name;
        const char* tag;
    };
    const std::vector<Row> rows = request.doubleRow ? std::vector<Row>{{"前排", "F"}, {"后排", "B"}}
                                                    : std::vector<Row>{{"单排", ""}};
    const std::size_t n = table.sidesPerStake;
    // A long chain gives some chainage texts twice: the second stake of a text is named with
    // "-2" (the third "-3"), so that no two points of the file share a name.
    std::unordered_map<std::string, int> seen;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const StakeRow& r = table.rows[i];
        const int time = ++seen[r.text];
        const std::string name = time == 1 ? r.text : r.text + "-" + std::to_string(time);
        points.push_back({name, r.text, r.x_m, r.y_m, "中", "", "", r.H_m});
        std::size_t j = 0;
        for (const Row& row : rows) {
            for (bool left : {true, false}) {
                const std::vector<double>& distances = left ? request.left_m : request.right_m;
                for (std::size_t k = 0; k < distances.size(); ++k, ++j) {
                    std::optional<double> H;
                    if (table.withSideHeights && !std::isnan(table.sideH_m[i * n + j]))
                        H = table.sideH_m[i * n + j];
                    points.push_back(
                        {name + "-" + row.tag + (left ? "L" : "R") + std::to_string(k + 1), r.text,
                         table.sideX_m[i * n + j], table.sideY_m[i * n + j], left ? "左" : "右",
                         row.name, generalText(distances[k]), H});
                }
            }
        }
    }
    return points;
}

}  // namespace hcurve

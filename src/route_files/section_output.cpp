#include "route_files/section_output.h"

#include <algorithm>
#include <cmath>

#include "curve/csv_writing.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "geometry/design_check.h"
#include "route_files/csv_tables.h"

namespace hcurve {
namespace {

constexpr char kSlopeStakeHeader[] =
    "点名,桩号,里程,偏距,地面高程,填挖,边缘高程,设计偏距,移动距离,方向";
constexpr char kSectionHeader[] = "桩号,点,偏距,高程,X,Y";
constexpr const char* kPointTitles[] = {"点名", "X", "Y", "H"};
// The unbounded last step of a slope as a section lists it: this high.
constexpr double kDrawnLastStep_m = 2;

std::string fixed4(double v) {
    return format(v, Pattern::Fixed4);
}

std::string coordinate(double v_m) {
    return coordinateText(v_m, kTableCoordinate);
}

std::string optionalFixed4(const std::optional<double>& v) {
    return v ? fixed4(*v) : "";
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

// The points at signed offsets on the normal of a stake.
std::vector<SidePoint> onNormal(const StakeRow& stake, const std::vector<double>& offsets_m) {
    SideRequest request;
    request.right_m = offsets_m;
    return sidePointsOf({stake.x_m, stake.y_m, stake.tangent_deg}, request);
}

// The place of each edge of a stake among the columns (npos where the column is not the stake's).
std::vector<std::size_t> edgeOrder(const std::vector<EdgeColumn>& columns,
                                   const std::vector<FormationEdge>& edges) {
    std::vector<std::size_t> order(columns.size(), std::string::npos);
    for (std::size_t e = 0; e < edges.size(); ++e)
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (columns[c].side == edges[e].side && columns[c].component == edges[e].component)
                order[c] = e;
    return order;
}

}  // namespace

std::vector<std::string> edgeHeader(const std::vector<EdgeColumn>& columns) {
    std::vector<std::string> header;
    header.reserve(2 * columns.size());
    for (const EdgeColumn& c : columns) {
        const std::string name = sideText(c.side) + c.component + "边缘";
        header.push_back(name + "偏距");
        header.push_back(name + "高程");
    }
    return header;
}

std::vector<std::string> edgeFields(const CrossSection& section, const Route& route,
                                    const std::vector<EdgeColumn>& columns, double continuous_m) {
    const std::vector<FormationEdge> edges = formationEdges(section, route, continuous_m);
    const std::vector<std::size_t> order = edgeOrder(columns, edges);
    std::vector<std::string> fields;
    fields.reserve(2 * columns.size());
    for (std::size_t e : order) {
        if (e == std::string::npos) {
            fields.emplace_back();
            fields.emplace_back();
            continue;
        }
        fields.push_back(fixed4(edges[e].offset_m));
        fields.push_back(optionalFixed4(edges[e].H_m));
    }
    return fields;
}

std::string stakeTableWithEdgesCsv(const StakeTable& table, const StakeRequest& request,
                                   const CrossSection& section, const Route& route) {
    const std::vector<EdgeColumn> columns = edgeColumns(section);
    // Line by line: a table of every edge every 5 m over 100 km is never held as fields at once.
    std::vector<std::string> fields = stakeTableHeader(table, request);
    for (std::string& name : edgeHeader(columns))
        fields.push_back(std::move(name));
    std::string text = csvStart(kScriptCsv) + csvLine(fields, kScriptCsv);
    text.reserve(text.size() * (table.rows.size() + 1));
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        fields = stakeTableFields(table, i);
        for (std::string& field : edgeFields(section, route, columns, table.rows[i].continuous_m))
            fields.push_back(std::move(field));
        text += csvLine(fields, kScriptCsv);
    }
    return text;
}

std::vector<ExportPoint> exportPointsWithEdges(const StakeTable& table, const StakeRequest& request,
                                               const CrossSection& section, const Route& route,
                                               bool asciiNames) {
    const std::vector<ExportPoint> plain = routeExportPoints(table, request);
    std::vector<ExportPoint> points;
    // Each stake is one point and its side points in routeExportPoints.
    const std::size_t perStake = 1 + table.sidesPerStake;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto first = plain.begin() + static_cast<long>(i * perStake);
        points.insert(points.end(), first, first + static_cast<long>(perStake));
        const ExportPoint& stake = *first;
        const std::vector<FormationEdge> edges =
            formationEdges(section, route, table.rows[i].continuous_m);
        std::vector<double> offsets;
        offsets.reserve(edges.size());
        for (const FormationEdge& e : edges)
            offsets.push_back(e.offset_m);
        const std::vector<SidePoint> at = onNormal(table.rows[i], offsets);
        int numbers[2] = {0, 0};
        for (std::size_t e = 0; e < edges.size(); ++e) {
            const char* side = sideText(edges[e].side);
            const bool left = edges[e].side == SectionSide::Left;
            const int number = ++numbers[left ? 0 : 1];
            const std::string tag = asciiNames
                                        ? std::string(left ? "LE" : "RE") + std::to_string(number)
                                        : side + edges[e].component;
            points.push_back({stake.name + "-" + tag, stake.chainage, at[e].x_m, at[e].y_m, side,
                              edges[e].component,
                              format(std::fabs(edges[e].offset_m), Pattern::Fixed3), edges[e].H_m});
        }
    }
    return points;
}

SectionSlopes defaultSectionSlopes(const CrossSection& section) {
    SectionSlopes slopes;
    slopes.left = section.fill[0].empty() && !section.cut[0].empty() ? SectionEarthwork::Cut
                                                                     : SectionEarthwork::Fill;
    slopes.right = section.fill[1].empty() && !section.cut[1].empty() ? SectionEarthwork::Cut
                                                                      : SectionEarthwork::Fill;
    return slopes;
}

std::string sectionTableCsv(const StakeTable& table, const CrossSection& section,
                            const Route& route, const SectionSlopes& slopes) {
    TableRows rows{splitHeader(kSectionHeader)};
    SectionRequest request;
    request.left = slopes.left;
    request.right = slopes.right;
    request.lastStepHeight_m = kDrawnLastStep_m;
    for (const StakeRow& stake : table.rows) {
        const std::vector<SectionPoint> points =
            designSection(section, route, stake.continuous_m, request);
        std::vector<double> offsets;
        offsets.reserve(points.size());
        for (const SectionPoint& p : points)
            offsets.push_back(p.offset_m);
        const std::vector<SidePoint> at = onNormal(stake, offsets);
        for (std::size_t k = 0; k < points.size(); ++k)
            rows.push_back({stake.text, points[k].name, fixed4(points[k].offset_m),
                            optionalFixed4(points[k].H_m), coordinate(at[k].x_m),
                            coordinate(at[k].y_m)});
    }
    return csvText(rows, kScriptCsv);
}

namespace {

// The points of a file 点名,X,Y[,H]: with optionalHeights an H column may be missing and an H
// empty.
Result<LocatedPointFile> readPoints(std::string_view utf8Text, bool optionalHeights) {
    const auto known = [](std::string_view title, const std::vector<std::string>&) {
        return std::find(std::begin(kPointTitles), std::end(kPointTitles), title) !=
               std::end(kPointTitles);
    };
    const Result<CsvSplit> split =
        splitTables(utf8Text, [](const CsvTable&, const std::vector<std::string>&) { return true; },
                    known, {64 * 1024, 1000000});
    if (!split)
        return split.failure();
    const char* const titles = optionalHeights ? "点名,X,Y（可再有 H）" : "点名,X,Y,H";
    if (split->tables.empty())
        return Failure{std::string("文件是空的：没有点（表头 ") + titles + "）。",
                       std::max(split->lines, 1)};
    const CsvTable& table = split->tables.front();
    std::vector<Failure> faults;
    std::optional<std::size_t> columns[4];
    for (std::size_t c = 0; c < 4; ++c) {
        columns[c] = columnOf(table.header, kPointTitles[c]);
        if (!columns[c] && !(optionalHeights && c == 3))
            faults.push_back(
                {std::string("点的表头缺少 ") + kPointTitles[c] + " 列（" + titles + "）。",
                 table.headerLine});
    }
    if (!faults.empty())
        return Result<LocatedPointFile>::failed(std::move(faults));
    LocatedPointFile file;
    file.heights = columns[3].has_value();
    for (const CsvRow& row : table.rows) {
        if (faults.size() >= kMostRouteFaults)
            break;
        SurveyedPoint p;
        p.line = row.line;
        p.name = shownText(field(row.fields, columns[0]));
        double* values[] = {&p.x_m, &p.y_m, &p.H_m};
        bool good = true;
        for (std::size_t c = 1; c < 4; ++c) {
            if (!columns[c]) {
                p.measured = false;
                continue;
            }
            const std::string t = field(row.fields, columns[c]);
            if (c == 3 && optionalHeights && t.find_first_not_of(" \t") == std::string::npos) {
                p.measured = false;
                continue;
            }
            const std::optional<double> v = readNumber(t);
            if (!v || std::fabs(*v) > kMaxCoordinate_m) {
                faults.push_back({std::string(kPointTitles[c]) + " 必须是数值，“" + shownText(t) +
                                      "” 不是有效的数值。",
                                  row.line});
                good = false;
            } else {
                *values[c - 1] = *v;
            }
        }
        if (good)
            file.points.push_back(std::move(p));
    }
    if (!faults.empty())
        return Result<LocatedPointFile>::failed(std::move(faults));
    return file;
}

}  // namespace

Result<std::vector<SurveyedPoint>> readSurveyedPoints(std::string_view utf8Text) {
    Result<LocatedPointFile> file = readPoints(utf8Text, false);
    if (!file)
        return Result<std::vector<SurveyedPoint>>::failed(file.failures());
    return std::move(file->points);
}

Result<LocatedPointFile> readLocatedPoints(std::string_view utf8Text) {
    return readPoints(utf8Text, true);
}

std::vector<std::string> slopeStakeHeader() {
    return splitHeader(kSlopeStakeHeader);
}

std::vector<std::string> slopeStakeFields(const Route& route, const SurveyedPoint& point,
                                          const RouteFoot& foot, const SlopeStake& stake) {
    return {point.name,
            stakeText(route, foot.continuous_m),
            fixed4(foot.continuous_m),
            fixed4(foot.offset_m),
            fixed4(point.H_m),
            earthworkText(stake.earthwork),
            fixed4(stake.edgeH_m),
            optionalFixed4(stake.designOffset_m),
            stake.distance_m ? format(*stake.distance_m, Pattern::Fixed3) : "",
            moveText(stake.move)};
}

std::vector<std::string> locateOnSectionHeader(const Route& route, bool heightColumn) {
    std::vector<std::string> header = {"里程", "桩号", "偏距", "元素"};
    if (route.gradeLine) {
        header.push_back("中线高程");
        header.push_back("设计高程");
        if (heightColumn)
            header.push_back("高差");
    }
    header.push_back("部件");
    return header;
}

std::vector<std::string> locateOnSectionFields(const Route& route, const CrossSection& section,
                                               const RouteFoot& foot,
                                               std::optional<double> measuredH_m,
                                               bool heightColumn) {
    std::vector<std::string> fields = {fixed4(foot.continuous_m),
                                       stakeText(route, foot.continuous_m), fixed4(foot.offset_m),
                                       foot.element};
    std::optional<SurfacePoint> surface;
    if (measuredH_m)
        surface =
            designSurfaceUnder(section, route, foot.continuous_m, foot.offset_m, *measuredH_m);
    if (!surface) {
        // Without a height (or a grade line) to choose the slope: the formation only.
        surface = designSurfaceAt(section, route, foot.continuous_m, foot.offset_m,
                                  SectionEarthwork::Fill);
        if (surface && !surface->onFormation)
            surface.reset();
    }
    if (route.gradeLine) {
        const LocatedHeights h = locatedHeights(route, foot, measuredH_m);
        fields.push_back(optionalFixed4(h.centre_m));
        // As plain numbers (NaN for none): GCC's release build takes an optional copied out of
        // the surface for one that may be read uninitialised.
        const double design_m = surface && surface->H_m ? *surface->H_m : std::nan("");
        const auto shown = [](double v) {
            return std::isnan(v) ? std::nullopt : std::optional<double>(v);
        };
        fields.push_back(optionalFixed4(shown(design_m)));
        if (heightColumn)
            fields.push_back(
                optionalFixed4(measuredH_m ? shown(*measuredH_m - design_m) : std::nullopt));
    }
    fields.push_back(surface ? surface->component : "");
    return fields;
}

std::string locateOnSectionCsv(const Route& route, const CrossSection& section,
                               const RouteFoot& foot, std::optional<double> measuredH_m) {
    const bool heightColumn = measuredH_m.has_value();
    return csvText({locateOnSectionHeader(route, heightColumn),
                    locateOnSectionFields(route, section, foot, measuredH_m, heightColumn)},
                   kScriptCsv);
}

}  // namespace hcurve

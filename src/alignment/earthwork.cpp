#include "alignment/earthwork.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "alignment/grade_line.h"
#include "alignment/route.h"
#include "curve/format.h"

namespace hcurve {

namespace {

constexpr double kMetresPerKilometre = 1000;
// Beyond the ground's lowest (fill) or highest (cut) point the unbounded last step reaches at
// least this much further, so that a slope that has not met the ground by then never will.
constexpr double kReachBeyond_m = 1;

std::string offsetText(double offset_m) {
    return format(offset_m, Pattern::Fixed3);
}

// A point in a side's outward frame: u the distance from the centre line, z the height.
struct Outward {
    double u, z;
};

// The value at u of the segment a -> b (a.u < b.u).
double along(const Outward& a, const Outward& b, double u) {
    return a.z + (u - a.u) * (b.z - a.z) / (b.u - a.u);
}

// The ground in a side's outward frame, from the centre line's side outwards.
std::vector<Outward> outwardGround(const std::vector<GroundPoint>& ground, SectionSide side) {
    std::vector<Outward> out;
    out.reserve(ground.size());
    if (side == SectionSide::Right) {
        for (const GroundPoint& p : ground)
            out.push_back({p.offset_m, p.H_m});
    } else {
        for (auto p = ground.rbegin(); p != ground.rend(); ++p)
            out.push_back({-p->offset_m, p->H_m});
    }
    return out;
}

// The ground's height at u, on the outer side of a vertical step there; nothing beyond its ends.
std::optional<double> groundAt(const std::vector<Outward>& g, double u) {
    for (std::size_t k = g.size() - 1; k > 0; --k) {
        const Outward &a = g[k - 1], &b = g[k];
        if (a.u <= u && u <= b.u)
            return a.u == b.u ? b.z : along(a, b, u);
    }
    return std::nullopt;
}

// Where the design segment d0 -> d1 (d0.u <= d1.u) meets the ground: the first point outwards, or
// with outermost the last.
std::optional<Outward> meeting(const Outward& d0, const Outward& d1, const std::vector<Outward>& g,
                               bool outermost = false) {
    if (d0.u == d1.u) {
        // A vertical wall of a ditch: met where the ground passes between its heights.
        const std::optional<double> z = groundAt(g, d0.u);
        if (z && std::min(d0.z, d1.z) <= *z && *z <= std::max(d0.z, d1.z))
            return Outward{d0.u, *z};
        return std::nullopt;
    }
    std::optional<Outward> found;
    for (std::size_t k = 1; k < g.size(); ++k) {
        const Outward &g0 = g[k - 1], &g1 = g[k];
        if (g1.u < d0.u)
            continue;
        if (g0.u > d1.u)
            break;
        if (g0.u == g1.u) {
            // A vertical step of the ground: met where the slope passes between its heights.
            const double z = along(d0, d1, g0.u);
            if (std::min(g0.z, g1.z) <= z && z <= std::max(g0.z, g1.z))
                found = Outward{g0.u, z};
        } else {
            const double a = std::max(d0.u, g0.u), b = std::min(d1.u, g1.u);
            const double fa = along(d0, d1, a) - along(g0, g1, a);
            const double fb = along(d0, d1, b) - along(g0, g1, b);
            if (outermost && fb == 0) {
                found = Outward{b, along(d0, d1, b)};
            } else if (fa == 0) {
                found = Outward{a, along(d0, d1, a)};
            } else if ((fa < 0) != (fb < 0) || fb == 0) {
                const double t = std::clamp(fa / (fa - fb), 0.0, 1.0);
                const double u = std::min(b, a + (b - a) * t);
                found = Outward{u, along(d0, d1, u)};
            }
        }
        if (found && !outermost)
            return found;
    }
    return found;
}

// How many break points the slope of a side has beyond its formation edge (as designSection lists
// them), and how many of them belong to the ditch.
struct SlopeCount {
    std::size_t points = 0, ditch = 0;
};
SlopeCount slopeCount(const CrossSection& section, int i, SectionEarthwork kind) {
    SlopeCount n;
    if (kind == SectionEarthwork::Cut && section.ditch[i])
        n.ditch = section.ditch[i]->bottomWidth_m > 0 ? 3 : 2;
    n.points = n.ditch;
    for (const SlopeStep& step : kind == SectionEarthwork::Fill ? section.fill[i] : section.cut[i])
        n.points += step.berm_m > 0 ? 2 : 1;
    return n;
}

// The fill and cut between two polylines over [design.front(), design.back()]: each linear
// between its break points (offsets never decreasing; a vertical step where two share one);
// ground covers the design's offsets.
void integrate(const std::vector<SectionLinePoint>& design,
               const std::vector<SectionLinePoint>& ground, double& fill_m2, double& cut_m2) {
    const double lo = design.front().offset_m, hi = design.back().offset_m;
    std::vector<double> cuts;
    cuts.reserve(design.size() + ground.size());
    for (const SectionLinePoint& p : design)
        cuts.push_back(p.offset_m);
    const std::size_t middle = cuts.size();
    for (const SectionLinePoint& p : ground)
        if (p.offset_m > lo && p.offset_m < hi)
            cuts.push_back(p.offset_m);
    std::inplace_merge(cuts.begin(), cuts.begin() + middle, cuts.end());
    // The linear piece of a polyline over (a, b), which holds no break point of it: its values at
    // a and b.
    struct Sweep {
        const std::vector<SectionLinePoint>& p;
        std::size_t k = 0;
        std::pair<double, double> over(double a, double b) {
            while (k + 2 < p.size() && p[k + 1].offset_m <= a)
                ++k;
            const SectionLinePoint &s = p[k], &e = p[k + 1];
            const double slope = (e.H_m - s.H_m) / (e.offset_m - s.offset_m);
            return {s.H_m + (a - s.offset_m) * slope, s.H_m + (b - s.offset_m) * slope};
        }
    };
    Sweep d{design}, g{ground};
    fill_m2 = cut_m2 = 0;
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        const double a = cuts[k - 1], b = cuts[k];
        if (!(b > a))
            continue;
        const auto [da, db] = d.over(a, b);
        const auto [ga, gb] = g.over(a, b);
        const double fa = da - ga, fb = db - gb, w = b - a;
        if (fa >= 0 && fb >= 0) {
            fill_m2 += (fa + fb) / 2 * w;
        } else if (fa <= 0 && fb <= 0) {
            cut_m2 -= (fa + fb) / 2 * w;
        } else {
            // The lines cross at a + w fa / (fa - fb): a triangle on each side.
            const double x = w * fa / (fa - fb);
            const double first = fa * x / 2, second = fb * (w - x) / 2;
            (fa > 0 ? fill_m2 : cut_m2) += std::fabs(first);
            (fb > 0 ? fill_m2 : cut_m2) += std::fabs(second);
        }
    }
}

}  // namespace

Result<SectionAreas> sectionAreas(const CrossSection& section, const Route& route,
                                  double continuous_m, const std::vector<GroundPoint>& ground) {
    if (!std::isfinite(continuous_m))
        return Failure{"断面的里程要是有限的数。"};
    if (ground.size() < 2)
        return Failure{"地面线不到两个点。"};
    for (std::size_t k = 0; k < ground.size(); ++k) {
        const GroundPoint& p = ground[k];
        if (!std::isfinite(p.offset_m) || !std::isfinite(p.H_m))
            return Failure{"地面线的偏距和高程要是有限的数。"};
        if (k > 0 && p.offset_m < ground[k - 1].offset_m)
            return Failure{"地面线的偏距没有从左到右排列" +
                           (p.line > 0 ? "（第 " + std::to_string(p.line) + " 行）" : "") + "。"};
    }
    const std::optional<double> h =
        route.gradeLine ? designElevation_m(*route.gradeLine, continuous_m) : std::nullopt;
    if (!h)
        return Failure{"该处没有设计高程：路线没有纵断面，或桩号在纵断面之外。"};
    const double centreH = *h + carriagewayAt(section, continuous_m).lift_m;
    const std::vector<FormationEdge> edges = formationEdges(section, route, continuous_m);
    const SectionTemplate& t = templateAt(section, continuous_m);
    double low = ground.front().H_m, high = low;
    for (const GroundPoint& p : ground) {
        low = std::min(low, p.H_m);
        high = std::max(high, p.H_m);
    }

    SectionEarthwork kinds[2];
    std::vector<Outward> outwardGrounds[2];
    double reach = kReachBeyond_m;
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        const int i = side == SectionSide::Left ? 0 : 1;
        double edge_m = 0, edgeH = centreH;
        for (const FormationEdge& e : edges) {
            if (e.side == side) {
                edge_m = std::fabs(e.offset_m);
                edgeH = *e.H_m;
            }
        }
        outwardGrounds[i] = outwardGround(ground, side);
        const std::optional<double> there = groundAt(outwardGrounds[i], edge_m);
        if (!there)
            return Failure{std::string("地面线没有测到") + sideText(side) + "侧路基边缘（偏距 " +
                           offsetText(side == SectionSide::Left ? -edge_m : edge_m) + "）。"};
        kinds[i] = *earthworkFor(section, route, continuous_m, side, *there);
        const bool fill = kinds[i] == SectionEarthwork::Fill;
        if ((fill ? section.fill[i] : section.cut[i]).empty())
            return Failure{std::string(sideText(side)) + "侧没有" + (fill ? "填方" : "挖方") +
                           "边坡。"};
        reach = std::max(reach, (fill ? edgeH - low : high - edgeH) + kReachBeyond_m);
    }

    SectionRequest request;
    request.left = kinds[0];
    request.right = kinds[1];
    request.lastStepHeight_m = reach;
    const std::vector<SectionPoint> points = designSection(section, route, continuous_m, request);
    const SlopeCount slopes[2] = {slopeCount(section, 0, kinds[0]),
                                  slopeCount(section, 1, kinds[1])};
    const std::size_t formation[2] = {t.left.size(), t.right.size()};
    const std::size_t leftCount = formation[0] + slopes[0].points;
    if (points.size() != leftCount + 1 + formation[1] + slopes[1].points)
        return Failure{"设计横断面的点数不对（内部错误）。"};

    SectionAreas areas;
    areas.centreHeight_m = centreH;
    std::vector<SectionLinePoint> kept[2];  // outwards from the centre, the catch point last
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        const int i = side == SectionSide::Left ? 0 : 1;
        const double sign = side == SectionSide::Left ? -1 : 1;
        std::vector<Outward> line{{0, centreH}};
        for (std::size_t k = 0; k < formation[i] + slopes[i].points; ++k) {
            const SectionPoint& p = i == 0 ? points[leftCount - 1 - k] : points[leftCount + 1 + k];
            line.push_back({std::fabs(p.offset_m), *p.H_m});
        }
        std::optional<Outward> met;
        std::size_t segment = formation[i] + slopes[i].ditch;
        for (; segment + 1 < line.size(); ++segment) {
            if (line[segment + 1].u > line[segment].u &&
                (met = meeting(line[segment], line[segment + 1], outwardGrounds[i])))
                break;
        }
        const bool fill = kinds[i] == SectionEarthwork::Fill;
        // A cut whose slope starts above the ground (the ground falls below the formation's level
        // across the ditch): the design line comes out of the ground on the ditch, at its
        // outermost meeting.
        const std::size_t slopeStart = formation[i] + slopes[i].ditch;
        if (!met && !fill && slopes[i].ditch > 0) {
            const std::optional<double> g = groundAt(outwardGrounds[i], line[slopeStart].u);
            if (g && *g < line[slopeStart].z) {
                for (segment = slopeStart; segment-- > formation[i];)
                    if ((met = meeting(line[segment], line[segment + 1], outwardGrounds[i], true)))
                        break;
            }
        }
        if (!met)
            return Failure{std::string(sideText(side)) + "侧" + (fill ? "填方" : "挖方") +
                           "边坡到地面线的端点（偏距 " +
                           offsetText(sign * outwardGrounds[i].back().u) +
                           "）还没有与地面线相交：地面线太短。"};
        for (std::size_t k = 1; k <= segment; ++k)
            kept[i].push_back({sign * line[k].u, line[k].z});
        kept[i].push_back({sign * met->u, met->z});
        CatchPoint& c = i == 0 ? areas.left : areas.right;
        c.side = side;
        c.earthwork = kinds[i];
        c.at = kept[i].back();
    }
    areas.design.reserve(kept[0].size() + kept[1].size() + 1);
    areas.design.assign(kept[0].rbegin(), kept[0].rend());
    areas.design.push_back({0, centreH});
    areas.design.insert(areas.design.end(), kept[1].begin(), kept[1].end());

    std::vector<SectionLinePoint> groundLine;
    groundLine.reserve(ground.size());
    for (const GroundPoint& p : ground)
        groundLine.push_back({p.offset_m, p.H_m});
    integrate(areas.design, groundLine, areas.fill_m2, areas.cut_m2);
    // The ground at offset 0: both formation edges lie on the ground line, so it spans 0.
    areas.centreHeight_m = centreH - *groundAt(outwardGrounds[1], 0);
    return areas;
}

double sectionVolume_m3(double a1_m2, double a2_m2, double distance_m, VolumeMethod method) {
    if (method == VolumeMethod::AverageEndArea)
        return distance_m * (a1_m2 + a2_m2) / 2;
    return distance_m / 3 * (a1_m2 + a2_m2 + std::sqrt(a1_m2 * a2_m2));
}

EarthworkVolumes earthworkVolumes(const std::vector<EarthworkStation>& stations,
                                  VolumeMethod method) {
    EarthworkVolumes v;
    v.rows.resize(stations.size());
    for (std::size_t k = 1; k < stations.size(); ++k) {
        const EarthworkStation &a = stations[k - 1], &b = stations[k];
        VolumeRow& row = v.rows[k];
        row.distance_m = b.continuous_m - a.continuous_m;
        row.fill_m3 = sectionVolume_m3(a.fill_m2, b.fill_m2, row.distance_m, method);
        row.cut_m3 = sectionVolume_m3(a.cut_m2, b.cut_m2, row.distance_m, method);
        v.distance_m += row.distance_m;
        v.fill_m3 += row.fill_m3;
        v.cut_m3 += row.cut_m3;
        row.totalFill_m3 = v.fill_m3;
        row.totalCut_m3 = v.cut_m3;
        // The kilometre of the 桩号 where the interval begins, as its text shows it (to the mm).
        const auto kilometre =
            static_cast<long long>(std::floor(std::round(a.chainage_m * kMetresPerKilometre) /
                                              (kMetresPerKilometre * kMetresPerKilometre)));
        if (v.kilometres.empty() || v.kilometres.back().kilometre != kilometre ||
            v.kilometres.back().lastRow != k - 1)
            v.kilometres.push_back({kilometre, k, 0, 0, 0});
        KilometreSubtotal& s = v.kilometres.back();
        s.lastRow = k;
        s.distance_m += row.distance_m;
        s.fill_m3 += row.fill_m3;
        s.cut_m3 += row.cut_m3;
    }
    return v;
}

}  // namespace hcurve

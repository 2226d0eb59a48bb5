// The whole route: a 60-JD road of about 100 km staked every 5 m with two side points each side,
// a 10 000-JD file read and computed, 100 000 surveyed points located on the 60-JD road, and the
// same stakes with their design elevations from a grade line of 80 PVIs and 200 cross-fall rows.
//
// What they may take, in the release build on a quiet machine (figures, not a test): the stakes
// every 5 m at most 10 ms, the 10 000-JD file at most 20 ms, the 100 000 points at most 100 ms; the
// stakes every 5 m with every edge of a four-lane section at most 80 ms, 10 000 slope stakes at
// most 100 ms; the areas of 10 000 ground sections of 30 points and the volumes between them at
// most 200 ms.
// Measured on a quiet machine before the foot search had its index: 5.15 ms, 21.7 ms and 125 ms
// for the first three. Since, in instructions (callgrind, repeatable on a busy machine) and CPU
// time on two shared cores at load 6 to 9: the stakes 50.0 M -> 49.9 M (3.9 ms -> 3.7 ms); the
// file read and built 158 M -> 154 M (16 ms either way: two fifths of it are the clothoids'
// pieces and the one-curve formulas of every JD, whose digits the tables show); the points
// 1380 M -> 471 M (87 ms -> 31 ms), where each point had looked over every element's box.
// The 10 000 ground sections in the release build: 39 ms of CPU time at load 8.
// Where the 10 000-JD file's time goes (callgrind, default build): 156.4 M instructions, of which
// building 102.8 M (the clothoids' pieces 40.6 M: their series 14.9 M, sines and cosines 8.1 M;
// the one-curve formulas of every JD 18.9 M) and reading 53.7 M (the CSV split 26.0 M, the
// numbers 17.9 M). With unquoted fields taken straight from the text, 154.0 M.
// Where the stakes every 5 m go (callgrind of stakeTable, release build; 20 273 stakes, 4 side
// points each): 50.1 M instructions, of which the chainage texts 25.8 M (1 275 a stake: the metre
// part's rounding from its 15-digit text 15.6 M, the kilometres' text and the pieces appended and
// compared 10.2 M), the stake's position 8.3 M (the element searched for twice), the side points
// 7.5 M (the two rows' directions worked out for a single row, a vector a stake). With a metre
// part of whole millimetres written from them, the text in one piece, one element search a stake
// guessed from the stake before's, and the side points in one buffer: 24.0 M (every output byte
// the same, tools/same_output.sh); CPU time on two shared cores 6.9 ms at load 15 to 19 before,
// 4.6 ms at load 13 to 14 after. The file read and built 49.6 M + 96.8 M, the points 470 M, as
// before.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "alignment/alignment.h"
#include "alignment/cross_section.h"
#include "alignment/earthwork.h"
#include "alignment/route.h"
#include "curve/angle.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"

namespace hcurve {
namespace {

constexpr double kLeg_m = 1650.0;

// BP, n JDs turning right and left in turn by 15 to 35 degrees on radii of 1000 to 2000 m with
// spirals of 150 to 250 m, EP; legs of 1.65 km.
RouteDesign zigzag(int jds) {
    RouteDesign d;
    d.startChainage_m = 10000;
    double x = 3000000, y = 500000, az = 45;
    d.points.push_back({1, "BP", x, y, 0, 0, 0});
    for (int i = 1; i <= jds + 1; ++i) {
        x += kLeg_m * std::cos(az * kDegreeFactor);
        y += kLeg_m * std::sin(az * kDegreeFactor);
        if (i == jds + 1) {
            d.points.push_back({i + 1, "EP", x, y, 0, 0, 0});
            break;
        }
        const double R = 1000 + (i * 37 % 11) * 100;
        const double Ls1 = 150 + (i * 13 % 5) * 25, Ls2 = 150 + (i * 7 % 5) * 25;
        d.points.push_back(
            {i + 1, "JD" + std::to_string(i), x, y, R, std::sqrt(Ls1 * R), std::sqrt(Ls2 * R)});
        const double turn = 15 + (i * 17 % 21);
        az += (i % 2 == 0 ? 1 : -1) * turn;
    }
    return d;
}

std::string asFile(const RouteDesign& d) {
    std::string text = "点号,X,Y,R,A1,A2,桩号\n";
    char row[200];
    for (std::size_t i = 0; i < d.points.size(); ++i) {
        const RoutePointRow& p = d.points[i];
        std::snprintf(row, sizeof row, "%s,%.4f,%.4f,%.4f,%.4f,%.4f,%s\n", p.name.c_str(), p.x_m,
                      p.y_m, p.R_m, p.A1_m, p.A2_m, i == 0 ? "K10+000" : "");
        text += row;
    }
    return text;
}

// At most 10 ms.
void BM_RouteStakesEvery5m(benchmark::State& state) {
    const Route route = buildRoute(zigzag(60))->route;
    StakeRequest request;
    request.interval_m = 5;
    request.left_m = {5, 10};
    request.right_m = {5, 10};
    std::size_t stakes = 0;
    for (auto _ : state) {
        StakeTable table = *stakeTable(route, request);
        stakes = table.rows.size();
        benchmark::DoNotOptimize(table);
    }
    state.counters["stakes"] = static_cast<double>(stakes);
    state.counters["route_km"] = (route.end_m - route.start_m) / 1000;
}
BENCHMARK(BM_RouteStakesEvery5m)->Unit(benchmark::kMillisecond);

// At most 20 ms.
void BM_ReadRouteFileOf10000Jds(benchmark::State& state) {
    const std::string text = asFile(zigzag(10000));
    for (auto _ : state) {
        const Result<RouteDesign> reading = readRouteFile(text);
        const Result<BuiltRoute> building = buildRoute(*reading);
        if (!building)
            state.SkipWithError("the 10 000-JD route has faults");
        benchmark::DoNotOptimize(building);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
// 80 PVIs with vertical curves alternating up and down over the road, and a cross-fall table of
// 200 rows alternating a crown and a superelevation.
Route withGradeLine() {
    RouteDesign d = zigzag(60);
    Route bare = buildRoute(d)->route;
    const double s0 = bare.start_m, length = bare.end_m - bare.start_m;
    d.grade = GradeTable{};
    for (int i = 0; i <= 81; ++i) {
        const double H = 400 + (i % 2 == 0 ? 0 : 12) + (i % 3) * 2.0;
        const double R = i == 0 || i == 81 ? 0 : 8000 + (i % 4) * 1000;
        d.grade->rows.push_back({i + 100, {"", s0 + length * i / 81, false}, H, R});
    }
    d.crossFall = CrossFallTable{};
    for (int i = 0; i < 200; ++i) {
        const bool crown = i % 2 == 0;
        d.crossFall->rows.push_back(
            {i + 200, {"", s0 + length * i / 199, false}, crown ? -2.0 : 4.0, crown ? -2.0 : -4.0});
    }
    return buildRoute(d)->route;
}

void BM_RouteStakesWithElevationsEvery5m(benchmark::State& state) {
    const Route route = withGradeLine();
    StakeRequest request;
    request.interval_m = 5;
    request.left_m = {5, 10};
    request.right_m = {5, 10};
    std::size_t stakes = 0;
    for (auto _ : state) {
        StakeTable table = *stakeTable(route, request);
        stakes = table.rows.size();
        benchmark::DoNotOptimize(table);
    }
    state.counters["stakes"] = static_cast<double>(stakes);
}
BENCHMARK(BM_RouteStakesWithElevationsEvery5m)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ReadRouteFileOf10000Jds)->Unit(benchmark::kMillisecond);

// At most 100 ms.
void BM_Locate100000Points(benchmark::State& state) {
    const Route route = buildRoute(zigzag(60))->route;
    std::vector<std::pair<double, double>> points;
    const double length = route.end_m - route.start_m;
    for (int i = 0; i < 100000; ++i) {
        const double c = route.start_m + length * (i + 0.5) / 100000;
        const RouteStake s = stakeAt(route, c);
        const double offset = (i * 7919 % 401) / 10.0 - 20;  // -20 .. 20 m
        const double right = (s.tangent_deg + 90) * kDegreeFactor;
        points.emplace_back(s.x_m + offset * std::cos(right), s.y_m + offset * std::sin(right));
    }
    for (auto _ : state) {
        for (const auto& [x, y] : points) {
            auto foot = locate(route, x, y);
            benchmark::DoNotOptimize(foot);
        }
    }
}
BENCHMARK(BM_Locate100000Points)->Unit(benchmark::kMillisecond);

// The four-lane template of a motorway on each side (median 1.0 m at -2 %, carriageway 7.5 m and
// hard shoulder 2.5 m following the crown, earth shoulder 0.75 m at -4 %), a crown of 2 %, a
// superelevation of 4 to 8 % and a widening of 0.4 to 1.2 m on every curve, fill and cut slopes
// with a berm and a ditch.
SectionDesign fourLanes(const Route& route) {
    SectionDesign s;
    s.templateTable = SectionDesign::Table{0, 1};
    for (SectionSide side : {SectionSide::Left, SectionSide::Right}) {
        s.components.push_back({2, side, "中央分隔带", 1.0, false, -2, std::nullopt});
        s.components.push_back({3, side, "行车道", 7.5, true, 0, std::nullopt});
        s.components.push_back({4, side, "硬路肩", 2.5, true, 0, std::nullopt});
        s.components.push_back({5, side, "土路肩", 0.75, false, -4, std::nullopt});
        s.slopes.push_back({10, side, SlopeKind::Fill, 1.5, 8.0, 2});
        s.slopes.push_back({11, side, SlopeKind::Fill, 1.75, std::nullopt, 0});
        s.slopes.push_back({12, side, SlopeKind::Cut, 0.75, 6.0, 1.5});
        s.slopes.push_back({13, side, SlopeKind::Cut, 1, std::nullopt, 0});
        s.ditches.push_back({14, side, 0.4, 0.6, 1, 1});
    }
    s.crown = CrownRow{6, 2, RotationAxis::InnerEdge};
    for (std::size_t i = 0; i < route.curves.size(); ++i) {
        SuperelevationRow r;
        r.line = static_cast<int>(20 + i);
        r.jd = route.curves[i].name;
        r.superelevation_pct = 4 + static_cast<double>(i % 5);
        r.widening_m = 0.4 + 0.2 * static_cast<double>(i % 5);
        r.transition = i % 2 == 0 ? WideningTransition::Linear : WideningTransition::HighOrder;
        s.superelevations.push_back(r);
    }
    return s;
}

// The stakes every 5 m of the 60-JD road with its grade line and every formation edge of the
// four-lane template: at most 80 ms.
void BM_RouteEdgesEvery5m(benchmark::State& state) {
    const Route route = withGradeLine();
    const CrossSection section = *buildCrossSection(fourLanes(route), route);
    StakeRequest request;
    request.interval_m = 5;
    std::size_t edges = 0;
    for (auto _ : state) {
        StakeTable table = *stakeTable(route, request);
        edges = 0;
        for (const StakeRow& row : table.rows) {
            std::vector<FormationEdge> e = formationEdges(section, route, row.continuous_m);
            edges += e.size();
            benchmark::DoNotOptimize(e);
        }
        benchmark::DoNotOptimize(table);
    }
    state.counters["edges"] = static_cast<double>(edges);
}
BENCHMARK(BM_RouteEdgesEvery5m)->Unit(benchmark::kMillisecond);

// 10 000 ground points beside the 60-JD road, 5 to 40 m from it, located and staked on the
// four-lane section's slopes: at most 100 ms.
void BM_SlopeStakesOf10000Points(benchmark::State& state) {
    const Route route = withGradeLine();
    const CrossSection section = *buildCrossSection(fourLanes(route), route);
    struct Ground {
        double x_m, y_m, H_m;
    };
    std::vector<Ground> points;
    const double length = route.end_m - route.start_m;
    for (int i = 0; i < 10000; ++i) {
        const double c = route.start_m + length * (i + 0.5) / 10000;
        const RouteStake s = stakeAt(route, c);
        const double offset = (i % 2 == 0 ? 1 : -1) * (18 + (i * 7919 % 221) / 10.0);
        const double right = (s.tangent_deg + 90) * kDegreeFactor;
        const double H = *designElevation_m(*route.gradeLine, c) + (i * 31 % 25) - 12;
        points.push_back({s.x_m + offset * std::cos(right), s.y_m + offset * std::sin(right), H});
    }
    for (auto _ : state) {
        for (const Ground& g : points) {
            const std::optional<RouteFoot> foot = locate(route, g.x_m, g.y_m);
            Result<SlopeStake> stake =
                slopeStake(section, route, foot->continuous_m, foot->offset_m, g.H_m);
            benchmark::DoNotOptimize(stake);
        }
    }
}
BENCHMARK(BM_SlopeStakesOf10000Points)->Unit(benchmark::kMillisecond);

// 10 000 ground sections of 30 points, about 4 m apart from -60 to 60 m, every 10 m of the 60-JD
// road with the four-lane section: the ground under the centre from 12 m below the grade line to 12
// m above it, falling or rising across, so that fill and cut, berms and ditches all occur; their
// catch points and areas, and the volumes between them: at most 200 ms.
void BM_EarthworkOf10000Sections(benchmark::State& state) {
    const Route route = withGradeLine();
    const CrossSection section = *buildCrossSection(fourLanes(route), route);
    struct Section {
        double continuous_m;
        std::vector<GroundPoint> points;
    };
    std::vector<Section> sections;
    for (int i = 0; i < 10000; ++i) {
        const double c = route.start_m + (route.end_m - route.start_m) * (i + 0.5) / 10000;
        const double centre = *designElevation_m(*route.gradeLine, c) + (i * 31 % 25) - 12;
        const double across = ((i * 13 % 9) - 4) * 0.03;
        Section s{c, {}};
        for (int k = 0; k < 30; ++k) {
            const double offset = -60 + k * 120.0 / 29;
            s.points.push_back({offset, centre + across * offset + 0.3 * std::sin(offset / 4.0)});
        }
        sections.push_back(std::move(s));
    }
    double fill = 0;
    for (auto _ : state) {
        std::vector<EarthworkStation> stations;
        stations.reserve(sections.size());
        for (const Section& s : sections) {
            const Result<SectionAreas> a = sectionAreas(section, route, s.continuous_m, s.points);
            if (!a) {
                state.SkipWithError(a.failure().message.c_str());
                return;
            }
            stations.push_back({s.continuous_m, s.continuous_m, a->fill_m2, a->cut_m2});
        }
        const EarthworkVolumes v = earthworkVolumes(stations, VolumeMethod::AverageEndArea);
        fill = v.fill_m3;
        benchmark::DoNotOptimize(v);
    }
    state.counters["fill_m3"] = fill;
}
BENCHMARK(BM_EarthworkOf10000Sections)->Unit(benchmark::kMillisecond);

// A centre stake on a clothoid whose curvature does not start at zero: the incomplete spiral
// R 1000 -> 300 over 1 km, at chainages spread over it.
void BM_CentreStakeOnAnIncompleteSpiral(benchmark::State& state) {
    const Element e =
        Element::fromStart(0, 1000, {3456789.123, 512345.678, 37.25}, 1 / 1000.0, 1 / 300.0);
    double s = 0;
    for (auto _ : state) {
        s += 7.77;
        if (s > 1000)
            s -= 1000;
        AlignmentPoint p = e.at(s);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_CentreStakeOnAnIncompleteSpiral);

}  // namespace
}  // namespace hcurve

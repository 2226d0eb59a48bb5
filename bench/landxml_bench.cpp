// LandXML: a 15 km alignment of 301 elements (75 curves of spiral, arc and spiral between
// straights) with a profile of 50 PVIs and their parabolas, read into a route and written back.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "alignment/route.h"
#include "curve/angle.h"
#include "route_files/landxml_reading.h"
#include "route_files/landxml_writing.h"

namespace hcurve {
namespace {

// BP, 75 JDs turning left and right in turn by 8 to 14 degrees on radii of 300 to 500 m with
// spirals of 30 m, EP: legs of 197 m, 15 km; a grade line with a PVI every 300 m.
Route fifteenKilometres() {
    RouteDesign d;
    d.startChainage_m = 0;
    double x = 3000000, y = 500000, az = 30;
    const int jds = 75;
    const double leg = 197;
    d.points.push_back({1, "BP", x, y, 0, 0, 0});
    for (int i = 1; i <= jds + 1; ++i) {
        x += leg * std::cos(az * kDegreeFactor);
        y += leg * std::sin(az * kDegreeFactor);
        if (i == jds + 1) {
            d.points.push_back({i + 1, "EP", x, y, 0, 0, 0});
            break;
        }
        const double R = 300 + (i * 37 % 3) * 100;
        d.points.push_back(
            {i + 1, "JD" + std::to_string(i), x, y, R, std::sqrt(30 * R), std::sqrt(30 * R)});
        az += (i % 2 == 0 ? 1 : -1) * (8 + i * 5 % 7);
    }
    GradeTable grade;
    for (int k = 0; k < 50; ++k) {
        GradeRow row;
        row.line = k + 1;
        row.at.value_m = k * 300;
        row.H_m = 100 + (k % 2 ? 6 : 0) + k * 0.1;
        row.R_m = k == 0 || k == 49 ? 0 : 3000;
        grade.rows.push_back(row);
    }
    d.grade = grade;
    Result<BuiltRoute> building = buildRoute(d);
    if (!building) {
        for (const Failure& f : building.failures())
            std::fprintf(stderr, "%s\n", faultText(f).c_str());
        std::abort();
    }
    return std::move(building->route);
}

const std::string& document() {
    static const std::string text =
        landXmlText(fifteenKilometres(), "K", {"2026-12-09", "10:00:00"});
    return text;
}

void BM_LandXmlRead15km(benchmark::State& state) {
    const std::string& text = document();
    std::size_t elements = 0;
    for (auto _ : state) {
        const LandXmlReading reading = readLandXml(text, nullptr);
        const Result<BuiltRoute> building = buildRoute(reading.alignment->design);
        elements = building->route.alignment.elements.size();
        benchmark::DoNotOptimize(building);
    }
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_LandXmlRead15km)->Unit(benchmark::kMillisecond);

void BM_LandXmlWrite15km(benchmark::State& state) {
    const LandXmlReading reading = readLandXml(document(), nullptr);
    const Route route = buildRoute(reading.alignment->design)->route;
    for (auto _ : state)
        benchmark::DoNotOptimize(landXmlText(route, "K", {"2026-12-09", "10:00:00"}));
    state.counters["km"] = (route.end_m - route.start_m) / 1000;
}
BENCHMARK(BM_LandXmlWrite15km)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

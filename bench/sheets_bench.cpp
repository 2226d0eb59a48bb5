// Time to lay out, and to write as PDF and as DXF, 500 cross-section sheets at 1:200: sections
// of a road 2 x 12 m wide with a ditch and two-step slopes, each with a ground line of 30 points
// from 6 m under the road to 5 m over it, as many as fill 500 A3 sheets. Limit: the PDF of 500
// sheets, layout included, within 10 s (BM_SectionSheetsPdf).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cad/section_sheet_dxf.h"
#include "cad/section_sheets.h"
#include "qt_bench_support.h"
#include "views/section_sheet_painter.h"

namespace hcurve {
namespace {

constexpr std::size_t kSheets = 500;

// A section k: in fill on the left where the ground is low, else in cut behind a ditch.
SheetSection section(int k) {
    SheetSection s;
    char stake[32];
    std::snprintf(stake, sizeof stake, "K%d+%03d.000", 1 + k / 50, (k % 50) * 20);
    s.stake = stake;
    const double lift = -6 + 11 * std::fmod(k * 0.37, 1.0);
    for (int i = 0; i < 30; ++i) {
        const double o = -45 + 90.0 * i / 29;
        s.ground.push_back({o, 100 + lift + 0.05 * o + 0.6 * std::sin(o / 6 + k), i + 1, false});
    }
    const double g = 100 + lift;  // about the ground at the catch points
    const bool fill = lift < 0;
    const double h = std::fabs(lift);
    const double c = 12 + (fill ? 1.5 : 1.0) * h + (fill ? 0 : 2);
    s.areas.left = {
        SectionSide::Left, fill ? SectionEarthwork::Fill : SectionEarthwork::Cut, {-c, g}};
    s.areas.right = {
        SectionSide::Right, fill ? SectionEarthwork::Fill : SectionEarthwork::Cut, {c, g}};
    s.areas.design = {{-c, g},         {-12.75, fill ? 99.8 : 99.2},
                      {-12, 99.8},     {-11.25, 99.85},
                      {-3.75, 99.925}, {0, 100},
                      {3.75, 99.925},  {11.25, 99.85},
                      {12, 99.8},      {12.75, fill ? 99.8 : 99.2},
                      {c, g}};
    s.areas.fill_m2 = fill ? 30 * h : 0;
    s.areas.cut_m2 = fill ? 0 : 25 * h;
    s.areas.centreHeight_m = -lift;
    return s;
}

// As many sections as fill kSheets sheets at 1:200.
const std::vector<SheetSection>& sections() {
    static const std::vector<SheetSection> all = [] {
        std::vector<SheetSection> s;
        for (int k = 0;; ++k) {
            s.push_back(section(k));
            if (k % 500 == 499) {
                const Result<SectionSheets> laid = layOutSectionSheets(s, "主线", 200);
                if (laid && laid->sheets.size() >= kSheets) {
                    // Down to the sections of the first kSheets sheets.
                    const SectionSheet& last = laid->sheets[kSheets - 1];
                    s.resize(last.firstSection + last.sectionCount);
                    return s;
                }
            }
        }
    }();
    return all;
}

void BM_SectionSheetsLayout(benchmark::State& state) {
    const std::vector<SheetSection>& s = sections();
    for (auto _ : state) {
        Result<SectionSheets> sheets = layOutSectionSheets(s, "主线", 200);
        benchmark::DoNotOptimize(sheets);
    }
    state.counters["sections"] = static_cast<double>(s.size());
}
BENCHMARK(BM_SectionSheetsLayout)->Unit(benchmark::kMillisecond);

void BM_SectionSheetsPdf(benchmark::State& state) {
    const std::vector<SheetSection>& s = sections();
    std::size_t pages = 0, bytes = 0;
    for (auto _ : state) {
        const Result<SectionSheets> sheets = layOutSectionSheets(s, "主线", 200);
        const Result<QByteArray> pdf = sectionSheetsPdf(*sheets);
        pages = sheets->sheets.size();
        bytes = pdf ? static_cast<std::size_t>(pdf->size()) : 0;
    }
    state.counters["sheets"] = static_cast<double>(pages);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SectionSheetsPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SectionSheetsDxf(benchmark::State& state) {
    const std::vector<SheetSection>& s = sections();
    const Result<SectionSheets> sheets = layOutSectionSheets(s, "主线", 200);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string dxf = sectionSheetsDxf(*sheets);
        bytes = dxf.size();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SectionSheetsDxf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace hcurve

int main(int argc, char** argv) {
    return hcurve::bench::runBenchmarks<QGuiApplication>(argc, argv);
}

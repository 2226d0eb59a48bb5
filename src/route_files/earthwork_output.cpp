#include "route_files/earthwork_output.h"

#include <iterator>

#include "curve/csv_writing.h"
#include "curve/format.h"

namespace hcurve {
namespace {

constexpr const char* kEarthworkColumns[] = {"桩号",   "里程",   "填方面积", "挖方面积", "距离",
                                             "填方量", "挖方量", "累计填方", "累计挖方"};

std::string fixed3(double v) {
    return format(v, Pattern::Fixed3);
}

std::string fixed4(double v) {
    return format(v, Pattern::Fixed4);
}

std::vector<std::string> sumRow(std::string label, double distance_m, double fill_m3,
                                double cut_m3) {
    return {std::move(label), "", "", "", fixed3(distance_m), fixed3(fill_m3),
            fixed3(cut_m3),   "", ""};
}

}  // namespace

std::vector<std::string> earthworkHeader() {
    return {std::begin(kEarthworkColumns), std::end(kEarthworkColumns)};
}

Result<std::string> earthworkTableCsv(const Route& route, const CrossSection& section,
                                      const std::vector<GroundSection>& sections,
                                      VolumeMethod method) {
    std::vector<Failure> faults;
    std::vector<EarthworkStation> stations;
    stations.reserve(sections.size());
    for (const GroundSection& g : sections) {
        const Result<SectionAreas> a = sectionAreas(section, route, g.continuous_m, g.points);
        if (!a) {
            faults.push_back({g.text + "：" + a.failure().message, g.line, g.file});
            continue;
        }
        stations.push_back(
            {g.continuous_m, brokenChainage(route, g.continuous_m), a->fill_m2, a->cut_m2});
    }
    if (!faults.empty())
        return Result<std::string>::failed(std::move(faults));
    const EarthworkVolumes v = earthworkVolumes(stations, method);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(sections.size() + v.kilometres.size() + 2);
    rows.push_back(earthworkHeader());
    std::size_t kilometre = 0;
    for (std::size_t k = 0; k < stations.size(); ++k) {
        const EarthworkStation& s = stations[k];
        const VolumeRow& r = v.rows[k];
        const bool first = k == 0;
        rows.push_back({sections[k].text, fixed4(s.continuous_m), fixed4(s.fill_m2),
                        fixed4(s.cut_m2), first ? "" : fixed3(r.distance_m),
                        first ? "" : fixed3(r.fill_m3), first ? "" : fixed3(r.cut_m3),
                        fixed3(r.totalFill_m3), fixed3(r.totalCut_m3)});
        for (; kilometre < v.kilometres.size() && v.kilometres[kilometre].lastRow == k;
             ++kilometre) {
            const KilometreSubtotal& s = v.kilometres[kilometre];
            rows.push_back(sumRow("K" + std::to_string(s.kilometre) + " 小计", s.distance_m,
                                  s.fill_m3, s.cut_m3));
        }
    }
    rows.push_back(sumRow("合计", v.distance_m, v.fill_m3, v.cut_m3));
    return csvText(rows, kScriptCsv);
}

}  // namespace hcurve

#include "alignment/ground_sections.h"

#include <algorithm>
#include <cmath>

#include "alignment/grade_line.h"

namespace hcurve {

Result<std::vector<GroundSection>> placeGroundSections(const GroundDesign& ground,
                                                       const Route& route) {
    std::vector<GroundSection> sections;
    std::vector<Failure> faults;
    // A section this near an end of the route still lies on it (the ends' rounding).
    constexpr double kEndSlack_m = 1e-3;
    for (const GroundSectionRow& row : ground.sections) {
        if (faults.size() >= kMostRouteFaults)
            break;
        const Result<double> at = placedChainage(route, row.at, false);
        if (!at) {
            faults.push_back({"横断面 " + row.at.text + "：" + at.failure().message, row.line,
                              ground.sectionFile});
            continue;
        }
        if (*at < route.start_m - kEndSlack_m || *at > route.end_m + kEndSlack_m) {
            faults.push_back({"横断面 " + row.at.text + " 不在路线上：路线从 " +
                                  stakeText(route, route.start_m) + " 到 " +
                                  stakeText(route, route.end_m) + "。",
                              row.line, ground.sectionFile});
            continue;
        }
        GroundSection s;
        s.continuous_m = std::min(std::max(*at, route.start_m), route.end_m);
        s.text = stakeText(route, s.continuous_m);
        s.points = row.points;
        s.line = row.line;
        s.file = ground.sectionFile;
        sections.push_back(std::move(s));
    }
    std::stable_sort(sections.begin(), sections.end(),
                     [](const GroundSection& a, const GroundSection& b) {
                         return a.continuous_m < b.continuous_m;
                     });
    for (std::size_t k = 1; k < sections.size(); ++k) {
        const GroundSection& a = sections[k - 1];
        const GroundSection& b = sections[k];
        if (b.continuous_m - a.continuous_m <= kSectionAtStake_m) {
            const GroundSection& later = a.line > b.line ? a : b;
            const GroundSection& earlier = a.line > b.line ? b : a;
            faults.push_back({"横断面 " + later.text + " 与第 " + std::to_string(earlier.line) +
                                  " 行的横断面在路线的同一处，一处只能有一个。",
                              later.line, ground.sectionFile});
        }
    }
    std::sort(faults.begin(), faults.end(),
              [](const Failure& a, const Failure& b) { return a.line < b.line; });
    if (!faults.empty())
        return Result<std::vector<GroundSection>>::failed(std::move(faults));
    return sections;
}

std::vector<GroundSection> sectionsAtStakes(const std::vector<GroundSection>& placed,
                                            const StakeTable& stakes, std::size_t* uncovered) {
    std::vector<GroundSection> at;
    if (uncovered)
        *uncovered = 0;
    if (stakes.rows.empty())
        return at;
    const double from_m = stakes.rows.front().continuous_m - kSectionAtStake_m;
    const double to_m = stakes.rows.back().continuous_m + kSectionAtStake_m;
    auto section =
        std::lower_bound(placed.begin(), placed.end(), from_m,
                         [](const GroundSection& s, double c) { return s.continuous_m < c; });
    std::size_t stake = 0;
    const std::size_t n = stakes.rows.size();
    for (; section != placed.end() && section->continuous_m <= to_m; ++section) {
        // The stakes before the section have none (a stake of a chain break stands twice at one
        // place: the section takes the first, the stake's text before the break, unless the
        // second is the nearer).
        while (stake < n &&
               stakes.rows[stake].continuous_m < section->continuous_m - kSectionAtStake_m) {
            if (uncovered)
                ++*uncovered;
            ++stake;
        }
        GroundSection s = *section;
        if (stake < n &&
            std::fabs(stakes.rows[stake].continuous_m - s.continuous_m) <= kSectionAtStake_m) {
            s.text = stakes.rows[stake].text;
            s.point = stakes.rows[stake].point;
            s.continuous_m = stakes.rows[stake].continuous_m;
            ++stake;
            // Its twin at a chain break is covered by the one section too.
            while (stake < n &&
                   std::fabs(stakes.rows[stake].continuous_m - s.continuous_m) <= kSectionAtStake_m)
                ++stake;
        }
        at.push_back(std::move(s));
    }
    if (uncovered)
        *uncovered += n - stake;
    return at;
}

std::optional<double> groundHeightAt(const std::vector<GroundPoint>& points, double offset_m) {
    if (points.empty() || offset_m < points.front().offset_m || offset_m > points.back().offset_m)
        return std::nullopt;
    // The first point beyond the offset; at a step's offset the step's point (the later one).
    auto after = std::upper_bound(points.begin(), points.end(), offset_m,
                                  [](double o, const GroundPoint& p) { return o < p.offset_m; });
    if (after == points.end())
        return points.back().H_m;
    const GroundPoint& b = *after;
    const GroundPoint& a = *(after - 1);
    if (a.offset_m == offset_m)
        return a.H_m;
    const double t = (offset_m - a.offset_m) / (b.offset_m - a.offset_m);
    return a.H_m + t * (b.H_m - a.H_m);
}

}  // namespace hcurve

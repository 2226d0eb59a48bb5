#include "route_files/ground_output.h"

#include "curve/csv_writing.h"
#include "curve/format.h"

namespace hcurve {

std::string groundTableCsv(const std::vector<GroundSection>& sections) {
    std::string text =
        csvStart(kScriptCsv) +
        csvLine({"桩号", "里程", "点数", "左端偏距", "右端偏距", "中桩地面高程"}, kScriptCsv);
    for (const GroundSection& s : sections) {
        const std::optional<double> centre = groundHeightAt(s.points, 0);
        text += csvLine(
            {s.text, format(s.continuous_m, Pattern::Fixed4), std::to_string(s.points.size()),
             format(s.points.front().offset_m, Pattern::Fixed4),
             format(s.points.back().offset_m, Pattern::Fixed4),
             centre ? format(*centre, Pattern::Fixed4) : std::string()},
            kScriptCsv);
    }
    return text;
}

}  // namespace hcurve

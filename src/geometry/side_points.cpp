#include "geometry/side_points.h"
namespace hcurve {
SideTables makeSideTables(std::int16_t, std::int16_t) { return {}; }
void computeSidePoints(SideTables&, double, double, double, const SideSetup&, double) {}
PpqSetting preparePpq(const std::optional<std::string>&) { return {"", 0}; }
}  // namespace hcurve

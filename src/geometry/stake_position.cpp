#include "geometry/stake_position.h"
namespace hcurve {
ClothoidPoint clothoidPoint(double, double) { return {0, 0}; }
std::optional<StakePosition> centreStake(const CurveElements&, double, double) { return std::nullopt; }
double normaliseAzimuthOnce(double a) { return a; }
}  // namespace hcurve

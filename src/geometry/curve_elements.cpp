#include "geometry/curve_elements.h"
namespace hcurve {
std::optional<DesignNumbers> designNumbers(const CurveRecord&) { return std::nullopt; }
CurveElements computeCurve(const DesignNumbers&) { return {}; }
}  // namespace hcurve

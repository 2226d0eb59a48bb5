#include "geometry/design_check.h"
namespace hcurve {
std::optional<std::string> checkDesignValue(DesignValue, std::string_view) { return std::nullopt; }
std::optional<std::string> checkCurve(const CurveElements&) { return std::nullopt; }
}  // namespace hcurve

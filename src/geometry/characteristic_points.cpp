#include "geometry/characteristic_points.h"

namespace hcurve {

std::vector<CharacteristicPoint> characteristicPoints(const CurveElements& c, CurveEnd end) {
    if (end == CurveEnd::Start) {
        if (c.A1 == 0)
            return {{"ZY", c.zh, c.xa, c.ya}};
        return {{"ZH", c.zh, c.xa, c.ya}, {"HY", c.hy, c.xh1, c.yh1}};
    }
    if (c.A2 == 0)
        return {{"YZ", c.hz, c.xb, c.yb}};
    return {{"YH", c.yh, c.xh2, c.yh2}, {"HZ", c.hz, c.xb, c.yb}};
}

}  // namespace hcurve

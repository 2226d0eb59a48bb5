// Checks that hold on every computed curve: at each joint of two elements the stake steps neither
// in position nor in axis, and it is the characteristic point the curve computed for that joint.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "example_curves.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NamedCurve {
    const char* name;
    CurveElements (*make)();
};

const NamedCurve kCurves[] = {
    {"right-hand with spirals", test::rightHandCurve},
    {"left-hand without spirals", test::leftHandPlainCurve},
    {"left-hand with spirals", test::leftHandSpiralCurve},
};

TEST(Continuity, EveryJointWithoutAStep) {
    for (const NamedCurve& named : kCurves) {
        const CurveElements c = named.make();
        const Segment entry = c.A1 != 0 ? Segment::FirstSpiral : Segment::Arc;
        const Segment exit = c.A2 != 0 ? Segment::SecondSpiral : Segment::Arc;
        struct Joint {
            const char* name;
            double at_m;
            Segment before, after;
            double x_m, y_m;
        };
        std::vector<Joint> joints{{"ZH", c.zh, Segment::IncomingTangent, entry, c.xa, c.ya},
                                  {"HZ", c.hz, exit, Segment::OutgoingTangent, c.xb, c.yb}};
        if (c.A1 != 0)
            joints.push_back({"HY", c.hy, Segment::FirstSpiral, Segment::Arc, c.xh1, c.yh1});
        if (c.A2 != 0)
            joints.push_back({"YH", c.yh, Segment::Arc, Segment::SecondSpiral, c.xh2, c.yh2});
        for (const Joint& j : joints) {
            SCOPED_TRACE(std::string(named.name) + ", " + j.name);
            auto before = centreStake(c, std::nextafter(j.at_m, -kInf), 0);
            auto at = centreStake(c, j.at_m, 0);
            auto after = centreStake(c, std::nextafter(j.at_m, kInf), 0);
            ASSERT_TRUE(before && at && after);
            EXPECT_EQ(before->segment, j.before);
            EXPECT_EQ(after->segment, j.after);
            test::expectSameStake(*before, *at);
            test::expectSameStake(*at, *after);
            EXPECT_NEAR(at->x_m, j.x_m, 1e-6);
            EXPECT_NEAR(at->y_m, j.y_m, 1e-6);
        }
        // HY and YH lie on the circle about the centre.
        EXPECT_NEAR(std::hypot(c.xh1 - c.Xo, c.yh1 - c.Yo), c.R, 1e-6);
        EXPECT_NEAR(std::hypot(c.xh2 - c.Xo, c.yh2 - c.Yo), c.R, 1e-6);
    }
}

}  // namespace
}  // namespace hcurve

#include "views/plan_scene.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"
#include "geometry/stake_position.h"
#include "stakes/stake_list.h"

namespace hcurve {
namespace {

// The tangents are drawn this far beyond ZH and HZ: a fifth of the curve, at least 20 m.
constexpr double kLeadShare = 0.2;
constexpr double kMinLead_m = 20.0;
// Samples of the spirals, and of the arc per degree of its central angle (within bounds).
constexpr int kSpiralSamples = 64;
constexpr double kArcSamplesPerDegree = 2.0;
constexpr int kMinArcSamples = 16;
constexpr int kMaxArcSamples = 720;

void sample(const CurveElements& c, double from_m, double to_m, int steps,
            std::vector<PlanPoint>& line) {
    for (int k = line.empty() ? 0 : 1; k <= steps; ++k) {
        const double chainage_m = from_m + (to_m - from_m) * k / steps;
        if (std::optional<StakePosition> s = centreStake(c, chainage_m, 0))
            line.push_back({s->x_m, s->y_m});
    }
}

std::string designTitle(const CurveRecord& record, const CurveElements& c) {
    std::string title = jdName(record);
    title += c.p > 0 ? "  右偏" : "  左偏";
    title += "  R=" + generalText(c.R);
    title += "  A1=" + generalText(c.A1) + "  A2=" + generalText(c.A2);
    return title;
}

}  // namespace

std::string jdName(const CurveRecord& record) {
    // As the JD field and the report name it: a name that reads as a number as that number.
    const std::size_t first = record.JD.find_first_not_of(' ');
    return "JD" + format(std::string_view(record.JD).substr(std::min(first, record.JD.size())));
}

PlanScene planScene(const CurveRecord& record) {
    const CurveElements& c = *record.curve;
    PlanScene scene;
    scene.jdName = jdName(record);
    scene.title = designTitle(record, c);
    scene.turn = c.p;
    scene.jd = {c.X, c.Y};
    scene.centre = {c.Xo, c.Yo};
    scene.start = {c.xa, c.ya};
    scene.end = {c.xb, c.yb};

    // A new curve drops the old run, so the stakes of the last run lie on this curve.
    const StakeRun& run = record.lastRun;

    const double lead_m = std::max(kLeadShare * (c.hz - c.zh), kMinLead_m);
    double from_m = c.zh - lead_m, to_m = c.hz + lead_m;
    for (const Stake& stake : run.stakes) {
        from_m = std::min(from_m, stake.chainage_m);
        to_m = std::max(to_m, stake.chainage_m);
    }
    const double arcDegrees = (c.yh - c.hy) / c.R / c.f;
    const int arcSamples =
        std::clamp(static_cast<int>(std::ceil(arcDegrees * kArcSamplesPerDegree)), kMinArcSamples,
                   kMaxArcSamples);
    sample(c, from_m, c.zh, 1, scene.centreLine);
    if (c.hy > c.zh)
        sample(c, c.zh, c.hy, kSpiralSamples, scene.centreLine);
    sample(c, c.hy, c.yh, arcSamples, scene.centreLine);
    if (c.hz > c.yh)
        sample(c, c.yh, c.hz, kSpiralSamples, scene.centreLine);
    sample(c, c.hz, to_m, 1, scene.centreLine);

    for (CurveEnd end : {CurveEnd::Start, CurveEnd::End}) {
        for (const CharacteristicPoint& p : characteristicPoints(c, end))
            scene.marks.push_back(
                {{p.x_m, p.y_m}, p.name, chainageText(p.chainage_m, kPlainForm), std::nullopt});
    }

    // Every stake with its side points.
    forEachStake(run, [&](const RunStake& stake) {
        const std::optional<StakePosition> normal = centreStake(c, stake.chainage_m, 0);
        const double axis_deg = normal ? normal->axisAzimuth_deg : c.T + kRightAngle_deg;
        PlanStake drawn{{stake.x_m, stake.y_m},
                        chainageText(stake.chainage_m, kPlainForm),
                        c.p > 0 ? axis_deg + kHalfCircle_deg : axis_deg,
                        {},
                        {}};
        for (const RunSidePoint& p : stake.sidePoints)
            (p.slot.left ? drawn.left : drawn.right).push_back({p.x_m, p.y_m});
        scene.stakes.push_back(std::move(drawn));
        return true;
    });
    return scene;
}

}  // namespace hcurve

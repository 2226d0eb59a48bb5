#include "layout/plan_scene.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "alignment/curve_reverse.h"
#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/characteristic_points.h"
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

// The centre line through the elements of the curve's alignment: a straight by its two ends, a
// spiral by kSpiralSamples chords, the arc by kArcSamplesPerDegree of its central angle.
std::vector<PlanePoint> centreLineOf(const Alignment& alignment) {
    std::vector<PlanePoint> line;
    for (const Element& e : alignment.elements) {
        int steps = 1;
        if (e.kind() == ElementKind::Spiral) {
            steps = kSpiralSamples;
        } else if (e.kind() == ElementKind::Arc) {
            const double arc_deg = e.length_m() / e.radius_m() / kDegreeFactor;
            steps = std::clamp(static_cast<int>(std::ceil(arc_deg * kArcSamplesPerDegree)),
                               kMinArcSamples, kMaxArcSamples);
        }
        for (int k = line.empty() ? 0 : 1; k <= steps; ++k) {
            const AlignmentPoint p = e.at(e.start_m() + e.length_m() * k / steps);
            line.push_back({p.x_m, p.y_m});
        }
    }
    return line;
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
    const Alignment alignment = curveAlignment(c, from_m, to_m);
    scene.centreLine = centreLineOf(alignment);

    for (CurveEnd end : {CurveEnd::Start, CurveEnd::End}) {
        for (const CharacteristicPoint& p : characteristicPoints(c, end))
            scene.marks.push_back(
                {{p.x_m, p.y_m}, p.name, chainageText(p.chainage_m, kPlainForm), std::nullopt});
    }

    // Every stake with its side points.
    forEachStake(run, [&](const RunStake& stake) {
        const double axis_deg = alignment.at(stake.chainage_m).azimuth_deg + kRightAngle_deg;
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

#include "geometry/reverse.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "curve/angle.h"
#include "curve/format.h"

namespace hcurve {
namespace {

// A foot may lie this far beyond its element's end: the elements of the stake position meet with
// steps of some tens of nanometres (pi has ten decimals, every sum is rounded), and a point set
// out at a joint must find a foot on one side or the other.
constexpr double kJointSlack_m = 1e-6;

// Newton's method on a spiral stops once a step is below this; the foot is then far closer.
constexpr double kNewtonStep_m = 1e-9;
constexpr int kMaxNewtonSteps = 100;

// Two feet are about as near when their distances differ by less than what the offset shows.
constexpr double kAboutEqual_m = 0.001;
// Farther than this from the centre line a point is hardly one of this road, whatever R.
constexpr double kPlausibleOffsetLimit_m = 1000.0;

struct Direction {
    double c;  // north component
    double s;  // east component
};

Direction azimuthDirection(double azimuth_deg, double f) {
    return {std::cos(azimuth_deg * f), std::sin(azimuth_deg * f)};
}

// A foot on one element, with its distance from the point.
struct Candidate {
    FootPoint foot;
    double distance_m;
};

// The feet found so far; keeps the nearest and every other one.
class Nearest {
  public:
    void offer(double chainage_m, double offset_m, double distance_m, Segment element) {
        const Candidate candidate{{chainage_m, offset_m, element}, distance_m};
        all_.push_back(candidate);
        if (!best_ || distance_m < best_->distance_m)
            best_ = candidate;
    }
    const std::optional<Candidate>& best() const { return best_; }
    const std::vector<Candidate>& all() const { return all_; }

  private:
    std::optional<Candidate> best_;
    std::vector<Candidate> all_;
};

// The point relative to an origin, along a direction and along its right-hand normal.
struct Along {
    double along_m;
    double right_m;
};

Along project(double dx_m, double dy_m, Direction d) {
    return {dx_m * d.c + dy_m * d.s, -dx_m * d.s + dy_m * d.c};
}

// Tangents: a straight line through a point of known chainage.
void incomingTangent(const CurveElements& c, double x_m, double y_m, Nearest& nearest) {
    Along a = project(x_m - c.xa, y_m - c.ya, azimuthDirection(c.T, c.f));
    if (a.along_m <= kJointSlack_m)
        nearest.offer(c.zh + a.along_m, a.right_m, std::fabs(a.right_m), Segment::IncomingTangent);
}

void outgoingTangent(const CurveElements& c, double x_m, double y_m, Nearest& nearest) {
    Along a = project(x_m - c.xb, y_m - c.yb, azimuthDirection(c.tb, c.f));
    if (a.along_m >= -kJointSlack_m)
        nearest.offer(c.hz + a.along_m, a.right_m, std::fabs(a.right_m), Segment::OutgoingTangent);
}

// Arc: the foot lies on the ray from the centre through the point. Angles are in the stake
// position's degrees, whose radians are degrees times f, so that the chainage comes back as it went
// out. (A point beyond the centre also has a foot on the far side of the circle, but a tangent is
// always nearer to it.)
void arc(const CurveElements& c, double x_m, double y_m, Nearest& nearest) {
    const double dx = x_m - c.Xo, dy = y_m - c.Yo;
    const double rho = std::hypot(dx, dy);
    const double psi_deg = azimuthOf_rad(dx, dy) / c.f;

    // Central angle from HY, brought within a half circle of the arc's middle.
    const double middle_deg = (c.Lf / c.f) / c.R / 2;
    const double phi_deg = withinHalfCircleOf_deg(c.p * (psi_deg - c.tj), middle_deg);

    const double l = phi_deg * c.R * c.f;
    // The right-hand side points to the centre on a right-hand curve, away from it on a left-hand
    // one.
    if (l >= -kJointSlack_m && l <= c.Lf + kJointSlack_m)
        nearest.offer(c.hy + l, c.p * (c.R - rho), std::fabs(c.R - rho), Segment::Arc);
}

// Spirals, in the spiral's own frame: x along the tangent at its straight end, y across it towards
// the inside of the curve, l the arc length from the straight end. The tangent at l turns by
// tau = l^2 / (2 A^2); the right-hand side of the road is p times the normal towards the inside.
struct SpiralFrame {
    double xi_m;   // the point along the start tangent
    double eta_m;  // the point across it, towards the inside
    double A_m;
    double Ls_m;
};

struct SpiralFoot {
    double l_m;       // arc length from the straight end
    double inside_m;  // distance from the foot towards the inside
};

// Tangential and normal components of the point seen from the spiral point at l.
struct SpiralView {
    double along_m;
    double inside_m;
    double curvature_per_m;
};

SpiralView viewFrom(const SpiralFrame& s, double l_m) {
    ClothoidPoint pt = clothoidPoint(l_m, s.A_m);
    const double tau = l_m * l_m / (2 * s.A_m * s.A_m);
    const double ct = std::cos(tau), st = std::sin(tau);
    const double dx = s.xi_m - pt.x_m, dy = s.eta_m - pt.y_m;
    return {dx * ct + dy * st, -dx * st + dy * ct, l_m / (s.A_m * s.A_m)};
}

// Newton's method for along(l) = 0 between a and b, where along changes sign; a step that would
// leave the bracket is replaced by halving it.
double refineFoot(const SpiralFrame& s, double a, double b, double alongA) {
    double l = a + (b - a) / 2;
    for (int i = 0; i < kMaxNewtonSteps; ++i) {
        SpiralView v = viewFrom(s, l);
        if (v.along_m == 0)
            return l;
        if ((v.along_m > 0) == (alongA > 0)) {
            a = l;
            alongA = v.along_m;
        } else {
            b = l;
        }
        // d(along)/dl = -1 + curvature * inside: the point's own motion plus the tangent's turn.
        const double slope = -1 + v.curvature_per_m * v.inside_m;
        const double next = l - v.along_m / slope;
        if (next >= std::fmin(a, b) && next <= std::fmax(a, b)) {
            const double step = next - l;
            l = next;
            if (std::fabs(step) < kNewtonStep_m)
                break;
        } else {
            l = a + (b - a) / 2;
            if (std::fabs(b - a) < kNewtonStep_m)
                break;
        }
    }
    return l;
}

// The foot on the spiral (to a micrometre beyond either end), if any. Seen from the spiral, the
// point moves back along it as l grows, as long as the point is nearer than the radius of
// curvature A^2 / l; so along(l) falls through zero at most once for any point whose nearest foot
// can lie on the spiral (a point farther inside has nearer feet on the tangents or the arc).
std::optional<SpiralFoot> spiralFoot(const SpiralFrame& s) {
    const double from = -kJointSlack_m, to = s.Ls_m + kJointSlack_m;
    const double alongFrom = viewFrom(s, from).along_m;
    const double alongTo = viewFrom(s, to).along_m;
    double l;
    if (alongFrom == 0)
        l = from;
    else if (alongTo == 0)
        l = to;
    else if ((alongFrom > 0) != (alongTo > 0))
        l = refineFoot(s, from, to, alongFrom);
    else
        return std::nullopt;
    return SpiralFoot{l, viewFrom(s, l).inside_m};
}

void firstSpiral(const CurveElements& c, double x_m, double y_m, Nearest& nearest) {
    Along a = project(x_m - c.xa, y_m - c.ya, azimuthDirection(c.T, c.f));
    SpiralFrame frame{a.along_m, c.p * a.right_m, c.A1, c.Ls1};
    if (std::optional<SpiralFoot> foot = spiralFoot(frame)) {
        nearest.offer(c.zh + foot->l_m, c.p * foot->inside_m, std::fabs(foot->inside_m),
                      Segment::FirstSpiral);
    }
}

// The second spiral runs back from HZ: its frame's x axis points against the outgoing tangent.
void secondSpiral(const CurveElements& c, double x_m, double y_m, Nearest& nearest) {
    Along a = project(x_m - c.xb, y_m - c.yb, azimuthDirection(c.tb, c.f));
    SpiralFrame frame{-a.along_m, c.p * a.right_m, c.A2, c.Ls2};
    if (std::optional<SpiralFoot> foot = spiralFoot(frame)) {
        nearest.offer(c.hz - foot->l_m, c.p * foot->inside_m, std::fabs(foot->inside_m),
                      Segment::SecondSpiral);
    }
}

Nearest allFeet(const CurveElements& c, double x_m, double y_m) {
    Nearest nearest;
    incomingTangent(c, x_m, y_m, nearest);
    if (c.A1 != 0)
        firstSpiral(c, x_m, y_m, nearest);
    arc(c, x_m, y_m, nearest);
    if (c.A2 != 0)
        secondSpiral(c, x_m, y_m, nearest);
    outgoingTangent(c, x_m, y_m, nearest);
    return nearest;
}

bool usable(const std::optional<Candidate>& best) {
    return best && std::isfinite(best->foot.chainage_m) && std::isfinite(best->foot.offset_m);
}

}  // namespace

std::optional<FootPoint> footPoint(const CurveElements& c, double x_m, double y_m) {
    const Nearest nearest = allFeet(c, x_m, y_m);
    if (!usable(nearest.best()))
        return std::nullopt;
    return nearest.best()->foot;
}

std::optional<ReverseResult> reverseCalculation(const CurveElements& c, double x_m, double y_m) {
    const Nearest nearest = allFeet(c, x_m, y_m);
    if (!usable(nearest.best()))
        return std::nullopt;
    const Candidate& best = *nearest.best();

    bool ambiguous =
        std::any_of(nearest.all().begin(), nearest.all().end(), [&](const Candidate& o) {
            return o.distance_m - best.distance_m < kAboutEqual_m &&
                   std::fabs(o.foot.chainage_m - best.foot.chainage_m) >= kAboutEqual_m;
        });
    // At the centre every point of the arc is a foot at the same distance R.
    const double fromCentre_m = std::hypot(x_m - c.Xo, y_m - c.Yo);
    if (fromCentre_m < kAboutEqual_m && c.Lf >= kAboutEqual_m &&
        (c.R - fromCentre_m) - best.distance_m < kAboutEqual_m)
        ambiguous = true;

    const double plausible_m = std::min(c.R, kPlausibleOffsetLimit_m);
    const double shownOffset_m = std::fabs(best.foot.offset_m);
    // Decided on the offset as the message shows it, to the millimetre.
    const bool far = roundTo(shownOffset_m, 3) > plausible_m;
    return ReverseResult{best.foot, ambiguous, far, plausible_m};
}

std::string elementName(Segment element) {
    // In the order of Segment.
    static constexpr const char* kNames[] = {"始端直线", "第一缓和曲线", "圆曲线", "第二缓和曲线",
                                             "终端直线"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(Segment::OutgoingTangent) + 1);
    return kNames[static_cast<std::size_t>(element)];
}

}  // namespace hcurve

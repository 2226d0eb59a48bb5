#include "alignment/alignment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

#include "curve/angle.h"
#include "geometry/side_points.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// A clothoid piece: |k| h + |c| h^2 stays within kPieceTurn_rad, of which kCurvatureShare comes
// from the curvature at its start; the series then reaches 1e-18 of the piece within kSeriesTerms
// terms.
constexpr double kPieceTurn_rad = 0.1;
constexpr double kCurvatureShare = 0.8;
constexpr int kSeriesTerms = 9;

constexpr double kNewtonStep_m = 1e-9;
constexpr int kMaxNewtonSteps = 100;
// Elements whose box lies farther than this beyond the nearest foot are not searched.
constexpr double kFeetReach_m = 1.0;
// Two feet about as near: their distances differ by less than the offset shows.
constexpr double kAboutEqual_m = 0.001;
// The foot search looks first over the elements whose box lies within this.
constexpr double kNearBox_m = 100.0;
// A foot on a straight or an arc lies at least this much less than its element's box's distance
// away from the point: the rounding of both, and at an arc's centre (nearer than kAboutEqual_m)
// the feet at its ends, whose distance is given as R - rho.
constexpr double kBoxMargin_m = 0.01;
// A foot search over this many elements or fewer takes no memory from the heap for them.
constexpr std::size_t kFewCandidates = 32;
// Room for the feet a point mostly has, at once.
constexpr std::size_t kFewFeet = 8;
// A chain of this many elements or fewer has no index: every element is searched.
constexpr std::size_t kShortChain = 12;
// A clothoid of this many pieces or fewer is searched without memory from the heap.
constexpr std::size_t kFewCuts = 64;

struct Reciprocals {
    std::array<double, kSeriesTerms + 3> of{};
};

constexpr Reciprocals reciprocals() {
    Reciprocals r;
    for (int i = 1; i < kSeriesTerms + 3; ++i)
        r.of[i] = 1.0 / i;
    return r;
}

constexpr Reciprocals kReciprocal = reciprocals();

// The integral over [0, u] of exp(i (k t + halfRate t^2)): x along the tangent at 0, y to its
// right. With g_m the terms of the exponential's series in t/u, (m+1) g_(m+1) = i (A g_m +
// 2 B g_(m-1)) for A = k u, B = halfRate u^2, and the integral is u times the sum of g_m / (m+1).
void pieceOffset(double u, double k, double halfRate, double& x, double& y) {
    const double A = k * u, B2 = 2 * halfRate * u * u;
    double pr = 1, pi = 0;  // g_(m-1)
    double cr = 0, ci = A;  // g_m
    double sx = 1, sy = A * 0.5;
    for (int m = 1; m <= kSeriesTerms; ++m) {
        const double tr = A * cr + B2 * pr, ti = A * ci + B2 * pi;
        const double nr = -ti * kReciprocal.of[m + 1], ni = tr * kReciprocal.of[m + 1];
        sx += nr * kReciprocal.of[m + 2];
        sy += ni * kReciprocal.of[m + 2];
        pr = cr;
        pi = ci;
        cr = nr;
        ci = ni;
    }
    x = u * sx;
    y = u * sy;
}

}  // namespace

const char* elementKindName(ElementKind kind) {
    switch (kind) {
        case ElementKind::Straight:
            return "直线";
        case ElementKind::Arc:
            return "圆曲线";
        case ElementKind::Spiral:
            return "缓和曲线";
    }
    return "";
}

Element Element::straight(double start_m, double length_m, double at_m, double x_m, double y_m,
                          double azimuth_deg) {
    Element e;
    e.kind_ = ElementKind::Straight;
    e.start_m_ = start_m;
    e.length_m_ = length_m;
    e.anchor_m_ = at_m;
    e.ax_m_ = x_m;
    e.ay_m_ = y_m;
    e.azimuth_deg_ = azimuth_deg;
    e.cos_ = std::cos(azimuth_deg * kDegreeFactor);
    e.sin_ = std::sin(azimuth_deg * kDegreeFactor);
    // at() gives the azimuth brought into a full turn; mostly it is in one already.
    const double shown_deg = wrapFullTurn_deg(azimuth_deg);
    e.directionCos_ = shown_deg == azimuth_deg ? e.cos_ : std::cos(shown_deg * kDegreeFactor);
    e.directionSin_ = shown_deg == azimuth_deg ? e.sin_ : std::sin(shown_deg * kDegreeFactor);
    e.makeBox();
    return e;
}

Element Element::arcAbout(double start_m, double length_m, double cx_m, double cy_m,
                          double radius_m, double startDirection_deg, bool turnsRight) {
    Element e;
    e.kind_ = ElementKind::Arc;
    e.start_m_ = start_m;
    e.length_m_ = length_m;
    e.cx_m_ = cx_m;
    e.cy_m_ = cy_m;
    e.radius_m_ = radius_m;
    e.startDirection_deg_ = startDirection_deg;
    e.right_ = turnsRight;
    e.k0_ = e.k1_ = (turnsRight ? 1 : -1) / radius_m;
    e.makeBox();
    return e;
}

Element Element::fromStart(double start_m, double length_m, AlignmentPoint p, double k0,
                           double k1) {
    if (k0 == 0 && k1 == 0)
        return straight(start_m, length_m, start_m, p.x_m, p.y_m, p.azimuth_deg);
    if (k0 == k1) {
        // Turned by true quarter and half turns, so that the arc starts at p in p's tangent (90
        // and 180 of these degrees are a little less).
        const bool right = k0 > 0;
        const double R = 1 / std::fabs(k0);
        const double towardsCentre = p.azimuth_deg + (right ? kQuarterTurn_deg : -kQuarterTurn_deg);
        const double cx = p.x_m + R * std::cos(towardsCentre * kDegreeFactor);
        const double cy = p.y_m + R * std::sin(towardsCentre * kDegreeFactor);
        Element e = arcAbout(start_m, length_m, cx, cy, R,
                             wrapFullTurn_deg(towardsCentre + kHalfTurn_deg), right);
        e.trueTurns_ = true;
        return e;
    }
    Element e;
    e.kind_ = ElementKind::Spiral;
    e.start_m_ = start_m;
    e.length_m_ = length_m;
    e.k0_ = k0;
    e.k1_ = k1;
    e.buildClothoid(p, k0);
    return e;
}

Element Element::spiralToEnd(double start_m, double length_m, AlignmentPoint end, double k0,
                             double k1) {
    Element e;
    e.kind_ = ElementKind::Spiral;
    e.start_m_ = start_m;
    e.length_m_ = length_m;
    e.k0_ = k0;
    e.k1_ = k1;
    e.reversed_ = true;
    // Run backwards from the end: the turn changes its sign, its rate stays.
    e.buildClothoid(end, -k1);
    return e;
}

void Element::buildClothoid(AlignmentPoint p, double k0) {
    Element& e = *this;
    const double length_m = length_m_;
    // A spiral of no length changes its curvature at no rate (not 0 / 0).
    const double rate = length_m > 0 ? (k1_ - k0_) / length_m : 0;
    e.kStart_ = k0;
    e.halfRate_ = rate / 2;
    const double kMax = std::max(std::fabs(k0_), std::fabs(k1_));
    double h = length_m;
    if (kMax > 0)
        h = std::min(h, kCurvatureShare * kPieceTurn_rad / kMax);
    h = std::min(h, std::sqrt((1 - kCurvatureShare) * kPieceTurn_rad / std::fabs(rate)));
    // A spiral of no length has one piece (its count reads 0 / 0 there); more pieces than a
    // vector holds are refused as the vector would refuse them, before the count is converted.
    const double pieces = std::ceil(length_m / h);
    if (pieces > static_cast<double>(e.nodes_.max_size()))
        throw std::length_error("a clothoid of more pieces than memory holds");
    const std::size_t n = pieces >= 1 ? static_cast<std::size_t>(pieces) : 1;
    e.piece_m_ = length_m / static_cast<double>(n);
    // Backwards the tangent points the other way: a true half turn added in radians (180 of the
    // stake position's degrees fall short of it by 5e-9 degrees).
    const double theta0 = p.azimuth_deg * kDegreeFactor + (reversed_ ? kHalfTurn_rad : 0);
    e.nodes_.reserve(n + 1);
    // The pieces are chained in offsets from the start, so that the rounding of large coordinates
    // does not add up along the pieces.
    e.ax_m_ = p.x_m;
    e.ay_m_ = p.y_m;
    Node node{0, 0, 0, theta0, std::cos(theta0), std::sin(theta0), k0};
    e.nodes_.push_back(node);
    for (std::size_t j = 1; j <= n; ++j) {
        const double s = j == n ? length_m : static_cast<double>(j) * e.piece_m_;
        double dx, dy;
        pieceOffset(s - node.s_m, node.k_per_m, e.halfRate_, dx, dy);
        Node next;
        next.s_m = s;
        next.x_m = node.x_m + (dx * node.cos - dy * node.sin);
        next.y_m = node.y_m + (dx * node.sin + dy * node.cos);
        next.theta_rad = theta0 + (k0 * s + e.halfRate_ * s * s);
        next.cos = std::cos(next.theta_rad);
        next.sin = std::sin(next.theta_rad);
        next.k_per_m = k0 + rate * s;
        e.nodes_.push_back(next);
        node = next;
    }
    e.makeBox();
}

double Element::curvatureAt_per_m(double continuous_m) const {
    if (kind_ != ElementKind::Spiral)
        return k0_;
    const double u = std::min(std::max(continuous_m - start_m_, 0.0), length_m_);
    return k0_ + (k1_ - k0_) * (u / length_m_);
}

AlignmentPoint Element::at(double continuous_m) const {
    switch (kind_) {
        case ElementKind::Straight: {
            const double l = continuous_m - anchor_m_;
            return {ax_m_ + l * cos_, ay_m_ + l * sin_, wrapFullTurn_deg(azimuth_deg_)};
        }
        case ElementKind::Arc: {
            const double l = continuous_m - start_m_;
            const double phi = (l / kDegreeFactor) / radius_m_;
            if (trueTurns_) {
                const double psi = wrapFullTurn_deg(startDirection_deg_ + (right_ ? phi : -phi));
                return {cx_m_ + radius_m_ * std::cos(psi * kDegreeFactor),
                        cy_m_ + radius_m_ * std::sin(psi * kDegreeFactor),
                        wrapFullTurn_deg(psi + (right_ ? kQuarterTurn_deg : -kQuarterTurn_deg))};
            }
            const double psi = normaliseAzimuthOnce(startDirection_deg_ + (right_ ? phi : -phi));
            return {cx_m_ + radius_m_ * std::cos(psi * kDegreeFactor),
                    cy_m_ + radius_m_ * std::sin(psi * kDegreeFactor),
                    // psi is normalised by 360 as the one-curve arc is, and so is its tangent.
                    normaliseAzimuthOnce(psi + (right_ ? kRightAngle_deg : -kRightAngle_deg))};
        }
        case ElementKind::Spiral:
            break;
    }
    const double s = reversed_ ? length_m_ - (continuous_m - start_m_) : continuous_m - start_m_;
    const std::size_t pieces = nodes_.size() - 1;
    std::size_t j = 0;
    if (s > 0) {
        // The piece's number, compared before it is converted: a spiral of no length reads inf.
        const double at = s / piece_m_;
        j = at < static_cast<double>(pieces - 1) ? static_cast<std::size_t>(at) : pieces - 1;
    }
    const Node& n = nodes_[j];
    double dx, dy;
    pieceOffset(s - n.s_m, n.k_per_m, halfRate_, dx, dy);
    const double theta = nodes_[0].theta_rad + (kStart_ * s + halfRate_ * s * s);
    return {ax_m_ + (n.x_m + (dx * n.cos - dy * n.sin)),
            ay_m_ + (n.y_m + (dx * n.sin + dy * n.cos)),
            wrapFullTurn_deg((theta - (reversed_ ? kHalfTurn_rad : 0)) / kDegreeFactor)};
}

void Element::makeBox() {
    double slack = kJointSlack_m;
    bool first = true;
    const auto include = [&](double x, double y) {
        if (first) {
            minX_m = maxX_m = x;
            minY_m = maxY_m = y;
            first = false;
            return;
        }
        minX_m = std::min(minX_m, x);
        maxX_m = std::max(maxX_m, x);
        minY_m = std::min(minY_m, y);
        maxY_m = std::max(maxY_m, y);
    };
    if (kind_ == ElementKind::Spiral) {
        for (const Node& n : nodes_)
            include(ax_m_ + n.x_m, ay_m_ + n.y_m);
        slack += piece_m_ * kPieceTurn_rad;
    } else if (kind_ == ElementKind::Arc && length_m_ / radius_m_ > kHalfTurn_rad) {
        include(cx_m_ - radius_m_, cy_m_ - radius_m_);  // the whole circle's
        include(cx_m_ + radius_m_, cy_m_ + radius_m_);
    } else {
        // Its ends; an arc of at most a half turn lies within its sagitta of its chord.
        const AlignmentPoint a = at(start_m_), b = at(end_m());
        include(a.x_m, a.y_m);
        include(b.x_m, b.y_m);
        if (kind_ == ElementKind::Arc)
            slack += radius_m_ * (1 - std::cos(length_m_ / radius_m_ / 2));
    }
    minX_m -= slack;
    maxX_m += slack;
    minY_m -= slack;
    maxY_m += slack;
}

std::size_t Alignment::elementAt(double continuous_m) const {
    auto it = std::upper_bound(elements.begin(), elements.end(), continuous_m,
                               [](double c, const Element& e) { return c < e.start_m(); });
    if (it == elements.begin())
        return 0;
    return static_cast<std::size_t>(it - elements.begin()) - 1;
}

std::size_t Alignment::elementAt(double continuous_m, std::size_t guess) const {
    // The element that holds a chainage starts at or before it (the first one: any chainage before
    // it too) and the next one starts after it (the last one: any chainage beyond it too).
    const std::size_t n = elements.size();
    for (std::size_t e = guess; e < n && e <= guess + 1; ++e) {
        const bool fromStart = e == 0 || !(continuous_m < elements[e].start_m());
        const bool beforeNext = e + 1 == n || continuous_m < elements[e + 1].start_m();
        if (fromStart && beforeNext)
            return e;
    }
    return elementAt(continuous_m);
}

AlignmentPoint Alignment::at(double continuous_m) const {
    return at(continuous_m, elementAt(continuous_m));
}

AlignmentPoint Alignment::at(double continuous_m, std::size_t element) const {
    const Element& first = elements.front();
    const Element& last = elements.back();
    if (continuous_m < first.start_m() && first.kind() != ElementKind::Straight) {
        AlignmentPoint p = first.at(first.start_m());
        const double l = continuous_m - first.start_m();
        p.x_m += l * std::cos(p.azimuth_deg * kDegreeFactor);
        p.y_m += l * std::sin(p.azimuth_deg * kDegreeFactor);
        return p;
    }
    if (continuous_m > last.end_m() && last.kind() != ElementKind::Straight) {
        AlignmentPoint p = last.at(last.end_m());
        const double l = continuous_m - last.end_m();
        p.x_m += l * std::cos(p.azimuth_deg * kDegreeFactor);
        p.y_m += l * std::sin(p.azimuth_deg * kDegreeFactor);
        return p;
    }
    return elements[element].at(continuous_m);
}

AlignmentFrame frameAt(const AlignmentPoint& p) {
    return {p, std::cos(p.azimuth_deg * kDegreeFactor), std::sin(p.azimuth_deg * kDegreeFactor)};
}

namespace {

struct Seen {
    double along_m;
    double right_m;
};

using Frame = AlignmentFrame;

Seen seenFrom(const Frame& f, double x_m, double y_m) {
    const double dx = x_m - f.p.x_m, dy = y_m - f.p.y_m;
    return {dx * f.cos + dy * f.sin, -dx * f.sin + dy * f.cos};
}

Seen seenFrom(const AlignmentPoint& p, double x_m, double y_m) {
    return seenFrom(frameAt(p), x_m, y_m);
}

// A straight line through f's point: the foot between chainages from_m and to_m.
void footOnLine(const Frame& f, double at_m, double from_m, double to_m, double x_m, double y_m,
                std::size_t index, std::vector<AlignmentFoot>& feet) {
    const Seen s = seenFrom(f, x_m, y_m);
    const double c = at_m + s.along_m;
    if (c >= from_m && c <= to_m)
        feet.push_back({c, s.right_m, std::fabs(s.right_m), index});
}

// The foot between a and b, where the point is ahead of the stake at a and behind it at b:
// Newton's method with the curvature, a step that leaves the bracket replaced by halving it.
void footBetween(const Element& e, double a, double b, double x_m, double y_m, std::size_t index,
                 std::vector<AlignmentFoot>& feet) {
    double l = a + (b - a) / 2;
    Seen s = seenFrom(e.at(l), x_m, y_m);
    for (int i = 0; i < kMaxNewtonSteps && s.along_m != 0; ++i) {
        if (s.along_m > 0)
            a = l;
        else
            b = l;
        // d(along)/dl = -1 + curvature * (distance to the right).
        const double slope = -1 + e.curvatureAt_per_m(l) * s.right_m;
        const double next = slope < 0 ? l - s.along_m / slope : a - 1;
        double step;
        if (next >= a && next <= b) {
            step = next - l;
            l = next;
        } else {
            l = a + (b - a) / 2;
            step = b - a;
        }
        s = seenFrom(e.at(l), x_m, y_m);
        if (std::fabs(step) < kNewtonStep_m)
            break;
    }
    feet.push_back({l, s.right_m, std::fabs(s.right_m), index});
}

void footOnElement(const Alignment& al, std::size_t index, double x_m, double y_m,
                   std::vector<AlignmentFoot>& feet) {
    const Element& e = al.elements[index];
    const bool first = index == 0, last = index + 1 == al.elements.size();
    const double from = e.start_m() - kJointSlack_m, to = e.end_m() + kJointSlack_m;
    switch (e.kind()) {
        case ElementKind::Straight:
            footOnLine({e.at(e.start_m()), e.directionCos(), e.directionSin()}, e.start_m(),
                       first ? -kInf : from, last ? kInf : to, x_m, y_m, index, feet);
            return;
        case ElementKind::Arc: {
            const double R = e.radius_m();
            const bool right = e.startCurvature_per_m() > 0;
            const double cx = e.centreX_m(), cy = e.centreY_m();
            const double dx = x_m - cx, dy = y_m - cy;
            const double rho = std::hypot(dx, dy);
            const double toPoint = azimuthOf_rad(dx, dy);
            const double startDirection = e.startDirection_deg() * kDegreeFactor;
            double phi = (right ? 1 : -1) * (toPoint - startDirection);
            const double middle = e.length_m() / R / 2;
            phi = withinHalfTurnOf_rad(phi, middle);
            const double l = phi * R;
            const double offset = (right ? 1 : -1) * (R - rho);
            if (e.start_m() + l >= from && e.start_m() + l <= to)
                feet.push_back({e.start_m() + l, offset, std::fabs(R - rho), index});
            // At the centre every point of the arc is as near.
            if (rho < kAboutEqual_m && e.length_m() >= kAboutEqual_m) {
                feet.push_back({e.start_m(), offset, std::fabs(R - rho), index, true});
                feet.push_back({e.end_m(), offset, std::fabs(R - rho), index, true});
            }
            return;
        }
        case ElementKind::Spiral:
            break;
    }
    // Piece by piece, where the point passes from ahead of the stake to behind it.
    const std::vector<Element::Node>& nodes = e.nodes();
    const std::size_t count = nodes.size();
    double cutsOnStack[kFewCuts];
    std::vector<double> cutsOnHeap;
    if (count > kFewCuts)
        cutsOnHeap.resize(count);
    double* const cuts = count > kFewCuts ? cutsOnHeap.data() : cutsOnStack;
    for (std::size_t j = 0; j < count; ++j)
        cuts[j] = e.start_m() + nodes[j].s_m;
    if (e.reversed())
        for (std::size_t j = 0; j < count; ++j)
            cuts[j] = e.start_m() + (e.length_m() - (cuts[j] - e.start_m()));
    std::sort(cuts, cuts + count);
    cuts[0] = from;
    cuts[count - 1] = to;
    double previous = seenFrom(e.at(cuts[0]), x_m, y_m).along_m;
    for (std::size_t j = 1; j < count; ++j) {
        const double along = seenFrom(e.at(cuts[j]), x_m, y_m).along_m;
        if (previous >= 0 && along <= 0 && !(previous == 0 && j > 1))
            footBetween(e, cuts[j - 1], cuts[j], x_m, y_m, index, feet);
        previous = along;
    }
}

// Sorted by less, those equal in their order: an insertion sort, for the few feet of a point.
template <typename T, typename Less>
void sortStably(std::vector<T>& v, Less less) {
    for (std::size_t i = 1; i < v.size(); ++i) {
        T moving = v[i];
        std::size_t j = i;
        for (; j > 0 && less(moving, v[j - 1]); --j)
            v[j] = v[j - 1];
        v[j] = moving;
    }
}

// Elements by a distance, taken nearest first. Only the few nearest are ever taken, so the
// nearest is found by a look over them, not kept in order: over those given as near, and only
// when none of them is left over the others. Of equal distances the lower element is taken
// first where ByElement says so.
struct Entry {
    double d;
    std::size_t element;
};

// A stretch of a buffer.
struct Entries {
    Entry* begin;
    Entry* end;
    bool empty() const { return begin == end; }
};

template <bool ByElement>
class NearestFirst {
  public:
    /// The near ones, and the far ones, none of which lies nearer than farFrom.
    NearestFirst(Entries near, Entries far, double farFrom)
        : near_(near), far_(far), farFrom_(farFrom) {}
    bool empty() const { return near_.empty() && far_.empty(); }
    /// The nearest; only when not empty.
    const Entry& nearest() {
        if (!at_) {
            Entries& in = near_.empty() ? far_ : near_;
            Entry* at = in.begin;
            double least = at->d;
            for (Entry* e = in.begin + 1; e < in.end; ++e) {
                const double d = e->d;
                if (d < least || (ByElement && d == least && e->element < at->element)) {
                    least = d;
                    at = e;
                }
            }
            at_ = at;
        }
        return *at_;
    }
    /// The nearest's distance or, before a look over the far ones, one that none is nearer than.
    double least() {
        if (near_.empty() && !at_)
            return farFrom_;
        return nearest().d;
    }
    Entry take() {
        const Entry e = nearest();
        Entries& in = near_.empty() ? far_ : near_;
        if (near_.empty())  // the far ones left lie no nearer
            farFrom_ = std::max(farFrom_, e.d);
        *at_ = *in.begin++;
        at_ = nullptr;
        return e;
    }
    // To the far ones, where the buffer has room after them and there are no near ones.
    void add(Entry e) {
        *far_.end++ = e;
        at_ = nullptr;
    }

  private:
    Entries near_, far_;
    double farFrom_;
    Entry* at_ = nullptr;
};

// The feet of alignmentFeet over the candidates, elements in chain order that hold every one
// whose box could lie within reach of the nearest foot (with the straights at the chain's ends);
// nearest_m is set to the distance of the nearest foot found.
std::vector<AlignmentFoot> feetAmong(const Alignment& al, const std::size_t* candidates,
                                     std::size_t m, double x_m, double y_m, double& nearest_m) {
    std::vector<AlignmentFoot> feet;
    const std::size_t n = al.elements.size();
    // The feet, in this order: on the end tangents (where the ends are not straights themselves),
    // on the straights and arcs in chain order, then on the clothoids nearest box first while a
    // box can still hold a foot within reach of the nearest found so far; kept within reach of
    // the nearest of all. A straight or an arc is searched only once its feet can matter: when
    // its box could hold the nearest foot of those elements, or one that is kept.
    struct Found {
        std::size_t order;  // 0 and 1 the end tangents, then 2 + element
        AlignmentFoot foot;
    };
    std::vector<Found> found;
    found.reserve(kFewFeet);
    feet.reserve(kFewFeet);
    double nearestOfLines_m = kInf;  // of the straights, arcs and end tangents searched
    const auto search = [&](std::size_t order, auto&& footsOn) {
        feet.clear();
        footsOn();
        for (const AlignmentFoot& f : feet) {
            found.push_back({order, f});
            nearestOfLines_m = std::min(nearestOfLines_m, f.distance_m);
        }
    };
    if (al.elements.front().kind() != ElementKind::Straight)
        search(0, [&] {
            footOnLine(frameAt(al.at(al.start_m())), al.start_m(), -kInf, al.start_m(), x_m, y_m, 0,
                       feet);
        });
    if (al.elements.back().kind() != ElementKind::Straight)
        search(1, [&] {
            footOnLine(frameAt(al.at(al.end_m())), al.end_m(), al.end_m(), kInf, x_m, y_m, n - 1,
                       feet);
        });
    // The straights and arcs not yet searched, by the least distance a foot on them can have:
    // their box's, less what covers the rounding of box and foot and, at an arc's centre, its
    // ends (their feet are R - rho from the point, the ends themselves up to R + rho); from the
    // front of the buffer. The straights at the chain's ends run on beyond their box and are
    // searched at once. The clothoids by the larger of the distances across and along of their
    // box, which the distance to the box is never below; from its back.
    // A third of the buffer for each kind, the near ones from its front, the far ones from its
    // back; the last third for the clothoids' boxes (below).
    Entry onStack[3 * kFewCandidates];
    std::unique_ptr<Entry[]> onHeap;
    if (m > kFewCandidates)
        onHeap.reset(new Entry[3 * m]);
    Entry* const buffer = onHeap ? onHeap.get() : onStack;
    Entries nearLines{buffer, buffer}, farLines{buffer + m, buffer + m};
    Entries nearSpirals{farLines.end, farLines.end};
    Entries farSpirals{buffer + 2 * m, buffer + 2 * m};
    for (std::size_t c = 0; c < m; ++c) {
        const std::size_t i = candidates[c];
        const Element& e = al.elements[i];
        // Below the distance to the box, which is at least the larger of those across and along.
        const double below_m = std::max(std::max(e.minX_m - x_m, x_m - e.maxX_m),
                                        std::max(e.minY_m - y_m, y_m - e.maxY_m));
        if (e.kind() == ElementKind::Spiral) {
            if (below_m <= kNearBox_m)
                *nearSpirals.end++ = {below_m, i};
            else
                *--farSpirals.begin = {below_m, i};
        } else if (e.kind() == ElementKind::Straight && (i == 0 || i + 1 == n)) {
            search(2 + i, [&] { footOnElement(al, i, x_m, y_m, feet); });
        } else {
            const double least_m = below_m - kBoxMargin_m;
            // A box that is not finite holds no bound: searched first.
            if (std::isnan(least_m))
                *nearLines.end++ = {-kInf, i};
            else if (least_m <= kNearBox_m)
                *nearLines.end++ = {least_m, i};
            else
                *--farLines.begin = {least_m, i};
        }
    }
    NearestFirst<false> lines(nearLines, farLines, kNearBox_m);
    NearestFirst<false> spirals(nearSpirals, farSpirals, kNearBox_m);
    const auto searchNearestLine = [&] {
        const std::size_t i = lines.take().element;
        search(2 + i, [&] { footOnElement(al, i, x_m, y_m, feet); });
    };
    // Never above the least distance a foot on a straight or arc not yet searched can have.
    const auto leastOfLines_m = [&] { return lines.empty() ? kInf : lines.least(); };
    // Whether the nearest foot on the straights and arcs lies so near that a box at d_m is beyond
    // reach of it.
    const auto linesWithin = [&](double d_m) {
        for (;;) {
            if (nearestOfLines_m + kFeetReach_m < d_m)
                return true;
            if (!(leastOfLines_m() + kFeetReach_m < d_m))
                return false;
            searchNearestLine();
        }
    };
    // The clothoids nearest box first, by the box's distance and then the element: those taken
    // from `spirals` wait in `boxes` until none left there can be nearer.
    NearestFirst<true> boxes({}, {buffer + 2 * m, buffer + 2 * m}, -kInf);
    const auto nextSpiral = [&]() -> bool {
        while (!spirals.empty() && (boxes.empty() || !(boxes.nearest().d < spirals.least()))) {
            const std::size_t i = spirals.take().element;
            const Element& e = al.elements[i];
            const double dx = std::max({e.minX_m - x_m, 0.0, x_m - e.maxX_m});
            const double dy = std::max({e.minY_m - y_m, 0.0, y_m - e.maxY_m});
            boxes.add({std::hypot(dx, dy), i});
        }
        return !boxes.empty();
    };
    std::vector<AlignmentFoot> onSpirals;
    onSpirals.reserve(kFewFeet);
    double nearestOnSpirals_m = kInf;
    // Beyond reach at a box's distance is beyond reach at any farther.
    const auto beyondReach = [&](double d_m) {
        return nearestOnSpirals_m + kFeetReach_m < d_m || linesWithin(d_m);
    };
    for (;;) {
        // Where the nearest box is known not to lie nearer than beyond reach, it need not be
        // found.
        const double least_m = std::min(boxes.empty() ? kInf : boxes.nearest().d,
                                        spirals.empty() ? kInf : spirals.least());
        if (beyondReach(least_m) || !nextSpiral())
            break;
        const auto [d, i] = boxes.nearest();
        if (beyondReach(d))
            break;
        boxes.take();
        const std::size_t before = onSpirals.size();
        footOnElement(al, i, x_m, y_m, onSpirals);
        for (std::size_t k = before; k < onSpirals.size(); ++k)
            nearestOnSpirals_m = std::min(nearestOnSpirals_m, onSpirals[k].distance_m);
    }
    // Every straight and arc that can hold a foot within reach of the nearest.
    double best = std::min(nearestOfLines_m, nearestOnSpirals_m);
    while (!lines.empty() && leastOfLines_m() <= best + kFeetReach_m) {
        searchNearestLine();
        best = std::min(nearestOfLines_m, nearestOnSpirals_m);
    }
    nearest_m = best;
    sortStably(found, [](const Found& a, const Found& b) { return a.order < b.order; });
    feet.clear();
    for (const Found& f : found)
        feet.push_back(f.foot);
    feet.insert(feet.end(), onSpirals.begin(), onSpirals.end());
    feet.erase(std::remove_if(feet.begin(), feet.end(),
                              [&](const AlignmentFoot& f) {
                                  return !std::isfinite(f.continuous_m) ||
                                         !std::isfinite(f.offset_m) ||
                                         f.distance_m > best + kFeetReach_m;
                              }),
               feet.end());
    sortStably(feet, [](const AlignmentFoot& a, const AlignmentFoot& b) {
        return a.distance_m < b.distance_m;
    });
    // One foot per chainage: a joint found from both of its elements.
    std::size_t once = 0;
    for (std::size_t i = 0; i < feet.size(); ++i) {
        const AlignmentFoot f = feet[i];
        const bool seen =
            std::any_of(feet.begin(), feet.begin() + once, [&](const AlignmentFoot& o) {
                return std::fabs(o.continuous_m - f.continuous_m) <= 2 * kJointSlack_m;
            });
        if (!seen)
            feet[once++] = f;
    }
    feet.resize(once);
    return feet;
}

// Below the distance from (x_m, y_m) to a box: the larger of those across and along.
double belowBox_m(double minX_m, double maxX_m, double minY_m, double maxY_m, double x_m,
                  double y_m) {
    return std::max(std::max(minX_m - x_m, x_m - maxX_m), std::max(minY_m - y_m, y_m - maxY_m));
}

double belowBox_m(const ElementIndex::Box& b, double x_m, double y_m) {
    return belowBox_m(b.minX_m, b.maxX_m, b.minY_m, b.maxY_m, x_m, y_m);
}

// Indices in chain order, the first few without an allocation.
class Candidates {
  public:
    void push(std::size_t i) {
        if (size_ < kFewCandidates)
            few_[size_] = i;
        else {
            if (size_ == kFewCandidates)
                more_.assign(few_, few_ + kFewCandidates);
            more_.push_back(i);
        }
        ++size_;
    }
    const std::size_t* data() const { return size_ <= kFewCandidates ? few_ : more_.data(); }
    std::size_t size() const { return size_; }
    void clear() {
        size_ = 0;
        more_.clear();
    }

  private:
    std::size_t few_[kFewCandidates];
    std::vector<std::size_t> more_;
    std::size_t size_ = 0;
};

double belowBox_m(const Element& e, double x_m, double y_m) {
    return belowBox_m(e.minX_m, e.maxX_m, e.minY_m, e.maxY_m, x_m, y_m);
}

// The elements under box j of level k whose box lies no farther than within_m by belowBox_m, in
// chain order.
void elementsWithin(const Alignment& al, std::size_t k, std::size_t j, double x_m, double y_m,
                    double within_m, Candidates& out) {
    if (!(belowBox_m(al.index.levels[k][j], x_m, y_m) <= within_m))
        return;
    if (k == 0) {
        for (std::size_t i = 4 * j; i < std::min(4 * j + 4, al.elements.size()); ++i)
            if (belowBox_m(al.elements[i], x_m, y_m) <= within_m)
                out.push(i);
        return;
    }
    const std::vector<ElementIndex::Box>& below = al.index.levels[k - 1];
    for (std::size_t c = 4 * j; c < std::min(4 * j + 4, below.size()); ++c)
        elementsWithin(al, k - 1, c, x_m, y_m, within_m, out);
}

// The boxes that hold four of the boxes given (the last fewer).
template <typename Of>
std::vector<ElementIndex::Box> inFours(std::size_t count, Of boxOf) {
    std::vector<ElementIndex::Box> above;
    above.reserve((count + 3) / 4);
    for (std::size_t j = 0; j < count; j += 4) {
        ElementIndex::Box b = boxOf(j);
        for (std::size_t c = j + 1; c < std::min(j + 4, count); ++c) {
            const ElementIndex::Box o = boxOf(c);
            b.minX_m = std::min(b.minX_m, o.minX_m);
            b.maxX_m = std::max(b.maxX_m, o.maxX_m);
            b.minY_m = std::min(b.minY_m, o.minY_m);
            b.maxY_m = std::max(b.maxY_m, o.maxY_m);
        }
        above.push_back(b);
    }
    return above;
}

}  // namespace

void indexElements(Alignment& al) {
    al.index = ElementIndex{};
    // A short chain is searched as fast element by element.
    const std::vector<Element>& elements = al.elements;
    if (elements.size() <= kShortChain)
        return;
    for (const Element& e : elements) {
        if (!std::isfinite(e.minX_m) || !std::isfinite(e.maxX_m) || !std::isfinite(e.minY_m) ||
            !std::isfinite(e.maxY_m))
            return;
    }
    ElementIndex index;
    index.elements = elements.size();
    index.levels.push_back(inFours(elements.size(), [&](std::size_t i) {
        const Element& e = elements[i];
        return ElementIndex::Box{e.minX_m, e.maxX_m, e.minY_m, e.maxY_m};
    }));
    while (index.levels.back().size() > 1) {
        const std::vector<ElementIndex::Box>& below = index.levels.back();
        std::vector<ElementIndex::Box> above =
            inFours(below.size(), [&](std::size_t i) { return below[i]; });
        index.levels.push_back(std::move(above));
    }
    al.index = std::move(index);
}

std::vector<AlignmentFoot> alignmentFeet(const Alignment& al, double x_m, double y_m) {
    if (!std::isfinite(x_m) || !std::isfinite(y_m) || al.elements.empty())
        return {};
    const std::size_t n = al.elements.size();
    double nearest_m = kInf;
    const ElementIndex& index = al.index;
    if (!index.levels.empty() && index.elements == n) {
        // The elements whose box lies within some distance, and the straights at the chain's
        // ends, which run on beyond their box. An element left out lies farther than the
        // distance: beyond reach of the nearest foot found where that lies nearer by the reach
        // and the margin, and then the feet are those of all the elements. Otherwise again with
        // a distance that is so, or where no foot was found a larger one.
        const std::size_t top = index.levels.size() - 1;
        const bool firstStraight = al.elements.front().kind() == ElementKind::Straight;
        const bool lastStraight = al.elements.back().kind() == ElementKind::Straight;
        Candidates candidates;
        for (double within_m = kNearBox_m;;) {
            candidates.clear();
            if (firstStraight && !(belowBox_m(al.elements[0], x_m, y_m) <= within_m))
                candidates.push(0);
            elementsWithin(al, top, 0, x_m, y_m, within_m, candidates);
            if (lastStraight && n > 1 && !(belowBox_m(al.elements[n - 1], x_m, y_m) <= within_m))
                candidates.push(n - 1);
            std::vector<AlignmentFoot> feet =
                feetAmong(al, candidates.data(), candidates.size(), x_m, y_m, nearest_m);
            if (candidates.size() == n || nearest_m + kFeetReach_m < within_m - kBoxMargin_m)
                return feet;
            within_m =
                std::isfinite(nearest_m)
                    ? std::max(nearest_m + kFeetReach_m + kBoxMargin_m + kNearBox_m, 2 * within_m)
                    : 8 * within_m;
            if (!std::isfinite(within_m))
                break;
        }
    }
    Candidates all;
    for (std::size_t i = 0; i < n; ++i)
        all.push(i);
    return feetAmong(al, all.data(), n, x_m, y_m, nearest_m);
}

std::optional<AlignmentFoot> footNear(const Alignment& al, const AlignmentFrame& stake,
                                      double stake_m, double x_m, double y_m) {
    if (!std::isfinite(x_m) || !std::isfinite(y_m) || al.elements.empty())
        return std::nullopt;
    // A point on the stake's normal is at its foot at once.
    const Seen s = seenFrom(stake, x_m, y_m);
    if (std::fabs(s.along_m) < kNewtonStep_m)
        return AlignmentFoot{stake_m, s.right_m, std::fabs(s.right_m), al.elementAt(stake_m)};
    // Otherwise the foot lies within about the point's distance from the stake, along the chain.
    const double reach_m = 2 * std::hypot(s.along_m, s.right_m) + kFeetReach_m;
    const std::size_t n = al.elements.size();
    std::vector<AlignmentFoot> feet;
    if (stake_m - reach_m < al.start_m() && al.elements.front().kind() != ElementKind::Straight)
        footOnLine(frameAt(al.at(al.start_m())), al.start_m(), -kInf, al.start_m(), x_m, y_m, 0,
                   feet);
    for (std::size_t i = al.elementAt(stake_m - reach_m);
         i < n && al.elements[i].start_m() <= stake_m + reach_m; ++i)
        footOnElement(al, i, x_m, y_m, feet);
    if (stake_m + reach_m > al.end_m() && al.elements.back().kind() != ElementKind::Straight)
        footOnLine(frameAt(al.at(al.end_m())), al.end_m(), al.end_m(), kInf, x_m, y_m, n - 1, feet);
    std::optional<AlignmentFoot> nearest;
    for (const AlignmentFoot& f : feet) {
        if (std::isfinite(f.continuous_m) && std::isfinite(f.offset_m) &&
            (!nearest || f.distance_m < nearest->distance_m))
            nearest = f;
    }
    return nearest;
}

bool feetAmbiguous(const std::vector<AlignmentFoot>& feet) {
    if (feet.empty())
        return false;
    const AlignmentFoot& best = feet.front();
    return std::any_of(feet.begin() + 1, feet.end(), [&](const AlignmentFoot& o) {
        return o.distance_m - best.distance_m < kAboutEqual_m &&
               std::fabs(o.continuous_m - best.continuous_m) >= kAboutEqual_m;
    });
}

std::vector<SidePoint> sidePointsOf(const AlignmentPoint& p, const SideRequest& request) {
    std::vector<SidePoint> points;
    sidePointsOf(p, request, points);
    return points;
}

void sidePointsOf(const AlignmentPoint& p, const SideRequest& request,
                  std::vector<SidePoint>& points) {
    sidePointsOnAxis(p.x_m, p.y_m,
                     normaliseAzimuthOnce(p.azimuth_deg + kRightAngle_deg + request.skew_deg),
                     request, points);
}

}  // namespace hcurve

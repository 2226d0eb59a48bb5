// A horizontal alignment: a chain of elements, each a straight, a circular arc or a clothoid whose
// curvature runs linearly from its start to its end, on one continuous chainage (里程).
//
// Curvature is signed: positive turns right (the azimuth grows), negative left; 0 is a straight.
// Azimuths are decimal degrees clockwise from north in the degrees of the stake position, whose
// radians are degrees times the ten-decimal factor kDegreeFactor, so that a JD table compiled into
// elements places its stakes where the one-curve formulas place them.
//
// A clothoid is computed in pieces over which its tangent turns by at most a tenth of a radian:
// the position and tangent at the start of every piece are kept, and a point inside a piece is
// the power series of the integral of exp(i phi) with phi(u) = k u + c u^2 / 2, summed to 1e-18
// of the piece's length. Positions are within 1e-10 m over a 1 km clothoid (the rounding of the
// chained pieces); azimuths within 1e-12 degrees.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "geometry/side_points.h"

namespace hcurve {

enum class ElementKind { Straight, Arc, Spiral };

/// A foot may lie this far beyond its element's end, so that a point at a joint finds it; two
/// chainages this near are one place.
constexpr double kJointSlack_m = 1e-6;

/// The user's name of an element kind: 直线, 圆曲线, 缓和曲线.
const char* elementKindName(ElementKind kind);

/// A point of the alignment with the tangent azimuth there.
struct AlignmentPoint {
    double x_m;  // north
    double y_m;  // east
    double azimuth_deg;
};

/// One element. Its geometry is fixed by its start (or, for a straight, by any point of it).
class Element {
  public:
    /// A straight through (x_m, y_m) at chainage at_m in azimuth_deg, from start_m over length_m.
    static Element straight(double start_m, double length_m, double at_m, double x_m, double y_m,
                            double azimuth_deg);
    /// An arc about the centre (cx_m, cy_m): startDirection_deg points from the centre to its
    /// start; turnsRight tells the way.
    static Element arcAbout(double start_m, double length_m, double cx_m, double cy_m,
                            double radius_m, double startDirection_deg, bool turnsRight);
    /// An element from its start point and tangent, with signed curvatures at start and end
    /// (equal: a straight or an arc; different: a clothoid).
    static Element fromStart(double start_m, double length_m, AlignmentPoint start,
                             double startCurvature_per_m, double endCurvature_per_m);

    /// A clothoid fixed by its end point and tangent, run backwards from there, as a curve's second
    /// spiral is staked from HZ.
    static Element spiralToEnd(double start_m, double length_m, AlignmentPoint end,
                               double startCurvature_per_m, double endCurvature_per_m);

    ElementKind kind() const { return kind_; }
    bool reversed() const { return reversed_; }
    double start_m() const { return start_m_; }
    double end_m() const { return start_m_ + length_m_; }
    double length_m() const { return length_m_; }
    double startCurvature_per_m() const { return k0_; }
    double endCurvature_per_m() const { return k1_; }
    /// Signed curvature at a continuous chainage (0 beyond the element's straight ends).
    double curvatureAt_per_m(double continuous_m) const;

    /// The point at a continuous chainage, the element's formula running on beyond its ends.
    AlignmentPoint at(double continuous_m) const;

    /// The pieces of a clothoid, each at its start, and its end (empty for the other kinds); from
    /// the end for one fixed by its end.
    struct Node {
        double s_m;        // from the element's start
        double x_m, y_m;   // from the element's start point
        double theta_rad;  // tangent angle (azimuth times kDegreeFactor)
        double cos, sin;
        double k_per_m;
    };
    const std::vector<Node>& nodes() const { return nodes_; }
    /// A straight's direction as at() gives it, as the cosine and sine of its azimuth in radians
    /// (for the foot search, which turns every point into the straight's frame).
    double directionCos() const { return directionCos_; }
    double directionSin() const { return directionSin_; }
    /// An arc's centre, radius and the direction from the centre to its start.
    double centreX_m() const { return cx_m_; }
    double centreY_m() const { return cy_m_; }
    double radius_m() const { return radius_m_; }
    double startDirection_deg() const { return startDirection_deg_; }

    /// The box that holds the element (north, east), with some slack.
    double minX_m, maxX_m, minY_m, maxY_m;

    std::string name;  // of the point where it starts (ZH, HY, the element file's 名称); or empty
    std::string middleName;  // of its middle, when a stake stands there (QZ)
    // How a foot names it: "线元 3 缓和曲线"; empty in a JD route's chain, whose elements a foot
    // names by their curve ("直线 BP-JD1", "JD3 圆曲线").
    std::string label;
    int line = 0;  // line of the file that gave it (0: none)

  private:
    Element() = default;
    void makeBox();
    void buildClothoid(AlignmentPoint origin, double startCurvature_per_m);

    ElementKind kind_ = ElementKind::Straight;
    double start_m_ = 0, length_m_ = 0;
    double k0_ = 0, k1_ = 0;
    // Straight: a point at chainage anchor_m and the azimuth; clothoid: its start point.
    double anchor_m_ = 0, ax_m_ = 0, ay_m_ = 0, azimuth_deg_ = 0, cos_ = 1, sin_ = 0;
    double directionCos_ = 1, directionSin_ = 0;
    // Arc: centre, radius, direction from the centre to the start, turn.
    double cx_m_ = 0, cy_m_ = 0, radius_m_ = 0, startDirection_deg_ = 0;
    bool right_ = true;
    // An arc from its start: turned by true quarter and half turns, not by the one-curve
    // formulas' 90 and 180 degrees.
    bool trueTurns_ = false;
    // Clothoid: half the curvature's rate, the piece length and the pieces.
    // A clothoid fixed by its end runs backwards: its pieces from the end, kStart at the end.
    double halfRate_ = 0, piece_m_ = 0, kStart_ = 0;
    bool reversed_ = false;
    std::vector<Node> nodes_;
};

/// The elements' boxes gathered in fours, and those in fours again up to one box: built once for
/// an alignment (indexElements), so that a foot search looks only at the elements whose box lies
/// near the point. Empty where a box is not finite or the chain is short; then every element is
/// looked at.
struct ElementIndex {
    struct Box {
        double minX_m, maxX_m, minY_m, maxY_m;
    };
    std::vector<std::vector<Box>> levels;  // [0] of four elements each; the last holds all
    std::size_t elements = 0;              // how many elements it was built over
};

/// The chain: elements in chainage order, each starting where the one before ends.
struct Alignment {
    std::vector<Element> elements;
    std::string endName;  // of the point where the last element ends (EP), or empty
    // The elements' boxes for the foot search, built by indexElements once the elements are
    // complete (and again after any change to them); one built over another number of elements
    // is not used.
    ElementIndex index;

    double start_m() const { return elements.front().start_m(); }
    double end_m() const { return elements.back().end_m(); }

    /// The element that holds a continuous chainage: at a joint the later one; before the start
    /// the first, beyond the end the last.
    std::size_t elementAt(double continuous_m) const;
    /// elementAt, looked for first in the element guessed and the one after it (chainages taken
    /// in route order, each near the one before), then over the whole chain.
    std::size_t elementAt(double continuous_m, std::size_t guess) const;

    /// The point at a continuous chainage. Before the start and beyond the end the alignment runs
    /// on straight along its end tangents.
    AlignmentPoint at(double continuous_m) const;
    /// at(continuous_m) with the element that holds it (elementAt) already found.
    AlignmentPoint at(double continuous_m, std::size_t element) const;
};

/// Builds the alignment's index over its elements as they are now.
void indexElements(Alignment& alignment);

/// A foot of the perpendicular from a point onto one element.
struct AlignmentFoot {
    double continuous_m;
    double offset_m;  // positive to the right in the direction of increasing chainage
    double distance_m;
    std::size_t element;
    // At an arc's centre, where every point of the arc is as near: one of the arc's ends, given
    // for the whole of it.
    bool forWholeArc = false;
};

/// Every local foot of (x_m, y_m), nearest first: on every element that can hold a foot within
/// a metre of the nearest one, and on the end tangents running on before the start and beyond the
/// end (named by the first and the last element). A foot may lie a micrometre beyond its element's
/// end, so that a point at a joint finds it; feet at one chainage are given once. Empty when the
/// point is not finite.
std::vector<AlignmentFoot> alignmentFeet(const Alignment& alignment, double x_m, double y_m);

/// A point of the alignment with the cosine and sine of its tangent's azimuth in radians.
struct AlignmentFrame {
    AlignmentPoint p;
    double cos, sin;
};

AlignmentFrame frameAt(const AlignmentPoint& p);

/// The foot of (x_m, y_m) near the stake at continuous chainage stake_m (whose frame is given):
/// of a point set out from that stake, which lies at another chainage when it is skewed or in a
/// back row. At once where the point lies on the stake's normal; else the nearest foot on the
/// elements within twice the point's distance from the stake (and a metre), along the chain, and
/// on the end tangents running on beyond the start and the end. Nothing where none lies there,
/// or the point is not finite.
std::optional<AlignmentFoot> footNear(const Alignment& alignment, const AlignmentFrame& stake,
                                      double stake_m, double x_m, double y_m);

/// True when another foot lies about as near (within a millimetre) at another chainage: the
/// chainage of the nearest is then not the only answer.
bool feetAmbiguous(const std::vector<AlignmentFoot>& feet);

using SidePoint = PlanePoint;

/// The side points of the stake at p (sidePointsOnAxis): on its transverse axis, the tangent's
/// normal to the right turned clockwise by the request's skew_deg.
std::vector<SidePoint> sidePointsOf(const AlignmentPoint& p, const SideRequest& request);

/// sidePointsOf into points (emptied first), for a run of stakes that keeps one buffer.
void sidePointsOf(const AlignmentPoint& p, const SideRequest& request,
                  std::vector<SidePoint>& points);

}  // namespace hcurve

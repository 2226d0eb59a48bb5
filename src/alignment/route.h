// A whole route, from a JD table (the curves of every JD joined by straights) or from an element
// table (its straights, arcs and spirals as given), with its chain breaks, grade line and
// cross-fall.
//
// A position on the route is its continuous chainage (里程): the chainage of BP plus the distance
// along the route from BP, with no chain break applied. Chain breaks change only the chainage
// texts (桩号) from their point on: a long chain (断链后 < 断链前) gives some texts twice, a short
// chain (断链后 > 断链前) leaves some out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "alignment/cross_fall.h"
#include "alignment/grade_line.h"
#include "alignment/route_design.h"
#include "curve/curve_record.h"
#include "geometry/stake_position.h"

namespace hcurve {

/// The curve of one JD, on the route's continuous chainage.
struct RouteCurve {
    std::string name;
    int line = 0;
    CurveElements curve;        // K, zh, hy, yh, hz in continuous chainage
    double deflection_deg = 0;  // signed, positive to the right
    double qz_m = 0;            // midpoint of the circular arc
    double external_m = 0;      // E: from the JD to the curve at QZ
};

/// A chain break placed on the route.
struct ChainBreak {
    double at_m;  // continuous chainage of the break
    double before_m;
    double after_m;
    double
        offset_m;  // chainage value minus continuous chainage from the break on (all breaks so far)
};

/// A route: its chain of elements, which every stake and foot is read from, and for a route
/// from a JD table its points and curves, which its element table lists.
struct Route {
    Alignment alignment;
    std::vector<RoutePointRow> points;   // BP, JD1..JDn, EP; empty for a route of elements
    std::vector<RouteCurve> curves;      // one per JD
    std::vector<ChainBreak> breaks;      // in the order along the route
    double start_m = 0;                  // BP
    double end_m = 0;                    // EP
    std::optional<GradeLine> gradeLine;  // the design elevations, when the design has them
    std::optional<CrossFall> crossFall;
};

/// The straight distance between two points of the JD table, metres.
double legLength_m(const RoutePointRow& a, const RoutePointRow& b);

/// The route of a design, or every fault of it with its line (nothing half computed): two equal
/// consecutive points, a deflection of 0 or of 180 degrees and more, spirals that do not fit,
/// curves that overlap their neighbours (or reach beyond BP or EP), chain breaks outside the route
/// or out of order; for a route of elements an element that turns a full circle or more, or ends
/// beyond the coordinates' bound. The warnings name an element whose stated start lies more than a
/// millimetre from the end of the element before it (the route still starts it there).
struct BuiltRoute {
    Route route;
    // A LandXML alignment's profile that could not be computed (the route has no elevations):
    // every fault of it.
    std::vector<Failure> profileFaults;
};
Result<BuiltRoute> buildRoute(const RouteDesign& design);

/// The chainage text (桩号) at a continuous chainage, chain breaks applied: at a break itself the
/// text after it.
std::string stakeText(const Route& route, double continuous_m);

/// The chainage value (breaks applied) at a continuous chainage; at a break the value after it.
double brokenChainage(const Route& route, double continuous_m);

/// Every continuous chainage at which the chainage value (breaks applied) is shown, in route order:
/// none in the gap of a short chain, two in the overlap of a long chain.
std::vector<double> continuousChainages(const Route& route, double broken_m);

/// A centre stake: its position, the azimuth of the centre line and the element that holds it.
struct RouteStake {
    double x_m;
    double y_m;
    double tangent_deg;   // azimuth of the centre line in the direction of increasing chainage
    std::size_t element;  // index into route.alignment.elements
};

/// The stake at a continuous chainage; before the start and beyond the end on the end tangents.
RouteStake stakeAt(const Route& route, double continuous_m);
/// stakeAt for stakes taken in route order: the element of the stake before is the guess where
/// the element is looked for first (Alignment::elementAt).
RouteStake stakeAt(const Route& route, double continuous_m, std::size_t guessedElement);

/// Largest magnitude of a surveyed point's coordinates, as every typed number.
constexpr double kMaxCoordinate_m = 1e9;

/// Farther than this from the centre line a point is hardly one of this road, whatever R.
constexpr double kPlausibleOffsetLimit_m = 1000.0;

/// The foot of a surveyed point on the route.
struct RouteFoot {
    double continuous_m;
    double offset_m;  // positive to the right in the direction of increasing chainage
    std::string element;  // "直线 BP-JD1", "JD3 第一缓和曲线", "JD3 圆曲线", "线元 2 缓和曲线"...
    bool ambiguous;  // another foot lies about as near (within a millimetre) elsewhere
    // The distance from the point to the road between its start and end (the offset, or more
    // where the foot lies on an end tangent run on beyond them), and how far a point of this road
    // may plausibly lie: the smaller of 1000 m and the radius R of the curve the foot lies on (on
    // a straight, of the curves at its ends).
    double fromRoute_m;
    double plausibleOffset_m;
    /// Farther from the road than plausible, as the offset shows it (to 0.1 mm).
    bool far() const;
};

/// The nearest foot of the perpendicular from (x_m north, y_m east) onto the route. The end
/// tangents run on beyond the start and the end. Nothing when the point is not finite or lies
/// beyond kMaxCoordinate_m.
std::optional<RouteFoot> locate(const Route& route, double x_m, double y_m);

/// The chain of a JD route: per JD the straight before it, its first spiral, its arc and its
/// second spiral, then the straight to EP; each element named by the point where it starts (BP,
/// ZH, HY or ZY, YH, HZ or YZ) and its arc's middle by QZ.
Alignment compileChain(const std::vector<RoutePointRow>& points,
                       const std::vector<RouteCurve>& curves, double start_m, double end_m);

/// The part of its JD's curve an element of such a chain is: the chain's first straight the
/// tangent into the first curve and every other straight the tangent out of the curve before it;
/// an arc the arc; a spiral the first spiral, or the second where it runs back from HZ.
Segment chainSegment(const Alignment& chain, std::size_t index);

/// The azimuth from one point to another, in the program's degrees (whose radians are degrees
/// times the ten-decimal factor): a true full turn of them is kFullTurn_deg, so the azimuth lies in
/// [0, kFullTurn_deg], kFullTurn_deg itself only a hair left of north (azimuthOf_rad).
double azimuthBetween_deg(double x0_m, double y0_m, double x1_m, double y1_m);

}  // namespace hcurve

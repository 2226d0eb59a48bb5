#include "alignment/route.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <string_view>

#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "geometry/curve_elements.h"
#include "geometry/design_check.h"
#include "geometry/stake_position.h"

namespace hcurve {
namespace {

// A route as it is built: the route once it stands, every fault found, the warnings, and a
// LandXML alignment's profile faults.
struct RouteBuilding {
    std::optional<Route> route;
    std::vector<Failure> faults;
    std::vector<Failure> warnings;
    std::vector<Failure> profileFaults;
};

// Two points nearer than this are the same point.
constexpr double kSamePoint_m = 1e-6;
// A deflection below this (about 0.004") is no turn; one this close to a half circle turns back.
constexpr double kSmallestDeflection_deg = 1e-6;
// Curves may touch (a straight of length 0); an overlap up to this is rounding.
constexpr double kTouch_m = 1e-6;
// A stated start this far from the end of the element before it is the same point.
constexpr double kStatedStartSlack_m = 1e-3;

// The route's ends as the messages name them.
std::string routeEnds(const Route& route) {
    return route.points.empty() ? "起点至终点" : "BP 至 EP ";
}

std::string metres(double v) {
    return format(v, Pattern::Fixed3);
}

// Offsets of the chain breaks: the sum of (after - before) of every break before index k.
double offsetBefore(const Route& route, std::size_t k) {
    return k == 0 ? 0.0 : route.breaks[k - 1].offset_m;
}

// Texts joined in one allocation: the labels of a long route's elements are many.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts)
        size += part.size();
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts)
        text += part;
    return text;
}

std::string straightName(const std::vector<RoutePointRow>& points, std::size_t k) {
    return joined({"直线 ", points[k].name, "-", points[k + 1].name});
}

// The smallest radius an element reaches (infinite on a straight).
double tightestRadius_m(const Element& e) {
    const double k =
        std::max(std::fabs(e.startCurvature_per_m()), std::fabs(e.endCurvature_per_m()));
    return k > 0 ? 1 / k : std::numeric_limits<double>::infinity();
}

// The element last added to a chain, named by the point where it starts.
void nameLast(Alignment& chain, const char* point, int line) {
    Element& e = chain.elements.back();
    e.name = point;
    e.line = line;
}

// How a foot names an element of a JD route's chain, by the curve it belongs to (its label is
// left empty there: a long route's chain would hold as many texts as it has elements, and only a
// foot ever names one). Each curve of the chain has one arc, and its straight and first spiral
// come before it.
std::string chainLabel(const Route& route, std::size_t index) {
    const std::vector<Element>& elements = route.alignment.elements;
    std::size_t arcsBefore = 0;
    for (std::size_t i = 0; i < index; ++i)
        arcsBefore += elements[i].kind() == ElementKind::Arc ? 1 : 0;
    if (elements[index].kind() == ElementKind::Straight)
        return straightName(route.points, arcsBefore);
    const Segment segment = chainSegment(route.alignment, index);
    const RouteCurve& rc =
        route.curves[segment == Segment::SecondSpiral ? arcsBefore - 1 : arcsBefore];
    return joined({rc.name, " ", elementName(segment)});
}

Alignment chainOf(const std::vector<RoutePointRow>& points, const std::vector<RouteCurve>& curves,
                  double start_m, double end_m, std::vector<std::optional<AlignmentPoint>>* qz);

// Where its file names no point, a route of elements is named as a JD route is: BP at its start,
// ZH, HY, YH, HZ (ZY, YZ without a spiral) where a straight, a spiral from or to it and an arc
// meet, and QZ in the middle of an arc between two of them. Other joints (two spirals, two arcs,
// the spiral of an egg curve) have no such name and stay unnamed.
void nameCharacteristicPoints(std::vector<Element>& elements) {
    const auto straight = [](const Element& e) { return e.kind() == ElementKind::Straight; };
    const auto arc = [](const Element& e) { return e.kind() == ElementKind::Arc; };
    const auto fromStraight = [](const Element& e) {
        return e.kind() == ElementKind::Spiral && e.startCurvature_per_m() == 0;
    };
    const auto toStraight = [](const Element& e) {
        return e.kind() == ElementKind::Spiral && e.endCurvature_per_m() == 0;
    };
    for (std::size_t i = 0; i < elements.size(); ++i) {
        Element& e = elements[i];
        if (!e.name.empty())
            continue;
        if (i == 0) {
            e.name = "BP";
            continue;
        }
        const Element& before = elements[i - 1];
        e.name = straight(before) && fromStraight(e) ? "ZH"
                 : fromStraight(before) && arc(e)    ? "HY"
                 : arc(before) && toStraight(e)      ? "YH"
                 : toStraight(before) && straight(e) ? "HZ"
                 : straight(before) && arc(e)        ? "ZY"
                 : arc(before) && straight(e)        ? "YZ"
                                                     : "";
    }
    for (std::size_t i = 1; i + 1 < elements.size(); ++i) {
        Element& e = elements[i];
        const std::string& end = elements[i + 1].name;
        if (arc(e) && e.middleName.empty() && (e.name == "HY" || e.name == "ZY") &&
            (end == "YH" || end == "YZ"))
            e.middleName = "QZ";
    }
}

// The chain breaks, placed by the chainage in force before each, then the grade line and the
// cross-fall, which read their K-texts through the breaks.
void placeBreaksAndProfile(const RouteDesign& design, Route& route, RouteBuilding& building) {
    std::vector<Failure>& faults = building.faults;
    double offset = 0, previousAt = route.start_m;
    for (const ChainBreakRow& b : design.breaks) {
        const double at = b.before_m - offset;
        if (at <= route.start_m || at >= route.end_m) {
            faults.push_back({"断链前桩号 " + chainageText(b.before_m, kPlainForm) +
                                  " 不在路线上（" + routeEnds(route) + "之间）。",
                              b.line, b.file});
        } else if (at <= previousAt) {
            faults.push_back({"断链前桩号 " + chainageText(b.before_m, kPlainForm) +
                                  " 不在上一个断链之后：断链要按路线顺序排列。",
                              b.line, b.file});
        } else {
            previousAt = at;
        }
        offset += b.after_m - b.before_m;
        route.breaks.push_back({at, b.before_m, b.after_m, offset});
        if (faults.size() >= kMostRouteFaults)
            break;
    }
    if (!faults.empty())
        return;
    if (design.planWithoutBadProfile) {
        // The plan does not hang on the profile: a profile that cannot be computed leaves the
        // route without elevations.
        building.profileFaults = design.profileFaults;
        if (design.grade && building.profileFaults.empty()) {
            std::vector<Failure> warnings;
            route.gradeLine =
                buildGradeLine(*design.grade, route, building.profileFaults, warnings);
            if (building.profileFaults.empty())
                building.warnings.insert(building.warnings.end(), warnings.begin(), warnings.end());
        }
    } else if (design.grade) {
        route.gradeLine = buildGradeLine(*design.grade, route, faults, building.warnings);
    }
    if (faults.empty() && design.crossFall)
        route.crossFall = buildCrossFall(*design.crossFall, route, faults);
}

// A route of elements: each element starts where the one before ends, or where the file states.
RouteBuilding buildElementRoute(const RouteDesign& design) {
    RouteBuilding building;
    std::vector<Failure>& faults = building.faults;
    const ElementStart& start = *design.elementStart;
    Route route;
    route.start_m = start.chainage_m;
    AlignmentPoint at{start.x_m, start.y_m, start.azimuth_deg};
    double s_m = route.start_m;
    std::size_t number = 0;
    const std::size_t file = design.elements->file;
    // Where each kind of warning stands in the building's list.
    std::map<std::string, std::size_t> kinds;
    for (const ElementRow& row : design.elements->rows) {
        ++number;
        const std::size_t shownNumber = row.number != 0 ? row.number : number;
        AlignmentPoint from = at;
        if (row.startX_m && row.startY_m) {
            const double apart_m = std::hypot(*row.startX_m - at.x_m, *row.startY_m - at.y_m);
            if (apart_m > kStatedStartSlack_m && row.tag.empty())
                building.warnings.push_back({"线元的起点（起点X、起点Y）离上一线元的终点 " +
                                                 format(apart_m, Pattern::Fixed4) +
                                                 " 米，从所给的起点算起。",
                                             row.line, file});
            else if (apart_m > kStatedStartSlack_m)
                addWarning(building.warnings, kinds,
                           {"线元 " + std::to_string(shownNumber) + " " +
                                elementKindName(row.startCurvature_per_m == 0 &&
                                                        row.endCurvature_per_m == 0
                                                    ? ElementKind::Straight
                                                : row.startCurvature_per_m == row.endCurvature_per_m
                                                    ? ElementKind::Arc
                                                    : ElementKind::Spiral) +
                                "（" + row.tag + "）的 Start 离上一线元算得的终点 " +
                                format(apart_m, Pattern::Fixed4) + " 米，从所给的 Start 算起。",
                            row.line, file, "线元的 Start 离上一线元算得的终点超过 1 毫米",
                            format(apart_m, Pattern::Fixed4) + " 米", "从所给的 Start 算起"});
            from.x_m = *row.startX_m;
            from.y_m = *row.startY_m;
        }
        if (row.startAzimuth_deg)
            from.azimuth_deg = *row.startAzimuth_deg;
        const double k0 = row.startCurvature_per_m, k1 = row.endCurvature_per_m;
        const double turn_rad = row.length_m * std::fabs(k0 + k1) / 2;
        if (turn_rad >= kFullTurn_rad) {
            faults.push_back({"这个线元转过 " + format(turn_rad / kDegreeFactor, Pattern::Fixed3) +
                                  " 度，超过一整圈，不像是道路的线元。",
                              row.line, file});
            if (faults.size() >= kMostRouteFaults)
                break;
            continue;
        }
        Element e = Element::fromStart(s_m, row.length_m, from, k0, k1);
        e.name = row.name;
        e.label = "线元 " + std::to_string(shownNumber) + " " + elementKindName(e.kind());
        e.line = row.line;
        s_m = e.end_m();
        at = e.at(s_m);
        if (row.endX_m && row.endY_m) {
            const double apart_m = std::hypot(*row.endX_m - at.x_m, *row.endY_m - at.y_m);
            if (apart_m > kStatedStartSlack_m)
                addWarning(
                    building.warnings, kinds,
                    {e.label + "（" + row.tag + "）算得的终点离所给的 End " +
                         format(apart_m, Pattern::Fixed4) + " 米。",
                     row.line, file, "线元算得的终点离所给的 End 超过 1 毫米",
                     format(apart_m, Pattern::Fixed4) + " 米", "按所给的 Start、方向和长度计算"});
        }
        if (std::fabs(s_m) > kMaxDesignLength_m || std::fabs(at.x_m) > kMaxDesignLength_m ||
            std::fabs(at.y_m) > kMaxDesignLength_m) {
            faults.push_back({"线元的终点超出了 ±1000000000 米。", row.line, file});
            break;
        }
        route.alignment.elements.push_back(std::move(e));
    }
    if (!faults.empty())
        return building;
    route.end_m = s_m;
    // Its points and its end are named as a JD route's are.
    nameCharacteristicPoints(route.alignment.elements);
    route.alignment.endName = "EP";
    indexElements(route.alignment);
    placeBreaksAndProfile(design, route, building);
    if (faults.empty())
        building.route = std::move(route);
    return building;
}

}  // namespace

double legLength_m(const RoutePointRow& a, const RoutePointRow& b) {
    return std::hypot(b.x_m - a.x_m, b.y_m - a.y_m);
}

double azimuthBetween_deg(double x0_m, double y0_m, double x1_m, double y1_m) {
    return azimuthOf_rad(x1_m - x0_m, y1_m - y0_m) / kDegreeFactor;
}

namespace {

// At least three points, no two consecutive ones at one place; otherwise the faults.
bool pointsCarryCurves(const std::vector<RoutePointRow>& pts, std::vector<Failure>& faults) {
    if (pts.size() < 3) {
        faults.push_back({"交点表至少要有三个点。", pts.empty() ? 1 : pts.back().line});
        return false;
    }
    const std::size_t before = faults.size();
    for (std::size_t k = 1; k < pts.size() && faults.size() < kMostRouteFaults; ++k) {
        if (legLength_m(pts[k - 1], pts[k]) < kSamePoint_m)
            faults.push_back(
                {"点 " + pts[k].name + " 与前一点 " + pts[k - 1].name + " 的座标相同。",
                 pts[k].line});
    }
    return faults.size() == before;
}

// The curve of a JD between the points before and after it, its JD at the continuous chainage
// K_m; nothing, with the fault, where the JD can carry no curve: a deflection of zero or of 180
// degrees, a design its check refuses, a negative tangent length.
std::optional<RouteCurve> curveAt(const RoutePointRow& prev, const RoutePointRow& jd,
                                  const RoutePointRow& next, double K_m,
                                  std::vector<Failure>& faults) {
    const double tIn = azimuthBetween_deg(prev.x_m, prev.y_m, jd.x_m, jd.y_m);
    const double tOut = azimuthBetween_deg(jd.x_m, jd.y_m, next.x_m, next.y_m);
    const double deflection = wrapTurn_deg(tOut - tIn);
    if (std::fabs(deflection) < kSmallestDeflection_deg) {
        faults.push_back({"交点 " + jd.name + " 的偏角为零：" + prev.name + "、" + jd.name + "、" +
                              next.name + " 在一条直线上。",
                          jd.line});
    } else if (std::fabs(deflection) > kHalfCircle_deg - kSmallestDeflection_deg) {
        faults.push_back({"交点 " + jd.name + " 的偏角达到 180 度：路线在这里折回。", jd.line});
    }
    // The last fault on the JD's line stops it (in a LandXML file several JDs may share a line).
    if (!faults.empty() && faults.back().line == jd.line)
        return std::nullopt;
    RouteCurve rc;
    rc.name = jd.name;
    rc.line = jd.line;
    rc.deflection_deg = deflection;
    rc.curve =
        computeCurveFromDegrees({K_m, jd.x_m, jd.y_m, tIn, deflection, jd.R_m, jd.A1_m, jd.A2_m});
    const CurveElements& c = rc.curve;
    if (const Result<void> checked = checkCurve(c); !checked) {
        faults.push_back({"交点 " + jd.name + "：" + checked.failure().message, jd.line});
        return std::nullopt;
    }
    if (c.T1 < 0 || c.T2 < 0) {
        faults.push_back(
            {"交点 " + jd.name + " 的两段缓和曲线相差太大，切线长为负。请检查 R、A1、A2。",
             jd.line});
        return std::nullopt;
    }
    rc.qz_m = c.hy + c.Lf / 2;
    return rc;
}

// The fault of a curve whose ZH lies before the end of the curve before it (or before BP, for the
// first JD): T1 longer than the leg from the point before, less that curve's T2.
void checkEntry(const RoutePointRow& prev, const RoutePointRow& jd, bool first,
                const CurveElements& c, double previousT2, std::vector<Failure>& faults) {
    const double legIn = legLength_m(prev, jd);
    if (!(c.T1 > legIn - previousT2 + kTouch_m))
        return;
    if (first) {
        faults.push_back({"交点 " + jd.name + " 的 ZH 超出了 " + prev.name +
                              "：切线长 T1 = " + metres(c.T1) + " 米，而 " + prev.name + " 至 " +
                              jd.name + " 只有 " + metres(legIn) + " 米。",
                          jd.line});
    } else {
        faults.push_back({"交点 " + prev.name + " 的 HZ 超过了交点 " + jd.name +
                              " 的 ZH：两曲线重叠 " + metres(c.T1 + previousT2 - legIn) +
                              " 米（T2 = " + metres(previousT2) + "，T1 = " + metres(c.T1) +
                              "，交点间距 " + metres(legIn) + "）。",
                          jd.line});
    }
}

// The route's chain of elements from its points and curves, and each curve's E at its QZ.
void compileCurves(Route& route) {
    std::vector<std::optional<AlignmentPoint>> qz(route.curves.size());
    route.alignment = chainOf(route.points, route.curves, route.start_m, route.end_m, &qz);
    for (std::size_t k = 0; k < route.curves.size(); ++k) {
        RouteCurve& rc = route.curves[k];
        // An arc of no length: QZ lies where the element after it starts.
        const AlignmentPoint at = qz[k] ? *qz[k] : route.alignment.at(rc.qz_m);
        rc.external_m = std::hypot(at.x_m - rc.curve.X, at.y_m - rc.curve.Y);
    }
}

RouteBuilding buildJdRoute(const RouteDesign& design) {
    RouteBuilding building;
    std::vector<Failure>& faults = building.faults;
    const std::vector<RoutePointRow>& pts = design.points;
    if (!pointsCarryCurves(pts, faults))
        return building;

    Route route;
    route.points = pts;
    route.curves.reserve(pts.size() - 2);
    route.start_m = design.startChainage_m;
    // The chainage at the start of the straight before each JD; unknown after a JD that failed,
    // though the JDs after it are still checked.
    double straightStart = route.start_m;
    bool chainagesKnown = true;
    double previousT2 = 0;
    for (std::size_t i = 1; i + 1 < pts.size() && faults.size() < kMostRouteFaults; ++i) {
        const RoutePointRow &prev = pts[i - 1], &jd = pts[i], &next = pts[i + 1];
        const double K = chainagesKnown ? straightStart + legLength_m(prev, jd) - previousT2 : 0;
        std::optional<RouteCurve> rc = curveAt(prev, jd, next, K, faults);
        if (!rc) {
            chainagesKnown = false;
            previousT2 = 0;
            continue;
        }
        checkEntry(prev, jd, i == 1, rc->curve, previousT2, faults);
        previousT2 = rc->curve.T2;
        if (chainagesKnown) {
            straightStart = rc->curve.hz;
            route.curves.push_back(std::move(*rc));
        }
    }
    const RoutePointRow &lastJd = pts[pts.size() - 2], &ep = pts.back();
    if (faults.empty() && route.curves.back().curve.T2 > legLength_m(lastJd, ep) + kTouch_m) {
        faults.push_back({"交点 " + lastJd.name + " 的 HZ 超出了 " + ep.name +
                              "：切线长 T2 = " + metres(route.curves.back().curve.T2) + " 米，而 " +
                              lastJd.name + " 至 " + ep.name + " 只有 " +
                              metres(legLength_m(lastJd, ep)) + " 米。",
                          ep.line});
    }
    if (!faults.empty())
        return building;
    route.end_m = route.curves.back().curve.hz + legLength_m(lastJd, ep) - previousT2;
    compileCurves(route);
    placeBreaksAndProfile(design, route, building);
    if (faults.empty())
        building.route = std::move(route);
    return building;
}

}  // namespace

Result<BuiltRoute> buildRoute(const RouteDesign& design) {
    RouteBuilding building =
        design.elementStart && design.elements ? buildElementRoute(design) : buildJdRoute(design);
    Result<BuiltRoute> built =
        building.route ? Result<BuiltRoute>(BuiltRoute{std::move(*building.route),
                                                       std::move(building.profileFaults)})
                       : Result<BuiltRoute>::failed(std::move(building.faults));
    built.warnings() = std::move(building.warnings);
    return built;
}

double brokenChainage(const Route& route, double continuous_m) {
    // The last break at or before the chainage.
    auto after = std::upper_bound(route.breaks.begin(), route.breaks.end(), continuous_m,
                                  [](double c, const ChainBreak& b) { return c < b.at_m; });
    return continuous_m +
           offsetBefore(route, static_cast<std::size_t>(after - route.breaks.begin()));
}

std::string stakeText(const Route& route, double continuous_m) {
    return chainageText(brokenChainage(route, continuous_m), kPlainForm);
}

std::vector<double> continuousChainages(const Route& route, double broken_m) {
    std::vector<double> found;
    const std::size_t n = route.breaks.size();
    for (std::size_t k = 0; k <= n; ++k) {
        // Stretch k runs from break k-1 (or BP) up to break k (or EP), both ends included.
        const double from = k == 0 ? route.start_m : route.breaks[k - 1].at_m;
        const double to = k == n ? route.end_m : route.breaks[k].at_m;
        const double c = broken_m - offsetBefore(route, k);
        if (c >= from - kJointSlack_m && c <= to + kJointSlack_m) {
            const double clamped = std::min(std::max(c, from), to);
            if (found.empty() || std::fabs(found.back() - clamped) > kJointSlack_m)
                found.push_back(clamped);
        }
    }
    return found;
}

namespace {

// compileChain; with qz also the point at each curve's QZ where its arc holds it (as stakeAt
// finds it: a stake at a joint lies on the later element), taken while the arc is at hand.
Alignment chainOf(const std::vector<RoutePointRow>& points, const std::vector<RouteCurve>& curves,
                  double start_m, double end_m, std::vector<std::optional<AlignmentPoint>>* qz) {
    Alignment chain;
    std::size_t count = 1;  // the last straight
    for (const RouteCurve& rc : curves)
        count += 2 + (rc.curve.A1 != 0 ? 1 : 0) + (rc.curve.A2 != 0 ? 1 : 0);
    chain.elements.reserve(count);
    double from = start_m;
    const char* fromName = "BP";
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const RouteCurve& rc = curves[k];
        const CurveElements& c = rc.curve;
        const bool right = c.p > 0;
        const double k1 = (right ? 1 : -1) / c.R;
        // The straight runs back from ZH, as the one-curve stakes before ZH do.
        chain.elements.push_back(Element::straight(from, c.zh - from, c.zh, c.xa, c.ya, c.T));
        nameLast(chain, fromName, rc.line);
        if (c.A1 != 0) {
            chain.elements.push_back(Element::fromStart(c.zh, c.Ls1, {c.xa, c.ya, c.T}, 0, k1));
            nameLast(chain, "ZH", rc.line);
        }
        chain.elements.push_back(Element::arcAbout(c.hy, c.Lf, c.Xo, c.Yo, c.R, c.tj, right));
        nameLast(chain, c.A1 != 0 ? "HY" : "ZY", rc.line);
        chain.elements.back().middleName = "QZ";
        if (qz && rc.qz_m < (c.A2 != 0 ? c.yh : c.hz))  // before the next element starts
            (*qz)[k] = chain.elements.back().at(rc.qz_m);
        // The second spiral runs back from HZ, as its one-curve stakes do.
        if (c.A2 != 0) {
            chain.elements.push_back(Element::spiralToEnd(c.yh, c.Ls2, {c.xb, c.yb, c.tb}, k1, 0));
            nameLast(chain, "YH", rc.line);
        }
        from = c.hz;
        fromName = c.A2 != 0 ? "HZ" : "YZ";
    }
    // The last straight runs on from HZ.
    const CurveElements& last = curves.back().curve;
    chain.elements.push_back(
        Element::straight(from, end_m - from, last.hz, last.xb, last.yb, last.tb));
    nameLast(chain, fromName, points.back().line);
    chain.endName = "EP";
    indexElements(chain);
    return chain;
}

}  // namespace

Alignment compileChain(const std::vector<RoutePointRow>& points,
                       const std::vector<RouteCurve>& curves, double start_m, double end_m) {
    return chainOf(points, curves, start_m, end_m, nullptr);
}

Segment chainSegment(const Alignment& chain, std::size_t index) {
    const Element& e = chain.elements[index];
    switch (e.kind()) {
        case ElementKind::Straight:
            return index == 0 ? Segment::IncomingTangent : Segment::OutgoingTangent;
        case ElementKind::Arc:
            return Segment::Arc;
        case ElementKind::Spiral:
            break;
    }
    // The second spiral is fixed by HZ and runs back from it.
    return e.reversed() ? Segment::SecondSpiral : Segment::FirstSpiral;
}

namespace {

RouteStake stakeOn(const Route& route, double continuous_m, std::size_t element) {
    const AlignmentPoint p = route.alignment.at(continuous_m, element);
    return {p.x_m, p.y_m, wrapAzimuth_deg(p.azimuth_deg), element};
}

}  // namespace

RouteStake stakeAt(const Route& route, double continuous_m) {
    return stakeOn(route, continuous_m, route.alignment.elementAt(continuous_m));
}

RouteStake stakeAt(const Route& route, double continuous_m, std::size_t guessedElement) {
    return stakeOn(route, continuous_m, route.alignment.elementAt(continuous_m, guessedElement));
}

bool RouteFoot::far() const {
    return roundTo(fromRoute_m, 4) > plausibleOffset_m;
}

std::optional<RouteFoot> locate(const Route& route, double x_m, double y_m) {
    if (!std::isfinite(x_m) || !std::isfinite(y_m) || std::fabs(x_m) > kMaxCoordinate_m ||
        std::fabs(y_m) > kMaxCoordinate_m)
        return std::nullopt;
    const std::vector<AlignmentFoot> feet = alignmentFeet(route.alignment, x_m, y_m);
    if (feet.empty())
        return std::nullopt;
    const AlignmentFoot& f = feet.front();
    // How far a point of this road may lie: by the radius of the element the foot is on, or on a
    // straight of the elements at its ends.
    const std::vector<Element>& elements = route.alignment.elements;
    double plausible_m = std::min(kPlausibleOffsetLimit_m, tightestRadius_m(elements[f.element]));
    if (elements[f.element].kind() == ElementKind::Straight) {
        if (f.element > 0)
            plausible_m = std::min(plausible_m, tightestRadius_m(elements[f.element - 1]));
        if (f.element + 1 < elements.size())
            plausible_m = std::min(plausible_m, tightestRadius_m(elements[f.element + 1]));
    }
    const double beyond_m =
        std::max({route.start_m - f.continuous_m, f.continuous_m - route.end_m, 0.0});
    return RouteFoot{
        f.continuous_m,
        f.offset_m,
        route.points.empty() ? elements[f.element].label : chainLabel(route, f.element),
        feetAmbiguous(feet),
        std::hypot(f.offset_m, beyond_m),
        plausible_m};
}

}  // namespace hcurve

#include "route_files/landxml_writing.h"

#include <cmath>

#include "alignment/route.h"
#include "curve/angle.h"
#include "curve/format.h"
#include "curve/shown_text.h"

namespace hcurve {
namespace {

// Elements shorter than this are left out: a straight of no length has no direction.
constexpr double kShortest_m = 1e-6;
// An arc that turns this far or more has its tangents' intersection far away or behind it: no PI.
constexpr double kMostTurnWithPi_rad = 3.0;

std::string number(double v, int decimals = 8) {
    std::string t = fixedText(v, decimals);
    // Trailing zeros say nothing; "-0" is 0.
    if (t.find('.') != std::string::npos) {
        while (t.back() == '0')
            t.pop_back();
        if (t.back() == '.')
            t.pop_back();
    }
    return t == "-0" ? "0" : t;
}

// A number as the shortest text that reads back as the same double: the JD table's own values,
// so that the route read back is computed from the very numbers it came from.
std::string exact(double v) {
    const std::string t = shortestFixedText(v);
    return t == "-0" ? "0" : t;
}

// A name or text for an attribute: its control characters written as the program shows them
// everywhere (a line end as \x0A), as the name of a route read from a file already is.
std::string escaped(const std::string& raw) {
    const std::string text = shownText(raw);
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string point(const char* tag, double x_m, double y_m) {
    return std::string("<") + tag + ">" + number(x_m) + " " + number(y_m) + "</" + tag + ">";
}

std::string radius(double k_per_m) {
    return k_per_m == 0 ? "INF" : number(1 / std::fabs(k_per_m));
}

// The intersection of the tangents at two points; nothing when they are parallel.
bool tangentsMeet(const AlignmentPoint& a, const AlignmentPoint& b, double& x_m, double& y_m) {
    const double ca = std::cos(a.azimuth_deg * kDegreeFactor);
    const double sa = std::sin(a.azimuth_deg * kDegreeFactor);
    const double cb = std::cos(b.azimuth_deg * kDegreeFactor);
    const double sb = std::sin(b.azimuth_deg * kDegreeFactor);
    const double det = ca * sb - sa * cb;
    if (std::fabs(det) < 1e-12)
        return false;
    const double t = ((b.x_m - a.x_m) * sb - (b.y_m - a.y_m) * cb) / det;
    x_m = a.x_m + t * ca;
    y_m = a.y_m + t * sa;
    return true;
}

std::string elementXml(const Element& e) {
    const AlignmentPoint s = e.at(e.start_m()), t = e.at(e.end_m());
    const std::string name = e.name.empty() ? "" : " name=\"" + escaped(e.name) + "\"";
    const std::string length = " length=\"" + number(e.length_m()) + "\"";
    // The curvatures of an element never change their sign: the turn is the one of their sum.
    const char* rot = e.startCurvature_per_m() + e.endCurvature_per_m() > 0 ? "cw" : "ccw";
    std::string x;
    switch (e.kind()) {
        case ElementKind::Straight:
            x = "<Line" + name + length + ">" + point("Start", s.x_m, s.y_m) +
                point("End", t.x_m, t.y_m) + "</Line>";
            break;
        case ElementKind::Arc: {
            x = "<Curve" + name + " rot=\"" + rot + "\" crvType=\"arc\" radius=\"" +
                number(e.radius_m()) + "\"" + length + ">" + point("Start", s.x_m, s.y_m) +
                point("Center", e.centreX_m(), e.centreY_m()) + point("End", t.x_m, t.y_m);
            double px, py;
            if (e.length_m() / e.radius_m() < kMostTurnWithPi_rad && tangentsMeet(s, t, px, py))
                x += point("PI", px, py);
            x += "</Curve>";
            break;
        }
        case ElementKind::Spiral: {
            double px, py;
            if (!tangentsMeet(s, t, px, py)) {
                // An S-spiral that turns back to its start's direction: a point on its start
                // tangent stands for the PI.
                px = s.x_m + e.length_m() / 2 * std::cos(s.azimuth_deg * kDegreeFactor);
                py = s.y_m + e.length_m() / 2 * std::sin(s.azimuth_deg * kDegreeFactor);
            }
            x = "<Spiral" + name + length + " radiusStart=\"" + radius(e.startCurvature_per_m()) +
                "\" radiusEnd=\"" + radius(e.endCurvature_per_m()) + "\" rot=\"" + rot +
                "\" spiType=\"clothoid\">" + point("Start", s.x_m, s.y_m) + point("PI", px, py) +
                point("End", t.x_m, t.y_m) + "</Spiral>";
            break;
        }
    }
    return "        " + x + "\n";
}

// The JD table as the PIs of the PI method: BP, each JD with its arc and spirals, EP; every
// value as the table has it.
std::string alignPisXml(const Route& route) {
    std::string x = "      <AlignPIs>\n";
    const std::vector<RoutePointRow>& points = route.points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const RoutePointRow& p = points[i];
        x += "        <AlignPI><PI name=\"" + escaped(p.name) + "\">" + exact(p.x_m) + " " +
             exact(p.y_m) + "</PI>";
        if (i != 0 && i + 1 != points.size()) {
            const CurveElements& c = route.curves[i - 1].curve;
            const std::string rot = c.p > 0 ? "cw" : "ccw";
            const auto spiral = [&](const char* part, double A_m, double Ls_m, bool in) {
                if (A_m == 0)
                    return std::string();
                const std::string R = exact(p.R_m);
                return std::string("<") + part + "><Spiral length=\"" + number(Ls_m) +
                       "\" constant=\"" + exact(A_m) + "\" radiusStart=\"" + (in ? "INF" : R) +
                       "\" radiusEnd=\"" + (in ? R : "INF") + "\" rot=\"" + rot +
                       "\" spiType=\"clothoid\"/></" + part + ">";
            };
            x += spiral("InSpiral", p.A1_m, c.Ls1, true) + "<Curve1><Curve rot=\"" + rot +
                 "\" radius=\"" + exact(p.R_m) + "\" length=\"" + number(c.Lf) + "\"/></Curve1>" +
                 spiral("OutSpiral", p.A2_m, c.Ls2, false);
        }
        x += "</AlignPI>\n";
    }
    return x + "      </AlignPIs>\n";
}

}  // namespace

std::string landXmlText(const Route& route, const std::string& name, const LandXmlStamp& stamp) {
    const std::string n = escaped(name);
    std::string x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.2 "
        "http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd\" version=\"1.2\" date=\"" +
        escaped(stamp.date) + "\" time=\"" + escaped(stamp.time) +
        "\" language=\"Chinese\" readOnly=\"false\">\n"
        "  <Units>\n"
        "    <Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\" "
        "temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" angularUnit=\"decimal degrees\" "
        "directionUnit=\"decimal degrees\"/>\n"
        "  </Units>\n"
        "  <Application name=\"hcurve\" manufacturer=\"hcurve\"/>\n"
        "  <Alignments>\n"
        "    <Alignment name=\"" +
        n + "\" length=\"" + number(route.end_m - route.start_m) + "\" staStart=\"" +
        exact(route.start_m) +
        "\">\n"
        "      <CoordGeom>\n";
    for (const Element& e : route.alignment.elements)
        if (e.length_m() >= kShortest_m)
            x += elementXml(e);
    x += "      </CoordGeom>\n";
    if (!route.points.empty())
        x += alignPisXml(route);
    for (const ChainBreak& b : route.breaks)
        x += "      <StaEquation staBack=\"" + exact(b.before_m) + "\" staAhead=\"" +
             exact(b.after_m) + "\" staInternal=\"" + number(b.at_m) + "\"/>\n";
    if (route.gradeLine) {
        x += "      <Profile name=\"" + n + "\">\n        <ProfAlign name=\"" + n + "\">\n";
        const std::vector<GradePoint>& p = route.gradeLine->points;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const GradePoint& g = p[k];
            const std::string at =
                number(brokenChainage(route, g.at_m)) + " " + number(g.H_m) + "</";
            const bool curve = k > 0 && k + 1 < p.size() && g.L_m > 0;
            if (!curve)
                x += "          <PVI>" + at + "PVI>\n";
            else if (g.kind == VerticalCurveKind::Parabola)
                x += "          <ParaCurve length=\"" + number(g.L_m) + "\">" + at + "ParaCurve>\n";
            else if (g.kind == VerticalCurveKind::UnsymmetricParabola)
                x += "          <UnsymParaCurve lengthIn=\"" + number(g.Tin_m) + "\" lengthOut=\"" +
                     number(g.Tout_m) + "\">" + at + "UnsymParaCurve>\n";
            else
                x += "          <CircCurve length=\"" + number(g.L_m) + "\" radius=\"" +
                     number(g.R_m) + "\">" + at + "CircCurve>\n";
        }
        x += "        </ProfAlign>\n      </Profile>\n";
    }
    x += "    </Alignment>\n  </Alignments>\n</LandXML>\n";
    return x;
}

}  // namespace hcurve

// LandXML in and out: a document whose stated points come from a quadrature of the tangent angle,
// the tolerances of real files, the round trips of every kind of route, and every fault with its
// line.
#include <cmath>
#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alignment/route.h"
#include "curve/angle.h"
#include "quadrature.h"
#include "route_files/landxml_loading.h"
#include "route_files/landxml_reading.h"
#include "route_files/landxml_writing.h"
#include "route_files/route_file.h"
#include "route_files/route_tables.h"
#include "route_samples.h"

namespace hcurve {
namespace {

using test::gauss;

constexpr double kTruePi = 3.14159265358979323846;

// One element of the test's chain: signed curvatures, positive turning clockwise (cw).
struct Piece {
    const char* tag;
    double length_m, k0, k1;
};

// Line, Spiral INF -> 500 ccw, Curve 500 ccw, Spiral 500 -> 1200 ccw, Curve 1200 cw (a reverse
// curve), Spiral 1200 -> INF cw, Line.
const std::vector<Piece> kChain = {
    {"Line", 200, 0, 0},
    {"Spiral", 100, 0, -1.0 / 500},
    {"Curve", 150, -1.0 / 500, -1.0 / 500},
    {"Spiral", 80, -1.0 / 500, -1.0 / 1200},
    {"Curve", 200, 1.0 / 1200, 1.0 / 1200},
    {"Spiral", 90, 1.0 / 1200, 0},
    {"Line", 200, 0, 0},
};
constexpr double kX0 = 3456000, kY0 = 512000, kTheta0 = 0.7;  // true radians from north
constexpr double kStaStart = 1000;

// A point of the chain as the quadrature puts it.
struct Placed {
    double x, y, theta;
};

std::vector<Placed> starts() {
    std::vector<Placed> out{{kX0, kY0, kTheta0}};
    for (const Piece& p : kChain) {
        const Placed s = out.back();
        const double rate = (p.k1 - p.k0) / p.length_m;
        const auto angle = [&](double t) { return s.theta + p.k0 * t + rate * t * t / 2; };
        out.push_back({s.x + gauss([&](double t) { return std::cos(angle(t)); }, p.length_m),
                       s.y + gauss([&](double t) { return std::sin(angle(t)); }, p.length_m),
                       angle(p.length_m)});
    }
    return out;
}

std::string xy(double x, double y) {
    char t[96];
    std::snprintf(t, sizeof t, "%.9f %.9f", x, y);
    return t;
}

std::string num(double v) {
    char t[64];
    std::snprintf(t, sizeof t, "%.9f", v);
    return t;
}

// The grade line; its circle from -8/310 to 4/200 on R 4000 (the PVIs beyond the equation 1300 ->
// 1290 lie 10 m further on) has the length R (sin a2 - sin a1) along the chainage, a = atan(g).
std::string profile() {
    const double length = 4000 * (std::sin(std::atan(4.0 / 200)) - std::sin(std::atan(-8.0 / 310)));
    return "<Profile><ProfAlign name=\"设计线\">\n"
           "<PVI>1000 50</PVI>\n"
           "<ParaCurve length=\"120\">1200 56</ParaCurve>\n"
           "<CircCurve length=\"" +
           num(length) +
           "\" radius=\"4000\">1500 48</CircCurve>\n"
           "<UnsymParaCurve lengthIn=\"60\" lengthOut=\"100\">1700 52</UnsymParaCurve>\n"
           "<PVI>2000 45</PVI>\n"
           "</ProfAlign></Profile>\n";
}

// Where the tangents at a start and an end meet: a spiral's PI.
std::string piOf(const Placed& s, const Placed& e) {
    const double det = std::sin(e.theta - s.theta);
    const double u = ((e.x - s.x) * std::sin(e.theta) - (e.y - s.y) * std::cos(e.theta)) / det;
    return xy(s.x + u * std::cos(s.theta), s.y + u * std::sin(s.theta));
}

// The document: one element a line, each with its Start, End, Center (curves) and PI (spirals)
// from the quadrature, and its start direction in decimal degrees clockwise from north; the first
// Curve written as a Spiral of equal radii when arcAsSpiral.
std::string document(bool arcAsSpiral = false) {
    const std::vector<Placed> at = starts();
    std::string t =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n"
        "<Units><Metric linearUnit=\"meter\" angularUnit=\"decimal degrees\"/></Units>\n"
        "<Alignments name=\"路线\">\n"
        "<Alignment name=\"甲线\" staStart=\"1000\" length=\"1020\">\n"
        "<CoordGeom>\n";
    for (std::size_t i = 0; i < kChain.size(); ++i) {
        const Piece& p = kChain[i];
        const Placed s = at[i], e = at[i + 1];
        const double k = p.k0 != 0 ? p.k0 : p.k1;
        const std::string rot = k > 0 ? "cw" : "ccw";
        const std::string dir = " dirStart=\"" + num(s.theta * 180 / kTruePi) + "\"";
        const std::string ends =
            "<Start>" + xy(s.x, s.y) + "</Start><End>" + xy(e.x, e.y) + "</End>";
        const auto radius = [](double c) {
            return c == 0 ? std::string("INF") : num(1 / std::fabs(c));
        };
        const std::string tag = p.tag;
        if (tag == "Line") {
            t += "<Line length=\"" + num(p.length_m) + "\" dir=\"" + num(s.theta * 180 / kTruePi) +
                 "\">" + ends + "</Line>\n";
        } else if (tag == "Curve" && !(arcAsSpiral && i == 2)) {
            const double R = 1 / std::fabs(k), n = s.theta + (k > 0 ? kTruePi / 2 : -kTruePi / 2);
            t += "<Curve rot=\"" + rot + "\" radius=\"" + num(R) + "\" length=\"" +
                 num(p.length_m) + "\"" + dir + ">" + ends + "<Center>" +
                 xy(s.x + R * std::cos(n), s.y + R * std::sin(n)) + "</Center></Curve>\n";
        } else {
            t += "<Spiral spiType=\"clothoid\" rot=\"" + rot + "\" length=\"" + num(p.length_m) +
                 "\" radiusStart=\"" + radius(p.k0) + "\" radiusEnd=\"" + radius(p.k1) + "\"" +
                 dir + ">" + ends + "<PI>" + piOf(s, e) + "</PI></Spiral>\n";
        }
    }
    t += "</CoordGeom>\n"
         "<StaEquation staBack=\"1300\" staAhead=\"1290\"/>\n";
    t += profile();
    t += "</Alignment>\n"
         "<Alignment name=\"乙线\"><CoordGeom><Line><Start>0 0</Start><End>0 50</End></Line>"
         "</CoordGeom></Alignment>\n"
         "</Alignments>\n</LandXML>\n";
    return t;
}

// The line (1-based) of the first place of a text in a document.
int lineOf(const std::string& text, const std::string& what) {
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct Read {
    std::optional<Route> route;
    std::vector<std::string> faults, warnings;
};

Read readBack(const std::string& text, const std::string* name = nullptr) {
    Read r;
    const Result<LandXmlDesign> reading = readLandXml(text, name).alignment;
    if (!reading)
        for (const Failure& f : reading.failures())
            r.faults.push_back(faultText(f));
    for (const Failure& w : reading.warnings())
        r.warnings.push_back(faultText(w));
    if (reading) {
        Result<BuiltRoute> building = buildRoute(reading->design);
        if (!building)
            for (const Failure& f : building.failures())
                r.faults.push_back(faultText(f));
        for (const Failure& w : building.warnings())
            r.warnings.push_back(faultText(w));
        if (building)
            r.route = std::move(building->route);
    }
    return r;
}

// What the route command and the route window see of a LandXML text: the route and every line
// they show, its warnings or its failures (those of file "t.xml").
struct Loaded {
    std::optional<Route> route;
    std::vector<std::string> messages;
    std::string name, withoutProfile;
};

Loaded loaded(const std::string& text, const std::string* name = nullptr) {
    Result<LoadedRoute> loading = loadLandXmlRoute("t.xml", text, name);
    Loaded l;
    for (const Failure& w : loading.warnings())
        l.messages.push_back(w.message);
    if (!loading) {
        for (const Failure& f : loading.failures())
            l.messages.push_back(f.message);
        return l;
    }
    l.route = std::move(loading->route);
    l.name = loading->name;
    l.withoutProfile = loading->withoutProfile;
    return l;
}

std::vector<std::string> noted(std::vector<std::string> lines) {
    for (std::string& l : lines)
        l = "t.xml: 注意：" + l;
    return lines;
}

std::string fixed3(double v) {
    char t[64];
    std::snprintf(t, sizeof t, "%.3f", v);
    return t;
}

std::string at(const std::string& text, const std::string& marker) {
    return "第 " + std::to_string(lineOf(text, marker)) + " 行：";
}

// Two routes give the same stakes and elevations, to 0.1 mm, every 5 m and at every joint.
void expectSameStakes(const Route& a, const Route& b) {
    ASSERT_NEAR(a.start_m, b.start_m, 1e-6);
    ASSERT_NEAR(a.end_m, b.end_m, 1e-4);
    std::vector<double> at;
    for (double s = a.start_m; s < a.end_m; s += 5)
        at.push_back(s);
    for (const Element& e : a.alignment.elements)
        at.push_back(e.end_m());
    for (double s : at) {
        const RouteStake p = stakeAt(a, s), q = stakeAt(b, s);
        EXPECT_NEAR(p.x_m, q.x_m, 1e-4) << s;
        EXPECT_NEAR(p.y_m, q.y_m, 1e-4) << s;
        EXPECT_EQ(stakeText(a, s), stakeText(b, s));
        ASSERT_EQ(a.gradeLine.has_value(), b.gradeLine.has_value());
        if (a.gradeLine) {
            const auto h = designElevation_m(*a.gradeLine, s),
                       k = designElevation_m(*b.gradeLine, s);
            ASSERT_EQ(h.has_value(), k.has_value()) << s;
            if (h) {
                EXPECT_NEAR(*h, *k, 1e-4) << s;
            }
        }
    }
}

TEST(LandXmlIn, StatedEndsAgreeWithAQuadratureOfTheTangentAngle) {
    const std::string text = document();
    const Read r = readBack(text);
    ASSERT_TRUE(r.faults.empty()) << r.faults[0];
    EXPECT_TRUE(r.warnings.empty()) << r.warnings[0];
    ASSERT_TRUE(r.route);
    const Route& route = *r.route;
    const std::vector<Placed> at = starts();
    ASSERT_EQ(route.alignment.elements.size(), kChain.size());
    double s = kStaStart;
    for (std::size_t i = 0; i < kChain.size(); ++i) {
        const Element& e = route.alignment.elements[i];
        EXPECT_EQ(e.kind(), kChain[i].k0 == 0 && kChain[i].k1 == 0 ? ElementKind::Straight
                            : kChain[i].k0 == kChain[i].k1         ? ElementKind::Arc
                                                                   : ElementKind::Spiral);
        s += kChain[i].length_m;
        const AlignmentPoint end = e.at(s);
        EXPECT_LT(std::hypot(end.x_m - at[i + 1].x, end.y_m - at[i + 1].y), 1e-4) << i;
        EXPECT_LT(std::fabs(std::remainder(end.azimuth_deg * kDegreeFactor - at[i + 1].theta,
                                           kFullTurn_rad)),
                  1e-9)
            << i;
    }
    // The equation: 1300 is followed by 1290.
    ASSERT_EQ(route.breaks.size(), 1u);
    EXPECT_NEAR(route.breaks[0].at_m, 1300, 1e-9);
    EXPECT_EQ(stakeText(route, 1310), "K1+300.000");
}

// The grade line against textbook forms: the parabola y = H0 + g1 x + (g2 - g1) x^2 / (2L), the
// circle through three of its points of radius R, tangent to both grades; the unsymmetric parabola
// tangent to both grades and smooth under its point.
TEST(LandXmlIn, VerticalCurvesAsTheTextbooksHaveThem) {
    const Read r = readBack(document());
    ASSERT_TRUE(r.route && r.route->gradeLine);
    const GradeLine& g = *r.route->gradeLine;
    const auto H = [&](double s) { return *designElevation_m(g, s); };
    // Stations beyond the equation (1300 -> 1290) lie 10 m further on.
    const double g1 = 6.0 / 200, g2 = -8.0 / 310, g3 = 4.0 / 200, g4 = -7.0 / 300;
    for (double x : {0.0, 17.0, 60.0, 101.5, 120.0}) {
        const double expected = 56 - 60 * g1 + g1 * x + (g2 - g1) * x * x / (2 * 120);
        EXPECT_NEAR(H(1140 + x), expected, 1e-9) << x;
    }
    const GradePoint& c = g.points[2];
    ASSERT_EQ(c.kind, VerticalCurveKind::Circle);
    const double a = c.curveStart_m(), b = c.curveEnd_m(), m = (a + b) / 2;
    const double ab = std::hypot(b - a, H(b) - H(a)), am = std::hypot(m - a, H(m) - H(a)),
                 mb = std::hypot(b - m, H(b) - H(m));
    const double area = std::fabs((m - a) * (H(b) - H(a)) - (b - a) * (H(m) - H(a))) / 2;
    EXPECT_NEAR(ab * am * mb / (4 * area), 4000, 1e-3);
    EXPECT_NEAR(H(a), 48 - (1510 - a) * g2, 1e-9);
    EXPECT_NEAR(H(b), 48 + (b - 1510) * g3, 1e-9);
    const double h = 1e-4;
    EXPECT_NEAR((H(a + h) - H(a)) / h, g2, 1e-5);
    EXPECT_NEAR((H(b) - H(b - h)) / h, g3, 1e-5);

    EXPECT_NEAR(H(1710 - 60), 52 - 60 * g3, 1e-9);
    EXPECT_NEAR(H(1710 + 100), 52 + 100 * g4, 1e-9);
    EXPECT_NEAR((H(1650 + h) - H(1650)) / h, g3, 1e-5);
    EXPECT_NEAR((H(1710 + h) - H(1710 - h)) / (2 * h), *designSlope(g, 1710), 1e-6);
    EXPECT_NEAR((H(1810) - H(1810 - h)) / h, g4, 1e-5);
}

// What real files differ in reads as the plain document reads.
TEST(LandXmlIn, ToleratesWhatRealFilesDiffer) {
    const std::string base = document();
    const Read plain = readBack(base);
    ASSERT_TRUE(plain.route);
    const double deg = kTruePi / 180;
    struct Case {
        const char* what;
        std::string text;
    };
    std::string prefixed = replaced(base, "<LandXML xmlns=", "<lx:LandXML xmlns:lx=");
    prefixed = replaced(prefixed, "</LandXML>", "</lx:LandXML>");
    // Every direction of the document (decimal degrees from north) in another unit.
    const auto directions = [&](const std::string& unit, std::function<std::string(double)> f) {
        std::string text = replaced(base, "\"decimal degrees\"", "\"" + unit + "\"");
        const std::regex dir("(dir(Start)?=\")([-0-9.]+)\"");
        std::string out;
        auto from = text.cbegin();
        for (std::sregex_iterator it(text.begin(), text.end(), dir), end; it != end; ++it) {
            out.append(from, (*it)[0].first);
            out += (*it)[1].str() + f(std::stod((*it)[3].str())) + "\"";
            from = (*it)[0].second;
        }
        return out.append(from, text.cend());
    };
    const std::string grads = directions("grads", [](double d) { return num(d / 0.9); });
    const std::string ddmmss = directions("decimal dd.mm.ss", [](double d) {
        const int dd = static_cast<int>(d), mm = static_cast<int>((d - dd) * 60);
        char dms[64];
        std::snprintf(dms, sizeof dms, "%d.%02d.%09.6f", dd, mm, ((d - dd) * 60 - mm) * 60);
        return std::string(dms);
    });
    // Counted counter-clockwise from east, in radians.
    const std::string fromEast =
        directions("radians", [&](double d) { return num(kTruePi / 2 - d * deg); });
    // Counted counter-clockwise from north.
    const std::string fromNorthLeft =
        directions("decimal degrees", [](double d) { return num(-d); });
    const std::vector<Case> cases = {
        {"a namespace prefix", prefixed},
        {"directions counter-clockwise from north", fromNorthLeft},
        {"a byte-order mark", "\xEF\xBB\xBF" + base},
        {"directions in grads", grads},
        {"directions in dd.mm.ss", ddmmss},
        {"directions counter-clockwise from east in radians", fromEast},
        {"ISO-8859-1 declared, a name with a Latin letter",
         latin1ToUtf8(replaced(replaced(base, "UTF-8", "ISO-8859-1"), "<Alignments name=\"路线\">",
                               "<Alignments name=\"Stra\xDF"
                               "e\">"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read r = readBack(c.text);
        ASSERT_TRUE(r.faults.empty()) << r.faults[0];
        EXPECT_TRUE(r.warnings.empty()) << r.warnings[0];
        ASSERT_TRUE(r.route);
        expectSameStakes(*plain.route, *r.route);
    }
    // GBK, declared: the alignment found by its Chinese name.
    std::string utf8 = replaced(base, "UTF-8", "GBK");
    const std::string gbk = "\xBC\xD7\xCF\xDF";  // 甲线 in GBK; the other names too
    std::string bytes = replaced(utf8, "甲线", gbk);
    bytes = replaced(bytes, "乙线", "\xD2\xD2\xCF\xDF");
    bytes = replaced(bytes, "路线", "\xC2\xB7\xCF\xDF");
    bytes = replaced(bytes, "设计线", "\xC9\xE8\xBC\xC6\xCF\xDF");
    const Result<std::string> decoded = landXmlUtf8(bytes);
    ASSERT_TRUE(decoded) << decoded.failure().message;
    const std::string name = "甲线";
    const Read r = readBack(*decoded, &name);
    ASSERT_TRUE(r.route);
    expectSameStakes(*plain.route, *r.route);

    // A Spiral whose radii are equal is an arc.
    const Read arc = readBack(document(true));
    ASSERT_TRUE(arc.route);
    EXPECT_TRUE(arc.warnings.empty()) << arc.warnings[0];
    EXPECT_EQ(arc.route->alignment.elements[2].kind(), ElementKind::Arc);
    expectSameStakes(*plain.route, *arc.route);
}

// Every fault, with its line; and the warnings for stated points more than 1 mm away.
TEST(LandXmlIn, EveryFaultIsAnsweredWithItsLine) {
    const std::string base = document();
    struct Case {
        const char* what;
        std::string text;
        std::string marker;  // the line the message names
        std::string message;
        std::string name = "";
    };
    const std::string curve = base.substr(base.find("<Curve"));
    const std::string center =
        curve.substr(curve.find("<Center>"), curve.find("</Center>") + 9 - curve.find("<Center>"));
    const std::vector<Case> cases = {
        {"a Curve without its Center", replaced(base, center, ""), "<Curve",
         "Curve 缺少 Center（圆心）座标。"},
        {"a spiral of another type",
         replaced(base, "spiType=\"clothoid\"", "spiType=\"cubicParabola\""), "<Spiral",
         "Spiral 的 spiType 是 “cubicParabola”，只能计算 clothoid（回旋线）。"},
        {"a missing coordinate",
         replaced(base, "<Start>3456000.000000000 512000.000000000", "<Start>3456000.000000000"),
         "<Start>3456000.000000000<",
         "Line 的 Start 要有北座标和东座标两个数值，“3456000.000000000” 不对。"},
        {"an alignment name not in the file", base, "<Alignments",
         "文件里没有名为 “丙线” 的线路（Alignment），有 “甲线”、“乙线”。", "丙线"},
        {"a spiral without its PI",
         replaced(base, base.substr(base.find("<PI>"), base.find("</PI>") + 5 - base.find("<PI>")),
                  ""),
         "<Spiral", "Spiral 缺少 PI 座标（定起点的切线方向）。"},
        {"an element it cannot compute",
         replaced(base, "</CoordGeom>\n<StaEquation",
                  "<Chain>1 2</Chain>\n</CoordGeom>\n<StaEquation"),
         "<Chain>", "CoordGeom 里的 Chain 不能计算（只能读 Line、Curve、Spiral）。"},
        {"a rot that is neither", replaced(base, "rot=\"cw\"", "rot=\"right\""), "rot=\"right\"",
         "Curve 的 rot 必须是 cw 或 ccw，“right” 不对。"},
        {"a length in chains", replaced(base, "\"meter\"", "\"chain\""), "<Metric",
         "长度单位 linearUnit=“chain” 不能换算（能读 meter、kilometer、millimeter、centimeter、"
         "foot、USSurveyFoot）。"},
        {"another document", "<?xml version=\"1.0\"?>\n<svg/>\n", "<svg",
         "这不是 LandXML 文件：根元素是 “svg”，不是 LandXML。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read r = readBack(c.text, c.name.empty() ? nullptr : &c.name);
        EXPECT_FALSE(r.route);
        ASSERT_FALSE(r.faults.empty());
        EXPECT_EQ(r.faults[0],
                  "第 " + std::to_string(lineOf(c.text, c.marker)) + " 行：" + c.message);
    }

    // Stated points off: the End of the first Curve by 5 cm, the first Line's direction by 0.01
    // degree; then also the second Spiral (its Start and PI) by 3 cm, so that its Start and End
    // and the next Curve's Start are off. A warning alone names the element, its line and the
    // distance; warnings of one kind are one line with the first of them.
    const std::vector<Placed> at = starts();
    const std::string firstDir = num(kTheta0 * 180 / kTruePi);
    std::string off = replaced(base, "<End>" + xy(at[3].x, at[3].y) + "</End><Center>",
                               "<End>" + xy(at[3].x + 0.05, at[3].y) + "</End><Center>");
    off = replaced(off, "dir=\"" + firstDir, "dir=\"" + num(kTheta0 * 180 / kTruePi + 0.01));
    const std::string curveLine = std::to_string(lineOf(off, "<Curve"));
    const std::string dirOff = "第 " + std::to_string(lineOf(off, "<Line")) +
                               " 行：线元 1（Line）的 dir 与它的座标给出的方向相差 36.000 秒。";
    const Loaded one = loaded(off);
    ASSERT_TRUE(one.route);
    EXPECT_EQ(one.messages,
              noted({dirOff, "第 " + curveLine +
                                 " 行：线元 3 圆曲线（Curve）算得的终点离所给的 End 0.0500 米。"}));
    off = replaced(off, "<Start>" + xy(at[3].x, at[3].y), "<Start>" + xy(at[3].x, at[3].y + 0.03));
    Placed shifted = at[3];
    shifted.y += 0.03;
    off = replaced(off, "<PI>" + piOf(at[3], at[4]),
                   "<PI>" + piOf(shifted, {at[4].x, at[4].y + 0.03, at[4].theta}));
    const std::string spiralLine =
        std::to_string(lineOf(off, "<Start>" + xy(at[3].x, at[3].y + 0.03)));
    const Loaded more = loaded(off);
    ASSERT_TRUE(more.route);
    EXPECT_EQ(more.messages,
              noted({dirOff,
                     "2 个线元算得的终点离所给的 End 超过 1 毫米（第一处：第 " + curveLine +
                         " 行，0.0500 米）；按所给的 Start、方向和长度计算。",
                     "2 个线元的 Start 离上一线元算得的终点超过 1 毫米（第一处：第 " + spiralLine +
                         " 行，0.0300 米）；从所给的 Start 算起。"}));
}

// Broken XML: the same message on the same line from either build's XML library (pugixml, the
// system's XmlLite on Windows).
TEST(LandXmlIn, BrokenXmlIsAnsweredWithItsLine) {
    const std::string base = document();
    const std::string head = "<?xml version=\"1.0\"?>\n<LandXML>\n";
    struct Case {
        const char* what;
        std::string text;
        int line;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"an end tag that closes another element", replaced(base, "</Line>", "</Lien>"),
         lineOf(base, "</Line>"), "XML 格式不对：结束标签与开始标签不配。"},
        {"an attribute without quotes", replaced(base, "rot=\"cw\"", "rot=cw"),
         lineOf(base, "rot=\"cw\""), "XML 格式不对：属性写得不对。"},
        {"a file cut off after an element", head + "<Units>\n<Metric/>\n", 4,
         "XML 格式不对：结束标签与开始标签不配。"},
        {"a file cut off at an end tag", head + "<Units>\n<Metric>1</Metric>", 4,
         "XML 格式不对：结束标签与开始标签不配。"},
        {"a tag broken off", head + "<Units <Metric/>\n</LandXML>\n", 3,
         "XML 格式不对：这里的标签不完整。"},
        {"a bare < in a text", head + "<Units>1 < 2</Units>\n</LandXML>\n", 3,
         "XML 格式不对：这里的标签不完整。"},
        {"a prolog alone", "<?xml version=\"1.0\"?>\n", 2, "XML 格式不对：文件里没有元素。"},
        {"nothing", "", 1, "XML 格式不对：文件里没有元素。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read r = readBack(c.text);
        EXPECT_FALSE(r.route);
        ASSERT_EQ(r.faults.size(), 1u);
        EXPECT_EQ(r.faults[0], "第 " + std::to_string(c.line) + " 行：" + c.message);
    }
}

// A Curve's radius that its Center does not agree with: the radius counts, and is told.
TEST(LandXmlIn, ARadiusItsCenterDoesNotAgreeWithIsTold) {
    const std::string text = replaced(document(), "<Curve rot=\"ccw\" radius=\"500.000000000\"",
                                      "<Curve rot=\"ccw\" radius=\"500.1\"");
    const Read r = readBack(text);
    ASSERT_TRUE(r.route);
    ASSERT_FALSE(r.warnings.empty());
    EXPECT_EQ(r.warnings[0], "第 " + std::to_string(lineOf(text, "radius=\"500.1\"")) +
                                 " 行：线元 3（Curve）的 radius 500.1000 与 Start 至 Center 的距离 "
                                 "500.0000 相差 0.1000 米，按 radius 计算。");
    EXPECT_NEAR(r.route->alignment.elements[2].radius_m(), 500.1, 1e-9);
}

std::optional<Route> routeOfCsv(const std::string& text) {
    const Result<RouteDesign> reading = readRouteFile(text);
    EXPECT_TRUE(reading) << (reading ? "" : reading.failure().message);
    if (!reading)
        return std::nullopt;
    Result<BuiltRoute> building = buildRoute(*reading);
    EXPECT_TRUE(building) << (building ? "" : building.failure().message);
    if (!building)
        return std::nullopt;
    return std::move(building->route);
}

// JD route, element route and an imported one, written and read back: the same stakes and
// elevations, without a warning.
TEST(LandXmlOut, RoundTripsGiveTheSameStakes) {
    const std::string grade =
        "\n变坡点桩号,高程,竖曲线半径\nK11+000,100,\nK11+600,112,8000\nK12+300,104,6000\n"
        "K13+100,110,\n";
    const std::string jd = test::routeText(test::threeJdRoute(), "K10+500",
                                           "\n断链前桩号,断链后桩号\nK11+900,K11+880\n" + grade);
    const std::string elements =
        "起点桩号,X,Y,方位角\nK2+100,3456000.000,512000.000,45.3015\n\n"
        "长度,起点半径,终点半径,转向,名称\n100,,,,ZD\n80,,800,右,ZH\n100,800,800,右,HY\n"
        "60,800,400,右,YY\n80,400,400,左\n70,400,,左\n50,,,\n"
        "\n变坡点桩号,高程,竖曲线半径\nK2+100,30,\nK2+300,34,3000\nK2+640,31,\n";
    struct Case {
        const char* what;
        std::optional<Route> route;
    };
    const std::vector<Case> cases = {
        {"a JD route with a chain break and a grade line", routeOfCsv(jd)},
        {"an element route with a grade line", routeOfCsv(elements)},
        {"the imported document, its circle and unsymmetric parabola", readBack(document()).route},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.route);
        const std::string written = landXmlText(*c.route, "线路<1>", {"2026-12-09", "10:00:00"});
        EXPECT_NE(written.find("<Alignment name=\"线路&lt;1&gt;\""), std::string::npos);
        const Read r = readBack(written);
        ASSERT_TRUE(r.faults.empty()) << r.faults[0];
        EXPECT_TRUE(r.warnings.empty()) << r.warnings[0];
        ASSERT_TRUE(r.route);
        expectSameStakes(*c.route, *r.route);
    }
}

// A straight of 1000 m northwards from station 0, with the equations and the ProfAlign's rows
// given, one a line.
std::string straightDocument(const std::string& equations, const std::string& rows) {
    return "<?xml version=\"1.0\"?>\n<LandXML><Units><Metric linearUnit=\"meter\"/></Units>\n"
           "<Alignments><Alignment name=\"直线\" staStart=\"0\">\n"
           "<CoordGeom><Line><Start>0 0</Start><End>1000 0</End></Line></CoordGeom>\n" +
           equations + "<Profile><ProfSurf/><ProfAlign>\n" + rows +
           "</ProfAlign></Profile>\n</Alignment></Alignments></LandXML>\n";
}

// Elements, equations and vertical curves as exporters write them, that the schema allows: the
// route they describe, and one line for each kind of thing passed over.
TEST(LandXmlIn, WhatTheSchemaAllowsIsRead) {
    const std::string base = document();
    const Read plain = readBack(base);
    ASSERT_TRUE(plain.route);
    struct Case {
        const char* what;
        std::string text;
        std::string same;  // the document it reads as
        std::vector<std::string> messages;
    };
    std::string features = replaced(base, "<CoordGeom>\n", "<CoordGeom>\n<Feature code=\"a\"/>\n");
    features =
        replaced(features, "<PVI>1000 50</PVI>\n",
                 "<PVI>1000 50</PVI>\n<Feature name=\"b\"><Property label=\"x\"/></Feature>\n");
    features =
        replaced(features, "<PVI>2000 45</PVI>\n", "<Feature name=\"c\"/>\n<PVI>2000 45</PVI>\n");
    features = replaced(features, "</ProfAlign></Profile>", "</ProfAlign><Feature/></Profile>");
    const std::string others = replaced(base, "</Alignment>\n<Alignment name=\"乙线\">",
                                        "<Superelevation staStart=\"1000\"/>\n<CrossSects/>\n"
                                        "<Superelevation staStart=\"1500\"/>\n</Alignment>\n"
                                        "<Alignment name=\"乙线\">");
    // A Line of no length where the first Spiral starts.
    const std::vector<Placed> at0 = starts();
    const std::string point = xy(at0[1].x, at0[1].y);
    const std::string zero = replaced(
        base, "<Spiral",
        "<Line length=\"0\"><Start>" + point + "</Start><End>" + point + "</End></Line>\n<Spiral");
    // Without staBack an equation takes the station reached at its staInternal: after 1250 ->
    // 1255 the internal station 1300 is station 1305 (and the PVIs lie where they lay).
    const std::string first = "<StaEquation staBack=\"1250\" staAhead=\"1255\"/>\n";
    const std::string internal = replaced(base, "<StaEquation staBack=\"1300\"",
                                          first + "<StaEquation staInternal=\"1300\"");
    const std::string back =
        replaced(base, "<StaEquation staBack=\"1300\"", first + "<StaEquation staBack=\"1305\"");
    // The sag's radius written negative, as exporters write a crest's.
    const std::string negative = replaced(base, "radius=\"4000\"", "radius=\"-4000\"");
    const std::vector<Case> cases = {
        {"a Feature in CoordGeom, ProfAlign and Profile",
         features,
         base,
         {"4 个 Feature 不参与计算（第一处：第 " +
          std::to_string(lineOf(features, "<Feature code")) + " 行，在 CoordGeom 里）；略过了。"}},
        {"what an Alignment holds besides",
         others,
         base,
         {"2 个 Superelevation 不参与计算（第一处：第 " +
              std::to_string(lineOf(others, "<Superelevation")) +
              " 行，在 Alignment 里）；略过了。",
          at(others, "<CrossSects") + "Alignment 里的 CrossSects 不参与计算，略过了。"}},
        {"an element of no length",
         zero,
         base,
         {at(zero, "<Line length=\"0\"") + "线元 2（Line）的长度为零，略过了。"}},
        {"an equation without staBack", internal, back, {}},
        {"a negative radius on a sag",
         negative,
         base,
         {at(negative, "radius=\"-4000\"") +
          "变坡点2 的 CircCurve "
          "半径写成负数（凸形竖曲线），而前后的坡度给出凹形竖曲线；按坡度计算。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Loaded l = loaded(c.text);
        ASSERT_TRUE(l.route) << l.messages.at(0);
        EXPECT_EQ(l.messages, noted(c.messages));
        const Read same = readBack(c.same);
        ASSERT_TRUE(same.route);
        expectSameStakes(*same.route, *l.route);
    }
    // The elements after one of no length keep their numbers in the file.
    const Loaded l = loaded(zero);
    ASSERT_TRUE(l.route);
    EXPECT_EQ(l.route->alignment.elements[1].label, "线元 3 缓和曲线");
}

// A crest (2 % to -3 %) and a sag (-3 % to 2 %) on circles of R 4000: a negative radius is read by
// its size, and a stated length off by more than a millimetre from each length the circle has
// (along the chainage, R (sin a2 - sin a1) with a = atan(g); along the arc, R (a2 - a1); R |ω|, as
// a parabola's) is told.
TEST(LandXmlIn, CirclesReadAsExportersWriteThem) {
    const auto rows = [](const std::string& crest, const std::string& sag) {
        return "<PVI>0 100</PVI>\n<CircCurve " + crest + ">300 106</CircCurve>\n<CircCurve " + sag +
               ">500 100</CircCurve>\n<PVI>1000 110</PVI>\n";
    };
    const double R = 4000, a1 = std::atan(0.02), a2 = std::atan(-0.03);
    const double chainage = R * (std::sin(a1) - std::sin(a2)), arc = R * (a1 - a2), para = R * 0.05;
    const Read plain = readBack(straightDocument("", rows("radius=\"4000\"", "radius=\"4000\"")));
    ASSERT_TRUE(plain.route && plain.route->gradeLine);
    struct Case {
        const char* what;
        std::string crest, sag;
        bool told;
    };
    const std::vector<Case> cases = {
        {"a negative crest", "radius=\"-4000\"", "radius=\"4000\"", false},
        {"lengths along the chainage", "radius=\"4000\" length=\"" + num(chainage) + "\"",
         "radius=\"4000\" length=\"" + num(chainage) + "\"", false},
        {"along the arc", "radius=\"4000\" length=\"" + num(arc + 0.0009) + "\"",
         "radius=\"4000\" length=\"" + num(arc - 0.0009) + "\"", false},
        {"as a parabola's", "radius=\"4000\" length=\"" + num(para) + "\"", "radius=\"4000\"",
         false},
        {"2 mm off", "radius=\"4000\" length=\"" + num(chainage + 0.002) + "\"", "radius=\"4000\"",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = straightDocument("", rows(c.crest, c.sag));
        const Loaded l = loaded(text);
        ASSERT_TRUE(l.route && l.route->gradeLine) << l.messages.at(0);
        if (c.told)
            EXPECT_EQ(l.messages,
                      noted({at(text, "<CircCurve") + "变坡点1 的 CircCurve length " +
                             fixed3(chainage + 0.002) + " 与半径和前后坡度给出的竖曲线长 " +
                             fixed3(chainage) + " 相差 0.002 米；按半径计算。"}));
        else
            EXPECT_TRUE(l.messages.empty()) << l.messages[0];
        for (double s = 0; s <= 1000; s += 5)
            EXPECT_EQ(designElevation_m(*l.route->gradeLine, s),
                      designElevation_m(*plain.route->gradeLine, s));
    }
}

// An exporter's rounding: parabolas that overlap by a millimetre meet, a grade line half a
// millimetre short of the route's end reaches it.
TEST(LandXmlIn, RoundingIsNoFault) {
    // 2 % to -3 % at 300 and -3 % to 2 % at 500, each 200.001 long: T = 100.0005 on either
    // side, 1 mm more than the 200 m between them. Made to meet they are 200 long: R = 4000,
    // E = 100^2 / 8000, the parabola from 200 is y = 104 + 0.02 x - x^2 / 8000.
    const std::string text = straightDocument(
        "",
        "<PVI>0 100</PVI>\n<ParaCurve length=\"200.001\">300 106</ParaCurve>\n"
        "<ParaCurve length=\"200.001\">500 100</ParaCurve>\n<PVI>999.9995 110</PVI>\n");
    const Loaded l = loaded(text);
    ASSERT_TRUE(l.route && l.route->gradeLine) << l.messages.at(0);
    EXPECT_EQ(l.messages,
              noted({at(text, "500 100") +
                     "变坡点1 与 变坡点2 的竖曲线重叠 1.000 毫米，按相接计算：两条竖曲线"
                     "在相接的一侧各缩短 0.500 毫米。"}));
    const GradeLine& g = *l.route->gradeLine;
    for (double x : {0.0, 50.0, 100.0, 170.0, 200.0})
        EXPECT_NEAR(*designElevation_m(g, 200 + x), 104 + 0.02 * x - x * x / 8000, 1e-9) << x;
    EXPECT_NEAR(*designElevation_m(g, 300), 106 - 100.0 * 100 / 8000, 1e-9);
    EXPECT_NEAR(*designSlope(g, 400), -0.03, 1e-12);
    EXPECT_NEAR(g.points[1].R_m, 4000, 1e-9);
    // The last stake keeps its elevation: the grade line reaches the route's end.
    const std::optional<double> end = designElevation_m(g, l.route->end_m);
    ASSERT_TRUE(end);
    EXPECT_NEAR(*end, 110, 1e-12);
}

// A profile that cannot be computed costs the elevations, not the plan: one line says why, and
// only the modes that need elevations refuse (with withoutProfile).
TEST(LandXmlIn, ABadProfileCostsTheElevationsOnly) {
    const Read bare = readBack(straightDocument("", "<PVI>0 100</PVI>\n<PVI>1000 110</PVI>\n"));
    ASSERT_TRUE(bare.route);
    struct Case {
        const char* what;
        std::string equations, rows;
        std::string marker, message;
    };
    const std::vector<Case> cases = {
        // 2 % to -3 % to 2 % on R 4000: T = 100 each, 187 m apart.
        {"curves overlapping by 13 m", "",
         "<PVI>0 100</PVI>\n<ParaCurve length=\"200\">300 106</ParaCurve>\n"
         "<ParaCurve length=\"200\">487 100.39</ParaCurve>\n<PVI>1000 110.65</PVI>\n",
         "487 100.39",
         "变坡点1 与 变坡点2 的竖曲线重叠 13.000 米（T = 100.000，T = 100.000，变坡点间距 "
         "187.000）。"},
        {"PVIs out of order", "", "<PVI>0 100</PVI>\n<PVI>600 106</PVI>\n<PVI>500 104</PVI>\n",
         "500 104", "变坡点桩号 500.000 不在上一行之后：纵断面表要按里程顺序排列。"},
        // After station 500 the chainage runs on from -999999000: station 900 lies beyond the end,
        // 1000000400 m on.
        {"an equation that puts a PVI a billion metres away",
         "<StaEquation staBack=\"500\" staAhead=\"-999999000\"/>\n",
         "<PVI>0 100</PVI>\n<PVI>900 110</PVI>\n", "900 110",
         "变坡点桩号 900.000 按断链换算是里程 1000000400.000，超出了 ±1000000000 米。"},
        {"a radius of 0", "",
         "<PVI>0 100</PVI>\n<CircCurve radius=\"0\">500 105</CircCurve>\n<PVI>1000 100</PVI>\n",
         "<CircCurve", "CircCurve 的 radius 不能为零。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = straightDocument(c.equations, c.rows);
        const Loaded l = loaded(text);
        ASSERT_TRUE(l.route);
        EXPECT_FALSE(l.route->gradeLine);
        EXPECT_EQ(l.messages,
                  noted({"纵断面算不出来，中桩没有高程：" + at(text, c.marker) + c.message}));
        EXPECT_EQ(l.withoutProfile, "LandXML 文件的线路 “直线” 的纵断面算不出来（原因见上）");
        StakeRequest request;
        request.interval_m = 50;
        const Read plan = readBack(straightDocument(c.equations, ""));
        ASSERT_TRUE(plan.route);
        EXPECT_EQ(stakeTableCsv(*stakeTable(*l.route, request), request),
                  stakeTableCsv(*stakeTable(*plan.route, request), request));
    }
    // Only a ground line, or no profile at all.
    const std::string ground = replaced(straightDocument("", ""), "<ProfAlign>\n</ProfAlign>", "");
    EXPECT_EQ(loaded(ground).withoutProfile,
              "LandXML 文件的线路 “直线” 只有地面线（ProfSurf），没有设计纵断面（ProfAlign）");
    EXPECT_EQ(loaded(replaced(ground, "<Profile><ProfSurf/></Profile>", "")).withoutProfile,
              "LandXML 文件的线路 “直线” 没有设计纵断面（Profile 里的 ProfAlign）");
}

// A short chain (station 400 is followed by 450): a PVI written at internal station 420 falls into
// the gap; read as internal stations every PVI lies on the route, and so they are read.
TEST(LandXmlIn, StationsInTheGapOfAShortChainReadAsInternalStations) {
    const std::string equation = "<StaEquation staBack=\"400\" staAhead=\"450\"/>\n";
    const std::string text = straightDocument(
        equation, "<PVI>0 100</PVI>\n<PVI>420 108.4</PVI>\n<PVI>1000 97.8</PVI>\n");
    const Loaded l = loaded(text);
    ASSERT_TRUE(l.route && l.route->gradeLine) << l.messages.at(0);
    EXPECT_EQ(l.messages, noted({at(text, "420 108.4") +
                                 "变坡点桩号 420.000 按断链换算落在断链的空缺里；纵断面的桩号都按"
                                 "连续里程（staInternal）读了。"}));
    // 2 % up to 420, then -1.818... % down to 1000: at the ends and at 420 as written.
    for (auto [s, H] : {std::pair{0.0, 100.0}, {420.0, 108.4}, {710.0, 103.1}, {1000.0, 97.8}})
        EXPECT_NEAR(*designElevation_m(*l.route->gradeLine, s), H, 1e-9) << s;
    // Where internal stations would leave the route, the gap is the fault.
    const std::string beyond = straightDocument(
        equation, "<PVI>0 100</PVI>\n<PVI>420 108.4</PVI>\n<PVI>1040 97.8</PVI>\n");
    const Loaded b = loaded(beyond);
    ASSERT_TRUE(b.route);
    EXPECT_EQ(b.messages, noted({"纵断面算不出来，中桩没有高程：" + at(beyond, "420 108.4") +
                                 "路线上没有桩号 K0+420.000：它落在断链的空缺里。"}));
}

// Warnings of one kind are one line with their count and the first case.
TEST(LandXmlIn, WarningsOfOneKindAreOneLine) {
    std::string text = document();
    const std::regex dir("(dir(Start)?=\")([-0-9.]+)\"");
    std::string off;
    auto from = text.cbegin();
    for (std::sregex_iterator it(text.begin(), text.end(), dir), end; it != end; ++it) {
        off.append(from, (*it)[0].first);
        off += (*it)[1].str() + num(std::stod((*it)[3].str()) + 0.01) + "\"";
        from = (*it)[0].second;
    }
    off.append(from, text.cend());
    const Loaded l = loaded(off);
    ASSERT_TRUE(l.route);
    EXPECT_EQ(l.messages, noted({"7 个线元的 dir 与座标给出的方向不符（第一处：第 " +
                                 std::to_string(lineOf(off, "<Line")) +
                                 " 行，相差 36.000 秒）；按座标计算。"}));
}

// The README's route of two JDs with a chain break, and a grade line.
const char kReadmeRoute[] =
    "点号,X,Y,R,A1,A2,桩号\n"
    "BP,3456088.2656,511632.3766,,,,K11+345.678\n"
    "JD1,3456789.1230,512345.6780,500,200,250,\n"
    "JD2,3457084.2532,513508.8195,800,300,300,\n"
    "EP,3457814.5550,514034.8035,,,,\n\n"
    "断链前桩号,断链后桩号\nK12+800,K12+780\n\n"
    "变坡点桩号,高程,竖曲线半径\nK11+400,100,\nK12+000,112,8000\nK12+900,104,6000\nK13+600,110,\n";

std::string stakesCsv(const Route& route) {
    StakeRequest request;
    request.interval_m = 20;
    request.left_m = {5};
    return stakeTableCsv(*stakeTable(route, request), request);
}

// The PI method: a JD route written with its AlignPIs reads back as the JD route it came from,
// QZ and all, whether the file holds its CoordGeom or not; the PIs win over the elements.
TEST(LandXmlPIs, AJdRouteReadsBackAsItself) {
    const std::optional<Route> route = routeOfCsv(kReadmeRoute);
    ASSERT_TRUE(route);
    const std::string written = landXmlText(*route, "甲线", {"2026-12-09", "10:00:00"});
    const std::string piOnly =
        written.substr(0, written.find("      <CoordGeom>")) +
        written.substr(written.find("</CoordGeom>\n") + std::string("</CoordGeom>\n").size());
    for (const std::string& text : {written, piOnly}) {
        SCOPED_TRACE(text.size());
        const Loaded l = loaded(text);
        ASSERT_TRUE(l.route) << l.messages.at(0);
        EXPECT_TRUE(l.messages.empty()) << l.messages[0];
        EXPECT_EQ(stakesCsv(*l.route), stakesCsv(*route));
        EXPECT_NE(stakesCsv(*l.route).find("\nQZ,"), std::string::npos);
        ASSERT_EQ(l.route->points.size(), route->points.size());
        EXPECT_EQ(elementTableCsv(*l.route), elementTableCsv(*route));
    }
    // Listed with the elements its chain has.
    std::vector<std::string> listed;
    for (const LandXmlAlignment& a : readLandXml(piOnly, nullptr).alignments)
        listed.push_back(a.name + " " + std::to_string(a.elementCount));
    EXPECT_EQ(listed, std::vector<std::string>{"甲线 9"});
}

// AlignPIs as another program writes them: spirals by their length (A^2 = L R), names on the PIs;
// what the PI method cannot compute, and PIs that disagree with the elements beside them.
TEST(LandXmlPIs, ThePiMethodAsOtherProgramsWriteIt) {
    const std::string head =
        "<?xml version=\"1.0\"?>\n<LandXML><Units><Metric linearUnit=\"meter\"/></Units>\n"
        "<Alignments><Alignment name=\"A\" staStart=\"1000\">\n<AlignPIs>\n"
        "<AlignPI><PI name=\"起点\">0 0</PI></AlignPI>\n";
    const std::string jd1 =
        "<AlignPI><PI name=\"交点1\">1000 0</PI><InSpiral><Spiral length=\"90\" "
        "radiusStart=\"INF\" "
        "radiusEnd=\"400\" rot=\"cw\"/></InSpiral><Curve1><Curve radius=\"400\" rot=\"cw\"/>"
        "</Curve1></AlignPI>\n";
    const std::string tail =
        "<AlignPI><PI name=\"交点2\">1000 1000</PI><Curve1><Curve "
        "radius=\"300\"/></Curve1></AlignPI>\n"
        "<AlignPI><PI name=\"终点\">2000 1000</PI></AlignPI>\n</AlignPIs>\n"
        "</Alignment></Alignments></LandXML>\n";
    const std::string text = head + jd1 + tail;
    // The same JD table: A1 = sqrt(90 * 400) = 60 * sqrt(10).
    const std::optional<Route> expected = routeOfCsv(
        "点号,X,Y,R,Ls1,A2,桩号\n起点,0,0,,,,1000\n交点1,1000,0,400,90,,\n交点2,1000,1000,300,,,\n"
        "终点,2000,1000,,,,\n");
    ASSERT_TRUE(expected);
    const Loaded l = loaded(text);
    ASSERT_TRUE(l.route) << l.messages.at(0);
    EXPECT_TRUE(l.messages.empty()) << l.messages[0];
    EXPECT_NEAR(l.route->points[1].A1_m, 60 * std::sqrt(10.0), 1e-9);
    EXPECT_EQ(stakesCsv(*l.route), stakesCsv(*expected));

    struct Case {
        const char* what;
        std::string text, marker, message;
    };
    const std::vector<Case> faults = {
        {"a compound curve",
         replaced(text, "</Curve1></AlignPI>\n<AlignPI><PI name=\"交点2\"",
                  "</Curve1><Curve2><Curve radius=\"600\"/></Curve2></AlignPI>\n"
                  "<AlignPI><PI name=\"交点2\""),
         "<Curve2>", "交点 交点1 的 AlignPI 有 Curve2（复曲线），不能按交点法计算。"},
        {"no curve", replaced(text, "<Curve1><Curve radius=\"300\"/></Curve1>", ""), "交点2",
         "交点 交点2 的 AlignPI 缺少 Curve1（圆曲线），交点法要有半径。"},
        {"two PIs",
         head +
             "<AlignPI><PI>9 9</PI></AlignPI>\n</AlignPIs>\n</Alignment></Alignments></LandXML>\n",
         "9 9", "AlignPIs 至少要有三个 AlignPI（起点、至少一个交点、终点），现在只有 2 个。"},
    };
    for (const Case& c : faults) {
        SCOPED_TRACE(c.what);
        const Loaded f = loaded(c.text);
        EXPECT_FALSE(f.route);
        EXPECT_EQ(f.messages,
                  std::vector<std::string>{"t.xml: " + at(c.text, c.marker) + c.message});
    }

    // Beside CoordGeom: PIs that cannot be computed leave the elements; PIs that disagree with
    // them are told.
    const std::string written = landXmlText(*expected, "A", {"2026-12-09", "10:00:00"});
    const std::string compound =
        replaced(written, "</Curve1></AlignPI>", "</Curve1><Curve2/></AlignPI>");
    const Loaded e = loaded(compound);
    ASSERT_TRUE(e.route);
    EXPECT_TRUE(e.route->points.empty());
    expectSameStakes(*expected, *e.route);
    EXPECT_EQ(e.messages,
              noted({at(compound, "<Curve2/>") +
                     "AlignPIs 的交点算不出路线，按 CoordGeom 的线元计算：交点 交点1 的 "
                     "AlignPI 有 Curve2（复曲线），不能按交点法计算。"}));
    const std::string moved =
        replaced(written, "<PI name=\"终点\">2000 1000", "<PI name=\"终点\">2000.1 1000");
    const Loaded m = loaded(moved);
    ASSERT_TRUE(m.route);
    EXPECT_EQ(m.messages, noted({at(moved, "<AlignPI>") +
                                 "AlignPIs 的交点与 CoordGeom 的线元不一致：路线长相差 0.1000 米，"
                                 "终点相差 0.1000 米；按 AlignPIs（交点法）计算。"}));
}

// A name with a line end, of the alignment and of an element: both shown escaped, and written and
// read back so, the same way.
TEST(LandXmlOut, NamesWithLineEndsSurviveTheRoundTrip) {
    std::optional<Route> route = readBack(document()).route;
    ASSERT_TRUE(route);
    // As names read from another program's file would be, were they kept as they came.
    route->alignment.elements[1].name = "Z\r\nH";
    std::string text = landXmlText(*route, "甲\n线", {"2026-12-09", "10:00:00"});
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const LandXmlReading reading = readLandXml(text, nullptr);
        ASSERT_TRUE(reading.alignment && reading.alignment->design.elements);
        EXPECT_EQ(reading.alignment->name, "甲\\x0A线");
        EXPECT_EQ(reading.alignments.at(0).name, "甲\\x0A线");
        EXPECT_EQ(reading.alignment->design.elements->rows.at(1).name, "Z\\x0D\\x0AH");
        const Loaded l = loaded(text);
        ASSERT_TRUE(l.route);
        text = landXmlText(*l.route, l.name, {"2026-12-09", "10:00:00"});
    }
#ifndef _WIN32
    // Written as character references by another program: kept by the XML reader of the Linux
    // build (Wine's XmlLite reads them as blanks).
    text = replaced(document(), "<Alignment name=\"甲线\"", "<Alignment name=\"甲&#10;线\"");
    text = replaced(text, "<Spiral spiType", "<Spiral name=\"Z&#13;&#10;H\" spiType");
    const std::string name = "甲\n线";
    const LandXmlReading reading = readLandXml(text, &name);
    ASSERT_TRUE(reading.alignment);
    EXPECT_EQ(reading.alignment->name, "甲\\x0A线");
    EXPECT_EQ(reading.alignment->design.elements->rows.at(1).name, "Z\\x0D\\x0AH");
#endif
}

}  // namespace
}  // namespace hcurve

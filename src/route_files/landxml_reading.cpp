#include "route_files/landxml_reading.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "alignment/route.h"
#include "curve/angle.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "platform/xml_tree.h"

namespace hcurve {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string lower(std::string_view s) {
    std::string l(s);
    for (char& c : l)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return l;
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

}  // namespace

bool looksLikeLandXml(std::string_view path, std::string_view bytes) {
    if (path.size() >= 4 && lower(path.substr(path.size() - 4)) == ".xml")
        return true;
    if (bytes.substr(0, kBom.size()) == kBom)
        bytes.remove_prefix(kBom.size());
    bytes = trimmed(bytes.substr(0, 256));
    return bytes.substr(0, 5) == "<?xml" || bytes.substr(0, 8) == "<LandXML";
}

std::string declaredXmlEncoding(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom)
        bytes.remove_prefix(kBom.size());
    if (bytes.substr(0, 5) != "<?xml")
        return "";
    const std::string_view prolog = bytes.substr(0, bytes.find("?>"));
    const std::size_t at = prolog.find("encoding");
    if (at == std::string_view::npos)
        return "";
    const std::size_t open = prolog.find_first_of("\"'", at);
    if (open == std::string_view::npos)
        return "";
    const std::size_t close = prolog.find(prolog[open], open + 1);
    if (close == std::string_view::npos)
        return "";
    return lower(prolog.substr(open + 1, close - open - 1));
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

namespace {

// An angle of the file in radians: its unit, as Units states it.
enum class AngleUnit { Radians, Grads, Degrees, DegreesMinutesSeconds };

// Where the angles of a direction attribute may be counted from: exporters differ, some count
// clockwise from north, others counter-clockwise from east.
constexpr double kDirectionSlack_rad = 1e-5;
// Stated points may lie this far from where the geometry puts them.
constexpr double kStatedPointSlack_m = 1e-3;

struct Units {
    double metres = 1;  // per linear unit of the file
    AngleUnit direction = AngleUnit::Radians;
};

using Node = const platform::XmlElement*;

std::string_view localName(Node n) {
    if (!n)
        return "";
    std::string_view name = n->name;
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

Node child(Node n, std::string_view name) {
    if (n)
        for (Node c : n->children)
            if (localName(c) == name)
                return c;
    return nullptr;
}

std::vector<Node> children(Node n, std::string_view name) {
    std::vector<Node> out;
    if (n)
        for (Node c : n->children)
            if (localName(c) == name)
                out.push_back(c);
    return out;
}

// An attribute's value, or null.
const std::string* attribute(Node n, std::string_view name) {
    return n ? n->attribute(name) : nullptr;
}

// An attribute's value, empty when there is none.
std::string_view valueOf(Node n, std::string_view name) {
    const std::string* v = attribute(n, name);
    return v ? std::string_view(*v) : std::string_view();
}

std::string_view textOf(Node n) {
    return n ? std::string_view(n->text) : std::string_view();
}

// The numbers of a text separated by blanks.
std::vector<double> numbers(std::string_view text) {
    std::vector<double> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::strchr(" \t\r\n,", text[i]))
            ++i;
        std::size_t j = i;
        while (j < text.size() && !std::strchr(" \t\r\n,", text[j]))
            ++j;
        if (j > i) {
            const std::optional<double> v = readNumber(text.substr(i, j - i));
            if (!v)
                return {};
            out.push_back(*v);
        }
        i = j;
    }
    return out;
}

std::string quoted(std::string_view text) {
    return "“" + shownText(std::string(text)) + "”";
}

// What the reader gathers as it reads: the file's alignments, and of the one read its design
// (and what goes with it) or its faults, and its warnings.
struct ReadParts {
    std::optional<RouteDesign> design;
    std::string name;
    std::vector<LandXmlAlignment> alignments;
    std::vector<Failure> faults;
    std::vector<Failure> warnings;
    bool fromAlignPIs = false;
    std::optional<RouteDesign> fallback;
    std::vector<Failure> fallbackWarnings;
    std::string withoutProfile;
};

class Reader {
  public:
    Reader(std::string_view text, ReadParts& reading) : text_(text), reading_(reading) {}

    void fault(Node n, std::string message) { faults_->push_back({std::move(message), n->line}); }
    // A warning; one of a kind that may come once an element is told with the others of its kind
    // (alignment/route_design.h: warningLines).
    void warn(Node n, std::string message, std::string kind = "", std::string detail = "",
              std::string done = "") {
        addWarning(
            *warnings_, places_[warnings_],
            {std::move(message), n->line, 0, std::move(kind), std::move(detail), std::move(done)});
    }
    // An element the program does not compute, passed over: one line for all of its name.
    void passOver(Node n, std::string_view within) {
        const std::string name(localName(n));
        warn(n, std::string(within) + " 里的 " + name + " 不参与计算，略过了。",
             name + " 不参与计算", "在 " + std::string(within) + " 里", "略过了");
    }
    bool full() const { return faults_->size() >= kMostRouteFaults; }

    void readUnits(Node root) {
        const Node units = child(root, "Units");
        Node system = child(units, "Metric");
        if (!system) {
            system = child(units, "Imperial");
            if (system)
                units_.metres = 0.3048;
        }
        if (!system)
            return;
        if (const std::string* a = attribute(system, "linearUnit")) {
            const std::string u = lower(*a);
            static const std::map<std::string, double> kLengths{{"meter", 1},
                                                                {"metre", 1},
                                                                {"kilometer", 1000},
                                                                {"millimeter", 1e-3},
                                                                {"centimeter", 1e-2},
                                                                {"foot", 0.3048},
                                                                {"ussurveyfoot", 1200.0 / 3937.0}};
            const auto it = kLengths.find(u);
            if (it == kLengths.end())
                fault(system, "长度单位 linearUnit=" + quoted(*a) +
                                  " 不能换算（能读 meter、kilometer、millimeter、centimeter、foot、"
                                  "USSurveyFoot）。");
            else
                units_.metres = it->second;
        }
        const std::string* d = attribute(system, "directionUnit")
                                   ? attribute(system, "directionUnit")
                                   : attribute(system, "angularUnit");
        if (d) {
            const std::string u = lower(*d);
            if (u == "radians")
                units_.direction = AngleUnit::Radians;
            else if (u == "grads")
                units_.direction = AngleUnit::Grads;
            else if (u == "decimal degrees")
                units_.direction = AngleUnit::Degrees;
            else if (u == "decimal dd.mm.ss")
                units_.direction = AngleUnit::DegreesMinutesSeconds;
            else
                fault(system, "角度单位 " + quoted(*d) +
                                  " 不能换算（能读 radians、grads、decimal degrees、decimal "
                                  "dd.mm.ss）。");
        }
    }

    // A length attribute in metres; nothing (and a fault, when it is there) unless a number.
    std::optional<double> length(Node n, const char* name, bool required) {
        const std::string* a = attribute(n, name);
        if (!a) {
            if (required)
                fault(n, std::string(localName(n)) + " 缺少 " + name + " 属性。");
            return std::nullopt;
        }
        const std::optional<double> v = readNumber(trimmed(*a));
        if (!v || std::fabs(*v * units_.metres) > kMaxCoordinate_m) {
            fault(n, std::string(localName(n)) + " 的 " + name + " 必须是数值，" + quoted(*a) +
                         " 不对。");
            return std::nullopt;
        }
        return *v * units_.metres;
    }

    // A point child (Start, End, Center, PI): north then east, in metres.
    std::optional<std::pair<double, double> > point(Node element, const char* name) {
        const Node p = child(element, name);
        if (!p) {
            fault(element, std::string(localName(element)) + " 缺少 " + name + " 座标。");
            return std::nullopt;
        }
        std::string_view text = trimmed(textOf(p));
        if (text.empty())
            if (const std::string* ref = attribute(p, "pntRef")) {
                const auto it = points_.find(*ref);
                if (it == points_.end()) {
                    fault(p, std::string(name) + " 引用的点 " + quoted(*ref) +
                                 " 在 CgPoints 里没有。");
                    return std::nullopt;
                }
                text = trimmed(textOf(it->second));
            }
        const std::vector<double> v = numbers(text);
        if (v.size() < 2 || v.size() > 3) {
            fault(p, std::string(localName(element)) + " 的 " + name +
                         " 要有北座标和东座标两个数值，" + quoted(text) + " 不对。");
            return std::nullopt;
        }
        const double x = v[0] * units_.metres, y = v[1] * units_.metres;
        if (std::fabs(x) > kMaxCoordinate_m || std::fabs(y) > kMaxCoordinate_m) {
            fault(p, std::string(localName(element)) + " 的 " + name + " 超出了 ±1000000000 米。");
            return std::nullopt;
        }
        return std::pair{x, y};
    }

    // A direction attribute in radians, or nothing (a fault when it cannot be read).
    std::optional<double> angle(Node n, const char* name) {
        const std::string* a = attribute(n, name);
        if (!a)
            return std::nullopt;
        const std::string_view t = trimmed(*a);
        std::optional<double> v;
        if (units_.direction == AngleUnit::DegreesMinutesSeconds &&
            std::count(t.begin(), t.end(), '.') >= 2) {
            // dd.mm.ss, the seconds perhaps with a fraction: dd.mm.ss.s
            if (const std::optional<double> degrees = dottedDmsToDegrees(t))
                v = *degrees * (kFullTurn_rad / kFullTurn_tdeg);
        } else if (const std::optional<double> r = readNumber(t)) {
            switch (units_.direction) {
                case AngleUnit::Radians:
                    v = *r;
                    break;
                case AngleUnit::Grads:
                    v = *r * kFullTurn_rad / kFullTurn_grad;
                    break;
                case AngleUnit::Degrees:
                    v = *r * kFullTurn_rad / kFullTurn_tdeg;
                    break;
                case AngleUnit::DegreesMinutesSeconds:
                    if (isValidDms(*r))
                        v = dmsToDegrees(*r) * kFullTurn_rad / kFullTurn_tdeg;
                    break;
            }
        }
        if (!v)
            fault(n, std::string(localName(n)) + " 的 " + name + "=" + quoted(*a) +
                         " 不是所给单位的角度。");
        return v;
    }

    // Checks a direction attribute against the start azimuth the geometry gives.
    void checkDirection(Node n, const char* name, double azimuth_deg, std::size_t number) {
        const std::optional<double> stated = angle(n, name);
        if (!stated)
            return;
        const double a = azimuth_deg * kDegreeFactor;
        // Clockwise from north, counter-clockwise from east, or counter-clockwise from north.
        const double off =
            std::min({turnApart_rad(*stated, a), turnApart_rad(kQuarterTurn_rad - *stated, a),
                      turnApart_rad(-*stated, a)});
        if (off > kDirectionSlack_rad) {
            const std::string seconds =
                format(off / kFullTurn_rad * kFullTurn_tdeg * kSecondsPerDegree, Pattern::Fixed3);
            warn(n,
                 "线元 " + std::to_string(number) + "（" + std::string(localName(n)) + "）的 " +
                     name + " 与它的座标给出的方向相差 " + seconds + " 秒。",
                 "线元的 dir 与座标给出的方向不符", "相差 " + seconds + " 秒", "按座标计算");
        }
    }

    // The way a Curve or Spiral turns: 1 for cw, -1 for ccw; nothing (a fault where it is
    // required or cannot be read) otherwise.
    std::optional<int> rotation(Node e, const std::string& tag, bool required) {
        const std::string* r = attribute(e, "rot");
        if (!r) {
            if (required)
                fault(e, tag + " 缺少 rot 属性（cw 或 ccw）。");
            return std::nullopt;
        }
        const std::string v = lower(trimmed(*r));
        if (v == "cw")
            return 1;
        if (v == "ccw")
            return -1;
        fault(e, tag + " 的 rot 必须是 cw 或 ccw，" + quoted(*r) + " 不对。");
        return std::nullopt;
    }

    // A Line's row from its Start and End; false at a fault.
    bool lineElement(Node e, ElementRow& row,
                     const std::optional<std::pair<double, double> >& start,
                     const std::optional<std::pair<double, double> >& end, std::size_t number) {
        if (!end && !child(e, "End"))
            fault(e, "Line 缺少 End 座标。");
        if (!start || !end)
            return false;
        const std::optional<double> L = length(e, "length", false);
        const double apart = std::hypot(end->first - start->first, end->second - start->second);
        if (apart == 0) {
            fault(e, "Line 的 Start 与 End 重合，定不出方向。");
            return false;
        }
        row.length_m = L ? *L : apart;
        row.startAzimuth_deg =
            azimuthBetween_deg(start->first, start->second, end->first, end->second);
        checkDirection(e, "dir", *row.startAzimuth_deg, number);
        return true;
    }

    // A Curve's row from its Start, Center, radius and length (or End); false at a fault, also at
    // one found since the element's reading began with before faults.
    bool curveElement(Node e, ElementRow& row,
                      const std::optional<std::pair<double, double> >& start,
                      const std::optional<std::pair<double, double> >& end, std::size_t number,
                      std::size_t before) {
        const std::optional<int> turn = rotation(e, row.tag, true);
        std::optional<std::pair<double, double> > centre;
        if (child(e, "Center"))
            centre = point(e, "Center");
        else
            fault(e, "Curve 缺少 Center（圆心）座标。");
        std::optional<double> R = length(e, "radius", false);
        std::optional<double> L = length(e, "length", false);
        if (!start || !centre || !turn || faults_->size() != before)
            return false;
        const double toCentre =
            std::hypot(centre->first - start->first, centre->second - start->second);
        if (!R)
            R = toCentre;
        if (!(*R > 0) || toCentre == 0) {
            fault(e, "Curve 的半径必须大于零。");
            return false;
        }
        // The radius is the design's number; a Center that does not agree is told.
        if (std::fabs(toCentre - *R) > kStatedPointSlack_m)
            warn(e,
                 "线元 " + std::to_string(number) + "（Curve）的 radius " +
                     format(*R, Pattern::Fixed4) + " 与 Start 至 Center 的距离 " +
                     format(toCentre, Pattern::Fixed4) + " 相差 " +
                     format(std::fabs(toCentre - *R), Pattern::Fixed4) + " 米，按 radius 计算。",
                 "Curve 的 radius 与 Start 至 Center 的距离不符",
                 "相差 " + format(std::fabs(toCentre - *R), Pattern::Fixed4) + " 米",
                 "按 radius 计算");
        const double a =
            azimuthBetween_deg(start->first, start->second, centre->first, centre->second);
        row.startAzimuth_deg = wrapAzimuth_deg(a - *turn * kQuarterTurn_deg);
        if (!L) {
            if (!end) {
                fault(e, "Curve 缺少 length 属性，也没有 End 座标可以算出它。");
                return false;
            }
            // The turn from Start to End about the centre, the way it turns.
            const double b =
                azimuthBetween_deg(centre->first, centre->second, end->first, end->second);
            double sweep =
                (*turn > 0 ? b - (a - 2 * kQuarterTurn_deg) : (a - 2 * kQuarterTurn_deg) - b) *
                kDegreeFactor;
            sweep = wrapFullTurn_rad(sweep);
            L = sweep * *R;
        }
        row.length_m = *L;
        row.startCurvature_per_m = row.endCurvature_per_m = *turn / *R;
        checkDirection(e, "dirStart", *row.startAzimuth_deg, number);
        return true;
    }

    // A clothoid Spiral's row from its Start, PI, length and end radii; false at a fault, also at
    // one found since the element's reading began with before faults.
    bool spiralElement(Node e, ElementRow& row,
                       const std::optional<std::pair<double, double> >& start, std::size_t number,
                       std::size_t before) {
        const std::string* type = attribute(e, "spiType");
        if (type && std::string_view(*type) != "clothoid") {
            fault(e, "Spiral 的 spiType 是 " + quoted(*type) + "，只能计算 clothoid（回旋线）。");
            return false;
        }
        std::optional<std::pair<double, double> > pi;
        if (child(e, "PI"))
            pi = point(e, "PI");
        else
            fault(e, "Spiral 缺少 PI 座标（定起点的切线方向）。");
        const std::optional<double> L = length(e, "length", true);
        double k[2] = {0, 0};
        bool curved = false;
        for (int i = 0; i < 2; ++i) {
            const char* name = i == 0 ? "radiusStart" : "radiusEnd";
            const std::string* r = attribute(e, name);
            if (!r) {
                fault(e, std::string("Spiral 缺少 ") + name + " 属性（数值或 INF）。");
                continue;
            }
            const std::string v = lower(trimmed(*r));
            if (v == "inf" || v == "+inf" || v == "infinity")
                continue;
            const std::optional<double> R = readNumber(v);
            if (!R || !(*R > 0)) {
                fault(e, std::string("Spiral 的 ") + name + " 必须是正数或 INF，" + quoted(*r) +
                             " 不对。");
                continue;
            }
            // A radius this large is a straight's.
            if (*R * units_.metres < kMaxCoordinate_m) {
                k[i] = 1 / (*R * units_.metres);
                curved = true;
            }
        }
        const std::optional<int> turn = rotation(e, row.tag, curved);
        if (!start || !pi || !L || faults_->size() != before)
            return false;
        if (!(*L > 0)) {
            fault(e, "Spiral 的 length 必须大于零。");
            return false;
        }
        if (pi->first == start->first && pi->second == start->second) {
            fault(e, "Spiral 的 PI 与 Start 重合，定不出方向。");
            return false;
        }
        row.length_m = *L;
        row.startCurvature_per_m = k[0] * turn.value_or(1);
        row.endCurvature_per_m = k[1] * turn.value_or(1);
        row.startAzimuth_deg =
            azimuthBetween_deg(start->first, start->second, pi->first, pi->second);
        checkDirection(e, "dirStart", *row.startAzimuth_deg, number);
        return true;
    }

    // An element of CoordGeom, its number among the file's elements; nothing at a fault, or for
    // an element of no length (passed over, with a warning).
    std::optional<ElementRow> element(Node e, std::size_t number) {
        const std::string_view kind = localName(e);
        const std::size_t before = faults_->size();
        ElementRow row;
        row.line = e->line;
        row.tag = std::string(kind);
        row.number = number;
        if (kind != "Line" && kind != "Curve" && kind != "Spiral") {
            fault(e, "CoordGeom 里的 " + row.tag + " 不能计算（只能读 Line、Curve、Spiral）。");
            return std::nullopt;
        }
        if (const std::string* n = attribute(e, "name"))
            row.name = shownText(*n);
        const auto start = point(e, "Start");
        std::optional<std::pair<double, double> > end;
        if (child(e, "End"))
            end = point(e, "End");
        // An element of no length (start equal to end) is an exporter's leftover: it has no
        // direction and adds nothing to the road.
        if (start && faults_->size() == before) {
            const std::optional<double> stated = readNumber(trimmed(valueOf(e, "length")));
            const double apart =
                end ? std::hypot(end->first - start->first, end->second - start->second) : 0;
            const bool none = stated ? *stated == 0 && apart <= kStatedPointSlack_m
                                     : kind != "Spiral" && end && apart == 0;
            if (none) {
                warn(e,
                     "线元 " + std::to_string(number) + "（" + row.tag + "）的长度为零，略过了。",
                     "线元的长度为零", row.tag, "略过了");
                return std::nullopt;
            }
        }
        const bool read = kind == "Line"    ? lineElement(e, row, start, end, number)
                          : kind == "Curve" ? curveElement(e, row, start, end, number, before)
                                            : spiralElement(e, row, start, number, before);
        if (!read)
            return std::nullopt;
        if (!(row.length_m > 0)) {
            fault(e, row.tag + " 的长度必须大于零。");
            return std::nullopt;
        }
        row.startX_m = start->first;
        row.startY_m = start->second;
        if (end) {
            row.endX_m = end->first;
            row.endY_m = end->second;
        }
        return row;
    }

    // The design profile: the first ProfAlign of the alignment's Profiles, its faults into the
    // design's profile faults (a profile that cannot be computed costs the elevations only).
    void readProfile(Node alignment, RouteDesign& design) {
        design.planWithoutBadProfile = true;
        Node profAlign = nullptr;
        bool ground = false;
        for (Node profile : children(alignment, "Profile")) {
            for (Node n : profile->children) {
                const std::string_view kind = localName(n);
                if (kind == "ProfSurf") {
                    // The ground line: --vertical says that it is all there is.
                    ground = true;
                } else if (kind == "ProfAlign" && !profAlign) {
                    profAlign = n;
                } else if (kind == "ProfAlign") {
                    warn(n,
                         "线路有不止一个 ProfAlign（设计纵断面），只读了第 " +
                             std::to_string(profAlign->line) + " 行的第一个，这个略过了。",
                         "多出的 ProfAlign 不参与计算",
                         "第一个在第 " + std::to_string(profAlign->line) + " 行", "略过了");
                } else {
                    passOver(n, "Profile");
                }
            }
        }
        if (!profAlign) {
            const std::string name = quoted(valueOf(alignment, "name"));
            reading_.withoutProfile =
                ground ? "LandXML 文件的线路 " + name +
                             " 只有地面线（ProfSurf），没有设计纵断面（ProfAlign）"
                       : "LandXML 文件的线路 " + name + " 没有设计纵断面（Profile 里的 ProfAlign）";
            return;
        }
        std::vector<Failure>* faults = faults_;
        faults_ = &design.profileFaults;
        GradeTable grade;
        grade.headerLine = profAlign->line;
        grade.internalStationsInGap = true;
        for (Node n : profAlign->children) {
            if (full())
                break;
            const std::string_view kind = localName(n);
            GradeRow row;
            row.line = n->line;
            if (kind == "PVI" || kind == "ParaCurve") {
                if (kind == "ParaCurve")
                    if (const auto L = length(n, "length", true))
                        row.L_m = *L;
            } else if (kind == "UnsymParaCurve") {
                row.kind = VerticalCurveKind::UnsymmetricParabola;
                const auto in = length(n, "lengthIn", true), out = length(n, "lengthOut", true);
                if (in && out) {
                    row.Lin_m = *in;
                    row.Lout_m = *out;
                }
            } else if (kind == "CircCurve") {
                row.kind = VerticalCurveKind::Circle;
                if (const auto R = length(n, "radius", true)) {
                    // Some exporters write a crest's radius negative; the grades tell the side.
                    if (*R != 0) {
                        row.R_m = std::fabs(*R);
                        row.negativeRadius = *R < 0;
                    } else {
                        fault(n, "CircCurve 的 radius 不能为零。");
                    }
                }
                if (attribute(n, "length"))
                    row.statedLength_m = length(n, "length", true);
            } else {
                passOver(n, "ProfAlign");
                continue;
            }
            const std::string_view text = trimmed(textOf(n));
            const std::vector<double> v = numbers(text);
            if (v.size() != 2) {
                fault(n,
                      std::string(kind) + " 要有桩号和高程两个数值，" + quoted(text) + " 不对。");
                continue;
            }
            if (std::fabs(v[0] * units_.metres) > kMaxCoordinate_m ||
                std::fabs(v[1] * units_.metres) > kMaxCoordinate_m) {
                fault(n, std::string(kind) + " 的桩号或高程超出了 ±1000000000 米：" + quoted(text) +
                             "。");
                continue;
            }
            row.at.text = format(v[0] * units_.metres, Pattern::Fixed3);
            row.at.value_m = v[0] * units_.metres;
            row.at.broken = true;
            row.H_m = v[1] * units_.metres;
            if (row.L_m < 0 || row.Lin_m < 0 || row.Lout_m < 0)
                fault(n, std::string(kind) + " 的长度不能为负数。");
            grade.rows.push_back(row);
        }
        faults_ = faults;
        if (design.profileFaults.empty())
            design.grade = std::move(grade);
    }

    // The geometric elements of CoordGeom (Line, Curve, Spiral and those it cannot compute);
    // anything else is passed over.
    static bool isGeometry(std::string_view kind) {
        return kind == "Line" || kind == "Curve" || kind == "Spiral" || kind == "IrregularLine" ||
               kind == "Chain";
    }

    std::vector<Node> elementsOf(Node alignment) {
        std::vector<Node> out;
        if (const Node geometry = child(alignment, "CoordGeom"))
            for (Node e : geometry->children)
                if (isGeometry(localName(e)))
                    out.push_back(e);
        return out;
    }

    // The PIs of AlignPIs, each an AlignPI with its PI and, between the first and the last, the
    // radius of its Curve1 and the lengths (or constants A) of its InSpiral and OutSpiral.
    std::vector<Node> pisOf(Node alignment) {
        return children(child(alignment, "AlignPIs"), "AlignPI");
    }

    void read(const std::string* wanted) {
        const platform::XmlTree tree = platform::parseXml(text_);
        if (tree.fault != platform::XmlFault::None) {
            reading_.faults.push_back({parseFault(tree.fault), tree.faultLine});
            return;
        }
        const Node root = tree.root();
        if (localName(root) != "LandXML") {
            fault(root, "这不是 LandXML 文件：根元素是 " + quoted(root->name) + "，不是 LandXML。");
            return;
        }
        readUnits(root);
        for (Node p : children(child(root, "CgPoints"), "CgPoint"))
            if (const std::string* n = attribute(p, "name"))
                points_.emplace(*n, p);
        const Node alignments = child(root, "Alignments");
        const std::vector<Node> all = children(alignments, "Alignment");
        if (all.empty()) {
            fault(alignments ? alignments : root, "文件里没有线路（Alignment）。");
            return;
        }
        Node chosen = nullptr;
        std::string names;
        for (Node a : all) {
            LandXmlAlignment listed;
            // A name goes into tables, messages and the files written: it is kept printable.
            listed.name = shownText(valueOf(a, "name"));
            const std::vector<Node> elements = elementsOf(a);
            listed.elementCount = elements.size();
            if (elements.empty()) {
                // A JD route's chain: a straight before each JD, its arc and its spirals, and
                // the straight to EP.
                const std::vector<Node> pis = pisOf(a);
                if (pis.size() >= 3) {
                    listed.elementCount = 1;
                    for (std::size_t i = 1; i + 1 < pis.size(); ++i)
                        listed.elementCount += 2 + (child(pis[i], "InSpiral") ? 1 : 0) +
                                               (child(pis[i], "OutSpiral") ? 1 : 0);
                }
            }
            const std::optional<double> L = readNumber(trimmed(valueOf(a, "length")));
            if (L) {
                listed.length_m = *L * units_.metres;
            } else {
                for (Node e : elements) {
                    if (const auto l = readNumber(trimmed(valueOf(e, "length")))) {
                        listed.length_m += *l * units_.metres;
                    } else if (localName(e) == "Line") {
                        // A Line may leave its length to its ends.
                        const std::vector<double> a = numbers(textOf(child(e, "Start")));
                        const std::vector<double> b = numbers(textOf(child(e, "End")));
                        if (a.size() >= 2 && b.size() >= 2)
                            listed.length_m += std::hypot(b[0] - a[0], b[1] - a[1]) * units_.metres;
                    }
                }
            }
            names += (names.empty() ? "" : "、") + quoted(listed.name);
            reading_.alignments.push_back(listed);
            if (!chosen && (!wanted || *wanted == valueOf(a, "name")))
                chosen = a;
        }
        if (!chosen) {
            fault(alignments,
                  "文件里没有名为 " + quoted(*wanted) + " 的线路（Alignment），有 " + names + "。");
            return;
        }
        if (!reading_.faults.empty())
            return;
        reading_.name = shownText(valueOf(chosen, "name"));
        readAlignment(chosen);
    }

    // The alignment's own elements as an element table; false, with the faults said, at a fault.
    bool readCoordGeom(Node alignment, const std::vector<Node>& elements, RouteDesign& design) {
        const std::size_t before = faults_->size();
        ElementStart start;
        start.line = alignment->line;
        start.chainage_m = design.startChainage_m;
        ElementTable table;
        table.headerLine = alignment->line;
        if (const Node geometry = child(alignment, "CoordGeom")) {
            std::size_t number = 0;
            for (Node e : geometry->children) {
                if (full())
                    break;
                if (!isGeometry(localName(e))) {
                    passOver(e, "CoordGeom");
                    continue;
                }
                if (std::optional<ElementRow> row = element(e, ++number))
                    table.rows.push_back(std::move(*row));
            }
        }
        if (faults_->size() == before && table.rows.empty())
            fault(elements.front(),
                  "线路 " + quoted(valueOf(alignment, "name")) + " 的线元长度都为零。");
        if (faults_->size() != before)
            return false;
        const ElementRow& first = table.rows.front();
        start.x_m = *first.startX_m;
        start.y_m = *first.startY_m;
        start.azimuth_deg = *first.startAzimuth_deg;
        design.elementStart = start;
        design.elements = std::move(table);
        return true;
    }

    // A curve's part of an AlignPI (InSpiral, Curve1, OutSpiral): the Spiral or Curve in it.
    Node partOf(Node pi, const char* part, const char* kind) {
        const Node holder = child(pi, part);
        if (!holder)
            return nullptr;
        const Node n = child(holder, kind);
        if (!n)
            fault(holder, std::string(part) + " 里缺少 " + kind + "。");
        return n;
    }

    // A spiral's parameter A: its constant where the file gives it, else from its length
    // (A^2 = L R); 0 without the spiral.
    double spiralParameter(Node spiral, double R_m) {
        if (!spiral)
            return 0;
        if (const std::string* type = attribute(spiral, "spiType"))
            if (std::string_view(*type) != "clothoid")
                fault(spiral,
                      "Spiral 的 spiType 是 " + quoted(*type) + "，只能计算 clothoid（回旋线）。");
        if (attribute(spiral, "constant")) {
            const std::optional<double> A = length(spiral, "constant", true);
            if (A && *A < 0)
                fault(spiral, "Spiral 的 constant 不能为负数。");
            return A ? *A : 0;
        }
        const std::optional<double> L = length(spiral, "length", true);
        if (L && *L < 0)
            fault(spiral, "Spiral 的 length 不能为负数。");
        return L && *L > 0 ? std::sqrt(*L * R_m) : 0;
    }

    // The PIs as the JD table of a JD route: BP, JD1..JDn, EP. False, with the faults said, at a
    // fault.
    bool readAlignPIs(Node alignment, const std::vector<Node>& pis, RouteDesign& design) {
        const std::size_t before = faults_->size();
        if (pis.size() < 3) {
            fault(pis.empty() ? child(alignment, "AlignPIs") : pis.back(),
                  "AlignPIs 至少要有三个 AlignPI（起点、至少一个交点、终点），现在只有 " +
                      std::to_string(pis.size()) + " 个。");
            return false;
        }
        for (std::size_t i = 0; i < pis.size() && !full(); ++i) {
            const Node n = pis[i];
            const bool jd = i != 0 && i + 1 != pis.size();
            RoutePointRow p;
            p.line = n->line;
            const Node pi = child(n, "PI");
            std::string name(valueOf(pi, "name"));
            if (name.empty())
                name = valueOf(n, "name");
            if (name.empty())
                name = i == 0 ? "BP" : !jd ? "EP" : "JD" + std::to_string(i);
            p.name = shownText(name);
            if (const auto xy = point(n, "PI")) {
                p.x_m = xy->first;
                p.y_m = xy->second;
            }
            for (const char* compound : {"ConnSpiral", "Curve2", "Curve3"})
                if (child(n, compound))
                    fault(n, "交点 " + p.name + " 的 AlignPI 有 " + compound +
                                 "（复曲线），不能按交点法计算。");
            if (!jd) {
                if (child(n, "InSpiral") || child(n, "Curve1") || child(n, "OutSpiral"))
                    fault(n, "起点和终点的 AlignPI 不设曲线（InSpiral、Curve1、OutSpiral）。");
            } else if (!child(n, "Curve1")) {
                fault(n, "交点 " + p.name + " 的 AlignPI 缺少 Curve1（圆曲线），交点法要有半径。");
            } else if (const Node curve = partOf(n, "Curve1", "Curve")) {
                const std::optional<double> R = length(curve, "radius", true);
                if (R && !(*R > 0))
                    fault(curve, "Curve 的半径必须大于零。");
                if (R && *R > 0) {
                    p.R_m = *R;
                    p.A1_m = spiralParameter(partOf(n, "InSpiral", "Spiral"), p.R_m);
                    p.A2_m = spiralParameter(partOf(n, "OutSpiral", "Spiral"), p.R_m);
                }
            }
            design.points.push_back(p);
        }
        return faults_->size() == before;
    }

    // An alignment: its route from AlignPIs (a JD route) or from CoordGeom (an element route),
    // its station equations and its profile. With both, AlignPIs is read, as the design the
    // elements were computed from, and CoordGeom kept to fall back on and compare with.
    void readAlignment(Node alignment) {
        RouteDesign design;
        if (attribute(alignment, "staStart"))
            if (const auto s = length(alignment, "staStart", true))
                design.startChainage_m = *s;
        readEquations(alignment, design);
        readProfile(alignment, design);
        for (Node n : alignment->children) {
            const std::string_view kind = localName(n);
            if (kind != "CoordGeom" && kind != "AlignPIs" && kind != "StaEquation" &&
                kind != "Profile" && kind != "Start")
                passOver(n, "Alignment");
        }
        if (!reading_.faults.empty())
            return;
        const std::vector<Node> elements = elementsOf(alignment);
        const std::vector<Node> pis = pisOf(alignment);
        const bool haveElements = !elements.empty();
        if (!haveElements && pis.empty()) {
            fault(alignment, "线路 " + quoted(valueOf(alignment, "name")) +
                                 " 没有 CoordGeom 线元，也没有 AlignPIs 交点。");
            return;
        }
        RouteDesign fromElements = design;
        std::vector<Failure> elementFaults, elementWarnings;
        bool elementsRead = false;
        if (haveElements) {
            std::vector<Failure>*faults = faults_, *warnings = warnings_;
            faults_ = pis.empty() ? &reading_.faults : &elementFaults;
            warnings_ = pis.empty() ? &reading_.warnings : &elementWarnings;
            elementsRead = readCoordGeom(alignment, elements, fromElements);
            faults_ = faults;
            warnings_ = warnings;
        }
        if (pis.empty()) {
            if (elementsRead)
                reading_.design = std::move(fromElements);
            return;
        }
        RouteDesign fromPis = design;
        std::vector<Failure> piFaults;
        faults_ = &piFaults;
        const bool pisRead = readAlignPIs(alignment, pis, fromPis);
        faults_ = &reading_.faults;
        if (pisRead) {
            reading_.design = std::move(fromPis);
            reading_.fromAlignPIs = true;
            if (elementsRead) {
                reading_.fallback = std::move(fromElements);
                reading_.fallbackWarnings = std::move(elementWarnings);
            }
        } else if (elementsRead) {
            const Failure& first = piFaults.front();
            reading_.warnings.push_back(
                {"AlignPIs 的交点算不出路线，按 CoordGeom 的线元计算：" + first.message,
                 first.line});
            reading_.design = std::move(fromElements);
            reading_.warnings.insert(reading_.warnings.end(), elementWarnings.begin(),
                                     elementWarnings.end());
        } else {
            // Neither: the faults of the elements, as a file of elements only has them.
            const std::vector<Failure>& faults = haveElements ? elementFaults : piFaults;
            reading_.faults.insert(reading_.faults.end(), faults.begin(), faults.end());
        }
    }

    // The station equations as chain breaks: staBack the station before, staAhead the one after;
    // without staBack the station reached at its staInternal (the continuous station) with the
    // equations before it applied.
    void readEquations(Node alignment, RouteDesign& design) {
        double offset = 0;
        for (Node q : children(alignment, "StaEquation")) {
            ChainBreakRow b;
            b.line = q->line;
            const auto ahead = length(q, "staAhead", true);
            std::optional<double> back;
            if (attribute(q, "staBack") || !attribute(q, "staInternal")) {
                back = length(q, "staBack", true);
            } else if (const auto internal = length(q, "staInternal", true)) {
                back = *internal + offset;
            }
            if (back && ahead) {
                b.before_m = *back;
                b.after_m = *ahead;
                offset += b.after_m - b.before_m;
                design.breaks.push_back(b);
            }
        }
    }

    static std::string parseFault(platform::XmlFault fault) {
        switch (fault) {
            case platform::XmlFault::IncompleteTag:
                return "XML 格式不对：这里的标签不完整。";
            case platform::XmlFault::EndTagMismatch:
                return "XML 格式不对：结束标签与开始标签不配。";
            case platform::XmlFault::BadEndTag:
                return "XML 格式不对：结束标签写得不对（文件可能不完整）。";
            case platform::XmlFault::BadAttribute:
                return "XML 格式不对：属性写得不对。";
            case platform::XmlFault::NoElement:
                return "XML 格式不对：文件里没有元素。";
            case platform::XmlFault::OutOfMemory:
                return "内存不足，读不了这个文件。";
            case platform::XmlFault::NoParser:
                return "这台电脑上没有 XML 解析库（xmllite.dll），读不了 LandXML 文件。";
            default:
                return "XML 格式不对。";
        }
    }

  private:
    std::string_view text_;
    ReadParts& reading_;
    // Where faults and warnings go: the reading's, or those of the part being read.
    std::vector<Failure>* faults_ = &reading_.faults;
    std::vector<Failure>* warnings_ = &reading_.warnings;
    // Where each kind of warning stands in each of those lists.
    std::map<const std::vector<Failure>*, std::map<std::string, std::size_t> > places_;
    Units units_;
    std::map<std::string, Node, std::less<> > points_;
};

}  // namespace

LandXmlReading readLandXml(std::string_view utf8Text, const std::string* name) {
    ReadParts reading;
    if (utf8Text.substr(0, kBom.size()) == kBom) {
        // Lines keep their numbers: the mark holds no line end.
        utf8Text.remove_prefix(kBom.size());
    }
    Reader reader(utf8Text, reading);
    reader.read(name);
    // In the order of the file, whichever part of the alignment was read first.
    const auto byLine = [](const Failure& a, const Failure& b) { return a.line < b.line; };
    std::stable_sort(reading.warnings.begin(), reading.warnings.end(), byLine);
    std::stable_sort(reading.fallbackWarnings.begin(), reading.fallbackWarnings.end(), byLine);
    if (!reading.design)
        return {std::move(reading.alignments),
                Result<LandXmlDesign>::failed(std::move(reading.faults))};
    LandXmlReading read{
        std::move(reading.alignments),
        LandXmlDesign{std::move(*reading.design), std::move(reading.name), reading.fromAlignPIs,
                      std::move(reading.fallback), std::move(reading.fallbackWarnings),
                      std::move(reading.withoutProfile)}};
    read.alignment.warnings() = std::move(reading.warnings);
    return read;
}

}  // namespace hcurve

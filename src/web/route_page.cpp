#include "web/route_page.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <system_error>

#include "alignment/grade_line.h"
#include "alignment/route_design.h"
#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "layout/profile_layout.h"
#include "platform/system_reason.h"
#include "route_cli/route_command.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#define EMSCRIPTEN_KEEPALIVE
#endif

namespace hcurve {
namespace {

// What a drawing reports instead of writing --dxf's file.
Result<void> keptAsText(std::string& kept, std::string text) {
    kept = std::move(text);
    return done();
}

// Text for an SVG text node or attribute: its control characters escaped as every text from a
// file is shown, then the XML's own.
std::string xmlText(const std::string& s) {
    std::string shown = shownText(s), xml;
    xml.reserve(shown.size());
    for (char c : shown) {
        switch (c) {
            case '&':
                xml += "&amp;";
                break;
            case '<':
                xml += "&lt;";
                break;
            case '>':
                xml += "&gt;";
                break;
            case '"':
                xml += "&quot;";
                break;
            default:
                xml += c;
        }
    }
    return xml;
}

std::string n3(double v) {
    return fixedText(v, 3);
}

// The picture's frame in metres: east across from the westmost point, north up from the
// northmost.
struct PlanFrame {
    double west_m = 0, north_m = 0, width_m = 1, height_m = 1;
    double u(double y_m) const { return y_m - west_m; }
    double v(double x_m) const { return north_m - x_m; }
    std::string at(double x_m, double y_m) const { return n3(u(y_m)) + " " + n3(v(x_m)); }
};

// The points of an element as drawn: a straight's ends, an arc every half degree of its turn, a
// spiral's vertices as the DXF file has them.
std::vector<AlignmentPoint> drawnPoints(const Element& e) {
    if (e.kind() == ElementKind::Spiral)
        return spiralVertices(e);
    std::vector<AlignmentPoint> points;
    int pieces = 1;
    if (e.kind() == ElementKind::Arc && e.radius_m() > 0) {
        constexpr double kStep_rad = 3.1415926535 / 360;
        pieces = std::clamp(static_cast<int>(std::ceil(e.length_m() / e.radius_m() / kStep_rad)), 1,
                            20000);
    }
    for (int i = 0; i <= pieces; ++i)
        points.push_back(e.at(e.start_m() + e.length_m() * i / pieces));
    return points;
}

// The stakes' names are written where they stay readable: up to this many stakes, and where they
// stand apart.
constexpr std::size_t kMostNamedStakes = 400;

// A chain break's stroke reaches this many label heights to each side of the centre line.
constexpr double kBreakStroke = 3;

}  // namespace

std::vector<PlanBreakMark> planBreakMarks(const Route& route) {
    std::vector<PlanBreakMark> marks;
    for (const ChainBreak& b : route.breaks) {
        const RouteStake at = stakeAt(route, b.at_m);
        const double difference_m = b.before_m - b.after_m;
        marks.push_back({at.x_m, at.y_m, at.tangent_deg,
                         "断链 " + chainageText(b.before_m, kPlainForm) + "=" +
                             chainageText(b.after_m, kPlainForm) +
                             (difference_m > 0 ? " 长链 " : " 短链 ") +
                             format(std::fabs(difference_m), Pattern::Fixed3) + " m"});
    }
    return marks;
}

std::string planPointText(double x_m, double y_m) {
    return "X (北) = " + coordinateText(x_m, kPlainCoordinate) +
           "    Y (东) = " + coordinateText(y_m, kPlainCoordinate);
}

std::string planSvg(const PlanDrawing& plan, const std::vector<PlanBreakMark>& breaks) {
    // The extent of everything drawn.
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    auto take = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    std::vector<std::vector<AlignmentPoint>> lines;
    for (const Element& e : plan.centreLine) {
        lines.push_back(drawnPoints(e));
        for (const AlignmentPoint& p : lines.back())
            take(p.x_m, p.y_m);
    }
    for (const PlanDrawingMark& m : plan.polygon)
        take(m.x_m, m.y_m);
    for (const PlanDrawingPoint& p : plan.points)
        take(p.x_m, p.y_m);
    if (minX > maxX) {
        minX = maxX = minY = maxY = 0;
    }
    const double extent = std::max({maxX - minX, maxY - minY, 1.0});
    const double pad = extent * 0.04;
    PlanFrame f{minY - pad, maxX + pad, maxY - minY + 2 * pad, maxX - minX + 2 * pad};
    const double text = extent / 110;  // the labels' height

    std::string svg;
    svg.reserve(64 * 1024 + plan.points.size() * 40);
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"route-plan\" viewBox=\"0 0 " +
           n3(f.width_m) + " " + n3(f.height_m) +
           "\" preserveAspectRatio=\"xMidYMid meet\" data-extent=\"" + n3(extent) +
           "\" data-north=\"" + generalText(f.north_m) + "\" data-west=\"" + generalText(f.west_m) +
           "\">\n";
    svg +=
        // The style names its picture: inside a page it would reach every other picture too.
        "<style>.route-plan path,.route-plan polyline{fill:none;vector-effect:non-scaling-stroke}"
        ".route-plan text{white-space:pre;font-family:\"Noto Sans CJK SC\",\"Microsoft "
        "YaHei\",\"PingFang SC\",sans-serif;"
        "font-size:" +
        n3(text) + "px}</style>\n";
    svg += "<rect class=\"paper\" x=\"0\" y=\"0\" width=\"" + n3(f.width_m) + "\" height=\"" +
           n3(f.height_m) + "\" fill=\"white\"/>\n";
    // The tangent polygon and the JDs.
    if (!plan.polygon.empty()) {
        svg +=
            "<polyline class=\"tangents\" stroke=\"#00a0c0\" stroke-width=\"1\" "
            "stroke-dasharray=\"6 4\" points=\"";
        for (const PlanDrawingMark& m : plan.polygon)
            svg += f.at(m.x_m, m.y_m) + " ";
        svg += "\"/>\n";
    }
    // The centre line, one path of its elements.
    svg += "<path class=\"centre-line\" stroke=\"#c00000\" stroke-width=\"2\" d=\"";
    for (const std::vector<AlignmentPoint>& points : lines) {
        for (std::size_t i = 0; i < points.size(); ++i)
            svg += (i == 0 ? "M" : "L") + f.at(points[i].x_m, points[i].y_m);
    }
    svg += "\"/>\n";
    // The chain breaks: a stroke across the centre line, the break's text at its left end.
    if (!breaks.empty()) {
        std::string strokes, texts;
        for (const PlanBreakMark& b : breaks) {
            // Towards the right of the road: east and north parts of the normal.
            const double normal_rad = (b.tangent_deg + kRightAngle_deg) * kDegreeFactor;
            const double east = std::sin(normal_rad), north = std::cos(normal_rad);
            const double reach = kBreakStroke * text;
            const double leftX = b.x_m - north * reach, leftY = b.y_m - east * reach;
            strokes +=
                "M" + f.at(leftX, leftY) + "L" + f.at(b.x_m + north * reach, b.y_m + east * reach);
            // The text runs away from the road: leftwards where the left end lies west.
            const bool westward = east > 0;
            texts += "<text x=\"" + n3(f.u(leftY) + (westward ? -0.4 : 0.4) * text) + "\" y=\"" +
                     n3(f.v(leftX) + text * 0.35) + "\" text-anchor=\"" +
                     (westward ? "end" : "start") + "\">" + xmlText(b.text) + "</text>\n";
        }
        svg +=
            "<g class=\"chain-breaks\" fill=\"#a000a0\">\n<path class=\"break-strokes\" "
            "stroke=\"#a000a0\" stroke-width=\"2\" d=\"" +
            strokes + "\"/>\n" + texts + "</g>\n";
    }
    // The stakes and side points as dots, one path of each kind.
    const char* const kinds[] = {"left-points", "stakes", "right-points"};
    const char* const colours[] = {"#009000", "#000000", "#ff8000"};
    for (int side = -1; side <= 1; ++side) {
        std::string d;
        for (const PlanDrawingPoint& p : plan.points)
            if (p.side == side)
                d += "M" + f.at(p.x_m, p.y_m) + "h0";
        if (d.empty())
            continue;
        svg += std::string("<path class=\"") + kinds[side + 1] + "\" stroke=\"" +
               colours[side + 1] + "\" stroke-width=\"5\" stroke-linecap=\"round\" d=\"" + d +
               "\"/>\n";
    }
    // The names of the stakes, left of the road, where they are few enough to be read.
    std::size_t stakes = 0;
    for (const PlanDrawingPoint& p : plan.points)
        stakes += p.side == 0;
    // Where they stand apart, on the whole, by twice their height.
    double apart_m = 0;
    const PlanDrawingPoint* before = nullptr;
    for (const PlanDrawingPoint& p : plan.points) {
        if (p.side != 0)
            continue;
        if (before)
            apart_m += std::hypot(p.x_m - before->x_m, p.y_m - before->y_m);
        before = &p;
    }
    if (stakes > 1 && stakes <= kMostNamedStakes && apart_m / (stakes - 1) >= 2 * text) {
        svg += "<g class=\"stake-names\" fill=\"#404040\" text-anchor=\"end\">\n";
        for (const PlanDrawingPoint& p : plan.points) {
            if (p.side != 0)
                continue;
            svg += "<text x=\"" + n3(f.u(p.y_m) - text * 0.6) + "\" y=\"" +
                   n3(f.v(p.x_m) + text * 0.35) + "\">" + xmlText(p.name) + "</text>\n";
        }
        svg += "</g>\n";
    }
    // The JDs and the characteristic points, each with its name (and chainage).
    svg += "<g class=\"jds\" fill=\"#0000c0\">\n";
    for (const PlanDrawingMark& m : plan.polygon) {
        if (m.name.empty())
            continue;
        svg += "<text x=\"" + n3(f.u(m.y_m) + text * 0.5) + "\" y=\"" +
               n3(f.v(m.x_m) - text * 0.5) + "\">" + xmlText(m.name) + "</text>\n";
    }
    svg += "</g>\n<g class=\"marks\" fill=\"#007000\">\n";
    std::string dots;
    for (const PlanDrawingMark& m : plan.marks) {
        dots += "M" + f.at(m.x_m, m.y_m) + "h0";
        svg += "<text x=\"" + n3(f.u(m.y_m) + text * 0.5) + "\" y=\"" +
               n3(f.v(m.x_m) + text * 1.2) + "\">" +
               xmlText(m.name + (m.chainage.empty() ? "" : " " + m.chainage)) + "</text>\n";
    }
    svg += "</g>\n";
    if (!dots.empty())
        svg +=
            "<path class=\"mark-points\" stroke=\"#00a000\" stroke-width=\"7\" "
            "stroke-linecap=\"round\" d=\"" +
            dots + "\"/>\n";
    svg += "</svg>\n";
    return svg;
}

namespace {

// The picture of the profile, in pixels.
constexpr double kProfileWidth_px = 1600, kProfileHeight_px = 900;
// The page's face (Noto Sans CJK, or the system's Chinese face) at kProfileText_px: its ascent,
// descent and line spacing, about 1.16, 0.29 and 1.45 em.
constexpr double kAscent_px = 12.8, kDescent_px = 3.2, kLineSpacing_px = 16;

// The width of a text in the profile's font: a Chinese character a full em, others about half.
double textWidth_px(const std::string& s) {
    double w = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80)
            w += kProfileText_px * 0.6;
        else if (c >= 0xC0)
            w += kProfileText_px;
    }
    return w;
}

std::string px(double v) {
    return fixedText(v, 1);
}

std::string points(const std::vector<PicturePoint>& line) {
    std::string text;
    text.reserve(line.size() * 14);
    for (const PicturePoint& p : line)
        text += px(p.x_px) + "," + px(p.y_px) + " ";
    return text;
}

std::string lineElement(double x1, double y1, double x2, double y2, const char* stroke = nullptr) {
    std::string line = "<line x1=\"" + px(x1) + "\" y1=\"" + px(y1) + "\" x2=\"" + px(x2) +
                       "\" y2=\"" + px(y2) + "\"";
    if (stroke)
        line += std::string(" stroke=\"") + stroke + "\"";
    return line + "/>\n";
}

}  // namespace

std::string profileSvg(const Route& route) {
    ProfileTextMeasure measure;
    measure.width_px = textWidth_px;
    measure.ascent_px = kAscent_px;
    measure.descent_px = kDescent_px;
    measure.lineSpacing_px = kLineSpacing_px;
    const ProfileLayout layout =
        profileLayout(kProfileWidth_px, kProfileHeight_px, route, nullptr, nullptr, measure);
    if (!layout.missing.empty())
        return {};
    const PictureBox& plot = layout.frame.plot;

    std::string svg;
    svg +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"route-profile\" viewBox=\"0 0 1600 "
        "900\">\n<style>.route-profile text{white-space:pre;font-family:\"Noto Sans CJK "
        "SC\",\"Microsoft YaHei\",\"PingFang "
        "SC\",sans-serif;font-size:11px}</style>\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"1600\" height=\"900\" fill=\"white\"/>\n";
    svg += "<text class=\"title\" x=\"" + px(layout.titleBox.centreX_px()) + "\" y=\"" +
           px(layout.titleBox.top_px + kAscent_px) + "\" text-anchor=\"middle\">" +
           xmlText(layout.title) + "</text>\n";
    // The grid: level lines with their elevations, chainage lines with their texts.
    svg += "<g class=\"grid\" stroke=\"#e1e1e1\" stroke-width=\"1\">\n";
    std::string labels;
    for (const ProfileLevel& level : layout.levels) {
        svg += lineElement(plot.left_px, level.y_px, plot.right_px(), level.y_px);
        labels += "<text x=\"" + px(level.box.right_px()) + "\" y=\"" + px(level.box.centreY_px()) +
                  "\" text-anchor=\"end\" dominant-baseline=\"central\">" + xmlText(level.text) +
                  "</text>\n";
    }
    for (double x : layout.chainageLines_px)
        svg += lineElement(x, plot.top_px, x, plot.bottom_px());
    svg += "</g>\n";
    for (const ProfileLabel& label : layout.labels)
        labels += "<text x=\"" + px(label.box.centreX_px()) + "\" y=\"" +
                  px(label.box.top_px + kAscent_px) + "\" text-anchor=\"middle\">" +
                  xmlText(label.text) + "</text>\n";
    svg += "<rect class=\"plot\" x=\"" + px(plot.left_px) + "\" y=\"" + px(plot.top_px) +
           "\" width=\"" + px(plot.width_px) + "\" height=\"" + px(plot.height_px) +
           "\" fill=\"none\" stroke=\"black\"/>\n";
    svg += "<g class=\"labels\">\n" + labels + "</g>\n";
    // The straight grades through the 变坡点, and the design line with its vertical curves.
    svg +=
        "<polyline class=\"grades\" fill=\"none\" stroke=\"#a0a0a4\" stroke-dasharray=\"4 2\" "
        "points=\"" +
        points(layout.grades) +
        "\"/>\n<polyline class=\"design\" fill=\"none\" stroke=\"#ff0000\" stroke-width=\"2\" "
        "points=\"" +
        points(layout.design) + "\"/>\n";
    // Each 变坡点 with its captions upright above it, and the ends of its vertical curve.
    svg += "<g class=\"grade-points\">\n";
    for (const ProfileGradePoint& p : layout.gradePoints) {
        svg += "<circle cx=\"" + px(p.mark.x_px) + "\" cy=\"" + px(p.mark.y_px) + "\" r=\"" +
               px(kProfileMark_px) + "\" fill=\"none\" stroke=\"black\"/>\n";
        for (const PicturePoint& end : p.curveEnds)
            svg += lineElement(end.x_px, end.y_px, end.x_px, end.y_px - kCurveEndTick_px, "blue");
        svg += "<g transform=\"translate(" + px(p.captionAt.x_px) + "," + px(p.captionAt.y_px) +
               ") rotate(-90)\">";
        svg += "<text x=\"0\" y=\"0\">" + xmlText(p.caption.where) + "</text>";
        if (!p.caption.curve.empty())
            svg += "<text x=\"0\" y=\"" + px(kLineSpacing_px) + "\">" + xmlText(p.caption.curve) +
                   "</text>";
        svg += "</g>\n";
    }
    svg += "</g>\n";
    // The band: the grade in percent and the length of each straight grade.
    const PictureBox& band = layout.band;
    svg += "<g class=\"band\" text-anchor=\"middle\" dominant-baseline=\"central\">\n";
    svg += "<rect x=\"" + px(band.left_px) + "\" y=\"" + px(band.top_px) + "\" width=\"" +
           px(band.width_px) + "\" height=\"" + px(band.height_px) +
           "\" fill=\"none\" stroke=\"black\"/>\n";
    for (double x : layout.bandDividers_px)
        svg += lineElement(x, band.top_px, x, band.bottom_px(), "black");
    for (const GradeCell& cell : layout.cells) {
        const double middle = cell.box.centreY_px();
        svg += "<text x=\"" + px(cell.box.centreX_px()) + "\" y=\"" +
               px(middle - kLineSpacing_px / 2) + "\">" + xmlText(cell.grade) + "</text>";
        svg += "<text x=\"" + px(cell.box.centreX_px()) + "\" y=\"" +
               px(middle + kLineSpacing_px / 2) + "\">" + xmlText(cell.length) + "</text>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

namespace {

// The sheet's drawing: the thinnest line, the room around the sections.
constexpr double kThinnestLine_mm = 0.18;
constexpr double kSheetMargin_mm = 3;
// A text's font size from the height of its capitals and digits.
constexpr double kCapitalShare = 0.72;

// The sheets' colour of a kind, as an SVG colour (#rrggbb).
std::string sheetColour(SheetInk ink) {
    const SheetRgb c = sheetInkColour(ink);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red, c.green, c.blue);
    return text;
}

bool onSections(SheetInk ink) {
    return ink != SheetInk::Frame && ink != SheetInk::Title;
}

std::string mm(double v) {
    return fixedText(v, 2);
}

}  // namespace

std::string sectionSheetSvg(const SectionSheet& sheet) {
    // What the sections take on the sheet; the texts by their reserved widths.
    double x0 = kSheetWidth_mm, x1 = 0, y0 = kSheetHeight_mm, y1 = 0;
    auto take = [&](double x, double y) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
    };
    for (const SheetLine& l : sheet.lines)
        if (onSections(l.ink))
            for (const SheetPoint& p : l.points)
                take(p.x_mm, p.y_mm);
    for (const SheetCircle& c : sheet.circles) {
        take(c.centre.x_mm - c.radius_mm, c.centre.y_mm - c.radius_mm);
        take(c.centre.x_mm + c.radius_mm, c.centre.y_mm + c.radius_mm);
    }
    for (const SheetText& t : sheet.texts) {
        if (!onSections(t.ink))
            continue;
        const double w = sheetTextWidth_mm(t.text, t.height_mm);
        const double turn_rad = t.rotation_tdeg * kRadiansPerTrueDegree;
        const double start = t.align == SheetAlign::Left     ? 0
                             : t.align == SheetAlign::Centre ? -w / 2
                                                             : -w;
        for (double along : {start, start + w})
            for (double up : {0.0, t.height_mm})
                take(t.at.x_mm + along * std::cos(turn_rad) - up * std::sin(turn_rad),
                     t.at.y_mm + along * std::sin(turn_rad) + up * std::cos(turn_rad));
    }
    if (x0 > x1)
        x0 = y0 = x1 = y1 = 0;
    x0 -= kSheetMargin_mm;
    y0 -= kSheetMargin_mm;
    x1 += kSheetMargin_mm;
    y1 += kSheetMargin_mm;
    // The sheet's y runs up from its lower edge, the picture's down from its top.
    auto at = [](const SheetPoint& p) { return mm(p.x_mm) + " " + mm(kSheetHeight_mm - p.y_mm); };
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"route-section\" viewBox=\"" + mm(x0) +
        " " + mm(kSheetHeight_mm - y1) + " " + mm(x1 - x0) + " " + mm(y1 - y0) +
        "\" preserveAspectRatio=\"xMidYMid meet\">\n<style>.route-section text{white-space:pre;"
        "font-family:\"Noto Sans CJK SC\",\"Microsoft YaHei\",\"PingFang SC\",sans-serif}"
        "</style>\n";
    svg += "<rect x=\"" + mm(x0) + "\" y=\"" + mm(kSheetHeight_mm - y1) + "\" width=\"" +
           mm(x1 - x0) + "\" height=\"" + mm(y1 - y0) + "\" fill=\"white\"/>\n";
    for (const SheetLine& l : sheet.lines) {
        if (!onSections(l.ink) || l.points.size() < 2)
            continue;
        svg += std::string("<polyline class=\"") + sheetLayerName(l.ink) +
               "\" fill=\"none\" stroke=\"" + sheetColour(l.ink) + "\" stroke-width=\"" +
               mm(std::max(l.width_mm, kThinnestLine_mm)) + "\"" +
               (l.dashed ? " stroke-dasharray=\"3 1 0.5 1\"" : "") + " points=\"";
        for (const SheetPoint& p : l.points)
            svg += at(p) + " ";
        svg += "\"/>\n";
    }
    for (const SheetCircle& c : sheet.circles)
        svg += std::string("<circle class=\"") + sheetLayerName(c.ink) + "\" cx=\"" +
               mm(c.centre.x_mm) + "\" cy=\"" + mm(kSheetHeight_mm - c.centre.y_mm) + "\" r=\"" +
               mm(c.radius_mm) + "\" fill=\"white\" stroke=\"" + sheetColour(c.ink) +
               "\" stroke-width=\"" + mm(kThinnestLine_mm) + "\"/>\n";
    for (const SheetText& t : sheet.texts) {
        if (!onSections(t.ink))
            continue;
        const std::string x = mm(t.at.x_mm), y = mm(kSheetHeight_mm - t.at.y_mm);
        svg += "<text x=\"" + x + "\" y=\"" + y + "\" fill=\"" + sheetColour(t.ink) +
               "\" font-size=\"" + mm(t.height_mm / kCapitalShare) + "\" text-anchor=\"" +
               (t.align == SheetAlign::Left     ? "start"
                : t.align == SheetAlign::Centre ? "middle"
                                                : "end") +
               "\"" +
               (t.rotation_tdeg != 0 ? " transform=\"rotate(" + generalText(-t.rotation_tdeg) +
                                           " " + x + " " + y + ")\""
                                     : std::string()) +
               ">" + xmlText(t.text) + "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}

const Result<LoadedRoute>& PageRoute::load(const std::vector<std::string>& paths,
                                           const std::string* alignment) {
    const std::optional<std::string> named =
        alignment ? std::optional<std::string>(*alignment) : std::nullopt;
    if (!loaded_ || paths != paths_ || named != alignment_) {
        loaded_.reset();
        loaded_.emplace(loadRouteFiles(paths, alignment));
        paths_ = paths;
        alignment_ = named;
    }
    return *loaded_;
}

void PageRoute::forget() {
    loaded_.reset();
    paths_.clear();
    alignment_.reset();
}

bool PageRoute::reads(const std::string& path) const {
    return loaded_ && std::find(paths_.begin(), paths_.end(), path) != paths_.end();
}

PageRouteRun PageRoute::run(const std::vector<std::string>& args) {
    RouteRunSupport support;
    support.load = [this](const std::vector<std::string>& paths,
                          const std::string* alignment) -> const Result<LoadedRoute>& {
        return load(paths, alignment);
    };
    std::ostringstream out, err;
    PageRouteRun result;
    result.status = runRouteCommand(args, out, err, support);
    result.out = std::move(out).str();
    result.err = std::move(err).str();
    return result;
}

PageRouteRun PageRoute::plan(const std::vector<std::string>& args) {
    RouteRunSupport support;
    support.load = [this](const std::vector<std::string>& paths,
                          const std::string* alignment) -> const Result<LoadedRoute>& {
        return load(paths, alignment);
    };
    std::string drawn;
    support.drawPlan = [this, &drawn](const std::string&, const PlanDrawing& plan) {
        // The route the run drew is the one kept: its chain breaks are marked on the picture.
        return keptAsText(drawn,
                          planSvg(plan, loaded_ && *loaded_ ? planBreakMarks((*loaded_)->route)
                                                            : std::vector<PlanBreakMark>{}));
    };
    std::ostringstream out, err;
    PageRouteRun result;
    result.status = runRouteCommand(args, out, err, support);
    result.out = result.status == 0 ? std::move(drawn) : std::move(out).str();
    result.err = std::move(err).str();
    return result;
}

PageRouteRun PageRoute::profile(const std::vector<std::string>& files) {
    std::vector<std::string> args = files;
    args.push_back("--vertical");
    PageRouteRun result = run(args);
    if (result.status == 0 && loaded_ && *loaded_)
        result.out = profileSvg((*loaded_)->route);
    return result;
}

PageRouteRun PageRoute::groundStakes(const std::vector<std::string>& files) {
    std::vector<std::string> args = files;
    args.push_back("--segments");
    PageRouteRun result = run(args);
    if (result.status != 0 || !loaded_ || !*loaded_)
        return result;
    result.out.clear();
    result.err.clear();
    if ((*loaded_)->crossSection)
        for (const GroundSection& g : (*loaded_)->groundSections)
            result.out += g.text + "\n";
    return result;
}

PageRouteRun PageRoute::section(const std::vector<std::string>& args) {
    if (args.empty())
        return {1, {}, "没有给出桩号。"};
    std::vector<std::string> files(args.begin(), args.end() - 1);
    const std::string& stake = args.back();
    files.push_back("--segments");
    PageRouteRun result = run(files);
    if (result.status != 0 || !loaded_ || !*loaded_)
        return result;
    const LoadedRoute& loading = **loaded_;
    result.out.clear();
    result.err.clear();
    result.status = 1;
    if (!loading.crossSection) {
        result.err = "这条路线没有路基横断面设计。";
        return result;
    }
    const auto ground = std::find_if(loading.groundSections.begin(), loading.groundSections.end(),
                                     [&stake](const GroundSection& g) { return g.text == stake; });
    if (ground == loading.groundSections.end()) {
        result.err = "桩号 " + shownText(stake) + " 没有地面横断面。";
        return result;
    }
    const Result<std::vector<SheetSection>> drawn =
        sheetSections(loading.route, *loading.crossSection, {*ground});
    if (!drawn) {
        // Each with its file and line, as the command's earthwork table says it.
        for (const Failure& f : drawn.failures())
            result.err += (f.line == 0 || f.file >= loading.files.size()
                               ? f.message
                               : loading.files[f.file] + ": " + faultText(f)) +
                          "\n";
        return result;
    }
    const Result<SectionSheets> sheets = layOutSectionSheets(*drawn, stake, kDefaultSheetScale);
    if (!sheets || sheets->sheets.empty()) {
        result.err = sheets ? std::string() : sheets.failure().message;
        return result;
    }
    result.status = 0;
    result.out = sectionSheetSvg(sheets->sheets.front());
    return result;
}

PageRouteRun PageRoute::features(const std::vector<std::string>& files) {
    std::vector<std::string> args = files;
    args.push_back("--segments");
    PageRouteRun result = run(args);
    if (result.status != 0 || !loaded_ || !*loaded_)
        return result;
    const LoadedRoute& loading = **loaded_;
    result.out.clear();
    if (!loading.route.points.empty())
        result.out += "jd\n";
    if (loading.route.gradeLine)
        result.out += "grade\n";
    if (loading.crossSection)
        result.out += "section\n";
    return result;
}

}  // namespace hcurve

// The page's calls. Texts travel through one buffer of the module's memory: the page writes its
// arguments there (UTF-8, each ended by a NUL) or a file's name and bytes, and reads the last
// run's output and error stream where these functions point.
namespace {

hcurve::PageRoute& pageRoute() {
    static hcurve::PageRoute route;
    return route;
}

std::string& inputBuffer() {
    static std::string buffer;
    return buffer;
}

hcurve::PageRouteRun& lastRun() {
    static hcurve::PageRouteRun run;
    return run;
}

std::vector<std::string> inputStrings(int size) {
    std::vector<std::string> strings;
    const std::string& b = inputBuffer();
    std::size_t at = 0;
    const std::size_t end = std::min(static_cast<std::size_t>(std::max(size, 0)), b.size());
    while (at < end) {
        const std::size_t nul = b.find('\0', at);
        const std::size_t stop = nul == std::string::npos || nul > end ? end : nul;
        strings.push_back(b.substr(at, stop - at));
        at = stop + 1;
    }
    return strings;
}

// The folder the page's files lie in, the current one of every run (hcurve_route_folder).
std::string& filesFolder() {
    static std::string folder = "/files";
    return folder;
}

void enterFilesFolder() {
    std::error_code ignored;
    std::filesystem::create_directories(filesFolder(), ignored);
    std::filesystem::current_path(filesFolder(), ignored);
}

// How a file of the page is put in the memory file system.
enum PutKind : int { kPutFile = 0, kPutFolder = 1, kPutUnreadable = 2 };

}  // namespace

extern "C" {

/// A buffer of size bytes for the page's input; its address.
EMSCRIPTEN_KEEPALIVE char* hcurve_route_buffer(int size) {
    inputBuffer().assign(static_cast<std::size_t>(std::max(size, 0)) + 1, '\0');
    return inputBuffer().data();
}

/// Makes the folder named by the buffer (created where missing) the current one of the runs: the
/// page puts the files of each opening in a folder of its own.
EMSCRIPTEN_KEEPALIVE void hcurve_route_folder(int nameSize) {
    pageRoute().forget();
    filesFolder() = inputBuffer().substr(0, static_cast<std::size_t>(std::max(nameSize, 0)));
    enterFilesFolder();
}

/// kind 0: `hcurve route` with the buffer's arguments; 1: its --dxf drawn as SVG; 2: the profile
/// of the buffer's files as SVG; 3: what their route has (PageRoute::features); 4: the 横断面 at
/// a ground section as SVG (PageRoute::section); 5: the ground sections' 桩号
/// (PageRoute::groundStakes). The exit status.
EMSCRIPTEN_KEEPALIVE int hcurve_route_call(int kind, int size) {
    enterFilesFolder();
    const std::vector<std::string> args = inputStrings(size);
    hcurve::PageRoute& route = pageRoute();
    lastRun() = kind == 1   ? route.plan(args)
                : kind == 2 ? route.profile(args)
                : kind == 3 ? route.features(args)
                : kind == 4 ? route.section(args)
                : kind == 5 ? route.groundStakes(args)
                            : route.run(args);
    return lastRun().status;
}

/// Puts a file of the page where the runs find it by its name: the buffer holds the name
/// (nameSize bytes) and then its bytes (dataSize); the route kept is read again only when it was
/// read from that file. A folder of that name for a dropped folder; a
/// file nobody may read for one the browser could not read, so that the route's reader says what
/// it says of such a file. 0, or the system's reason on the error stream and 1.
EMSCRIPTEN_KEEPALIVE int hcurve_route_put(int nameSize, int dataSize, int kind) {
    enterFilesFolder();
    const std::string& b = inputBuffer();
    const std::string name = b.substr(0, static_cast<std::size_t>(nameSize));
    if (pageRoute().reads(name))
        pageRoute().forget();
    lastRun() = {};
    std::error_code failed;
    std::filesystem::remove_all(name, failed);
    if (kind == kPutFolder) {
        std::filesystem::create_directory(name, failed);
    } else {
        // A name with a folder (two files of one name from two folders) gets its folder.
        if (const std::filesystem::path folder = std::filesystem::path(name).parent_path();
            !folder.empty())
            std::filesystem::create_directories(folder, failed);
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        file.write(b.data() + nameSize, dataSize);
        file.close();
        if (!file)
            failed = std::make_error_code(std::errc::io_error);
        else if (kind == kPutUnreadable)
            std::filesystem::permissions(name, std::filesystem::perms::none, failed);
    }
    if (failed) {
        lastRun().status = 1;
        lastRun().err = hcurve::platform::systemReason(failed.value());
    }
    return lastRun().status;
}

/// Reads the file named by the buffer (a download a run wrote) into the output and removes it.
/// 0, or 1 when there is none.
EMSCRIPTEN_KEEPALIVE int hcurve_route_take(int nameSize) {
    enterFilesFolder();
    const std::string name = inputBuffer().substr(0, static_cast<std::size_t>(nameSize));
    lastRun() = {};
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        lastRun().status = 1;
        return 1;
    }
    lastRun().out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    file.close();
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
    return 0;
}

/// Removes a file of the page (named by the buffer) that it no longer reads.
EMSCRIPTEN_KEEPALIVE void hcurve_route_remove(int nameSize) {
    enterFilesFolder();
    pageRoute().forget();
    std::error_code ignored;
    std::filesystem::permissions(inputBuffer().substr(0, static_cast<std::size_t>(nameSize)),
                                 std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(inputBuffer().substr(0, static_cast<std::size_t>(nameSize)),
                                ignored);
}

/// The text of a point of the plan under the pointer (planPointText), until the next call.
EMSCRIPTEN_KEEPALIVE const char* hcurve_route_plan_point(double x_m, double y_m) {
    static std::string text;
    text = hcurve::planPointText(x_m, y_m);
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* hcurve_route_out() {
    return lastRun().out.data();
}
EMSCRIPTEN_KEEPALIVE int hcurve_route_out_size() {
    return static_cast<int>(lastRun().out.size());
}
EMSCRIPTEN_KEEPALIVE const char* hcurve_route_err() {
    return lastRun().err.data();
}
EMSCRIPTEN_KEEPALIVE int hcurve_route_err_size() {
    return static_cast<int>(lastRun().err.size());
}

}  // extern "C"

#include "layout/profile_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"

namespace hcurve {
namespace {

constexpr double kLeft_px = 70, kRight_px = 20, kTop_px = 44;
constexpr double kChainageLabels_px = 20;  // the chainages under the drawing
constexpr double kBand_px = 44;            // the band of grades and lengths at the bottom
constexpr double kBandGap_px = 4;          // between the band and the picture's foot
constexpr double kChainageLabel_px = 130;  // the width a chainage under the drawing takes
constexpr int kSamples = 3000;
constexpr double kPercent = 100;
constexpr double kLeastGradeCell_px = 50;  // a narrower cell of the band stays empty
constexpr double kLegendLine_px = 24;      // the piece of a line the legend shows
constexpr double kCaptionGap_px = 8;  // between a 变坡点 (or the design line) and its captions
constexpr double kCaptionMargin_px = 16;  // the room a caption needs beyond its text

std::string fixed3(double v) {
    return format(v, Pattern::Fixed3);
}

}  // namespace

std::vector<ProfileCaption> profileCaptions(const Route& route, const GradeLine& g) {
    std::vector<ProfileCaption> captions;
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        const GradePoint& p = g.points[k];
        const std::string where = (k == 0                     ? std::string("起点")
                                   : k + 1 == g.points.size() ? std::string("终点")
                                                              : "变坡点" + std::to_string(k)) +
                                  "  " + stakeText(route, p.at_m) + "  H=" + fixed3(p.H_m);
        std::string curve;
        if (p.T_m > 0)
            curve = "R=" + generalText(p.R_m) + "  T=" + fixed3(p.T_m) + "  E=" + fixed3(p.E_m);
        captions.push_back({where, curve});
    }
    return captions;
}

PicturePoint ProfileFrame::at(double chainage_m, double H_m) const {
    return {plot.left_px + (chainage_m - start_m) * pixelsPerMetre,
            base_px - (H_m - lowest_m) * (pixelsPerMetre * exaggeration)};
}

double ProfileFrame::chainageAt_m(double x_px) const {
    return start_m + (x_px - plot.left_px) / pixelsPerMetre;
}

double ProfileFrame::elevationAt_m(double y_px) const {
    return lowest_m + (base_px - y_px) / (pixelsPerMetre * exaggeration);
}

ProfileFrame profileFrame(double width_px, double height_px, const GradeLine& g,
                          double captionRoom_px, const std::vector<GroundLinePoint>* ground) {
    double hMin = g.points.front().H_m, hMax = hMin;
    for (const GradePoint& p : g.points) {
        hMin = std::min(hMin, p.H_m);
        hMax = std::max(hMax, p.H_m);
    }
    // The ground along the grade line is drawn whole too.
    if (ground) {
        for (const GroundLinePoint& p : *ground) {
            if (!p.H_m || p.continuous_m < g.start_m() || p.continuous_m > g.end_m())
                continue;
            hMin = std::min(hMin, *p.H_m);
            hMax = std::max(hMax, *p.H_m);
        }
    }
    ProfileFrame frame;
    frame.plot = {kLeft_px, kTop_px, std::max(width_px - kLeft_px - kRight_px, 1.0),
                  std::max(height_px - kTop_px - kChainageLabels_px - kBand_px, 1.0)};
    frame.start_m = g.start_m();
    frame.end_m = g.end_m();
    frame.lowest_m = hMin;
    const double plotH = std::max(frame.plot.height_px - captionRoom_px, frame.plot.height_px / 3);
    frame.pixelsPerMetre = frame.plot.width_px / (frame.end_m - frame.start_m);
    // The vertical scale a round multiple of the horizontal, so that the exaggeration stated is
    // the one drawn.
    frame.exaggeration = niceStepBelow(plotH / std::max(hMax - hMin, 1e-3) / frame.pixelsPerMetre);
    const double sy = frame.pixelsPerMetre * frame.exaggeration;
    frame.base_px = frame.plot.bottom_px() - (plotH - (hMax - hMin) * sy) / 2;
    return frame;
}

std::vector<double> elevationLines_m(const ProfileFrame& frame) {
    const double top_m = frame.elevationAt_m(frame.plot.top_px);
    const double bottom_m = frame.elevationAt_m(frame.plot.bottom_px());
    const double step_m = niceStepBelow(std::max((top_m - bottom_m) / 6, 1e-3));
    std::vector<double> lines;
    for (double k = std::ceil(bottom_m / step_m); k * step_m <= top_m; ++k)
        lines.push_back(k * step_m);
    return lines;
}

std::vector<ChainageLine> chainageLines(const Route& route, const ProfileFrame& frame) {
    const double labels = std::max(frame.plot.width_px / kChainageLabel_px, 1.0);
    const double step_m = niceStepBelow(std::max((frame.end_m - frame.start_m) / labels, 1e-3)) * 2;
    // Round in the chainage the labels read, on each side of every chain break, as the stakes
    // are.
    std::vector<ChainageLine> lines;
    for (const PlannedStake& m : wholeMultiples(route, frame.start_m, frame.end_m, step_m))
        if (m.continuous_m >= frame.start_m - 1e-9 && m.continuous_m <= frame.end_m + 1e-9)
            lines.push_back({m.continuous_m, m.broken_m});
    return lines;
}

std::vector<ProfileLabel> chainageLabels(
    const Route& route, const ProfileFrame& frame, double pictureWidth_px,
    const std::function<double(const std::string&)>& width_px) {
    std::vector<ProfileLabel> labels;
    double labelsEnd = -1e9;  // where the last label ends, px
    for (const ChainageLine& line : chainageLines(route, frame)) {
        const double x = frame.at(line.continuous_m, frame.lowest_m).x_px;
        // Pushed in from the edges (a picture narrower than a label keeps it at its left).
        const double left =
            std::max(std::min(x - kChainageLabel_px / 2, pictureWidth_px - kChainageLabel_px), 0.0);
        // The last label, pushed in from the edge, must not cover the one before.
        const std::string label = chainageText(line.stated_m, kPlainForm);
        const double half = width_px(label) / 2.0;
        const double middle = left + kChainageLabel_px / 2;
        if (middle - half < labelsEnd)
            continue;
        labelsEnd = middle + half + 4;
        labels.push_back(
            {label, {left, frame.plot.bottom_px() + 2, kChainageLabel_px, kChainageLabels_px - 2}});
    }
    return labels;
}

std::vector<PicturePoint> gradePolygon(const GradeLine& g, const ProfileFrame& frame) {
    std::vector<PicturePoint> polygon;
    for (const GradePoint& p : g.points)
        polygon.push_back(frame.at(p.at_m, p.H_m));
    return polygon;
}

std::vector<PicturePoint> designPolyline(const GradeLine& g, const ProfileFrame& frame) {
    std::vector<PicturePoint> line;
    line.reserve(kSamples + 1);
    const double s0 = frame.start_m, s1 = frame.end_m;
    for (int i = 0; i <= kSamples; ++i) {
        const double s = s0 + (s1 - s0) * i / kSamples;
        line.push_back(frame.at(s, designElevation_m(g, s).value_or(frame.lowest_m)));
    }
    return line;
}

std::vector<std::vector<PicturePoint>> groundPolylines(const std::vector<GroundLinePoint>& ground,
                                                       const ProfileFrame& frame) {
    std::vector<std::vector<PicturePoint>> runs;
    std::vector<PicturePoint> run;
    for (const GroundLinePoint& p : ground) {
        if (p.H_m) {
            run.push_back(frame.at(p.continuous_m, *p.H_m));
            continue;
        }
        if (!run.empty())
            runs.push_back(std::move(run));
        run.clear();
    }
    if (!run.empty())
        runs.push_back(std::move(run));
    return runs;
}

std::vector<GradeCell> gradeCells(const GradeLine& g, const ProfileFrame& frame) {
    const double bandTop = frame.plot.bottom_px() + kChainageLabels_px;
    std::vector<GradeCell> cells;
    for (std::size_t k = 0; k + 1 < g.points.size(); ++k) {
        const GradePoint &p = g.points[k], &q = g.points[k + 1];
        const double x = frame.at(p.at_m, p.H_m).x_px;
        const PictureBox box{x, bandTop, frame.at(q.at_m, q.H_m).x_px - x, kBand_px - kBandGap_px};
        if (box.width_px > kLeastGradeCell_px)
            cells.push_back({box, format(p.gradeOut * kPercent, Pattern::Fixed3) + "%",
                             "L=" + fixed3(q.at_m - p.at_m)});
    }
    return cells;
}

namespace {

// Each 变坡点's captions stand upright above it: the first line left of their foot and the
// second right of it, both inside the frame, also at the start and the end of the grade line,
// and above the mark and the design line where they stand.
ProfileGradePoint gradePointAt(const GradeLine& g, std::size_t k, const ProfileFrame& frame,
                               const ProfileCaption& caption, const ProfileTextMeasure& measure) {
    const GradePoint& p = g.points[k];
    ProfileGradePoint drawn;
    drawn.mark = frame.at(p.at_m, p.H_m);
    drawn.caption = caption;
    if (p.T_m > 0) {
        for (double end : {p.curveStart_m(), p.curveEnd_m()})
            drawn.curveEnds.push_back(frame.at(end, *designElevation_m(g, end)));
    }
    const PictureBox& plot = frame.plot;
    const double right =
        caption.curve.empty() ? measure.descent_px : measure.lineSpacing_px + measure.descent_px;
    const double least = plot.left_px + measure.ascent_px + 2;
    const double foot =
        std::clamp(drawn.mark.x_px + 4, least, std::max(least, plot.right_px() - right - 2));
    const double footAt_m = std::clamp(frame.chainageAt_m(foot), frame.start_m, frame.end_m);
    const double top = std::min(
        {drawn.mark.y_px, frame.at(p.at_m, designElevation_m(g, p.at_m).value_or(p.H_m)).y_px,
         frame.at(footAt_m, designElevation_m(g, footAt_m).value_or(p.H_m)).y_px});
    drawn.captionAt = {foot, top - kCaptionGap_px};
    return drawn;
}

// The legend at the top right, below the title: a piece of each line with its name, the design
// line's first.
std::vector<ProfileLegendEntry> legendEntries(double width_px, const ProfileTextMeasure& measure) {
    const std::pair<const char*, bool> lines[] = {{"设计线", false}, {"地面线", true}};
    std::vector<ProfileLegendEntry> entries;
    double x = width_px - kRight_px;
    const double y = 24 + measure.ascent_px;  // below the title, above the plot
    const double mid = y - measure.ascent_px / 2 + 1;
    for (auto k = std::rbegin(lines); k != std::rend(lines); ++k) {
        ProfileLegendEntry entry;
        entry.name = k->first;
        entry.ground = k->second;
        x -= measure.width_px(entry.name);
        entry.textAt = {x, y};
        x -= 4 + kLegendLine_px;
        entry.from = {x, mid};
        entry.to = {x + kLegendLine_px, mid};
        x -= 12;
        entries.insert(entries.begin(), entry);
    }
    return entries;
}

}  // namespace

ProfileLayout profileLayout(double width_px, double height_px, const Route& route,
                            const StakeTable* stakes, const std::vector<GroundLinePoint>* ground,
                            const ProfileTextMeasure& measure) {
    ProfileLayout layout;
    if (!route.gradeLine || route.gradeLine->points.size() < 2) {
        layout.missing = "这条线路没有纵断面表。";
        return layout;
    }
    const GradeLine& g = *route.gradeLine;
    // The captions of the 变坡点 stand upright above them, in two lines (where it is and what its
    // curve is), so that the room they need above the line stays small.
    const std::vector<ProfileCaption> captions = profileCaptions(route, g);
    double captionRoom = 0;
    for (const ProfileCaption& caption : captions) {
        for (const std::string* line : {&caption.where, &caption.curve})
            captionRoom = std::max(captionRoom, measure.width_px(*line) + kCaptionMargin_px);
    }
    const bool withGround =
        ground && std::any_of(ground->begin(), ground->end(),
                              [](const GroundLinePoint& p) { return p.H_m.has_value(); });
    const ProfileFrame frame =
        profileFrame(width_px, height_px, g, captionRoom, withGround ? ground : nullptr);
    layout.frame = frame;
    layout.title = "纵断面图   " + stakeText(route, frame.start_m) + " 至 " +
                   stakeText(route, frame.end_m) + "   竖向放大 " +
                   generalText(frame.exaggeration) + " 倍";
    layout.titleBox = {0, 4, width_px, 18};

    for (double h : elevationLines_m(frame)) {
        const double y = frame.at(frame.start_m, h).y_px;
        layout.levels.push_back({y, generalText(h), {0, y - 8, kLeft_px - 6, 16}});
    }
    for (const ChainageLine& line : chainageLines(route, frame))
        layout.chainageLines_px.push_back(frame.at(line.continuous_m, frame.lowest_m).x_px);
    layout.labels = chainageLabels(route, frame, width_px, measure.width_px);
    if (withGround) {
        layout.legend = legendEntries(width_px, measure);
        layout.ground = groundPolylines(*ground, frame);
    }
    layout.grades = gradePolygon(g, frame);
    layout.design = designPolyline(g, frame);
    if (stakes) {
        for (const StakeRow& r : stakes->rows)
            if (r.H_m)
                layout.stakes.push_back(frame.at(r.continuous_m, *r.H_m));
    }
    layout.band = {frame.plot.left_px, frame.plot.bottom_px() + kChainageLabels_px,
                   frame.plot.width_px, kBand_px - kBandGap_px};
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        layout.gradePoints.push_back(gradePointAt(g, k, frame, captions[k], measure));
        layout.bandDividers_px.push_back(layout.gradePoints.back().mark.x_px);
    }
    layout.cells = gradeCells(g, frame);
    return layout;
}

}  // namespace hcurve

// What goes where on the longitudinal profile of a route (纵断面图): chainage across, elevation up,
// in picture pixels (y down) for a picture of a given size. The window's painter and the browser
// page's SVG both draw this one layout; each measures its own texts (ProfileTextMeasure).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "alignment/grade_line.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "terrain/centre_ground.h"

namespace hcurve {

/// The pixel size of the profile's texts.
inline constexpr double kProfileText_px = 11;
/// The radius of a 变坡点's mark; a stake's tick is twice it above and below the design line.
inline constexpr double kProfileMark_px = 3;
/// How far a vertical curve's end ticks reach up from the design line.
inline constexpr double kCurveEndTick_px = 12;

struct PicturePoint {
    double x_px = 0, y_px = 0;
};

struct PictureBox {
    double left_px = 0, top_px = 0, width_px = 0, height_px = 0;
    double right_px() const { return left_px + width_px; }
    double bottom_px() const { return top_px + height_px; }
    double centreX_px() const { return left_px + width_px / 2; }
    double centreY_px() const { return top_px + height_px / 2; }
};

/// How a front end's font measures the profile's texts (kProfileText_px high): a text's width and
/// the font's ascent, descent and line spacing, in pixels.
struct ProfileTextMeasure {
    std::function<double(const std::string&)> width_px;
    double ascent_px = 0, descent_px = 0, lineSpacing_px = 0;
};

/// The two lines standing above a 变坡点: where it is ("起点  K11+400.000  H=100.000",
/// "变坡点1  ...", "终点  ...") and its vertical curve ("R=8000  T=48.000  E=0.144"; empty
/// without one), in the grade line's order.
struct ProfileCaption {
    std::string where;
    std::string curve;
};
std::vector<ProfileCaption> profileCaptions(const Route& route, const GradeLine& grade);

/// Where the drawing stands in a picture: the plot's box with the grade line's start at its left
/// and its end at its right, and the scales, the vertical a round multiple of the horizontal (the
/// exaggeration the title states), with the lowest and highest 变坡点 (and the lowest and highest
/// ground of the ground line along the grade line, when one is given) centred in the part of the
/// plot the captions above them leave (captionRoom_px).
struct ProfileFrame {
    PictureBox plot;
    double start_m = 0, end_m = 0;  // continuous chainages at the plot's left and right
    double lowest_m = 0;            // the lowest elevation drawn, at picture height base_px
    double base_px = 0;
    double pixelsPerMetre = 1;  // across
    double exaggeration = 1;    // 1, 2 or 5 times a power of ten
    PicturePoint at(double chainage_m, double H_m) const;
    double chainageAt_m(double x_px) const;
    double elevationAt_m(double y_px) const;
};
ProfileFrame profileFrame(double width_px, double height_px, const GradeLine& grade,
                          double captionRoom_px,
                          const std::vector<GroundLinePoint>* ground = nullptr);

/// The elevations of the grid's level lines over the plot's height: whole multiples of a round
/// step (1, 2 or 5 times a power of ten), about six of them, from the bottom up.
std::vector<double> elevationLines_m(const ProfileFrame& frame);

/// The grid's lines across the plot: where the chainage (桩号, chain breaks applied) is a whole
/// multiple of a round step (twice 1, 2 or 5 times a power of ten) that leaves a chainage label's
/// width between them, stretch by stretch between the breaks, in order; each at its continuous
/// chainage (里程) with the chainage its label reads.
struct ChainageLine {
    double continuous_m;
    double stated_m;
};
std::vector<ChainageLine> chainageLines(const Route& route, const ProfileFrame& frame);

/// The chainage texts under the plot at those lines, each in its box (the text centred at its
/// top), pushed in from the picture's edges; one that would cover the one before it is left out.
/// width_px measures a text.
struct ProfileLabel {
    std::string text;
    PictureBox box;
};
std::vector<ProfileLabel> chainageLabels(const Route& route, const ProfileFrame& frame,
                                         double pictureWidth_px,
                                         const std::function<double(const std::string&)>& width_px);

/// The straight grades through the 变坡点, and the design line with its vertical curves sampled
/// along the whole grade line, in picture coordinates.
std::vector<PicturePoint> gradePolygon(const GradeLine& grade, const ProfileFrame& frame);
std::vector<PicturePoint> designPolyline(const GradeLine& grade, const ProfileFrame& frame);

/// The ground line in picture coordinates: one polyline for each run of its points with a height
/// (a point without one breaks the line).
std::vector<std::vector<PicturePoint>> groundPolylines(const std::vector<GroundLinePoint>& ground,
                                                       const ProfileFrame& frame);

/// The band's cell of each straight grade (between a 变坡点 and the next) wide enough for its
/// texts, which stand centred in it one above the other: the grade in percent ("1.714%") and the
/// length ("L=700.000").
struct GradeCell {
    PictureBox box;
    std::string grade;
    std::string length;
};
std::vector<GradeCell> gradeCells(const GradeLine& grade, const ProfileFrame& frame);

/// A level line of the grid with its elevation, right-aligned and centred upright in its box.
struct ProfileLevel {
    double y_px;
    std::string text;
    PictureBox box;
};

/// A 变坡点 as drawn: its mark, the ends of its vertical curve on the design line (ticks reach
/// kCurveEndTick_px up from them), and its captions, which run upright (turned a quarter turn
/// anticlockwise) from captionAt, the second line lineSpacing_px to the right of the first.
struct ProfileGradePoint {
    PicturePoint mark;
    std::vector<PicturePoint> curveEnds;
    PicturePoint captionAt;
    ProfileCaption caption;
};

/// A line of the legend: a piece of the line (from, to) and its name, whose baseline starts at
/// textAt.
struct ProfileLegendEntry {
    std::string name;
    bool ground;  // the ground line's entry, else the design line's
    PicturePoint from, to;
    PicturePoint textAt;
};

/// The whole drawing in a picture of width_px x height_px. Without a grade line only `missing`
/// is set (what the picture says instead, centred in it).
struct ProfileLayout {
    std::string missing;
    std::string title;  // centred in titleBox
    PictureBox titleBox;
    ProfileFrame frame;
    std::vector<ProfileLevel> levels;
    std::vector<double> chainageLines_px;  // x of each chainage line, top to bottom of the plot
    std::vector<ProfileLabel> labels;
    std::vector<PicturePoint> grades;               // the straight grades, dashed
    std::vector<PicturePoint> design;               // the design line
    std::vector<std::vector<PicturePoint>> ground;  // the ground line, clipped to the plot
    std::vector<ProfileLegendEntry> legend;         // with a ground line only
    std::vector<PicturePoint> stakes;               // the stakes of the table on the design line
    PictureBox band;                                // the band of grades and lengths
    std::vector<double> bandDividers_px;            // x of each 变坡点's line across the band
    std::vector<ProfileGradePoint> gradePoints;
    std::vector<GradeCell> cells;
};
ProfileLayout profileLayout(double width_px, double height_px, const Route& route,
                            const StakeTable* stakes, const std::vector<GroundLinePoint>* ground,
                            const ProfileTextMeasure& measure);

}  // namespace hcurve

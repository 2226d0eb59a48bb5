// What 纵断面图 shows and where, as the window and the page draw it: the captions of the 变坡点 in
// order, the frame that holds the whole grade line at the exaggeration its title states, grid lines
// at whole multiples of a round step, chainage labels in order and never over one another, and the
// band's grades and lengths.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "alignment/grade_line.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "curve/format.h"
#include "layout/profile_layout.h"
#include "route_files/route_file.h"

namespace hcurve {
namespace {

// BP at K4+000 heading north, 2 km of straight to the curve of JD1 (R 1000, turning right 90
// degrees), then east to EP; a long chain at K4+500 (back to K4+490), so that every chainage text
// beyond it is 10 m short of its continuous chainage. The grade line of the textbook: the PVI
// K5+030, H 427.68, i1 = +5 %, i2 = -4 %, R = 2000, its start 230 m before it and its end 270 m
// after it.
const char kRoute[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K4+000\nJD1,3000,0,1000,,,\nEP,3000,3000,,,,\n"
    "\n断链前桩号,断链后桩号\nK4+500,K4+490\n"
    "\n变坡点桩号,高程,竖曲线半径\nK4+800,416.18,\nK5+030,427.68,2000\nK5+300,416.88,\n";

Route textbookRoute() {
    const Result<RouteDesign> reading = readRouteFile(kRoute);
    EXPECT_TRUE(reading);
    Result<BuiltRoute> building = buildRoute(*reading);
    EXPECT_TRUE(building && building->route.gradeLine);
    return building->route;
}

// The characters of a UTF-8 text.
double characters(const std::string& s) {
    double n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

// Widths for every text, as fonts of 7 and of 15 pixels a character would give them (the wider
// one too wide for a label at every grid line).
double sevenPerCharacter(const std::string& s) {
    return 7.0 * characters(s);
}
double fifteenPerCharacter(const std::string& s) {
    return 15.0 * characters(s);
}

bool inside(const PictureBox& box, const PicturePoint& p) {
    return p.x_px >= box.left_px - 1e-6 && p.x_px <= box.right_px() + 1e-6 &&
           p.y_px >= box.top_px - 1e-6 && p.y_px <= box.bottom_px() + 1e-6;
}

// 1, 2 or 5 times a power of ten.
bool round125(double v) {
    const double mantissa = v / std::pow(10.0, std::floor(std::log10(v) + 1e-9));
    return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
           std::fabs(mantissa - 5) < 1e-9;
}

bool wholeMultiple(double v, double step) {
    return std::fabs(v / step - std::round(v / step)) < 1e-9;
}

// Picture sizes from a small window to a wide sheet, with the captions' room above the line; at
// 1393 pixels the chainage lines stand closest, 104 pixels apart (40 m on a plot of 1303 pixels
// for 500 m).
struct Sheet {
    double width, height, captionRoom;
};
const Sheet kSheets[] = {
    {1000, 600, 180}, {400, 300, 180}, {2400, 500, 60}, {1393, 600, 180}, {150, 120, 0}};

TEST(ProfileDrawing, CaptionsNameEachGradePointInOrderWithItsCurve) {
    const Route route = textbookRoute();
    // T = R |i2 - i1| / 2 = 2000 * 0.09 / 2, E = T^2 / (2R) = 90^2 / 4000; the chainages as the
    // table writes them, beyond the long chain.
    const std::vector<ProfileCaption> captions = profileCaptions(route, *route.gradeLine);
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[0].where, "起点  K4+800.000  H=416.180");
    EXPECT_EQ(captions[0].curve, "");
    EXPECT_EQ(captions[1].where, "变坡点1  K5+030.000  H=427.680");
    EXPECT_EQ(captions[1].curve, "R=2000  T=90.000  E=2.025");
    EXPECT_EQ(captions[2].where, "终点  K5+300.000  H=416.880");
    EXPECT_EQ(captions[2].curve, "");
}

TEST(ProfileDrawing, TheFrameHoldsTheWholeLineAtTheStatedExaggeration) {
    const Route route = textbookRoute();
    const GradeLine& g = *route.gradeLine;
    for (const Sheet& sheet : kSheets) {
        SCOPED_TRACE(sheet.width);
        const ProfileFrame frame = profileFrame(sheet.width, sheet.height, g, sheet.captionRoom);
        // Nothing of the grade line or the design line outside the frame, and both reach across
        // it from its left to its right.
        for (const std::vector<PicturePoint>& line :
             {gradePolygon(g, frame), designPolyline(g, frame)}) {
            for (const PicturePoint& p : line)
                EXPECT_TRUE(inside(frame.plot, p)) << p.x_px << " " << p.y_px;
            EXPECT_NEAR(line.front().x_px, frame.plot.left_px, 1e-6);
            EXPECT_NEAR(line.back().x_px, frame.plot.right_px(), 1e-6);
        }
        // A metre up is drawn the stated number of times as long as a metre along.
        EXPECT_TRUE(round125(frame.exaggeration)) << frame.exaggeration;
        const PicturePoint o = frame.at(5000, 420), up = frame.at(5000, 421),
                           on = frame.at(5001, 420);
        EXPECT_NEAR((o.y_px - up.y_px) / (on.x_px - o.x_px), frame.exaggeration, 1e-9);
        // Elevations and chainages read back from the picture where they were drawn.
        EXPECT_NEAR(frame.elevationAt_m(o.y_px), 420, 1e-9);
        EXPECT_NEAR(frame.chainageAt_m(o.x_px), 5000, 1e-9);
    }
}

TEST(ProfileDrawing, GridLinesStandAtWholeMultiplesOfARoundStep) {
    const Route route = textbookRoute();
    for (const Sheet& sheet :
         {kSheets[0], kSheets[2], Sheet{700, 900, 120}}) {  // two lines or more
        SCOPED_TRACE(sheet.width);
        const ProfileFrame frame =
            profileFrame(sheet.width, sheet.height, *route.gradeLine, sheet.captionRoom);
        const double top_m = frame.elevationAt_m(frame.plot.top_px);
        const double bottom_m = frame.elevationAt_m(frame.plot.bottom_px());
        struct Lines {
            std::vector<double> at;
            double from, to;
            bool halved;  // the chainage step is twice a round number
        };
        // The chainage lines in the chainage their labels read: the whole grade line lies beyond
        // the long chain, 10 m short of its continuous chainage.
        std::vector<double> stated;
        for (const ChainageLine& line : chainageLines(route, frame)) {
            EXPECT_NEAR(line.continuous_m - line.stated_m, 10, 1e-9);
            stated.push_back(line.stated_m);
        }
        for (const Lines& lines : {Lines{elevationLines_m(frame), bottom_m, top_m, false},
                                   Lines{stated, frame.start_m - 10, frame.end_m - 10, true}}) {
            ASSERT_GE(lines.at.size(), 2u);
            const double step = lines.at[1] - lines.at[0];
            EXPECT_TRUE(round125(lines.halved ? step / 2 : step)) << step;
            for (std::size_t k = 0; k < lines.at.size(); ++k) {
                EXPECT_TRUE(wholeMultiple(lines.at[k], step)) << lines.at[k];
                EXPECT_NEAR(lines.at[k], lines.at[0] + k * step, 1e-9 * step);
            }
            // Every multiple within the frame, and none outside it.
            EXPECT_GE(lines.at.front(), lines.from - 1e-9);
            EXPECT_LT(lines.at.front() - step, lines.from);
            EXPECT_LE(lines.at.back(), lines.to + 1e-9);
            EXPECT_GT(lines.at.back() + step, lines.to);
        }
        // About six level lines over the plot's height.
        EXPECT_GE(elevationLines_m(frame).size(), 6u);
        EXPECT_LE(elevationLines_m(frame).size(), 17u);
    }
}

TEST(ProfileDrawing, ChainageLabelsReadInOrderInsideThePictureAndNeverOverlap) {
    const Route route = textbookRoute();
    for (const Sheet& sheet : kSheets) {
        for (double (*width)(const std::string&) : {sevenPerCharacter, fifteenPerCharacter}) {
            SCOPED_TRACE(sheet.width);
            const ProfileFrame frame =
                profileFrame(sheet.width, sheet.height, *route.gradeLine, sheet.captionRoom);
            const std::vector<ProfileLabel> labels =
                chainageLabels(route, frame, sheet.width, width);
            ASSERT_FALSE(labels.empty());
            // Each the chainage text of one grid line, the first line's first, in the lines' order.
            std::vector<double> lines;
            for (const ChainageLine& l : chainageLines(route, frame))
                lines.push_back(l.continuous_m);
            std::size_t line = 0;
            for (const ProfileLabel& label : labels) {
                while (line < lines.size() && label.text != stakeText(route, lines[line]))
                    ++line;
                EXPECT_LT(line, lines.size()) << label.text;
                ++line;
            }
            EXPECT_EQ(labels.front().text, stakeText(route, lines.front()));
            // Below the plot, inside the picture, each text clear of the next.
            for (std::size_t k = 0; k < labels.size(); ++k) {
                const PictureBox& box = labels[k].box;
                EXPECT_GE(box.top_px, frame.plot.bottom_px());
                EXPECT_GE(box.left_px, 0);
                EXPECT_LE(box.right_px(), sheet.width);
                if (k + 1 < labels.size()) {
                    const PictureBox& next = labels[k + 1].box;
                    EXPECT_LT(box.centreX_px() + width(labels[k].text) / 2,
                              next.centreX_px() - width(labels[k + 1].text) / 2);
                }
            }
        }
    }
}

// A picture narrower than a chainage label's room (130 px) keeps its labels at its left edge.
TEST(ProfileDrawing, APictureNarrowerThanALabelKeepsItAtItsLeft) {
    const Route route = textbookRoute();
    const ProfileFrame frame = profileFrame(100, 300, *route.gradeLine, 0);
    const std::vector<ProfileLabel> labels = chainageLabels(route, frame, 100, sevenPerCharacter);
    ASSERT_FALSE(labels.empty());
    for (const ProfileLabel& label : labels)
        EXPECT_EQ(label.box.left_px, 0) << label.text;
}

TEST(ProfileDrawing, TheBandGivesEachGradeAndItsLengthWhereThereIsRoom) {
    const Route route = textbookRoute();
    const GradeLine& g = *route.gradeLine;
    // 230 m at +5 % from K4+800 to the PVI, 270 m at -4 % from there to K5+300.
    const ProfileFrame wide = profileFrame(1000, 600, g, 180);
    const std::vector<GradeCell> cells = gradeCells(g, wide);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].grade + " " + cells[0].length, "5.000% L=230.000");
    EXPECT_EQ(cells[1].grade + " " + cells[1].length, "-4.000% L=270.000");
    // Side by side, the first from the start of the plot, the second to its end.
    EXPECT_NEAR(cells[0].box.left_px, wide.plot.left_px, 1e-6);
    EXPECT_NEAR(cells[0].box.right_px(), cells[1].box.left_px, 1e-6);
    EXPECT_NEAR(cells[1].box.right_px(), wide.plot.right_px(), 1e-6);
    EXPECT_GE(cells[0].box.top_px, wide.plot.bottom_px());
    // A plot of 60 pixels leaves no cell room for its text.
    EXPECT_TRUE(gradeCells(g, profileFrame(150, 120, g, 0)).empty());
}

// A grade line across the long chain (K4+200 to K4+800, the break at K4+500 back to K4+490):
// every chainage line falls on a round chainage as its label reads it, on both sides of the
// break, and lies where that chainage is on the road (10 m further along beyond the break).
TEST(ProfileDrawing, ChainageLinesAreRoundOnEachSideOfAChainBreak) {
    const Result<RouteDesign> reading = readRouteFile(
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K4+000\nJD1,3000,0,1000,,,\nEP,3000,3000,,,,\n"
        "\n断链前桩号,断链后桩号\nK4+500,K4+490\n"
        "\n变坡点里程,高程,竖曲线半径\n4200,400,\n4500,406,3000\n4810,401,\n");
    ASSERT_TRUE(reading);
    Result<BuiltRoute> building = buildRoute(*reading);
    ASSERT_TRUE(building && building->route.gradeLine);
    const Route& route = building->route;
    for (const Sheet& sheet : {kSheets[0], kSheets[2], kSheets[3]}) {
        SCOPED_TRACE(sheet.width);
        const ProfileFrame frame =
            profileFrame(sheet.width, sheet.height, *route.gradeLine, sheet.captionRoom);
        const std::vector<ChainageLine> lines = chainageLines(route, frame);
        ASSERT_GE(lines.size(), 3u);
        // The step: the smallest gap between two lines of one side of the break.
        double step = 1e9;
        for (std::size_t k = 1; k < lines.size(); ++k)
            if ((lines[k].continuous_m <= 4500) == (lines[k - 1].continuous_m <= 4500))
                step = std::min(step, lines[k].stated_m - lines[k - 1].stated_m);
        EXPECT_TRUE(round125(step / 2)) << step;
        bool before = false, after = false;
        for (const ChainageLine& line : lines) {
            EXPECT_TRUE(wholeMultiple(line.stated_m, step)) << line.stated_m;
            const double shift = line.continuous_m <= 4500 ? 0 : 10;
            EXPECT_NEAR(line.continuous_m - line.stated_m, shift, 1e-9) << line.continuous_m;
            (shift == 0 ? before : after) = true;
            EXPECT_GE(line.continuous_m, frame.start_m - 1e-9);
            EXPECT_LE(line.continuous_m, frame.end_m + 1e-9);
        }
        EXPECT_TRUE(before && after);
        // The labels read those round chainages: K4+xxx with whole multiples of the step.
        for (const ProfileLabel& label :
             chainageLabels(route, frame, sheet.width, sevenPerCharacter)) {
            const std::string& t = label.text;
            ASSERT_EQ(t.rfind("K4+", 0), 0u) << t;
            EXPECT_TRUE(wholeMultiple(4000 + std::stod(t.substr(3)), step)) << t;
        }
    }
}

// The ground line: one polyline for each run of points with a height, at the heights given,
// and the frame holds the ground as well as the grade line.
TEST(ProfileDrawing, TheGroundLineIsDrawnWhereThereIsGroundAndTheFrameHoldsIt) {
    const Route route = textbookRoute();
    const GradeLine& g = *route.gradeLine;
    // 10 m below the lowest 变坡点 (416.18) at continuous 4900, and above the highest at 5200.
    const std::vector<GroundLinePoint> ground = {{4850, 420.0},        {4900, 406.18},
                                                 {4950, std::nullopt}, {5000, 425.0},
                                                 {5200, 440.0},        {5250, 430.0}};
    const ProfileFrame frame = profileFrame(1000, 600, g, 180, &ground);
    const std::vector<std::vector<PicturePoint>> runs = groundPolylines(ground, frame);
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 2u);
    ASSERT_EQ(runs[1].size(), 3u);
    std::size_t k = 0;
    for (const std::vector<PicturePoint>& run : runs) {
        for (const PicturePoint& p : run) {
            if (!ground[k].H_m)
                ++k;
            EXPECT_TRUE(inside(frame.plot, p)) << p.x_px << " " << p.y_px;
            EXPECT_NEAR(frame.chainageAt_m(p.x_px), ground[k].continuous_m, 1e-9);
            EXPECT_NEAR(frame.elevationAt_m(p.y_px), *ground[k].H_m, 1e-9);
            ++k;
        }
    }
    EXPECT_NEAR(frame.lowest_m, 406.18, 1e-9);
    // The design line stays inside too, at the stated exaggeration.
    for (const PicturePoint& p : designPolyline(g, frame))
        EXPECT_TRUE(inside(frame.plot, p)) << p.x_px << " " << p.y_px;
    EXPECT_TRUE(round125(frame.exaggeration));
}

// A font of 7 pixels a character, 9 up and 3 down from its baseline, 13 pixels a line.
ProfileTextMeasure sevenPixelFont() {
    ProfileTextMeasure measure;
    measure.width_px = sevenPerCharacter;
    measure.ascent_px = 9;
    measure.descent_px = 3;
    measure.lineSpacing_px = 13;
    return measure;
}

// The whole drawing: its title names the grade line's ends as the table writes them and the
// exaggeration drawn; each 变坡点's captions stand upright above it and above the design line,
// inside the plot; the stakes sit on the design line; the legend comes with a ground line only.
TEST(ProfileDrawing, TheWholeDrawingKeepsEveryCaptionInsideThePlotAboveItsPoint) {
    const Route route = textbookRoute();
    const GradeLine& g = *route.gradeLine;
    StakeRequest request;
    request.interval_m = 20;
    const Result<StakeTable> stakes = stakeTable(route, request);
    ASSERT_TRUE(stakes);
    const ProfileTextMeasure font = sevenPixelFont();
    for (const Sheet& sheet : {Sheet{1600, 900, 0}, Sheet{1000, 600, 0}}) {
        SCOPED_TRACE(sheet.width);
        const ProfileLayout layout =
            profileLayout(sheet.width, sheet.height, route, &*stakes, nullptr, font);
        ASSERT_TRUE(layout.missing.empty());
        const ProfileFrame& frame = layout.frame;
        EXPECT_EQ(layout.title, "纵断面图   K4+800.000 至 K5+300.000   竖向放大 " +
                                    generalText(frame.exaggeration) + " 倍");
        EXPECT_TRUE(layout.legend.empty());
        EXPECT_TRUE(layout.ground.empty());
        ASSERT_EQ(layout.gradePoints.size(), 3u);
        for (std::size_t k = 0; k < g.points.size(); ++k) {
            const ProfileGradePoint& p = layout.gradePoints[k];
            const double at_m = frame.chainageAt_m(p.captionAt.x_px);
            const double design_px = frame.at(at_m, *designElevation_m(g, at_m)).y_px;
            // Above the mark and the design line below the captions' foot, by a gap.
            EXPECT_LE(p.captionAt.y_px, p.mark.y_px - 8 + 1e-9);
            EXPECT_LE(p.captionAt.y_px, design_px - 8 + 1e-9);
            // Running up from the foot, the longer line ends inside the plot; across, the first
            // line's ascent and the second line's descent stay inside too.
            const double longer =
                std::max(font.width_px(p.caption.where), font.width_px(p.caption.curve));
            EXPECT_GE(p.captionAt.y_px - longer, frame.plot.top_px);
            EXPECT_GE(p.captionAt.x_px - font.ascent_px, frame.plot.left_px);
            const double across =
                p.caption.curve.empty() ? font.descent_px : font.lineSpacing_px + font.descent_px;
            EXPECT_LE(p.captionAt.x_px + across, frame.plot.right_px());
        }
        // The vertical curve's ends: 90 m either side of the PVI at K5+030 (continuous 5040).
        ASSERT_EQ(layout.gradePoints[1].curveEnds.size(), 2u);
        EXPECT_NEAR(frame.chainageAt_m(layout.gradePoints[1].curveEnds[0].x_px), 5040 - 90, 1e-9);
        EXPECT_NEAR(frame.chainageAt_m(layout.gradePoints[1].curveEnds[1].x_px), 5040 + 90, 1e-9);
        // Every stake of the table with a height, on the design line.
        std::size_t withHeight = 0;
        for (const StakeRow& r : stakes->rows)
            withHeight += r.H_m.has_value();
        ASSERT_EQ(layout.stakes.size(), withHeight);
        ASSERT_GT(withHeight, 20u);
        for (const PicturePoint& s : layout.stakes) {
            const double at_m = frame.chainageAt_m(s.x_px);
            EXPECT_NEAR(frame.elevationAt_m(s.y_px), *designElevation_m(g, at_m), 1e-6) << at_m;
        }
        // The band under the chainage labels, a divider at each 变坡点.
        EXPECT_GE(layout.band.top_px, frame.plot.bottom_px());
        EXPECT_LE(layout.band.bottom_px(), sheet.height);
        ASSERT_EQ(layout.bandDividers_px.size(), 3u);
        EXPECT_NEAR(layout.bandDividers_px.front(), frame.plot.left_px, 1e-6);
        EXPECT_NEAR(layout.bandDividers_px.back(), frame.plot.right_px(), 1e-6);
    }
}

TEST(ProfileDrawing, TheLegendNamesBothLinesOnlyWhenThereIsGround) {
    const Route route = textbookRoute();
    const ProfileTextMeasure font = sevenPixelFont();
    const std::vector<GroundLinePoint> none = {{4850, std::nullopt}, {4900, std::nullopt}};
    const std::vector<GroundLinePoint> ground = {{4850, 420.0}, {4900, 421.0}};
    EXPECT_TRUE(profileLayout(1600, 900, route, nullptr, &none, font).legend.empty());
    const ProfileLayout layout = profileLayout(1600, 900, route, nullptr, &ground, font);
    ASSERT_EQ(layout.legend.size(), 2u);
    EXPECT_EQ(layout.legend[0].name, "设计线");
    EXPECT_FALSE(layout.legend[0].ground);
    EXPECT_EQ(layout.legend[1].name, "地面线");
    EXPECT_TRUE(layout.legend[1].ground);
    ASSERT_EQ(layout.ground.size(), 1u);
    // Each line's piece left of its name, the two side by side at the picture's right, below the
    // title and above the plot.
    for (const ProfileLegendEntry& e : layout.legend) {
        EXPECT_LT(e.from.x_px, e.to.x_px);
        EXPECT_LT(e.to.x_px, e.textAt.x_px);
        EXPECT_GT(e.textAt.y_px - font.ascent_px, layout.titleBox.bottom_px() - 1e-9);
        EXPECT_LT(e.textAt.y_px + font.descent_px, layout.frame.plot.top_px);
    }
    EXPECT_LT(layout.legend[0].textAt.x_px + font.width_px("设计线"), layout.legend[1].from.x_px);
    EXPECT_LE(layout.legend[1].textAt.x_px + font.width_px("地面线"), 1600);
}

TEST(ProfileDrawing, ARouteWithoutAGradeLineSaysSo) {
    const Result<RouteDesign> reading = readRouteFile(
        "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K4+000\nJD1,3000,0,1000,,,\nEP,3000,3000,,,,\n");
    ASSERT_TRUE(reading);
    Result<BuiltRoute> building = buildRoute(*reading);
    ASSERT_TRUE(building);
    const ProfileLayout layout =
        profileLayout(1600, 900, building->route, nullptr, nullptr, sevenPixelFont());
    EXPECT_EQ(layout.missing, "这条线路没有纵断面表。");
    EXPECT_TRUE(layout.design.empty());
    EXPECT_TRUE(layout.gradePoints.empty());
}

}  // namespace
}  // namespace hcurve

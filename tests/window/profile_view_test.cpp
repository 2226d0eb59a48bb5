// The steps of 纵断面图 that compute what the user reads: the captions of the 变坡点 in order, the
// frame that holds the whole grade line at the exaggeration its title states, grid lines at whole
// multiples of a round step, chainage labels in order and never over one another, and the band's
// grades and lengths.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "alignment/route.h"
#include "route_files/route_file.h"
#include "window/profile_view.h"

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

// Widths for every text, as fonts of 7 and of 15 pixels a character would give them (the wider
// one too wide for a label at every grid line).
double sevenPerCharacter(const QString& s) {
    return 7.0 * s.size();
}
double fifteenPerCharacter(const QString& s) {
    return 15.0 * s.size();
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
        const ProfileFrame frame =
            profileFrame(QSizeF(sheet.width, sheet.height), g, sheet.captionRoom);
        const QRectF inside = frame.plot.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
        // Nothing of the grade line or the design line outside the frame, and both reach across
        // it from its left to its right.
        for (const QPolygonF& line : {gradePolygon(g, frame), designPolyline(g, frame)}) {
            for (const QPointF& p : line)
                EXPECT_TRUE(inside.contains(p)) << p.x() << " " << p.y();
            EXPECT_NEAR(line.front().x(), frame.plot.left(), 1e-6);
            EXPECT_NEAR(line.back().x(), frame.plot.right(), 1e-6);
        }
        // A metre up is drawn the stated number of times as long as a metre along.
        EXPECT_TRUE(round125(frame.exaggeration)) << frame.exaggeration;
        const QPointF o = frame.at(5000, 420), up = frame.at(5000, 421), on = frame.at(5001, 420);
        EXPECT_NEAR((o.y() - up.y()) / (on.x() - o.x()), frame.exaggeration, 1e-9);
        // Elevations and chainages read back from the picture where they were drawn.
        EXPECT_NEAR(frame.elevationAt_m(o.y()), 420, 1e-9);
        EXPECT_NEAR(frame.chainageAt_m(o.x()), 5000, 1e-9);
    }
}

TEST(ProfileDrawing, GridLinesStandAtWholeMultiplesOfARoundStep) {
    const Route route = textbookRoute();
    for (const Sheet& sheet :
         {kSheets[0], kSheets[2], Sheet{700, 900, 120}}) {  // two lines or more
        SCOPED_TRACE(sheet.width);
        const ProfileFrame frame =
            profileFrame(QSizeF(sheet.width, sheet.height), *route.gradeLine, sheet.captionRoom);
        const double top_m = frame.elevationAt_m(frame.plot.top());
        const double bottom_m = frame.elevationAt_m(frame.plot.bottom());
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
        for (double (*width)(const QString&) : {sevenPerCharacter, fifteenPerCharacter}) {
            SCOPED_TRACE(sheet.width);
            const ProfileFrame frame = profileFrame(QSizeF(sheet.width, sheet.height),
                                                    *route.gradeLine, sheet.captionRoom);
            const std::vector<ProfileLabel> labels =
                chainageLabels(route, frame, sheet.width, width);
            ASSERT_FALSE(labels.empty());
            // Each the chainage text of one grid line, the first line's first, in the lines' order.
            std::vector<double> lines;
            for (const ChainageLine& l : chainageLines(route, frame))
                lines.push_back(l.continuous_m);
            std::size_t line = 0;
            for (const ProfileLabel& label : labels) {
                while (line < lines.size() &&
                       label.text != QString::fromStdString(stakeText(route, lines[line])))
                    ++line;
                EXPECT_LT(line, lines.size()) << label.text.toStdString();
                ++line;
            }
            EXPECT_EQ(labels.front().text, QString::fromStdString(stakeText(route, lines.front())));
            // Below the plot, inside the picture, each text clear of the next.
            for (std::size_t k = 0; k < labels.size(); ++k) {
                const QRectF& box = labels[k].box;
                EXPECT_GE(box.top(), frame.plot.bottom());
                EXPECT_GE(box.left(), 0);
                EXPECT_LE(box.right(), sheet.width);
                if (k + 1 < labels.size()) {
                    const QRectF& next = labels[k + 1].box;
                    EXPECT_LT(box.center().x() + width(labels[k].text) / 2,
                              next.center().x() - width(labels[k + 1].text) / 2);
                }
            }
        }
    }
}

TEST(ProfileDrawing, TheBandGivesEachGradeAndItsLengthWhereThereIsRoom) {
    const Route route = textbookRoute();
    const GradeLine& g = *route.gradeLine;
    // 230 m at +5 % from K4+800 to the PVI, 270 m at -4 % from there to K5+300.
    const ProfileFrame wide = profileFrame(QSizeF(1000, 600), g, 180);
    const std::vector<GradeCell> cells = gradeCells(g, wide);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].text, "5.000%\nL=230.000");
    EXPECT_EQ(cells[1].text, "-4.000%\nL=270.000");
    // Side by side, the first from the start of the plot, the second to its end.
    EXPECT_NEAR(cells[0].box.left(), wide.plot.left(), 1e-6);
    EXPECT_NEAR(cells[0].box.right(), cells[1].box.left(), 1e-6);
    EXPECT_NEAR(cells[1].box.right(), wide.plot.right(), 1e-6);
    EXPECT_GE(cells[0].box.top(), wide.plot.bottom());
    // A plot of 60 pixels leaves no cell room for its text.
    EXPECT_TRUE(gradeCells(g, profileFrame(QSizeF(150, 120), g, 0)).empty());
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
            profileFrame(QSizeF(sheet.width, sheet.height), *route.gradeLine, sheet.captionRoom);
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
            const std::string t = label.text.toStdString();
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
    const ProfileFrame frame = profileFrame(QSizeF(1000, 600), g, 180, &ground);
    const QRectF inside = frame.plot.adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
    const std::vector<QPolygonF> runs = groundPolylines(ground, frame);
    ASSERT_EQ(runs.size(), 2u);
    ASSERT_EQ(runs[0].size(), 2);
    ASSERT_EQ(runs[1].size(), 3);
    std::size_t k = 0;
    for (const QPolygonF& run : runs) {
        for (const QPointF& p : run) {
            if (!ground[k].H_m)
                ++k;
            EXPECT_TRUE(inside.contains(p)) << p.x() << " " << p.y();
            EXPECT_NEAR(frame.chainageAt_m(p.x()), ground[k].continuous_m, 1e-9);
            EXPECT_NEAR(frame.elevationAt_m(p.y()), *ground[k].H_m, 1e-9);
            ++k;
        }
    }
    EXPECT_NEAR(frame.lowest_m, 406.18, 1e-9);
    // The design line stays inside too, at the stated exaggeration.
    for (const QPointF& p : designPolyline(g, frame))
        EXPECT_TRUE(inside.contains(p)) << p.x() << " " << p.y();
    EXPECT_TRUE(round125(frame.exaggeration));
}

}  // namespace
}  // namespace hcurve

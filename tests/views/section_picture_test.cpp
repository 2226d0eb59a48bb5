// The cross-section drawing of a route at a stake, laid out and rendered offscreen: the labels say
// the offsets and elevations of the section worked by hand from its template, slopes and
// superelevation; both scales alike; no text over another and nothing outside the box.
// The road runs north from K1+000 (X = chainage - 1000), turns right on JD1 (R 300, spirals of
// 75 m) and runs east; its grade rises 1 % from 100.000.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "alignment/stake_table.h"
#include "route_files/route_loading.h"
#include "views/section_painter.h"

namespace hcurve {
namespace {

const char kRoad[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n"
    "\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK2+800,118,\n"
    "\n侧,部件,宽度,横坡\n"
    "左,行车道,7.5,路拱\n左,硬路肩,2.5,路拱\n左,土路肩,0.75,-4\n"
    "右,行车道,7.5,路拱\n右,硬路肩,2.5,路拱\n右,土路肩,0.75,-4\n"
    "\n路拱横坡,旋转轴\n2,中线\n"
    "\n交点,超高横坡,加宽\nJD1,6,0.8\n"
    "\n侧,类型,坡率,高度,平台宽\n"
    "左,填,1.5,8,2\n左,填,1.75,,\n右,填,1.5,,\n右,挖,0.75,10,1.5\n右,挖,1,,\n"
    "\n侧,边沟底宽,边沟深,内坡率,外坡率\n右,0.6,0.6,1,1\n";

struct Road {
    Route route;
    CrossSection section;
};

Road road(const QByteArray& text) {
    QTemporaryDir folder;
    const QString path = folder.filePath("road.csv");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    file.close();
    Result<LoadedRoute> loading = loadRouteFile(path.toStdString());
    return {std::move(loading->route), std::move(*loading->crossSection)};
}

double gradeH(double chainage_m) {
    return 100 + (chainage_m - 1000) * 0.01;
}

QString fixed3(double v) {
    return QString::number(v, 'f', 3);
}

QFont labelFont() {
    QFont f;
    f.setPixelSize(12);
    return f;
}

// The continuous chainage of the stake named so in a table every 20 m.
double stakeAt(const Route& route, const std::string& point) {
    StakeRequest every;
    every.interval_m = 20;
    const Result<StakeTable> table = stakeTable(route, every);
    if (!table) {
        ADD_FAILURE() << table.failure().message;
        return 0;
    }
    for (const StakeRow& r : table->rows)
        if (r.point == point)
            return r.continuous_m;
    ADD_FAILURE() << point;
    return 0;
}

struct Expected {
    double offset_m, H_m;
};

// The marks of a part, left to right.
std::vector<const SectionMark*> marksOf(const SectionPicture& p, SectionPart part) {
    std::vector<const SectionMark*> out;
    for (const SectionMark& m : p.marks)
        if (m.part == part)
            out.push_back(&m);
    std::sort(out.begin(), out.end(), [](const SectionMark* a, const SectionMark* b) {
        return a->point.offset_m < b->point.offset_m;
    });
    return out;
}

void expectLabels(const SectionPicture& p, SectionPart part, const std::vector<Expected>& want,
                  const char* where) {
    const std::vector<const SectionMark*> marks = marksOf(p, part);
    ASSERT_EQ(marks.size(), want.size()) << where;
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(marks[i]->offset.text, fixed3(want[i].offset_m)) << where << " " << i;
        EXPECT_EQ(marks[i]->elevation.text, fixed3(want[i].H_m)) << where << " " << i;
    }
}

TEST(SectionPicture, LabelsAreTheOffsetsAndElevationsOfTheTemplateWorkedByHand) {
    const Road r = road(kRoad);
    // K1+500 on the straight: crown -2 % on both sides, the earth shoulder's own -4 %.
    {
        const double h = gradeH(1500);
        const double lane = h - 7.5 * 0.02, hard = lane - 2.5 * 0.02, earth = hard - 0.75 * 0.04;
        const SectionPicture p =
            sectionPicture(r.section, r.route, 1500, "K1+500.000", QSizeF(1000, 640), labelFont());
        EXPECT_TRUE(p.absolute);
        expectLabels(p, SectionPart::Formation,
                     {{-10.75, earth},
                      {-10, hard},
                      {-7.5, lane},
                      {0, h},
                      {7.5, lane},
                      {10, hard},
                      {10.75, earth}},
                     "straight");
        // Left: 1:1.5 down 8 m, a berm of 2 m, then 1:1.75 drawn 2 m; right: 1:1.5 drawn 2 m.
        expectLabels(p, SectionPart::Fill,
                     {{-10.75 - 8 * 1.5 - 2 - 2 * 1.75, earth - 10},
                      {-10.75 - 8 * 1.5 - 2, earth - 8},
                      {-10.75 - 8 * 1.5, earth - 8},
                      {10.75 + 2 * 1.5, earth - 2}},
                     "fill");
        // Right in cut: the ditch 0.6 deep, 0.6 wide at its bottom, sides 1:1; then 1:0.75 up
        // 10 m, a berm of 1.5 m, 1:1 drawn 2 m. The left side has no cut slope.
        const double ditch = 10.75 + 0.6 * 1, bottom = earth - 0.6;
        const double top = ditch + 0.6 + 0.6 * 1;
        expectLabels(p, SectionPart::Cut,
                     {{ditch, bottom},
                      {ditch + 0.6, bottom},
                      {top, earth},
                      {top + 10 * 0.75, earth + 10},
                      {top + 10 * 0.75 + 1.5, earth + 10},
                      {top + 10 * 0.75 + 1.5 + 2 * 1, earth + 12}},
                     "cut");
        EXPECT_TRUE(p.title.text.contains(QStringLiteral("K1+500.000")))
            << p.title.text.toStdString();
    }
    // QZ of JD1, full superelevation about the centre line: the outer (left) side rises 6 %, the
    // inner falls 6 % with the earth shoulder too (steeper than its own 4 %), the inner lane
    // widened by 0.8 m; the outer earth shoulder keeps its -4 %.
    {
        const double qz = stakeAt(r.route, "QZ");
        const double h = gradeH(qz);
        const double lane = h + 7.5 * 0.06, hard = lane + 2.5 * 0.06, earth = hard - 0.75 * 0.04;
        const double ilane = h - 8.3 * 0.06, ihard = ilane - 2.5 * 0.06,
                     iearth = ihard - 0.75 * 0.06;
        const SectionPicture p =
            sectionPicture(r.section, r.route, qz, "QZ", QSizeF(1000, 640), labelFont());
        expectLabels(p, SectionPart::Formation,
                     {{-10.75, earth},
                      {-10, hard},
                      {-7.5, lane},
                      {0, h},
                      {8.3, ilane},
                      {10.8, ihard},
                      {11.55, iearth}},
                     "QZ");
    }
}

TEST(SectionPicture, WithoutAGradeLineTheElevationsAreRelativeToTheCentreLine) {
    QByteArray text(kRoad);
    const int from = text.indexOf("\n变坡点桩号");
    const int to = text.indexOf("\n侧,部件");
    text.remove(from, to - from);
    const Road r = road(text);
    const SectionPicture p =
        sectionPicture(r.section, r.route, 1500, "K1+500.000", QSizeF(1000, 640), labelFont());
    EXPECT_FALSE(p.absolute);
    expectLabels(p, SectionPart::Formation,
                 {{-10.75, -0.15 - 0.05 - 0.03},
                  {-10, -0.2},
                  {-7.5, -0.15},
                  {0, 0},
                  {7.5, -0.15},
                  {10, -0.2},
                  {10.75, -0.15 - 0.05 - 0.03}},
                 "relative");
    bool captioned = false;
    for (const SectionLabel& l : p.labels)
        captioned = captioned || l.text == QStringLiteral("高差");
    EXPECT_TRUE(captioned);
}

TEST(SectionPicture, BothScalesAreAlike) {
    const Road r = road(kRoad);
    const SectionPicture p =
        sectionPicture(r.section, r.route, 1500, "K1+500.000", QSizeF(1000, 640), labelFont());
    // Across the formation, and down the left fill's first step (8 m high, 12 m wide).
    const std::vector<const SectionMark*> formation = marksOf(p, SectionPart::Formation);
    const std::vector<const SectionMark*> fill = marksOf(p, SectionPart::Fill);
    const double across = (formation.back()->at.x() - formation.front()->at.x()) / 21.5;
    const SectionMark& foot = *fill[2];
    const double down = (foot.at.y() - formation.front()->at.y()) / 8;
    const double out = (formation.front()->at.x() - foot.at.x()) / 12;
    EXPECT_NEAR(across, p.scale_px_per_m, 1e-9);
    EXPECT_NEAR(down, p.scale_px_per_m, 1e-9);
    EXPECT_NEAR(out, p.scale_px_per_m, 1e-9);
}

std::vector<SectionLabel> allLabels(const SectionPicture& p) {
    std::vector<SectionLabel> all = p.labels;
    all.push_back(p.title);
    for (const SectionMark& m : p.marks) {
        all.push_back(m.offset);
        all.push_back(m.elevation);
    }
    return all;
}

// At the screen sizes the window's tab has, the smallest it allows and paper's, on the straight,
// in the spiral and in the curve.
TEST(SectionPicture, NoTextCoversAnotherAndNothingIsDrawnOutsideTheBox) {
    const Road r = road(kRoad);
    const double hy = stakeAt(r.route, "HY"), zh = stakeAt(r.route, "ZH");
    for (const QSizeF size :
         {QSizeF(480, 320), QSizeF(980, 520), QSizeF(1240, 800), QSizeF(1600, 1100)}) {
        for (const double at : {1500.0, (zh + hy) / 2, hy}) {
            const SectionPicture p =
                sectionPicture(r.section, r.route, at, "K1+500.000", size, labelFont());
            const std::vector<SectionLabel> labels = allLabels(p);
            const QRectF box(QPointF(0, 0), size);
            for (std::size_t i = 0; i < labels.size(); ++i) {
                EXPECT_TRUE(box.contains(labels[i].box))
                    << labels[i].text.toStdString() << " at " << size.width();
                for (std::size_t j = i + 1; j < labels.size(); ++j)
                    EXPECT_FALSE(labels[i].box.intersects(labels[j].box))
                        << labels[i].text.toStdString() << " / " << labels[j].text.toStdString()
                        << " at " << size.width() << "x" << size.height() << ", " << at;
            }
            // Rendered in the middle of an image with a wide margin round the box: everything in
            // the margin keeps the colour it had.
            const QColor around(255, 0, 255);
            const int margin = 60;
            const QRect inside(QPoint(margin, margin), size.toSize());
            QImage image(inside.size() + QSize(2 * margin, 2 * margin), QImage::Format_RGB32);
            image.fill(around);
            {
                QPainter painter(&image);
                painter.translate(margin, margin);
                paintSection(painter, p);
            }
            int outside = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (!inside.contains(x, y) && QColor(image.pixel(x, y)) != around)
                        ++outside;
            EXPECT_EQ(outside, 0) << size.width() << "x" << size.height();
        }
    }
}

// On a device that holds the picture scaled (a PDF page, 4 times here) the formation keeps its
// width of 2 picture pixels: across the carriageway's middle it is 8 device pixels thick, give or
// take the edges' shading.
TEST(SectionPicture, LinesKeepTheirWidthOnAScaledDevice) {
    const Road r = road(kRoad);
    const QSizeF size(800, 500);
    const SectionPicture p =
        sectionPicture(r.section, r.route, 1500, "K1+500.000", size, labelFont());
    const std::vector<const SectionMark*> formation = marksOf(p, SectionPart::Formation);
    // The centre and the right lane's edge: the formation between them.
    const SectionMark* centre = nullptr;
    for (const SectionMark* m : formation)
        if (m->point.name == "中桩")
            centre = m;
    ASSERT_NE(centre, nullptr);
    const SectionMark& edge = *formation[static_cast<std::size_t>(centre - formation.front()) + 1];
    const double scale = 4;
    QImage image((size * scale).toSize(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        paintSection(painter, p);
    }
    const QPointF middle = (centre->at + edge.at) / 2 * scale;
    const int x = static_cast<int>(middle.x());
    int dark = 0;
    for (int y = static_cast<int>(middle.y()) - 20; y <= static_cast<int>(middle.y()) + 20; ++y)
        dark += QColor(image.pixel(x, y)).lightness() < 128;
    EXPECT_GE(dark, 6);
    EXPECT_LE(dark, 10);
}

// With the ground surveyed at the stake: its line, the design line to the catch points (no
// dashed slopes of both kinds), the catch points named, and the areas' line.
TEST(SectionPicture, WithTheGroundTheDesignLineRunsToTheCatchPoints) {
    const Road r = road(kRoad);
    SectionGroundShown ground;
    ground.points = {{-60, 95, 1, false}, {0, 95, 2, false}, {60, 95, 3, false}};
    SectionAreas& a = ground.areas.emplace();
    // A hand-made earthwork: the picture draws what it is given.
    a.left = {SectionSide::Left, SectionEarthwork::Fill, {-20, 95}};
    a.right = {SectionSide::Right, SectionEarthwork::Fill, {20, 95}};
    a.fill_m2 = 123.45678;
    a.centreHeight_m = 10;
    const SectionPicture plain =
        sectionPicture(r.section, r.route, 1500, "K1+500.000", QSizeF(1000, 640), labelFont());
    std::vector<SectionPoint> formation;
    for (const SectionMark& m : plain.marks)
        if (m.part == SectionPart::Formation)
            formation.push_back(m.point);
    a.design.push_back(a.left.at);
    for (const SectionPoint& f : formation)
        a.design.push_back({f.offset_m, *f.H_m});
    a.design.push_back(a.right.at);
    const SectionPicture p = sectionPicture(r.section, r.route, 1500, "K1+500.000",
                                            QSizeF(1000, 640), labelFont(), &ground);
    QStringList texts;
    for (const SectionLabel& l : p.labels)
        texts << l.text;
    EXPECT_TRUE(texts.contains(
        QStringLiteral("填高 10.000 m    填方面积 123.4568 m²    挖方面积 0.0000 m²")))
        << texts.join("\n").toStdString();
    EXPECT_EQ(texts.count(QStringLiteral("坡脚")), 2);
    EXPECT_EQ(marksOf(p, SectionPart::Fill).size(), 2u);
    EXPECT_TRUE(marksOf(p, SectionPart::Cut).empty());
    for (const SectionLine& l : p.lines)
        EXPECT_NE(l.style, Qt::DashLine);
    // Both catch points' offsets and the ground's height in the band.
    const std::vector<const SectionMark*> fill = marksOf(p, SectionPart::Fill);
    EXPECT_EQ(fill.front()->offset.text, QStringLiteral("-20.000"));
    EXPECT_EQ(fill.back()->elevation.text, QStringLiteral("95.000"));
}

}  // namespace
}  // namespace hcurve

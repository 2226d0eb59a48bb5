// The plan view's drawing, rendered offscreen: the centre line where the geometry puts it and
// nowhere else, north up and east right, both turning directions, a curve without spirals, and
// files that readers accept.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "curve/chainage.h"
#include "entry/design_entry.h"
#include "geometry/stake_position.h"
#include "stakes/run_support.h"
#include "support/designed_record.h"
#include "support/designs.h"
#include "support/scripted_port.h"
#include "views/plan_file.h"

namespace hcurve {
namespace {

using testing::ScriptedPort;

const QSizeF kSize(800, 600);

QImage render(const PlanScene& scene, const PlanFrame& frame) {
    QImage image(kSize.toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintPlan(painter, kSize, scene, frame);
    return image;
}

bool curveColour(QRgb pixel) {
    const QColor c(pixel), line = QColor::fromRgba(kCentreLineRgb);
    return std::abs(c.red() - line.red()) < 60 && c.green() < 90 && c.blue() < 90;
}

// Whether a pixel of the centre line's colour lies within reach pixels of the point.
bool lineNear(const QImage& image, const QPointF& at, int reach) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(qRound(at.x()) + dx, qRound(at.y()) + dy);
            if (image.rect().contains(p) && curveColour(image.pixel(p)))
                return true;
        }
    }
    return false;
}

struct Named {
    std::string name;
    PlanePoint at;
};

// The characteristic points and the middle of the arc, where the geometry puts them.
std::vector<Named> pointsOnTheCurve(const CurveElements& c) {
    const std::optional<StakePosition> middle = centreStake(c, (c.hy + c.yh) / 2, 0);
    return {{"ZH", {c.xa, c.ya}},
            {"HY", {c.xh1, c.yh1}},
            {"mid-arc", {middle->x_m, middle->y_m}},
            {"YH", {c.xh2, c.yh2}},
            {"HZ", {c.xb, c.yb}}};
}

class PlanPicture : public ::testing::TestWithParam<std::vector<std::string> (*)()> {};

TEST_P(PlanPicture, CentreLinePassesWhereTheGeometrySaysAndNowhereElse) {
    const CurveRecord record = testing::designedRecord(GetParam()());
    const CurveElements& c = *record.curve;
    const PlanScene scene = planScene(record);
    const PlanFrame frame = fitFrame(scene, kSize);
    const QImage image = render(scene, frame);
    for (const Named& p : pointsOnTheCurve(c))
        EXPECT_TRUE(lineNear(image, frame.toPicture(p.at, kSize), 1)) << p.name;

    // Off the curve: the JD, the circle centre, and points 15 pixels inside and outside the arc.
    const QPointF middle = frame.toPicture(pointsOnTheCurve(c)[2].at, kSize);
    const QPointF centre = frame.toPicture({c.Xo, c.Yo}, kSize);
    const QPointF inwards =
        (centre - middle) / std::hypot(centre.x() - middle.x(), centre.y() - middle.y());
    EXPECT_FALSE(lineNear(image, frame.toPicture({c.X, c.Y}, kSize), 2)) << "JD";
    EXPECT_FALSE(lineNear(image, centre, 2)) << "centre";
    EXPECT_FALSE(lineNear(image, middle + 15 * inwards, 2)) << "inside the arc";
    EXPECT_FALSE(lineNear(image, middle - 15 * inwards, 2)) << "outside the arc";

    // The curve turns the way the design says: seen from ZH towards HZ, the circle centre lies
    // to the right of the chord for a right-hand curve (picture y runs down, so the cross product
    // of the chord and the way to the centre is positive).
    const QPointF zh = frame.toPicture({c.xa, c.ya}, kSize);
    const QPointF hz = frame.toPicture({c.xb, c.yb}, kSize);
    const double cross =
        (hz.x() - zh.x()) * (centre.y() - zh.y()) - (hz.y() - zh.y()) * (centre.x() - zh.x());
    EXPECT_EQ(cross > 0, c.p > 0);
}

INSTANTIATE_TEST_SUITE_P(BothExamples, PlanPicture,
                         ::testing::Values(&testing::rightHandDesign, &testing::leftHandDesign));

// Which stakes a long run draws: none more than a picture's width or height beyond the picture,
// none within 3 pixels of the one drawn before. Stakes 1 m apart run north from the middle of an
// 800 x 600 picture, which reaches 300 pixels up and 600 more beyond it.
TEST(PlanView, ALongRunDrawsTheStakesTheEyeCanTellApart) {
    struct Case {
        const char* what;
        double pixelsPerMetre;
        int every;     // every n-th stake drawn
        int farthest;  // the last one near enough
    };
    const std::vector<Case> cases = {
        {"1 pixel apart: every third", 1.0, 3, 900},
        {"1.5 pixels apart: every second", 1.5, 2, 600},
        {"4 pixels apart: all", 4.0, 1, 225},
    };
    PlanScene scene;
    for (int i = 0; i <= 1000; ++i)
        scene.stakes.push_back({{double(i), 0}, "", 90, {}, {}});
    for (const Case& c : cases) {
        std::vector<std::size_t> expected;
        for (int i = 0; i <= c.farthest; i += c.every)
            expected.push_back(std::size_t(i));
        EXPECT_EQ(shownStakes(scene, {0, 0, c.pixelsPerMetre}, kSize), expected) << c.what;
    }
    // A stake twice at one place is drawn once; a stake far off is left out, the next one near
    // again drawn.
    PlanScene few;
    for (double x : {0.0, 0.0, 5000.0, 10.0})
        few.stakes.push_back({{x, 0}, "", 90, {}, {}});
    EXPECT_EQ(shownStakes(few, {0, 0, 1}, kSize), (std::vector<std::size_t>{0, 3}));
}

TEST(PlanView, NorthIsUpAndEastIsRight) {
    const PlanFrame frame{1000, 2000, 2.0};
    const QPointF middle = frame.toPicture({1000, 2000}, kSize);
    EXPECT_EQ(middle, QPointF(400, 300));
    EXPECT_EQ(frame.toPicture({1010, 2000}, kSize), QPointF(400, 280));  // 10 m north: up
    EXPECT_EQ(frame.toPicture({1000, 2010}, kSize), QPointF(420, 300));  // 10 m east: right
    // Zooming about a picture point keeps the world point under it.
    const QPointF cursor(123, 456);
    const PlanePoint held = frame.toWorld(cursor, kSize);
    const PlanePoint after = frame.zoomedAt(cursor, kSize, 3.0).toWorld(cursor, kSize);
    EXPECT_NEAR(after.x_m, held.x_m, 1e-9);
    EXPECT_NEAR(after.y_m, held.y_m, 1e-9);
}

TEST(PlanView, FilesAreWhatTheirExtensionsSay) {
    const CurveRecord record = testing::designedRecord(testing::rightHandDesign());
    const PlanScene scene = planScene(record);
    const PlanFrame frame = fitFrame(scene, kSize);

    const QByteArray svg = planBytes(scene, frame, kSize, PlanFormat::Svg);
    QXmlStreamReader xml(svg);
    int elements = 0;
    bool lineInItsColour = false;
    QString root;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (elements++ == 0)
            root = xml.name().toString();
        lineInItsColour |= xml.attributes().value("stroke") == QStringLiteral("#c80000");
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg");
    EXPECT_GT(elements, 20);
    EXPECT_TRUE(lineInItsColour);

    const QByteArray png = planBytes(scene, frame, kSize, PlanFormat::Png);
    EXPECT_TRUE(png.startsWith("\x89PNG\r\n"));
    EXPECT_EQ(QImage::fromData(png, "PNG").size(), kSize.toSize());
    EXPECT_TRUE(planBytes(scene, frame, kSize, PlanFormat::Pdf).startsWith("%PDF-"));
}

}  // namespace
}  // namespace hcurve

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

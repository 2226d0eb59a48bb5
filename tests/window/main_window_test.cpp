// The window as it opens: captions, empty fields, where everything sits, the painted lines, the
// colours and fonts, and the keyboard focus order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <set>
#include <string>

#include "console/console_protocol.h"
#include "window/main_window.h"
#include "window/window_layout.h"

namespace hcurve {
namespace {

using layout::Button;

// Offscreen, the logical resolution is 96 dots per inch: 15 twips to the pixel.
constexpr int kTwipsPerPixel = 15;

QRect px(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(window.logicalDpiX(), 96) << "the pixel expectations assume 96 dpi";
        ASSERT_EQ(window.logicalDpiY(), 96);
    }

    MainWindow window;
};

TEST_F(MainWindowTest, EveryFieldIsEmptyAtStart) {
    int fields = 0;
    for (const layout::FieldLayout& row : layout::kFields) {
        EXPECT_EQ(window.field(row.field)->text(), QString()) << fieldName(row.field);
        ++fields;
    }
    EXPECT_EQ(fields, 37);
    EXPECT_EQ(window.canvas()->findChildren<QLineEdit*>().size(), 37);
}

// The console's lines name each control as the window does: scripts and the window agree.
TEST(ControlNames, ConsoleAndWindowNameEveryControlAlike) {
    for (const layout::FieldLayout& row : layout::kFields)
        EXPECT_EQ("Text" + std::to_string(protocolNumber(row.field)), row.name);
    for (const layout::LabelLayout& row : layout::kLabels)
        EXPECT_EQ("Label" + std::to_string(protocolNumber(row.label)), row.name);
    EXPECT_EQ(layout::kFields.size(), kFieldCount);
    EXPECT_EQ(layout::kLabels.size(), kLabelCount);
}

TEST_F(MainWindowTest, CaptionsKeepTheirBlanks) {
    EXPECT_EQ(window.label(Label::JdNumber)->text(), QStringLiteral(" 交点号 JD"));
    EXPECT_EQ(window.label(Label::Ls1)->text(), QStringLiteral(" 第一缓和曲线长度 Ls1"));
    EXPECT_EQ(window.label(Label::HyChainage)->text(), QStringLiteral(" 桩号 HY"));
    EXPECT_EQ(window.label(Label::StakeChainage)->text(), QStringLiteral("  桩号 Kp"));
    EXPECT_EQ(window.label(Label::StakeX)->text(), QStringLiteral("纵座标 X"));
    EXPECT_EQ(window.label(Label::LeftDistance)->text(), QStringLiteral("  路基宽度 DL"));
    EXPECT_EQ(window.label(Label::RightDistance)->text(), QStringLiteral(" 路基宽度 DR"));
    EXPECT_EQ(window.label(Label::AxisAngle)->text(), QStringLiteral("与法线夹角  Q"));
    EXPECT_EQ(window.label(Label::DiagramTitle)->text(), QStringLiteral("( 示 图 )"));
    EXPECT_EQ(window.label(Label::RightGroup)->text(),
              QStringLiteral("右侧路基点 (或钻桩) 座标 :"));
    EXPECT_EQ(window.label(Label::Title)->text(), QStringLiteral("平 曲 线 计 算"));
}

// Controls of each column and of the sign diagram sit where the design puts them, in twips.
TEST_F(MainWindowTest, ControlsSitWhereTheDesignPutsThem) {
    const std::pair<QWidget*, QRect> cases[] = {
        {window.field(Field::JdNumber), px(3480, 3600, 1455, 270)},
        {window.field(Field::CentreY), px(3480, 9240, 1455, 270)},
        {window.label(Label::A1), px(1560, 6120, 1935, 255)},
        {window.label(Label::DesignHeading), px(1440, 3120, 1815, 255)},
        {window.button(Button::DesignEntry), px(4560, 9840, 975, 375)},
        {window.field(Field::HzX), px(6840, 8760, 1455, 270)},
        {window.label(Label::HzX), px(5880, 8760, 975, 255)},
        {window.label(Label::HyGroup), px(5400, 5040, 855, 255)},
        {window.button(Button::StakeRun), px(5760, 9840, 975, 375)},
        {window.button(Button::Print), px(6960, 9840, 975, 375)},
        {window.field(Field::AxisAngle), px(10560, 3720, 1455, 255)},
        {window.field(Field::LeftDistance), px(10800, 6600, 975, 255)},
        {window.field(Field::RightDistance), px(10800, 8400, 930, 255)},
        {window.label(Label::LeftGroup), px(8760, 6120, 2655, 255)},
        {window.label(Label::RightY), px(9360, 9120, 1215, 255)},
        {window.button(Button::End), px(8160, 9840, 975, 375)},
        {window.label(Label::Title), px(3720, 2280, 2295, 375)},
        {window.label(Label::DiagramTitle), px(8880, 960, 975, 255)},
        {window.label(Label::DiagramUpperAxis), px(11400, 1200, 495, 255)},
        {window.label(Label::DiagramLowerAxis), px(11400, 2640, 495, 255)},
        {window.label(Label::DiagramNormal), px(11880, 1920, 495, 255)},
        {window.label(Label::DiagramMinusQ), px(11040, 1680, 255, 255)},
        {window.label(Label::DiagramPlusQ), px(11040, 2280, 255, 255)},
        {window.label(Label::DiagramLeft), px(9360, 1680, 495, 255)},
        {window.label(Label::DiagramRight), px(9360, 2160, 495, 255)},
    };
    for (const auto& [widget, at] : cases)
        EXPECT_EQ(widget->geometry(), at) << widget->objectName().toStdString();
    // The title heading holds its text.
    QLabel* title = window.label(Label::Title);
    QFontMetrics metrics(title->font());
    EXPECT_LE(metrics.horizontalAdvance(title->text()), title->width());
    EXPECT_LE(metrics.height(), title->height());
}

TEST_F(MainWindowTest, SelfSizingLabelsStartAtTheirLeftAndFitTheirText) {
    for (Label which : {Label::JdNumber, Label::JdChainage, Label::JdX}) {
        QLabel* label = window.label(which);
        EXPECT_EQ(label->x(), layout::labelLayout(which).rect.left / kTwipsPerPixel);
        EXPECT_EQ(label->y(), layout::labelLayout(which).rect.top / kTwipsPerPixel);
        EXPECT_GE(label->height(), 195 / kTwipsPerPixel);
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    }
}

TEST_F(MainWindowTest, EverythingLiesWithinTheDesignExtent) {
    QRect extent;
    for (QWidget* child :
         window.canvas()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        extent |= child->geometry();
    }
    for (const layout::LineLayout& line : layout::kLines) {
        extent |= QRect(QPoint(line.x1 / kTwipsPerPixel, line.y1 / kTwipsPerPixel),
                        QPoint(line.x2 / kTwipsPerPixel, line.y2 / kTwipsPerPixel))
                      .normalized();
    }
    // The buttons reach down to 10215 twips, the frame lines right to 12480.
    EXPECT_EQ(extent.right(), 12480 / kTwipsPerPixel);
    EXPECT_EQ(extent.bottom() + 1, 10215 / kTwipsPerPixel);
    EXPECT_GE(window.canvas()->width(), 12480 / kTwipsPerPixel);
    EXPECT_GE(window.canvas()->height(), 10215 / kTwipsPerPixel);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The client area starts right under the menu bar of the field tools.
    auto* menu = window.findChild<QMenuBar*>(QStringLiteral("fieldTools"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(window.canvas()->mapTo(&window, QPoint(0, 0)), QPoint(0, menu->height()));
}

// The canvas alone, its lines on the background, without the controls on top.
QImage paintedLines(MainWindow& window) {
    QImage image(window.canvas()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window.canvas()->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// True when a pixel of the colour lies within one pixel of the point.
bool colourNear(const QImage& image, QPoint at, QColor colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour) {
                return true;
            }
        }
    }
    return false;
}

QPoint along(int x1, int y1, int x2, int y2, double t) {
    return QPoint(qRound((x1 + (x2 - x1) * t) / kTwipsPerPixel),
                  qRound((y1 + (y2 - y1) * t) / kTwipsPerPixel));
}

TEST_F(MainWindowTest, LinesArePaintedInTheirColours) {
    const QImage image = paintedLines(window);
    const QColor red(255, 0, 0), blue(0, 0, 255), grey(128, 128, 128), black(0, 0, 0);
    // Red frames and dividers, the black normal and arrow, the blue transverse axes, the grey arc.
    std::set<QRgb> colours;
    for (const layout::LineLayout& line : layout::kLines) {
        const QColor colour(line.colour.red, line.colour.green, line.colour.blue);
        colours.insert(colour.rgb());
        for (double t : {0.3, 0.7}) {
            EXPECT_TRUE(colourNear(image, along(line.x1, line.y1, line.x2, line.y2, t), colour))
                << "Line" << line.number << " at t = " << t;
        }
    }
    EXPECT_EQ(colours, (std::set<QRgb>{red.rgb(), blue.rgb(), grey.rgb(), black.rgb()}));
    // The frame lines are 3 pixels wide, the dividers 2.
    const int x = 3000 / kTwipsPerPixel;
    int frameRows = 0, dividerRows = 0;
    for (int y = 3000 / kTwipsPerPixel - 3; y <= 3000 / kTwipsPerPixel + 3; ++y) {
        frameRows += image.pixelColor(x, y) == red;
    }
    for (int y = 6960 / kTwipsPerPixel - 3; y <= 6960 / kTwipsPerPixel + 3; ++y) {
        dividerRows += image.pixelColor(x, y) == red;
    }
    EXPECT_EQ(frameRows, 3);
    EXPECT_EQ(dividerRows, 2);
}

TEST_F(MainWindowTest, BackgroundIsLightCyan) {
    const QImage image = paintedLines(window);
    const QColor cyan(192, 255, 255);
    EXPECT_EQ(image.pixelColor(2000 / kTwipsPerPixel, 1500 / kTwipsPerPixel), cyan);
    // Inside a panel, between the lines: the diagram box below its heading.
    EXPECT_EQ(image.pixelColor(9000 / kTwipsPerPixel, 1500 / kTwipsPerPixel), cyan);
    // A label shows no box of its own: the window is grabbed with its controls.
    const QImage whole = window.canvas()->grab().toImage();
    const QRect heading = window.label(Label::StakeGroup)->geometry();
    EXPECT_EQ(whole.pixelColor(heading.right() - 1, heading.bottom() - 1), cyan);
}

QColor middleOfBorder(QPushButton* button) {
    const QImage image = button->grab().toImage();
    // Inside the raised border, away from the caption.
    return image.pixelColor(4, image.height() / 2);
}

TEST_F(MainWindowTest, ButtonsArePaintedInTheirColours) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(middleOfBorder(window.button(Button::DesignEntry)), QColor(255, 224, 192));
    EXPECT_EQ(middleOfBorder(window.button(Button::StakeRun)), QColor(255, 224, 192));
    EXPECT_EQ(middleOfBorder(window.button(Button::Print)), QColor(255, 192, 255));
    EXPECT_EQ(middleOfBorder(window.button(Button::End)), QColor(192, 192, 192));
}

TEST_F(MainWindowTest, Text16SetsAWhiteBackground) {
    EXPECT_EQ(window.field(Field::ZhY)->palette().color(QPalette::Base), QColor(Qt::white));
}

bool showsChinese(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
}

TEST_F(MainWindowTest, FontsAreBoldChineseFacesOfTheirSizes) {
    struct Expected {
        Label label;
        double points;
    };
    for (Expected e : {Expected{Label::JdNumber, 8.25}, Expected{Label::YhGroup, 9},
                       Expected{Label::Title, 15}, Expected{Label::DesignHeading, 10.5},
                       Expected{Label::ElementsHeading, 12}, Expected{Label::DiagramTitle, 9}}) {
        const QFont font = window.label(e.label)->font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), e.points) << labelName(e.label);
        EXPECT_TRUE(font.bold()) << labelName(e.label);
        EXPECT_TRUE(showsChinese(font))
            << labelName(e.label) << ": " << QFontInfo(font).family().toStdString();
    }
    const QFont fieldFont = window.field(Field::ZhChainage)->font();
    EXPECT_DOUBLE_EQ(fieldFont.pointSizeF(), 8.25);
    EXPECT_TRUE(fieldFont.bold());
    const QFont buttonFont = window.button(Button::DesignEntry)->font();
    EXPECT_DOUBLE_EQ(buttonFont.pointSizeF(), 8.25);
    EXPECT_TRUE(buttonFont.bold());
    EXPECT_TRUE(showsChinese(buttonFont));
}

TEST_F(MainWindowTest, TabWalksTheFocusOrder) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QStringList expected{"Text2",  "Text3",  "Text4",    "Text5",    "Text6",    "Text7",
                               "Text8",  "Text9",  "Text10",   "Text11",   "Text12",   "Text13",
                               "Text14", "Text15", "Text16",   "Text17",   "Text18",   "Text19",
                               "Text20", "Text21", "Text22",   "Text23",   "Text24",   "Text25",
                               "Text26", "Text27", "Text28",   "command1", "command2", "Text29",
                               "Text30", "Text1",  "command3", "Text31",   "Text32",   "Text33",
                               "Text34", "Text35", "Text36",   "Text49",   "Command4", "Text2"};
    // Text2 has the focus at start.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(visited, expected);
}

// The port replaces what the user typed into a field, shows a long text from its beginning, and
// changes a caption at once while the label keeps its place.
TEST_F(MainWindowTest, ThePortWritesFieldsAndCaptions) {
    QTest::keyClicks(window.field(Field::StakeChainage), "12345");
    window.userPort().setField(Field::StakeChainage, " k 12+300.000");
    EXPECT_EQ(window.field(Field::StakeChainage)->text(), QStringLiteral(" k 12+300.000"));
    window.userPort().setField(Field::LeftDistance,
                               " 1234567.891 米 and more than the field holds");
    EXPECT_EQ(window.field(Field::LeftDistance)->cursorPosition(), 0);
    window.userPort().setCaption(Label::LeftDistance, "左侧第1点距离");
    EXPECT_EQ(window.label(Label::LeftDistance)->text(), QStringLiteral("左侧第1点距离"));
    window.userPort().setCaption(Label::ZhGroup, "");
    EXPECT_EQ(window.label(Label::ZhGroup)->text(), QString());
    EXPECT_EQ(window.label(Label::LeftDistance)->geometry(), px(9480, 6600, 1335, 255));
}

}  // namespace
}  // namespace hcurve

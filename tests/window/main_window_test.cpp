// The window as the user sees it: captions, empty fields, every field and button in sight and
// uncovered, every caption and field text whole in its box, no line through them, the colours and
// fonts, and the keyboard focus order.
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
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <string>
#include <vector>

#include "console/console_protocol.h"
#include "layout/window_layout.h"
#include "window/main_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using layout::Button;

class MainWindowTest : public ::testing::Test {
  protected:
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

// The widgets the user sees on the canvas: fields, captions and buttons.
std::vector<QWidget*> controls(MainWindow& window) {
    std::vector<QWidget*> all;
    for (const layout::FieldLayout& row : layout::kFields)
        all.push_back(window.field(row.field));
    for (const layout::LabelLayout& row : layout::kLabels)
        all.push_back(window.label(row.label));
    for (const layout::ButtonLayout& row : layout::kButtons)
        all.push_back(window.button(row.button));
    return all;
}

std::string nameOf(const QWidget* widget) {
    return widget->objectName().toStdString();
}

// The canvas with its lines and captions alone, the fields and buttons hidden.
QImage linesAndCaptions(MainWindow& window) {
    std::vector<QWidget*> hidden;
    for (QWidget* control : controls(window)) {
        if (qobject_cast<QLabel*>(control) == nullptr && control->isVisible()) {
            control->hide();
            hidden.push_back(control);
        }
    }
    const QImage image = window.canvas()->grab().toImage();
    for (QWidget* control : hidden)
        control->show();
    return image;
}

// Every field and button can be seen and clicked whole: it lies within the canvas, no other field
// or button overlaps it, no caption's text reaches into it (a caption's box may, by a pixel), and
// a click anywhere on it reaches it.
TEST_F(MainWindowTest, NoControlCoversAFieldOrAButton) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage captions = linesAndCaptions(window);
    std::vector<QWidget*> labels;
    for (const layout::LabelLayout& row : layout::kLabels) {
        labels.push_back(window.label(row.label));
        window.label(row.label)->hide();
    }
    const QImage bare = linesAndCaptions(window);
    for (QWidget* label : labels)
        label->show();

    std::vector<QWidget*> targets;
    for (const layout::FieldLayout& row : layout::kFields)
        targets.push_back(window.field(row.field));
    for (const layout::ButtonLayout& row : layout::kButtons)
        targets.push_back(window.button(row.button));
    for (QWidget* target : targets) {
        const QRect at = target->geometry();
        EXPECT_TRUE(window.canvas()->rect().contains(at)) << nameOf(target);
        for (QWidget* other : targets) {
            if (other != target) {
                EXPECT_FALSE(at.intersects(other->geometry()))
                    << nameOf(target) << " is covered by " << nameOf(other);
            }
        }
        int ink = 0;
        for (int y = at.top(); y <= at.bottom(); ++y) {
            for (int x = at.left(); x <= at.right(); ++x)
                ink += captions.pixel(x, y) != bare.pixel(x, y);
        }
        EXPECT_EQ(ink, 0) << "a caption's text reaches into " << nameOf(target);
        const QRect inside = at.adjusted(1, 1, -1, -1);
        for (QPoint p : {inside.topLeft(), inside.topRight(), inside.bottomLeft(),
                         inside.bottomRight(), inside.center()}) {
            QWidget* hit = window.canvas()->childAt(p);
            while (hit != nullptr && hit->parentWidget() != window.canvas())
                hit = hit->parentWidget();
            EXPECT_EQ(hit, target) << nameOf(target) << " at " << p.x() << "," << p.y();
        }
    }
}

// The width a line edit gives its text: its contents less the frame and the text margins.
int textRoom(QLineEdit* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.rect = field->rect();
    option.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth,
                                                                       &option, field)
                                         : 0;
    const QRect contents =
        field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field);
    const QMargins margins = field->textMargins();
    // A line edit keeps two pixels free on either side of its text.
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

// The pixels of a label's text that fall outside its box: the label drawn again, alike but with
// room to spare on the sides its alignment lets the text grow to, keeps its text where the label
// has it.
int inkOutsideTheBox(const QLabel* label, int rowsBelow = 0) {
    constexpr int kRoom = 40;
    const Qt::Alignment align = label->alignment();
    const int left = align & Qt::AlignLeft ? 0 : align & Qt::AlignRight ? 2 * kRoom : kRoom;
    const int top = align & Qt::AlignTop ? 0 : align & Qt::AlignBottom ? 2 * kRoom : kRoom;
    QLabel copy;
    copy.setFont(label->font());
    copy.setText(label->text());
    copy.setAlignment(align);
    const QRect box = label->contentsRect();
    copy.resize(box.width() + 2 * kRoom, box.height() + 2 * kRoom);
    QImage image(copy.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    copy.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRect kept(left, top, box.width(), box.height() + rowsBelow);
    int outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            outside += image.pixel(x, y) != qRgb(255, 255, 255) && !kept.contains(x, y);
        }
    }
    return outside;
}

// Every caption is read whole: no pixel of its text falls outside its label.
void expectCaptionsFit(MainWindow& window, const std::string& when) {
    for (const layout::LabelLayout& row : layout::kLabels) {
        QLabel* label = window.label(row.label);
        // The design gives its one 12-point heading a box 17 pixels high: the tails of its
        // brackets reach one row below it, its characters are whole.
        const int rowsBelow = row.label == Label::ElementsHeading ? 1 : 0;
        EXPECT_EQ(inkOutsideTheBox(label, rowsBelow), 0)
            << labelName(row.label) << " " << when << ": " << label->text().toStdString();
    }
}

// Every field's text is read whole, without scrolling it.
void expectFieldTextsFit(MainWindow& window, const std::string& when) {
    for (const layout::FieldLayout& row : layout::kFields) {
        QLineEdit* field = window.field(row.field);
        EXPECT_LE(QFontMetrics(field->font()).horizontalAdvance(field->text()), textRoom(field))
            << fieldName(row.field) << " " << when << ": \"" << field->text().toStdString() << "\"";
    }
}

TEST_F(MainWindowTest, CaptionsFitTheirLabelsAtStart) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    expectCaptionsFit(window, "at start");
}

// The canvas alone, its lines on the background, without the controls on top.
QImage paintedLines(MainWindow& window) {
    QImage image(window.canvas()->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window.canvas()->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// No line runs through a field, a button or the letters of a caption outside the sign diagram (it
// may pass by them within a caption's box).
TEST_F(MainWindowTest, NoLineRunsThroughAFieldOrACaption) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage captions = linesAndCaptions(window);
    for (const layout::LabelLayout& row : layout::kLabels)
        window.label(row.label)->hide();
    const QImage lines = linesAndCaptions(window);
    for (const layout::LabelLayout& row : layout::kLabels)
        window.label(row.label)->show();
    const QRgb background = lines.pixel(0, 0);
    auto linePixels = [&](const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                n += lines.pixel(x, y) != background;
        }
        return n;
    };
    for (const layout::FieldLayout& row : layout::kFields)
        EXPECT_EQ(linePixels(window.field(row.field)->geometry()), 0) << fieldName(row.field);
    for (const layout::ButtonLayout& row : layout::kButtons)
        EXPECT_EQ(linePixels(window.button(row.button)->geometry()), 0) << row.name;
    for (const layout::LabelLayout& row : layout::kLabels) {
        // The marks of the sign diagram are drawn onto its lines (the angle's arc ends at its Q).
        if (std::string(labelName(row.label)).rfind("Diagram", 0) == 0)
            continue;
        const QRect box = window.label(row.label)->geometry() & lines.rect();
        QRect ink;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (captions.pixel(x, y) != lines.pixel(x, y))
                    ink |= QRect(x, y, 1, 1);
            }
        }
        EXPECT_FALSE(ink.isEmpty()) << labelName(row.label) << " shows no text";
        EXPECT_EQ(linePixels(ink), 0) << labelName(row.label);
    }
}

// What the commands write is read whole, and so are the captions they change: the fields after
// the right-hand curve and a stake run with side points on both sides and a double row, the
// longest texts the window shows.
TEST_F(MainWindowTest, TextsAndCaptionsOfARunFitTheirBoxes) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    std::vector<std::string> answers = testing::rightHandCurveAnswers("y");
    answers.push_back("0");
    testing::ScriptedUser user(window, answers);
    window.button(Button::DesignEntry)->click();
    expectFieldTextsFit(window, "after 开始计算");
    expectCaptionsFit(window, "after 开始计算");
    user.add({"0", "12300", "-15.3", "2", "15.25", "30.5", "1", "7.5", "2", "11.5", "22.75"});
    user.add(std::vector<std::string>(1 + 2 * (2 + 1), ""));
    user.onQuestion([&](const std::string& prompt) {
        expectFieldTextsFit(window, "at " + prompt);
        expectCaptionsFit(window, "at " + prompt);
    });
    window.button(Button::StakeRun)->click();
    EXPECT_EQ(user.unexpectedQuestions(), 0);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_FALSE(window.field(Field::RightY)->text().isEmpty());
    expectFieldTextsFit(window, "after 中桩计算");
}

// Self-sizing captions start where the design puts them and take the width of their text.
TEST_F(MainWindowTest, SelfSizingLabelsStartAtTheirLeftAndFitTheirText) {
    for (const layout::LabelLayout& row : layout::kLabels) {
        if (!row.autoSize)
            continue;
        QLabel* label = window.label(row.label);
        EXPECT_EQ(label->pos(), window.pixels(row.rect).topLeft()) << labelName(row.label);
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
        window.setCaption(row.label, QStringLiteral("一个长得多的标题"));
        EXPECT_EQ(label->pos(), window.pixels(row.rect).topLeft()) << labelName(row.label);
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    }
}

// The whole design is in sight under the menu bar of the field tools.
TEST_F(MainWindowTest, TheDesignLiesOnTheCanvasUnderTheMenuBar) {
    const QRect canvas = window.canvas()->rect();
    for (QWidget* control : controls(window))
        EXPECT_TRUE(canvas.contains(control->geometry())) << nameOf(control);
    for (const layout::LineLayout& line : layout::kLines) {
        EXPECT_TRUE(canvas.contains(window.pixels(line.x1, line.y1))) << "Line" << line.number;
        EXPECT_TRUE(canvas.contains(window.pixels(line.x2, line.y2))) << "Line" << line.number;
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* menu = window.findChild<QMenuBar*>(QStringLiteral("fieldTools"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(window.canvas()->mapTo(&window, QPoint(0, 0)), QPoint(0, menu->height()));
}

QColor colourOf(layout::Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// True when a pixel of the colour lies within one pixel of the point.
bool colourNear(const QImage& image, QPoint at, QColor colour) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour)
                return true;
        }
    }
    return false;
}

// The lines, the buttons and the background show the colours the design gives them: the
// painter and the platform's style honour them.
TEST_F(MainWindowTest, TheDesignsColoursArePainted) {
    const QImage lines = paintedLines(window);
    for (const layout::LineLayout& line : layout::kLines) {
        for (double t : {0.3, 0.7}) {
            const QPoint at((1 - t) * window.pixels(line.x1, line.y1) +
                            t * window.pixels(line.x2, line.y2));
            EXPECT_TRUE(colourNear(lines, at, colourOf(line.colour)))
                << "Line" << line.number << " at t = " << t;
        }
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const layout::ButtonLayout& row : layout::kButtons) {
        // Inside the raised border, away from the caption.
        const QImage face = window.button(row.button)->grab().toImage();
        EXPECT_EQ(face.pixelColor(4, face.height() / 2), colourOf(row.colour)) << row.name;
    }
    // A label shows no box of its own: beside its caption the canvas shows through.
    const QImage whole = window.canvas()->grab().toImage();
    const QColor background = colourOf(layout::kBackground);
    EXPECT_EQ(lines.pixelColor(0, 0), background);
    for (const layout::LabelLayout& row : layout::kLabels) {
        const QRect at = window.label(row.label)->geometry();
        EXPECT_EQ(whole.pixelColor(at.bottomRight() - QPoint(1, 1)), background)
            << labelName(row.label);
    }
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
    EXPECT_EQ(window.label(Label::LeftDistance)->geometry(),
              window.pixels(layout::labelLayout(Label::LeftDistance).rect));
}

}  // namespace
}  // namespace hcurve

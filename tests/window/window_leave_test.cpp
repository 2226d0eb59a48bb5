// A surveyor is never trapped: every question of every command can be left and the window
// returns to where it was (a stake run left during its listing keeps its stakes), the program
// ends while a dialog is open, Enter presses the focused button, and 视图 scales the design.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "stakes/field_tools.h"
#include "window/main_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using layout::Button;
using testing::ScriptedUser;

// Everything of the window a command may change: every field text and caption, and the record's
// design, side setup, curve and last stake run.
QStringList windowState(MainWindow& window) {
    QStringList state;
    for (const layout::FieldLayout& row : layout::kFields)
        state << window.field(row.field)->text();
    for (const layout::LabelLayout& row : layout::kLabels)
        state << window.label(row.label)->text();
    const CurveRecord& r = window.record();
    state << QString::fromStdString(r.JD) << QString::fromStdString(r.pp_dk);
    for (double v : {r.design.K_m, r.design.X_m, r.design.Y_m, r.design.T_dms, r.design.B_dms,
                     r.design.R_m, r.design.A1_m, r.design.A2_m})
        state << QString::number(v, 'g', 17);
    state << QString::number(r.lastRun.stakes.size()) << QString::number(r.sides.dl_n)
          << QString::number(r.sides.dr_n) << QString::number(r.sides.dd_n)
          << QString::number(r.dlxp) << QString::number(r.sides.dl.back())
          << QString::number(r.lastRun.sides.has_value());
    for (const Stake& stake : r.lastRun.stakes)
        state << QString::number(stake.chainage_m, 'f', 6) << QString::number(stake.x_m, 'f', 6);
    state << (r.curve ? QString::number(r.curve->hz, 'f', 6) : QStringLiteral("none"));
    return state;
}

class WindowLeaveTest : public ::testing::Test {
  protected:
    // A field tool of the menu bar, found by its caption.
    void triggerTool(const QString& caption) {
        for (QAction* action :
             window.findChild<QMenuBar*>(QStringLiteral("fieldTools"))->actions()) {
            if (action->text() == caption) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no tool " << caption.toStdString();
    }
    void click(Button which) { QTest::mouseClick(window.button(which), Qt::LeftButton); }

    // A curve with side points, then a curve without spirals over it and a stake run on that,
    // so that captions, fields and record all differ from the start.
    void computeTwoCurvesAndARun() {
        ScriptedUser user(window, testing::rightHandCurveAnswers("y"));
        user.add({"1", "1", "5", "1", "7.5", "1"});
        click(Button::DesignEntry);
        user.add(testing::leftHandCurveWithoutSpiralsAnswers());
        click(Button::DesignEntry);
        user.add({"2", "2600", "2700", "50", "0"});
        user.add({"", ""});
        click(Button::StakeRun);
        ASSERT_EQ(user.answersLeft(), 0u);
        ASSERT_EQ(window.record().lastRun.stakes.size(), 3u);
    }

    MainWindow window;
};

// Leaving each kind of question of 开始计算 puts back the previous curve, its fields and captions.
TEST_F(WindowLeaveTest, LeavingTheDesignEntryPutsEverythingBack) {
    computeTwoCurvesAndARun();
    const QStringList before = windowState(window);
    const std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    struct Case {
        const char* question;
        std::vector<std::string> answers;  // answered before the question that is left
    };
    const std::vector<Case> cases = {
        {"first value", {}},
        {"confirmation", {"5"}},
        {"re-entry", {"5", "0"}},
        {"later value", {"5", "", "3000"}},
        {"side-point question", std::vector<std::string>(design.begin(), design.end() - 1)},
        {"count", {design.begin(), design.end()}},
        {"distance",
         [&] {
             auto a = design;
             a.insert(a.end(), {"1", "2"});
             return a;
         }()},
    };
    for (const Case& c : cases) {
        std::vector<std::string> answers = c.answers;
        answers.push_back(ScriptedUser::kCancel);
        if (std::string(c.question) == "count")
            answers.insert(answers.end() - 1, "1");  // the widths are wanted now
        ScriptedUser user(window, answers);
        click(Button::DesignEntry);
        EXPECT_EQ(user.answersLeft(), 0u) << c.question;
        EXPECT_EQ(user.unexpectedQuestions(), 0) << c.question;
        EXPECT_EQ(windowState(window), before) << c.question;
        EXPECT_TRUE(window.button(Button::DesignEntry)->isEnabled());
    }
}

// 中桩计算 left at a question keeps the previous run; left at a pause keeps its own run whole.
TEST_F(WindowLeaveTest, LeavingTheStakeRun) {
    computeTwoCurvesAndARun();
    const QStringList before = windowState(window);
    for (const std::vector<std::string>& answers :
         std::vector<std::vector<std::string>>{{ScriptedUser::kCancel},
                                               {"0", ScriptedUser::kCancel},
                                               {"2", "2600", ScriptedUser::kCancel},
                                               {"2", "2600", "2700", ScriptedUser::kCancel}}) {
        ScriptedUser user(window, answers);
        click(Button::StakeRun);
        EXPECT_EQ(user.answersLeft(), 0u);
        EXPECT_EQ(windowState(window), before) << answers.size();
    }

    ScriptedUser user(window, {"2", "2600", "2700", "10", "", ScriptedUser::kCancel});
    click(Button::StakeRun);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(user.unexpectedQuestions(), 0);
    ASSERT_EQ(window.record().lastRun.stakes.size(), 11u);
    EXPECT_EQ(window.field(Field::StakeChainage)->text(), QStringLiteral(" k 2+600.000"));
    // Every stake is computed and can be exported.
    EXPECT_TRUE(exportRefusal(window.record()));
    EXPECT_NE(window.record().lastRun.stakes.back().x_m, 0.0);
    EXPECT_NE(window.record().lastRun.stakes.back().y_m, 0.0);
}

TEST_F(WindowLeaveTest, LeavingTheReverseCalculationEndsQuietly) {
    computeTwoCurvesAndARun();
    const QStringList before = windowState(window);
    for (const std::vector<std::string>& answers : std::vector<std::vector<std::string>>{
             {ScriptedUser::kCancel}, {"1000", ScriptedUser::kCancel}}) {
        ScriptedUser user(window, answers);
        triggerTool(QStringLiteral("坐标反算"));
        EXPECT_TRUE(user.messages().empty());
        EXPECT_EQ(windowState(window), before);
    }
}

// The export's file dialog speaks Chinese; leaving it ends the export quietly.
TEST_F(WindowLeaveTest, LeavingTheExportEndsQuietly) {
    computeTwoCurvesAndARun();
    const QStringList before = windowState(window);
    ScriptedUser user(window, {});
    QStringList buttons;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* files = qobject_cast<QFileDialog*>(testing::openDialog())) {
            poll.stop();
            for (QPushButton* button : files->findChildren<QPushButton*>())
                buttons << button->text().remove(QLatin1Char('&'));
            QTest::keyClick(files, Qt::Key_Escape);
        }
    });
    poll.start(1);
    triggerTool(QStringLiteral("导出中桩坐标"));
    // "保存(S)": the translation keeps its accelerator in brackets.
    EXPECT_TRUE(buttons.join(' ').contains(QStringLiteral("保存")))
        << buttons.join(' ').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join(' ').toStdString();
    EXPECT_TRUE(user.messages().empty());
    EXPECT_EQ(windowState(window), before);
}

// With a question open, 结 束 and the window's close button end the program at once.
TEST_F(WindowLeaveTest, TheProgramEndsWhileADialogIsOpen) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::vector<std::function<void()>> ends = {
        [this] { window.button(Button::End)->click(); },
        [this] { window.close(); },
    };
    for (const auto& end : ends) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (testing::openDialog() != nullptr) {
                poll.stop();
                end();
            }
        });
        poll.start(1);
        EXPECT_EQ(testing::execAfter([this] { window.button(Button::DesignEntry)->click(); }), 0);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(testing::openDialog(), nullptr);
        window.show();
    }
}

// Enter on a focused command button presses it; the focus frame shows on the coloured button.
TEST_F(WindowLeaveTest, EnterPressesTheFocusedButtonWhoseFocusIsVisible) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QPushButton* start = window.button(Button::DesignEntry);
    const QImage unfocused = start->grab().toImage();
    start->setFocus();
    ASSERT_TRUE(start->hasFocus());
    const QImage focused = start->grab().toImage();
    auto framePixels = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == QColor(0, 0, 160);
        return n;
    };
    EXPECT_EQ(framePixels(unfocused), 0);
    EXPECT_GT(framePixels(focused), 2 * (start->width() + start->height()));

    ScriptedUser user(window, {ScriptedUser::kCancel, ScriptedUser::kCancel});
    QTest::keyClick(start, Qt::Key_Return);
    ASSERT_EQ(user.prompts().size(), 1u);
    EXPECT_EQ(user.prompts().front(), "请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) ");
    // The focus is back on the button for the next Enter.
    EXPECT_TRUE(start->hasFocus());
    QTest::keyClick(start, Qt::Key_Enter);
    EXPECT_EQ(user.prompts().size(), 2u);
}

// 视图: 适应窗口 scales the whole design to the window, 原始大小 brings it back to 1:1; the
// choice is kept for the next window.
TEST_F(WindowLeaveTest, TheViewFitsTheWindowAndIsRemembered) {
    QSettings(QStringLiteral("hcurve"), QStringLiteral("hcurve")).clear();
    MainWindow fresh;
    EXPECT_FALSE(fresh.fitsToWindow());
    EXPECT_DOUBLE_EQ(fresh.viewScale(), 1.0);
    const QRect text14 = fresh.field(Field::ZhChainage)->geometry();
    const double points = fresh.label(Label::Title)->font().pointSizeF();
    fresh.resize(fresh.canvas()->size() * 2 + QSize(0, 40));
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));

    auto* view = fresh.findChild<QMenu*>(QStringLiteral("view"));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->actions().size(), 2);
    EXPECT_EQ(view->actions().at(0)->text(), QStringLiteral("适应窗口"));
    EXPECT_EQ(view->actions().at(1)->text(), QStringLiteral("原始大小"));
    EXPECT_TRUE(view->actions().at(1)->isChecked());
    view->actions().at(0)->trigger();
    EXPECT_NEAR(fresh.viewScale(), 2.0, 0.1);
    const double s = fresh.viewScale();
    EXPECT_NEAR(fresh.field(Field::ZhChainage)->geometry().left(), text14.left() * s, 2);
    EXPECT_NEAR(fresh.field(Field::ZhChainage)->geometry().width(), text14.width() * s, 2);
    EXPECT_NEAR(fresh.label(Label::Title)->font().pointSizeF(), points * s, 0.01);
    EXPECT_LE(fresh.canvas()->width(), fresh.width());

    MainWindow next;
    EXPECT_TRUE(next.fitsToWindow());
    fresh.findChild<QMenu*>(QStringLiteral("view"))->actions().at(1)->trigger();
    EXPECT_DOUBLE_EQ(fresh.viewScale(), 1.0);
    EXPECT_EQ(fresh.field(Field::ZhChainage)->geometry(), text14);
    MainWindow third;
    EXPECT_FALSE(third.fitsToWindow());
}

}  // namespace
}  // namespace hcurve

// 中桩成果表 and 平面图 in the window: opened from the menu bar, following the runs and the
// designs, copying for a spreadsheet, exporting, zooming, panning and saving.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "curve/chainage.h"
#include "layout/window_layout.h"
#include "stakes/field_tools.h"
#include "stakes/stake_table.h"
#include "window/main_window.h"
#include "window/plan_view_window.h"
#include "window/result_views.h"
#include "window/stake_table_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using testing::ScriptedUser;

std::string listed(double chainage_m) {
    const std::string shown = chainageText(chainage_m, kListingForm);
    return shown.substr(shown.find_first_not_of(' '));
}

class ResultViewsTest : public ::testing::Test {
  protected:
    // The right-hand example with two left and one right pile in a front and a back row.
    void design(const std::string& radius = "500") {
        std::vector<std::string> answers = testing::rightHandCurveAnswers("y");
        answers[12] = radius;
        answers.insert(answers.end(), {"1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
        ScriptedUser user(window, answers);
        window.run(Command::DesignEntry);
    }
    // Three stakes, 12280 to 12320, PPQ 15°30'.
    void run() {
        ScriptedUser user(window, {"2", "12280", "12320", "20", "15.3", "1.5", "2"});
        window.run(Command::StakeRun);
    }
    void trigger(const char* action) {
        window.findChild<QMenuBar*>()->findChild<QAction*>(QString::fromUtf8(action))->trigger();
    }

    MainWindow window;
    std::vector<std::string> messages;
};

TEST_F(ResultViewsTest, StakeTableFollowsTheRunsAndCopiesForASpreadsheet) {
    design();
    run();
    // The new run is a click away: its menu entry says so until the table is opened.
    auto entry = [&] {
        return window.findChild<QMenuBar*>()->findChild<QAction*>("stakeTable")->text();
    };
    EXPECT_EQ(entry(), QStringLiteral("中桩成果表 (新)"));
    trigger("stakeTable");
    EXPECT_EQ(entry(), QStringLiteral("中桩成果表"));
    StakeTableWindow* table = window.resultViews().stakeTable();
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->heading()->text(),
              QStringLiteral("JD1 的第 1 次中桩计算：3 个中桩，18 个边桩。"));
    ASSERT_EQ(table->model()->rowCount(), 21);
    // Every row, made as it is shown, is the listing's row at that place.
    const std::vector<StakeTableRow> all = stakeTableRows(window.record());
    for (int i = 0; i < 21; ++i) {
        const StakeTableRow& r = table->model()->row(i);
        const StakeTableRow& l = all[static_cast<std::size_t>(i)];
        EXPECT_EQ(stakeTableLine(r), stakeTableLine(l)) << i;
        EXPECT_EQ(r.stake, l.stake) << i;
        EXPECT_EQ(table->model()->index(i, 4).data().toString().toStdString(), l.x) << i;
    }

    // Ctrl+C with two rows selected: the header and those rows, tab-separated.
    table->view()->selectRow(0);
    table->view()->selectionModel()->select(
        table->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(table->view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "桩号\t点位\t侧别\t距离(米)\tX(北)\tY(东)\n" + listed(12280) +
                  "\t中桩\t\t\t3456738.931\t512302.570\n" + listed(12280) +
                  "\t前排第2点\t左\t10\t3456748.810\t512300.414\n");
    // Without a selection, everything.
    table->view()->clearSelection();
    QTest::keyClick(table->view(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 22);

    // Sorted by chainage downwards, each stake's side points stay under it in their order.
    QHeaderView* header = table->view()->horizontalHeader();
    header->setSortIndicator(0, Qt::DescendingOrder);
    EXPECT_EQ(table->model()->row(0).chainage, listed(12320));
    EXPECT_EQ(table->model()->row(1).point, "前排第2点");
    EXPECT_EQ(table->model()->row(7).chainage, listed(12300));
    EXPECT_EQ(table->model()->row(20).point, "后排第1点");

    run();
    EXPECT_EQ(table->heading()->text(),
              QStringLiteral("JD1 的第 2 次中桩计算：3 个中桩，18 个边桩。"));
    EXPECT_EQ(table->model()->row(0).chainage, listed(12280));
    // Closed, it catches up when opened again from the menu.
    table->close();
    run();
    EXPECT_TRUE(table->heading()->text().contains(QStringLiteral("第 2 次")));
    trigger("stakeTable");
    EXPECT_TRUE(table->heading()->text().contains(QStringLiteral("第 3 次")));
    // A new curve drops the run of the old one, and the open table says so.
    design("600");
    EXPECT_EQ(table->heading()->text(), QString::fromUtf8(kNoStakeRun));
    EXPECT_EQ(table->model()->rowCount(), 0);
}

// Two stakes typed at one chainage keep their rows together, in run order either way round.
TEST(StakeTableModel, StakesAtOneChainageKeepTheirRowsTogether) {
    StakeRun run;
    run.stakes = {{100, 1, 1, 0}, {100, 2, 2, 0}, {50, 3, 3, 0}};
    SideSetup oneLeft;
    oneLeft.dl = {0, 5};
    oneLeft.dl_n = 1;
    oneLeft.dd_n = 1;
    run.sides = oneLeft;
    StakeTableModel model;
    model.setRun(run);
    auto shown = [&] {
        std::string points;
        for (int i = 0; i < model.rowCount(); ++i)
            points += std::to_string(model.row(i).stake) + model.row(i).point + " ";
        return points;
    };
    EXPECT_EQ(shown(), "1中桩 1左侧第1点 2中桩 2左侧第1点 3中桩 3左侧第1点 ");
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(shown(), "3中桩 3左侧第1点 1中桩 1左侧第1点 2中桩 2左侧第1点 ");
    model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(shown(), "1中桩 1左侧第1点 2中桩 2左侧第1点 3中桩 3左侧第1点 ");
}

TEST_F(ResultViewsTest, StakeTableExportsEachFile) {
    design();
    run();
    window.resultViews().showStakeTable();
    StakeTableWindow* table = window.resultViews().stakeTable();
    QTemporaryDir folder;
    table->setPathChooser([&](ExportFormat format) {
        return folder
            .filePath(format == ExportFormat::Csv   ? "a.csv"
                      : format == ExportFormat::Dat ? "a.dat"
                                                    : "a.gsi")
            .toStdString();
    });
    ScriptedUser user(window, {});
    QTest::mouseClick(table->findChild<QPushButton*>("exportCsv"), Qt::LeftButton);
    QTest::mouseClick(table->findChild<QPushButton*>("exportDat"), Qt::LeftButton);
    QTest::mouseClick(table->findChild<QPushButton*>("exportGsi"), Qt::LeftButton);
    EXPECT_EQ(user.messages(),
              (std::vector<std::string>{
                  "已导出 21 个点到文件“" + folder.filePath("a.csv").toStdString() + "”。",
                  "已导出 21 个点到文件“" + folder.filePath("a.dat").toStdString() + "”。",
                  "已导出 21 个点到文件“" + folder.filePath("a.gsi").toStdString() + "”。"}));
    QFile gsi(folder.filePath("a.gsi"));
    ASSERT_TRUE(gsi.open(QIODevice::ReadOnly));
    EXPECT_TRUE(gsi.readAll().startsWith("*110001+"));
}

TEST_F(ResultViewsTest, PlanViewRedrawsZoomsPansAndSaves) {
    trigger("planView");
    PlanViewWindow* plan = window.resultViews().planView();
    ASSERT_NE(plan, nullptr);
    EXPECT_FALSE(plan->canvas()->scene().has_value());
    plan->resize(900, 700);
    design();
    ASSERT_TRUE(plan->canvas()->scene().has_value());
    EXPECT_EQ(plan->canvas()->scene()->marks.size(), 4u);
    EXPECT_TRUE(plan->canvas()->scene()->stakes.empty());
    run();
    EXPECT_EQ(plan->canvas()->scene()->stakes.size(), 3u);

    // The wheel zooms about the cursor: the point under it stays.
    PlanCanvas* canvas = plan->canvas();
    const QPointF cursor(200, 150);
    const PlanFrame before = canvas->frame();
    const PlanePoint held = before.toWorld(cursor, canvas->size());
    QWheelEvent wheel(cursor, canvas->mapToGlobal(cursor), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    const PlanePoint after = canvas->frame().toWorld(cursor, canvas->size());
    EXPECT_GT(canvas->frame().pixelsPerMetre, before.pixelsPerMetre * 1.3);
    EXPECT_NEAR(after.x_m, held.x_m, 1e-6);
    EXPECT_NEAR(after.y_m, held.y_m, 1e-6);

    // Dragging carries the point under the mouse along; the coordinates follow the cursor.
    const PlanePoint grabbed = canvas->frame().toWorld(QPointF(300, 300), canvas->size());
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QTest::mouseMove(canvas, QPoint(340, 330));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(340, 330));
    const PlanePoint under = canvas->frame().toWorld(QPointF(340, 330), canvas->size());
    EXPECT_NEAR(under.x_m, grabbed.x_m, 1e-6);
    EXPECT_NEAR(under.y_m, grabbed.y_m, 1e-6);
    EXPECT_EQ(plan->coordinates()->text(), QStringLiteral("X (北) = %1    Y (东) = %2")
                                               .arg(under.x_m, 0, 'f', 3)
                                               .arg(under.y_m, 0, 'f', 3));

    // A new design is fitted anew; saving writes what the window shows.
    const double zoomed = canvas->frame().pixelsPerMetre;
    design("600");
    EXPECT_LT(canvas->frame().pixelsPerMetre, zoomed);
    QTemporaryDir folder;
    const std::string path = folder.filePath("plan.svg").toStdString();
    plan->setPathChooser([&] { return path; });
    ScriptedUser user(window, {});
    plan->save();
    // A .dxf is the curve for CAD.
    const std::string dxf = folder.filePath("plan.dxf").toStdString();
    plan->setPathChooser([&] { return dxf; });
    plan->save();
    EXPECT_EQ(user.messages(), (std::vector<std::string>{"已保存平面图到文件“" + path + "”。",
                                                         "已保存平面图到文件“" + dxf + "”。"}));
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).size() > 1000);
    QFile file(QString::fromStdString(dxf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\r\nAC1024\r\n"));
}

// A message of a tool window belongs to it: its box stands over the tool window, and once it is
// closed the tool window is in front with the focus, so that a Return typed next does not press
// the main window's 开始计算, which had the focus before.
TEST_F(ResultViewsTest, ToolWindowsKeepTheirMessagesAndTheFocus) {
    design();
    run();
    window.show();
    window.activateWindow();
    window.button(layout::Button::DesignEntry)->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTemporaryDir folder;
    window.resultViews().showStakeTable();
    window.resultViews().showPlanView();
    StakeTableWindow* table = window.resultViews().stakeTable();
    PlanViewWindow* plan = window.resultViews().planView();
    table->setPathChooser([&](ExportFormat) { return folder.filePath("a.csv").toStdString(); });
    plan->setPathChooser([&] { return folder.filePath("a.png").toStdString(); });
    int asked = 0;
    window.userPort().setAsker([&](const std::string&) -> std::string {
        ++asked;
        throw Cancelled{};
    });
    const std::pair<QWidget*, QPushButton*> tools[] = {
        {table, table->findChild<QPushButton*>("exportCsv")},
        {plan, plan->findChild<QPushButton*>("savePlan")}};
    for (const auto& [tool, button] : tools) {
        SCOPED_TRACE(tool->windowTitle().toStdString());
        ASSERT_NE(button, nullptr);
        tool->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
        QWidget* owner = nullptr;
        QString told;
        QTimer::singleShot(50, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(testing::openDialog())) {
                owner = box->parentWidget();
                told = box->text();
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(owner, tool);
        EXPECT_TRUE(told.startsWith(QStringLiteral("已"))) << told.toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowActive(tool));
        EXPECT_EQ(QApplication::activeWindow(), tool);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(focused->window(), tool);
        QTest::keyClick(focused, Qt::Key_Return);
        EXPECT_EQ(asked, 0);
    }
    window.userPort().setAsker({});
}

}  // namespace
}  // namespace hcurve

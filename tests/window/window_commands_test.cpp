// The buttons run the commands through the window: whole runs of 开始计算 and 中桩计算 with a
// scripted user, the captions a curve without spirals leaves behind, the typed dialogs, and the
// end of the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "layout/window_layout.h"
#include "port/messages.h"
#include "window/file_dialogs.h"
#include "window/main_window.h"
#include "window/qt_printer.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using layout::Button;
using testing::DialogTypist;
using testing::ScriptedUser;

QString text(MainWindow& window, Field field) {
    return window.field(field)->text();
}
QString caption(MainWindow& window, Label label) {
    return window.label(label)->text();
}

class WindowCommandsTest : public ::testing::Test {
  protected:
    void click(Button which) { QTest::mouseClick(window.button(which), Qt::LeftButton); }

    MainWindow window;
};

// Each curve fills the fields and gets the captions of its spirals: the left-hand curve without
// spirals, then the right-hand one with both over it.
TEST_F(WindowCommandsTest, FieldsAndCaptionsFollowEachCurve) {
    ScriptedUser user(window, testing::leftHandCurveWithoutSpiralsAnswers());
    click(Button::DesignEntry);

    EXPECT_EQ(text(window, Field::A1), QStringLiteral("不设缓和曲线"));
    EXPECT_EQ(text(window, Field::A2), QStringLiteral("不设缓和曲线"));
    EXPECT_EQ(text(window, Field::HyChainage), QStringLiteral("K2+375.736"));
    EXPECT_EQ(text(window, Field::HyX), QStringLiteral(" 1062.132"));
    EXPECT_EQ(text(window, Field::YhChainage), QStringLiteral("K2+611.355"));
    EXPECT_EQ(text(window, Field::YhY), QStringLiteral(" 2120.030"));
    for (Field empty :
         {Field::ZhChainage, Field::ZhX, Field::ZhY, Field::HzChainage, Field::HzX, Field::HzY}) {
        EXPECT_EQ(text(window, empty), QString()) << fieldName(empty);
    }

    EXPECT_EQ(caption(window, Label::HyChainage), QStringLiteral("        ZY"));
    EXPECT_EQ(caption(window, Label::YhChainage), QStringLiteral("        YZ"));
    EXPECT_EQ(caption(window, Label::HyGroup), QStringLiteral("直圆点 :"));
    EXPECT_EQ(caption(window, Label::YhGroup), QStringLiteral("圆直点 :"));
    for (Label blank : {Label::ZhGroup, Label::ZhChainage, Label::ZhX, Label::ZhY, Label::HzGroup,
                        Label::HzChainage, Label::HzX, Label::HzY}) {
        EXPECT_EQ(caption(window, blank), QString()) << labelName(blank);
    }

    // The right-hand curve over it fills the design and curve fields.
    user.add(testing::rightHandCurveAnswers("n"));
    click(Button::DesignEntry);
    EXPECT_EQ(text(window, Field::JdNumber), QStringLiteral(" JD1"));
    EXPECT_EQ(text(window, Field::JdChainage), QStringLiteral("K 12+345.678"));
    EXPECT_EQ(text(window, Field::JdX), QStringLiteral(" 3456789.123"));
    EXPECT_EQ(text(window, Field::Radius), QStringLiteral(" 500.0000"));
    EXPECT_EQ(text(window, Field::A1), QStringLiteral(" 200.0000"));
    EXPECT_EQ(text(window, Field::Ls1), QStringLiteral("  80"));
    EXPECT_EQ(text(window, Field::Ls2), QStringLiteral("  125"));
    EXPECT_EQ(text(window, Field::EntryTangent), QStringLiteral("  176.8435"));
    EXPECT_EQ(text(window, Field::CentreX), QStringLiteral(" 3456336.1782"));
    EXPECT_EQ(text(window, Field::CentreY), QStringLiteral(" 512598.8637"));
    EXPECT_EQ(text(window, Field::ZhChainage), QStringLiteral("k 12+168.835"));
    EXPECT_EQ(text(window, Field::ZhX), QStringLiteral(" 3456665.1809"));
    EXPECT_EQ(text(window, Field::HyChainage), QStringLiteral("K12+248.835"));
    EXPECT_EQ(text(window, Field::YhChainage), QStringLiteral("K12+410.388"));
    EXPECT_EQ(text(window, Field::HzChainage), QStringLiteral("K12+535.388"));
    EXPECT_EQ(text(window, Field::HzX), QStringLiteral(" 3456837.445"));
    EXPECT_EQ(text(window, Field::HzY), QStringLiteral(" 512536.121"));
    // A curve with both spirals gets the design captions back.
    const std::pair<Label, const char*> designCaptions[] = {
        {Label::ZhGroup, "直缓点 :"}, {Label::ZhChainage, " 桩号 ZH"},
        {Label::ZhX, " 纵座标 X"},    {Label::ZhY, " 横座标 Y"},
        {Label::HyGroup, "缓圆点 :"}, {Label::HyChainage, " 桩号 HY"},
        {Label::HzGroup, "缓直点 :"}, {Label::HzChainage, " 桩号 HZ"},
        {Label::HzX, " 纵座标 X"},    {Label::HzY, " 横座标 Y"},
        {Label::YhGroup, "圆缓点 :"}, {Label::YhChainage, " 桩号 YH"},
    };
    for (const auto& [label, designed] : designCaptions)
        EXPECT_EQ(caption(window, label), QString::fromUtf8(designed)) << labelName(label);
    EXPECT_EQ(user.unexpectedQuestions(), 0);
    EXPECT_EQ(user.answersLeft(), 0u);
}

// The worked stake of the right-hand curve: chainage 12300 on the arc, the axis turned 15°30'
// clockwise from the normal, left distances 5 and 10, right distance 7.5, double row 1.5 in front
// of and 2 behind the axis.
TEST_F(WindowCommandsTest, StakeRunListsTheStakeAndItsSidePoints) {
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.push_back("0");  // the distances come with the stake run
    ScriptedUser user(window, design);
    click(Button::DesignEntry);
    ASSERT_EQ(user.answersLeft(), 0u);
    const std::size_t designQuestions = user.prompts().size();

    user.add({"0", "12300", "15.3", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    user.add(std::vector<std::string>(1 + 2 * (2 + 1), ""));  // one pause per stake and point
    const std::string stakePause = "单击 Enter 键或点击 OK 键显示中桩座标";
    const std::string pointPause = "需要输出计算结果按 Enter 键或 OK 键";
    // Left caption and fields, right caption and fields, as each point pause finds them.
    std::vector<QStringList> atPointPause;
    user.onQuestion([&](const std::string& prompt) {
        if (prompt != pointPause) {
            return;
        }
        QStringList shown;
        for (Label l : {Label::LeftDistance, Label::LeftX, Label::LeftY, Label::RightDistance,
                        Label::RightX, Label::RightY}) {
            shown << caption(window, l);
        }
        for (Field f : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                        Field::RightX, Field::RightY, Field::StakeChainage}) {
            shown << text(window, f);
        }
        atPointPause.push_back(shown);
    });
    click(Button::StakeRun);

    EXPECT_EQ(user.unexpectedQuestions(), 0);
    EXPECT_EQ(user.answersLeft(), 0u);
    const std::vector<std::string> runPrompts(user.prompts().begin() + designQuestions,
                                              user.prompts().end());
    EXPECT_EQ(std::count(runPrompts.begin(), runPrompts.end(), stakePause), 1);
    EXPECT_EQ(std::count(runPrompts.begin(), runPrompts.end(), pointPause), 6);

    EXPECT_EQ(text(window, Field::AxisAngle), QStringLiteral(" 15.3"));
    EXPECT_EQ(text(window, Field::StakeChainage), QStringLiteral(" k 12+300.000"));
    // The stake lies at X 3456750.4575, Y 512318.9125 to four decimals; both lie a little above
    // the half of the third decimal.
    EXPECT_EQ(text(window, Field::StakeX), QStringLiteral(" 3456750.458"));
    EXPECT_EQ(text(window, Field::StakeY), QStringLiteral(" 512318.913"));

    ASSERT_EQ(atPointPause.size(), 6u);
    // Before the first point: the stake is shown, no side point yet.
    EXPECT_EQ(atPointPause[0][12], QStringLiteral(" k 12+300.000"));
    EXPECT_EQ(atPointPause[0][6], QString());
    // Front row, left point 2 (10 m), the first point of the stake.
    EXPECT_EQ(atPointPause[1][0], QStringLiteral("前排第2点距离"));
    EXPECT_EQ(atPointPause[1][1], QStringLiteral("前排 xp(2)"));
    EXPECT_EQ(atPointPause[1][2], QStringLiteral("前排 yp(2)"));
    EXPECT_EQ(atPointPause[1][6], QStringLiteral(" 10 米"));
    EXPECT_EQ(atPointPause[1][7], QStringLiteral(" 3456760.415"));
    // Front row, left point 1 (5 m).
    EXPECT_EQ(atPointPause[2][0], QStringLiteral("前排第1点距离"));
    EXPECT_EQ(atPointPause[2][1], QStringLiteral("前排 xp(1)"));
    EXPECT_EQ(atPointPause[2][6], QStringLiteral(" 5 米"));
    EXPECT_EQ(atPointPause[2][7], QStringLiteral(" 3456755.675"));
    EXPECT_EQ(atPointPause[2][8], QStringLiteral(" 512318.744"));
    // Front row, right point 1 (7.5 m): the left fields are cleared, their captions stay.
    EXPECT_EQ(atPointPause[3][0], QStringLiteral("前排第1点距离"));
    EXPECT_EQ(atPointPause[3][6], QString());
    EXPECT_EQ(atPointPause[3][7], QString());
    EXPECT_EQ(atPointPause[3][8], QString());
    EXPECT_EQ(atPointPause[3][3], QStringLiteral("前排第1点距离"));
    EXPECT_EQ(atPointPause[3][4], QStringLiteral("前排 xp( 1)"));
    EXPECT_EQ(atPointPause[3][9], QStringLiteral(" 7.5 米"));
    EXPECT_EQ(atPointPause[3][10], QStringLiteral(" 3456743.824"));
    // Back row, the 10 m distance again: named by its distance, like the front row's point.
    EXPECT_EQ(atPointPause[4][0], QStringLiteral("后排第2点距离"));
    EXPECT_EQ(atPointPause[4][1], QStringLiteral("后排 xp(2)"));
    EXPECT_EQ(atPointPause[4][6], QStringLiteral(" 10 米"));
    EXPECT_EQ(atPointPause[4][7], QStringLiteral(" 3456759.302"));
    EXPECT_EQ(atPointPause[4][8], QStringLiteral(" 512313.835"));
    EXPECT_EQ(atPointPause[4][9], QString());

    // At the end: the last point, back row right point 1, with the left side cleared.
    EXPECT_EQ(caption(window, Label::LeftDistance), QStringLiteral("后排第1点距离"));
    EXPECT_EQ(caption(window, Label::LeftX), QStringLiteral("后排 xp(1)"));
    EXPECT_EQ(caption(window, Label::LeftY), QStringLiteral("后排 yp(1)"));
    EXPECT_EQ(caption(window, Label::RightX), QStringLiteral("后排 xp( 1)"));
    EXPECT_EQ(caption(window, Label::RightY), QStringLiteral("后排 yp( 1)"));
    EXPECT_EQ(text(window, Field::LeftDistance), QString());
    EXPECT_EQ(text(window, Field::LeftX), QString());
    EXPECT_EQ(text(window, Field::LeftY), QString());
    EXPECT_EQ(text(window, Field::RightDistance), QStringLiteral(" 7.5 米"));
    EXPECT_EQ(text(window, Field::RightX), QStringLiteral(" 3456742.711"));
    EXPECT_EQ(text(window, Field::RightY), QStringLiteral(" 512319.402"));
    // The stake captions never change.
    EXPECT_EQ(caption(window, Label::StakeChainage), QStringLiteral("  桩号 Kp"));
}

TEST_F(WindowCommandsTest, TheDesignEntryRunsThroughTheRealDialogs) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStringList answers;
    for (const std::string& answer : testing::rightHandCurveAnswers("n")) {
        answers << QString::fromStdString(answer);
    }
    DialogTypist typist(answers);
    // The first confirmation finds the number shown in Text1 while its dialog is open.
    QString text1AtFirstConfirmation;
    typist.onQuestion([&](const QString&) {
        if (typist.prompts().size() == 2) {
            text1AtFirstConfirmation = text(window, Field::JdNumber);
        }
    });
    click(Button::DesignEntry);

    EXPECT_EQ(typist.answersLeft(), 0);
    EXPECT_EQ(typist.prompts().size(), 19);
    EXPECT_EQ(typist.prompts().front(),
              QStringLiteral("请输入交点的点号 : ( 不需输入冠号，只需输入点号 ) "));
    EXPECT_EQ(text1AtFirstConfirmation, QStringLiteral("  JD1"));
    EXPECT_EQ(text(window, Field::JdNumber), QStringLiteral(" JD1"));
    EXPECT_EQ(text(window, Field::ZhChainage), QStringLiteral("k 12+168.835"));
    EXPECT_EQ(text(window, Field::HzX), QStringLiteral(" 3456837.445"));
}

TEST_F(WindowCommandsTest, PrintSendsTheComputedCurveToThePrinter) {
    ScriptedUser user(window, testing::rightHandCurveAnswers("n"));
    click(Button::DesignEntry);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("平曲线报表.pdf"));
    window.setPrinterFactory([&] { return makePdfPrinter(path.toStdString()); });
    click(Button::Print);
    EXPECT_TRUE(QFileInfo(path).size() > 0);
    // The printer tells where the report went.
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_NE(
        QString::fromStdString(user.messages().front()).indexOf(QStringLiteral("平曲线报表.pdf")),
        -1)
        << user.messages().front();
    EXPECT_EQ(user.unexpectedQuestions(), 0);
}

TEST_F(WindowCommandsTest, ClosingTheWindowEndsTheProgram) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(testing::execAfter([this] { window.close(); }), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowCommandsTest, FieldToolsInTheMenuBar) {
    auto* menu = window.findChild<QMenuBar*>(QStringLiteral("fieldTools"));
    ASSERT_NE(menu, nullptr);
    QStringList titles;
    for (QAction* action : menu->actions())
        titles << action->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("文件"), QStringLiteral("坐标反算"),
                                   QStringLiteral("导出中桩坐标"), QStringLiteral("视图"),
                                   QStringLiteral("线路"), QStringLiteral("平面图"),
                                   QStringLiteral("中桩成果表")}));

    ScriptedUser user(window, testing::rightHandCurveAnswers("n"));
    user.add({"0", "12300", ""});
    click(Button::DesignEntry);
    click(Button::StakeRun);
    // The stake at 12300 lies on the arc: it comes back to its own chainage, on the centre line.
    user.add({"3456750.4575", "512318.9125"});
    menu->actions().at(1)->trigger();
    ASSERT_FALSE(user.messages().empty());
    EXPECT_EQ(user.messages().back(),
              "坐标反算：桩号 K12+300.000，偏距 0.000 米（中线上），位于圆曲线。");

    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("中桩.dat")).toStdString();
    window.setExportChooser([&] { return ExportTarget{path, ExportFormat::Dat}; });
    menu->actions().at(2)->trigger();
    EXPECT_EQ(user.messages().back(), "已导出 1 个点到文件“" + path + "”。");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path)));
}

// The status bar tells what to do first until there is a curve; a run that changes the table's
// entry to "中桩成果表 (新)" moves no other entry of the menu bar.
TEST_F(WindowCommandsTest, TheFirstStepIsToldAndTheMenuBarStaysPut) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* status = window.findChild<QStatusBar*>(QStringLiteral("status"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("单击 开始计算 输入设计数据"));
    ScriptedUser user(window, {ScriptedUser::kCancel});
    click(Button::DesignEntry);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("单击 开始计算 输入设计数据"));

    auto* bar = window.findChild<QMenuBar*>(QStringLiteral("fieldTools"));
    auto places = [&] {
        QList<QRect> rects;
        for (QAction* action : bar->actions())
            rects << bar->actionGeometry(action);
        return rects;
    };
    const QList<QRect> before = places();
    user.add(testing::rightHandCurveAnswers("n"));
    click(Button::DesignEntry);
    EXPECT_EQ(status->currentMessage(), QString());
    user.add({"0", "12300", ""});
    click(Button::StakeRun);
    QAction* table = bar->findChild<QAction*>(QStringLiteral("stakeTable"));
    ASSERT_EQ(table->text(), QStringLiteral("中桩成果表 (新)"));
    const QList<QRect> after = places();
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i) {
        if (bar->actions().at(i) != table) {
            EXPECT_EQ(after[i], before[i]) << bar->actions().at(i)->text().toStdString();
        }
    }
}

// The fields show what the commands computed and nothing else: typing into one changes nothing,
// before any command and after one, while its text can still be selected and copied.
TEST_F(WindowCommandsTest, TypingIntoAFieldChangesNothing) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto typeInto = [&](Field field) {
        QLineEdit* edit = window.field(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "1111111.111");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
    };
    for (Field field : {Field::JdNumber, Field::LeftDistance, Field::LeftX, Field::StakeY}) {
        typeInto(field);
        EXPECT_EQ(text(window, field), QString()) << fieldName(field);
    }
    ScriptedUser user(window, testing::rightHandCurveAnswers("n"));
    click(Button::DesignEntry);
    for (Field field : {Field::ZhX, Field::JdChainage, Field::Radius, Field::CentreY}) {
        const QString computed = text(window, field);
        ASSERT_FALSE(computed.isEmpty()) << fieldName(field);
        typeInto(field);
        EXPECT_EQ(text(window, field), computed) << fieldName(field);
        EXPECT_TRUE(window.field(field)->isReadOnly());
    }
    window.field(Field::ZhX)->selectAll();
    QTest::keyClick(window.field(Field::ZhX), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), text(window, Field::ZhX));
}

// A stake shown clears the side points of the stake before it: a run left at the first pause of
// its first stake shows that stake alone, not beside the last run's side point.
TEST_F(WindowCommandsTest, AStakeShownClearsTheSidePointsBeforeIt) {
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.insert(design.end(), {"1", "1", "5", "1", "7.5", "1"});
    ScriptedUser user(window, design);
    click(Button::DesignEntry);
    user.add({"0", "12300", "0", "", "", ""});
    click(Button::StakeRun);
    ASSERT_EQ(text(window, Field::RightDistance), QStringLiteral(" 7.5 米"));

    QStringList sidesAtFirstPause;
    user.onQuestion([&](const std::string& prompt) {
        if (prompt == "需要输出计算结果按 Enter 键或 OK 键" && sidesAtFirstPause.isEmpty()) {
            for (Field f : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                            Field::RightX, Field::RightY})
                sidesAtFirstPause << text(window, f);
        }
    });
    user.add({"2", "12200", "12300", "100", "0", "", ScriptedUser::kCancel});
    click(Button::StakeRun);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(sidesAtFirstPause, QStringList(6, QString()));
    EXPECT_EQ(text(window, Field::StakeChainage), QStringLiteral(" k 12+200.000"));
    for (Field f : {Field::LeftDistance, Field::LeftX, Field::LeftY, Field::RightDistance,
                    Field::RightX, Field::RightY})
        EXPECT_EQ(text(window, f), QString()) << fieldName(f);
}

// A saved curve opens to the same fields and captions in another window; a double-clicked design
// value is asked again with its confirmation and the curve computed anew, and Esc at its
// question leaves everything as it was; the last curve comes back at the next start when wanted.
TEST_F(WindowCommandsTest, ACurveIsSavedOpenedAndChanged) {
    auto shown = [](MainWindow& w) {
        QStringList all;
        for (const layout::FieldLayout& f : layout::kFields)
            all << w.field(f.field)->text();
        for (const layout::LabelLayout& l : layout::kLabels)
            all << w.label(l.label)->text();
        return all;
    };
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.insert(design.end(), {"1", "2", "5", "10", "1", "7.5", "2", "1.5", "2"});
    ScriptedUser user(window, design);
    click(Button::DesignEntry);
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("JD1.csv")).toStdString();
    window.setCurveFileChooser([&](bool) { return std::optional<std::string>(path); });
    window.run(Command::SaveCurve);
    ASSERT_FALSE(user.messages().empty());
    EXPECT_EQ(user.messages().back(), "已保存曲线到文件“" + path + "”。");

    MainWindow other;
    ScriptedUser otherUser(other, {});
    other.setCurveFileChooser([&](bool) { return std::optional<std::string>(path); });
    other.run(Command::OpenCurve);
    EXPECT_EQ(otherUser.prompts().size(), 0u);
    EXPECT_EQ(shown(other), shown(window));
    EXPECT_EQ(other.record().sides.dl, window.record().sides.dl);
    EXPECT_EQ(other.record().sides.ds_r, window.record().sides.ds_r);

    // R 500 to 600: the spirals' lengths are A² / R.
    user.add({"600", ""});
    QTest::mouseDClick(window.field(Field::Radius), Qt::LeftButton);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(text(window, Field::Radius), QStringLiteral(" 600.0000"));
    EXPECT_NEAR(text(window, Field::Ls1).trimmed().toDouble(), 200.0 * 200 / 600, 1e-4);
    EXPECT_NEAR(text(window, Field::Ls2).trimmed().toDouble(), 250.0 * 250 / 600, 1e-4);
    EXPECT_NE(text(window, Field::ZhChainage), text(other, Field::ZhChainage));

    const QStringList before = shown(window);
    user.add({ScriptedUser::kCancel});
    QTest::mouseDClick(window.field(Field::Deflection), Qt::LeftButton);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(shown(window), before);
    EXPECT_EQ(window.record().design.R_m, 600);

    QAction* reopen = window.findChild<QAction*>(QStringLiteral("reopenLastCurve"));
    ASSERT_NE(reopen, nullptr);
    reopen->setChecked(true);
    {
        MainWindow next;
        EXPECT_EQ(shown(next), before);
    }
    reopen->setChecked(false);
    MainWindow plain;
    EXPECT_EQ(text(plain, Field::Radius), QString());
}

// The file dialogs open in the folder last chosen in one, kept between sessions; one that is gone
// sends them back to the documents folder.
TEST(FileDialogs, OpenInTheFolderLastChosen) {
    const QString documents = dialogFolder();
    {
        QTemporaryDir folder;
        rememberFolder(folder.filePath(QStringLiteral("JD1.csv")));
        EXPECT_EQ(dialogFolder(), folder.path());
        EXPECT_EQ(proposedPath(QStringLiteral("中桩坐标.csv")),
                  folder.filePath(QStringLiteral("中桩坐标.csv")));
        rememberFolder(QString());
        EXPECT_EQ(dialogFolder(), folder.path());
    }
    EXPECT_EQ(dialogFolder(), documents);
}

// The stake and side-point fields of the window, with the axis angle Q.
const Field kStakeFields[] = {Field::AxisAngle, Field::StakeChainage, Field::StakeX,
                              Field::StakeY,    Field::LeftDistance,  Field::LeftX,
                              Field::LeftY,     Field::RightDistance, Field::RightX,
                              Field::RightY};
// The side groups' captions the window starts with.
const std::pair<Label, const char*> kSideCaptions[] = {
    {Label::LeftDistance, "  路基宽度 DL"}, {Label::LeftX, "  纵座标 XL"},
    {Label::LeftY, "  横座标 YL"},          {Label::RightDistance, " 路基宽度 DR"},
    {Label::RightX, "  纵座标 XR"},         {Label::RightY, "  横座标 YR"}};

// When the curve changes, the stake of the old curve and its side points leave the window with
// the old run: after a double click on R and after a new 开始计算 alike, and a later run without
// side points shows none of an earlier run's captions.
TEST_F(WindowCommandsTest, ANewCurveShowsNoStakeOfTheOldOne) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.insert(design.end(), {"1", "1", "5", "1", "7.5", "2", "1.5", "2"});
    ScriptedUser user(window, design);
    click(Button::DesignEntry);
    const std::vector<std::string> run = {"0", "12300", "15.3", "1.5", "2", "", "", "", "", ""};
    const std::vector<std::function<void()>> changes = {
        [&] {
            user.add({"600", ""});
            QTest::mouseDClick(window.field(Field::Radius), Qt::LeftButton);
        },
        [&] {
            user.add(testing::rightHandCurveAnswers("y"));
            user.add({"1", "1", "5", "1", "7.5", "2", "1.5", "2"});
            click(Button::DesignEntry);
        },
    };
    for (const auto& change : changes) {
        user.add(run);
        click(Button::StakeRun);
        ASSERT_EQ(caption(window, Label::RightDistance), QStringLiteral("后排第1点距离"));
        ASSERT_FALSE(text(window, Field::StakeChainage).isEmpty());
        change();
        EXPECT_EQ(user.answersLeft(), 0u);
        EXPECT_TRUE(window.record().lastRun.stakes.empty());
        EXPECT_EQ(window.findChild<QAction*>(QStringLiteral("stakeTable"))->text(),
                  QStringLiteral("中桩成果表"));
        for (Field f : kStakeFields)
            EXPECT_EQ(text(window, f), QString()) << fieldName(f);
        for (const auto& [label, start] : kSideCaptions)
            EXPECT_EQ(caption(window, label), QString::fromUtf8(start)) << labelName(label);
    }
    // Side points off in the next curve's run: nothing of the side groups is left from before.
    user.add({"0", "12300", "15.3", "1.5", "2", "", "", "", "", ""});
    click(Button::StakeRun);
    user.add(testing::rightHandCurveAnswers("n"));
    click(Button::DesignEntry);
    user.add({"0", "12300", ""});
    click(Button::StakeRun);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(text(window, Field::StakeChainage), QStringLiteral(" k 12+300.000"));
    for (const auto& [label, start] : kSideCaptions)
        EXPECT_EQ(caption(window, label), QString::fromUtf8(start)) << labelName(label);
}

// A skew of 90 degrees or more either way is refused with the route's message and asked again:
// at 90 the left point stood on the centre line ahead of its stake.
TEST_F(WindowCommandsTest, ASkewOfNinetyDegreesOrMoreIsRefused) {
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.insert(design.end(), {"1", "1", "5", "0", "1"});
    ScriptedUser user(window, design);
    click(Button::DesignEntry);
    user.add({"0", "12300", "90", "-90", "135", "45", "", ""});
    click(Button::StakeRun);
    EXPECT_EQ(user.answersLeft(), 0u);
    EXPECT_EQ(user.messages(),
              (std::vector<std::string>(3, "斜交角要按 度.分秒 输入，并小于 90 度。")));
    EXPECT_EQ(text(window, Field::AxisAngle), QStringLiteral(" 45"));
    // The 5 m point lies 5 m from its stake, on the side of the left group.
    const double dx =
        text(window, Field::LeftX).toDouble() - text(window, Field::StakeX).toDouble();
    const double dy =
        text(window, Field::LeftY).toDouble() - text(window, Field::StakeY).toDouble();
    EXPECT_NEAR(std::hypot(dx, dy), 5, 2e-3);
}

// A design value that cannot be used is refused as soon as it is typed, in the real dialogs: the
// reason, then the value's own question again, with no confirmation in between.
TEST_F(WindowCommandsTest, AValueIsCheckedBeforeItIsConfirmed) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStringList answers;
    for (const std::string& a : testing::rightHandCurveAnswers("n"))
        answers << QString::fromStdString(a);
    // R is the 13th answer: typed empty, then 1e300, then 500.
    answers.insert(12, QString());
    answers.insert(13, QStringLiteral("1e300"));
    DialogTypist typist(answers);
    click(Button::DesignEntry);
    EXPECT_EQ(typist.answersLeft(), 0);
    const QStringList& prompts = typist.prompts();
    const int r =
        static_cast<int>(prompts.indexOf(QStringLiteral("请输入平曲线的半径 : ( 以米为单位 ) ")));
    ASSERT_GE(r, 0);
    EXPECT_EQ(prompts.mid(r, 4),
              (QStringList{QStringLiteral("请输入平曲线的半径 : ( 以米为单位 ) "),
                           QStringLiteral("输入正确的半径 :"), QStringLiteral("输入正确的半径 :"),
                           QStringLiteral("确认半径输入是否正确 ?  输入正确单击 "
                                          "Enter 键或点击 OK 钮; 错误输入零( "
                                          "即为:0 )")}));
    ASSERT_EQ(typist.messages().size(), 2);
    EXPECT_EQ(typist.messages()[0], QStringLiteral("平曲线半径 R 不能为空。"));
    EXPECT_TRUE(typist.messages()[1].contains(QStringLiteral("超出范围")))
        << typist.messages()[1].toStdString();
    EXPECT_EQ(text(window, Field::Radius), QStringLiteral(" 500.0000"));
    EXPECT_EQ(text(window, Field::ZhChainage), QStringLiteral("k 12+168.835"));
}

}  // namespace
}  // namespace hcurve

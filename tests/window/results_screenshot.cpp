// Renders 中桩成果表 and 平面图 after the right-hand example curve and a stake run with side
// points to two PNGs (the README shows them). Used by tools/screenshot.sh.
#include <QApplication>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window/plan_view_window.h"
#include "window/result_views.h"
#include "window/stake_table_window.h"
#include "window_test_support.h"

namespace {

bool grab(QWidget& window, const QSize& size, const char* path) {
    window.resize(size);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not appear\n");
        return false;
    }
    QTest::qWait(100);
    if (!window.grab().save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3) {
        std::fprintf(stderr, "usage: results_screenshot TABLE.png PLAN.png\n");
        return 2;
    }
    hcurve::MainWindow window;
    window.show();
    {
        // Two roadbed points on each side, 5 and 10 m out; stakes every 20 m from 12100 to 12600.
        std::vector<std::string> answers = hcurve::testing::rightHandCurveAnswers("y");
        answers.insert(answers.end(), {"1", "2", "5", "10", "2", "5", "10", "1"});
        hcurve::testing::ScriptedUser user(window, answers);
        window.run(hcurve::Command::DesignEntry);
        user.add({"2", "12100", "12600", "20", "0"});
        window.run(hcurve::Command::StakeRun);
    }
    window.resultViews().showStakeTable();
    window.resultViews().showPlanView();
    if (!grab(*window.resultViews().stakeTable(), QSize(640, 480), argv[1]))
        return 1;
    hcurve::PlanViewWindow& plan = *window.resultViews().planView();
    plan.resize(900, 640);
    plan.canvas()->fit();
    return grab(plan, QSize(900, 640), argv[2]) ? 0 : 1;
}

// Not a test: photographs the route window on the screen it runs on, window manager frame and
// all, with its stake table and its plan, and writes the route report and a stake report as PDF
// files (tools/route_screenshots.sh turns their pages into pictures).
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window/route_window.h"
#include "window_test_support.h"

namespace {

bool shoot(const char* path) {
    QTest::qWait(400);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!screen.save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 7) {
        std::fprintf(stderr,
                     "usage: route_screenshot ROUTE.csv TABLE.png PLAN.png ROUTE.pdf CURVE.pdf "
                     "CURVE-PLAN.png\n");
        return 2;
    }
    QString messages;
    hcurve::RouteWindow* route = hcurve::openRouteWindow(QString::fromLocal8Bit(argv[1]), messages);
    if (!route) {
        std::fprintf(stderr, "%s", messages.toUtf8().constData());
        return 1;
    }
    route->intervalField()->setText("20");
    route->fromField()->setText("K12+700");
    route->toField()->setText("K13+000");
    route->leftField()->setText("5");
    route->rightField()->setText("5");
    route->skewField()->setText("");
    route->computeStakes();
    route->tabs()->setCurrentIndex(2);
    route->show();
    if (!QTest::qWaitForWindowExposed(route) || !shoot(argv[2]))
        return 1;
    route->tabs()->setCurrentIndex(3);
    if (!shoot(argv[3]))
        return 1;
    route->print(QString::fromLocal8Bit(argv[4]));
    route->close();

    // The right-hand example curve with two piles each side, stakes every 10 m.
    hcurve::MainWindow window;
    std::vector<std::string> answers = hcurve::testing::rightHandCurveAnswers("y");
    answers.insert(answers.end(), {"1", "2", "5", "10", "2", "5", "10", "1"});
    hcurve::testing::ScriptedUser user(window, answers);
    window.run(hcurve::Command::DesignEntry);
    user.add({"2", "12100", "12600", "10", "0"});
    window.run(hcurve::Command::StakeRun);
    const std::string pdf = argv[5];
    window.setReportFileChooser([&] { return std::optional<std::string>(pdf); });
    window.run(hcurve::Command::StakeReport);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    return shoot(argv[6]) ? 0 : 1;
}

// Not a test: photographs, on the screen it runs on (window manager frame and all), the route
// window with its stake table, its plan with the stakes and their side points and its profile, the
// same road with its cross-section (横断面 and the stake table with the edges), and
// the main window after a curve was changed under a stake run; and writes the route report, the
// printed report and a stake report as PDF files (tools/route_screenshots.sh turns their first
// pages into pictures).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window/plan_view_window.h"
#include "window/qt_printer.h"
#include "window/result_views.h"
#include "window/route_window.h"
#include "window/section_view.h"
#include "window_test_support.h"

namespace {

bool shoot(const QString& path) {
    QTest::qWait(400);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!screen.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Zooms the plan in about a world point, as the wheel does.
void zoomAt(hcurve::PlanCanvas& plan, const hcurve::PlanePoint& at, int notches) {
    const QPointF where = plan.frame().toPicture(at, plan.size());
    QWheelEvent wheel(where, plan.mapToGlobal(where), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&plan, &wheel);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 6) {
        std::fprintf(stderr,
                     "usage: route_screenshot ROUTE.csv PROFILE.csv SIZE OUTDIR SECTION.csv "
                     "[GROUND.txt]\n"
                     "writes OUTDIR/route-window-SIZE.png, route-plan-SIZE.png,\n"
                     "route-profile-SIZE.png, route-section-SIZE.png,\n"
                     "with GROUND route-profile-ground-SIZE.png and route-stakes-ground-SIZE.png,\n"
                     "route-edges-SIZE.png, main-window-SIZE.png and, with SIZE\n"
                     "1024x768, route.pdf, print.pdf, stakes.pdf; with GROUND.txt only\n"
                     "route-section-ground-SIZE.png and, with SIZE 1024x768,\n"
                     "section-sheets.pdf\n");
        return 2;
    }
    const QString size = QString::fromLocal8Bit(argv[3]);
    const QString out = QString::fromLocal8Bit(argv[4]) + QStringLiteral("/");
    const bool reports = size == QStringLiteral("1024x768");
    if (argc > 6) {
        // With a ground file only the 横断面 tab with the ground: the second section with
        // ground, and (at 1024x768) the sheets of them all as PDF.
        const hcurve::Result<hcurve::RouteWindow*> groundOpened = hcurve::openRouteWindow(
            QStringList{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                        QString::fromLocal8Bit(argv[5]), QString::fromLocal8Bit(argv[6])});
        hcurve::RouteWindow* ground = groundOpened ? *groundOpened : nullptr;
        if (!ground || !ground->sectionPage()) {
            std::fprintf(stderr, "%s", hcurve::messageLines(groundOpened).toUtf8().constData());
            return 1;
        }
        ground->tabs()->setCurrentWidget(ground->sectionPage());
        ground->show();
        ground->sectionPage()->chooser()->setCurrentIndex(1);
        if (!QTest::qWaitForWindowExposed(ground) ||
            !shoot(out + "route-section-ground-" + size + ".png"))
            return 1;
        if (reports) {
            // The section shown as 保存横断面图… writes it as PDF (for a look only).
            if (!ground->saveSection(out + "section-file.pdf"))
                return 1;
            if (const hcurve::Result<void> saved =
                    ground->saveSectionSheets(out + "section-sheets.pdf");
                !saved) {
                std::fprintf(stderr, "%s\n", hcurve::failureLines(saved).toUtf8().constData());
                return 1;
            }
        }
        return 0;
    }
    const hcurve::Result<hcurve::RouteWindow*> opened = hcurve::openRouteWindow(
        QStringList{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])});
    if (!opened) {
        std::fprintf(stderr, "%s", hcurve::messageLines(opened).toUtf8().constData());
        return 1;
    }
    hcurve::RouteWindow* route = *opened;
    // Stakes every 20 m over JD1 with a point 5 m each side, the axis turned 15 degrees.
    route->intervalField()->setText("20");
    route->fromField()->setText("K12+100");
    route->toField()->setText("K12+600");
    route->leftField()->setText("5");
    route->rightField()->setText("5");
    route->skewField()->setText("15");
    if (!route->computeStakes())
        return 1;
    route->tabs()->setCurrentIndex(2);
    route->show();
    if (!QTest::qWaitForWindowExposed(route) || !shoot(out + "route-window-" + size + ".png"))
        return 1;
    route->tabs()->setCurrentIndex(3);
    QTest::qWait(200);
    route->plan()->fit();
    zoomAt(*route->plan(), {3456740, 512300}, 10);
    if (!shoot(out + "route-plan-" + size + ".png"))
        return 1;
    route->tabs()->setCurrentIndex(5);
    if (!shoot(out + "route-profile-" + size + ".png"))
        return 1;
    if (reports && !route->print(out + "route.pdf"))
        return 1;
    route->close();

    // The same road with surveyed ground: the profile with its ground line, and the stake table
    // scrolled to its ground columns.
    if (argc > 6) {
        const hcurve::Result<hcurve::RouteWindow*> groundOpened = hcurve::openRouteWindow(
            QStringList{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                        QString::fromLocal8Bit(argv[6])});
        if (!groundOpened) {
            std::fprintf(stderr, "%s", hcurve::messageLines(groundOpened).toUtf8().constData());
            return 1;
        }
        hcurve::RouteWindow* grounded = *groundOpened;
        grounded->intervalField()->setText("20");
        grounded->fromField()->setText("K12+100");
        grounded->toField()->setText("K12+600");
        grounded->leftField()->setText("");
        grounded->rightField()->setText("");
        grounded->skewField()->setText("");
        if (!grounded->computeStakes())
            return 1;
        grounded->tabs()->setCurrentIndex(5);
        grounded->show();
        if (!QTest::qWaitForWindowExposed(grounded) ||
            !shoot(out + "route-profile-ground-" + size + ".png"))
            return 1;
        grounded->tabs()->setCurrentIndex(2);
        QScrollBar* across = grounded->stakeTable()->horizontalScrollBar();
        across->setValue(across->maximum());
        if (!shoot(out + "route-stakes-ground-" + size + ".png"))
            return 1;
        grounded->close();
    }

    // The same road with its cross-section: the section at K12+300 in JD1's curve, and the stake
    // table with its edges.
    const hcurve::Result<hcurve::RouteWindow*> roadOpened = hcurve::openRouteWindow(
        QStringList{QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                    QString::fromLocal8Bit(argv[5])});
    hcurve::RouteWindow* road = roadOpened ? *roadOpened : nullptr;
    if (!road || !road->sectionPage()) {
        std::fprintf(stderr, "%s", hcurve::messageLines(roadOpened).toUtf8().constData());
        return 1;
    }
    if (!road->computeStakes())
        return 1;
    road->tabs()->setCurrentWidget(road->sectionPage());
    road->show();
    hcurve::SectionPage& page = *road->sectionPage();
    page.chooser()->setCurrentIndex(page.chooser()->findText("K12+300.000"));
    if (!QTest::qWaitForWindowExposed(road) || !shoot(out + "route-section-" + size + ".png"))
        return 1;
    // The section as 保存横断面图… writes it (for a look only).
    if (!road->saveSection(out + "section-file-" + size + ".png"))
        return 1;
    road->tabs()->setCurrentIndex(2);
    road->edgesBox()->setChecked(true);
    // The edges at the left of the view, as far as it goes.
    QTableView* table = road->stakeTable();
    const int columns = table->model()->columnCount();
    int first = 0;
    while (first < columns &&
           !table->model()->headerData(first, Qt::Horizontal).toString().endsWith("边缘偏距"))
        ++first;
    QScrollBar* across = table->horizontalScrollBar();
    while (first < columns && table->columnViewportPosition(first) > 0 &&
           across->value() < across->maximum())
        across->setValue(across->value() + 1);
    if (!shoot(out + "route-edges-" + size + ".png"))
        return 1;
    road->close();

    // The right-hand example curve with two piles each side and a run on it, then R changed from
    // 500 to 600 by a double click on its field: the window shows the new curve and no stake.
    hcurve::MainWindow window;
    window.showMaximized();
    std::vector<std::string> answers = hcurve::testing::rightHandCurveAnswers("y");
    answers.insert(answers.end(), {"1", "2", "5", "10", "2", "5", "10", "1"});
    hcurve::testing::ScriptedUser user(window, answers);
    window.run(hcurve::Command::DesignEntry);
    user.add({"2", "12100", "12600", "10", "15.3"});
    window.run(hcurve::Command::StakeRun);
    if (reports) {
        const std::string pdf = (out + "stakes.pdf").toStdString();
        window.setReportFileChooser([&] { return std::optional<std::string>(pdf); });
        window.run(hcurve::Command::StakeReport);
        const std::string printed = (out + "print.pdf").toStdString();
        window.setPrinterFactory([&] { return hcurve::makePdfPrinter(printed); });
        window.run(hcurve::Command::Print);
    }
    user.add({"600", ""});
    window.changeValue(hcurve::Field::Radius);
    if (!QTest::qWaitForWindowExposed(&window) || !shoot(out + "main-window-" + size + ".png"))
        return 1;

    // 平面图's 保存平面图… with its message open, and once it is closed: the plan window in
    // front, its message over it (tools/route_screenshots.sh keeps these for a look only).
    user.add({"0", "12300", "15.3", "", "", "", "", ""});
    window.run(hcurve::Command::StakeRun);
    window.resultViews().showPlanView();
    hcurve::PlanViewWindow& plan = *window.resultViews().planView();
    const std::string saved = (out + "plan.png").toStdString();
    plan.setPathChooser([&] { return saved; });
    window.userPort().setMessageSink({});
    bool shot = false;
    QTimer::singleShot(600, [&] {
        shot = shoot(out + "tool-message-" + size + ".png");
        if (auto* box = qobject_cast<QMessageBox*>(hcurve::testing::openDialog()))
            QTest::keyClick(box, Qt::Key_Return);
    });
    plan.save();
    return shot && shoot(out + "tool-after-" + size + ".png") ? 0 : 1;
}

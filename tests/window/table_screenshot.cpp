// Not a test: photographs the two stake tables with 100000 stakes on the screen it runs on (window
// manager frame and all): 中桩成果表 after a run of the right-hand example curve every 5 mm with
// two side points each way, at its top, scrolled to its end, sorted by chainage downwards and with
// rows selected; and the route window's 中桩表 of a route every 3 cm, at its top, at its end and
// with rows selected. Writes what Ctrl+C put on the clipboard and how long each table took to open
// beside the pictures (tools/table_screenshots.sh).
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "window/main_window.h"
#include "window/result_views.h"
#include "window/route_window.h"
#include "window/stake_table_window.h"
#include "window_test_support.h"

namespace {

QString outDir;

bool shoot(const char* name) {
    QTest::qWait(400);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = outDir + "/" + name;
    if (!screen.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void note(const char* name, const QString& text) {
    QFile file(outDir + "/" + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

// Selects the rows from..to (inclusive) and copies them with Ctrl+C.
QString copyRows(QTableView* view, int from, int to) {
    view->clearSelection();
    QItemSelection rows(view->model()->index(from, 0), view->model()->index(to, 0));
    view->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->setCurrentIndex(view->model()->index(from, 1));
    view->selectionModel()->select(rows, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view->scrollTo(view->model()->index(from, 0), QAbstractItemView::PositionAtCenter);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    return QApplication::clipboard()->text();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3) {
        std::fprintf(stderr, "usage: table_screenshot ROUTE.csv OUTDIR\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[2]);
    QString timings;

    hcurve::MainWindow window;
    window.show();
    {
        // Two roadbed points on each side, 5 and 10 m out; stakes every 5 mm from 12100 on: the
        // listing is left at its first pause, the run kept.
        std::vector<std::string> answers = hcurve::testing::rightHandCurveAnswers("y");
        answers.insert(answers.end(), {"1", "2", "5", "10", "2", "5", "10", "1"});
        hcurve::testing::ScriptedUser user(window, answers);
        window.run(hcurve::Command::DesignEntry);
        user.add({"2", "12100", "12599.995", "0.005", "0", hcurve::testing::ScriptedUser::kCancel});
        window.run(hcurve::Command::StakeRun);
    }
    QElapsedTimer clock;
    clock.start();
    window.resultViews().showStakeTable();
    hcurve::StakeTableWindow* table = window.resultViews().stakeTable();
    QCoreApplication::processEvents();
    timings += QStringLiteral("中桩成果表 %1 行：%2 ms\n")
                   .arg(table->model()->rowCount())
                   .arg(clock.elapsed());
    table->resize(760, 560);
    table->move(40, 40);
    if (!QTest::qWaitForWindowExposed(table) || !shoot("stake-table-top.png"))
        return 1;
    table->view()->scrollToBottom();
    if (!shoot("stake-table-end.png"))
        return 1;
    table->view()->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    table->view()->scrollToTop();
    if (!shoot("stake-table-sorted.png"))
        return 1;
    note("stake-table-copied.txt", copyRows(table->view(), 3, 7));
    if (!shoot("stake-table-selected.png"))
        return 1;
    table->close();

    const hcurve::Result<hcurve::RouteWindow*> opened =
        hcurve::openRouteWindow(QString::fromLocal8Bit(argv[1]));
    if (!opened) {
        std::fprintf(stderr, "%s", hcurve::messageLines(opened).toUtf8().constData());
        return 1;
    }
    hcurve::RouteWindow* route = *opened;
    route->intervalField()->setText("0.03");
    route->fromField()->setText("");
    route->toField()->setText("");
    route->leftField()->setText("5,10");
    route->rightField()->setText("5,10");
    route->skewField()->setText("");
    route->tabs()->setCurrentWidget(route->stakeTable()->parentWidget());
    route->show();
    if (!QTest::qWaitForWindowExposed(route))
        return 1;
    clock.restart();
    if (const hcurve::Result<void> computed = route->computeStakes(); !computed) {
        std::fprintf(stderr, "%s\n", hcurve::failureLines(computed).toUtf8().constData());
        return 1;
    }
    QCoreApplication::processEvents();
    timings += QStringLiteral("中桩表 %1 行：%2 ms\n")
                   .arg(route->stakeTable()->model()->rowCount())
                   .arg(clock.elapsed());
    if (!shoot("route-table-top.png"))
        return 1;
    route->stakeTable()->scrollToBottom();
    if (!shoot("route-table-end.png"))
        return 1;
    note("route-table-copied.txt", copyRows(route->stakeTable(), 16665, 16668));
    if (!shoot("route-table-selected.png"))
        return 1;
    note("timings.txt", timings);
    route->close();
    return 0;
}

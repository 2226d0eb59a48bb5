#include "app/result_views.h"

#include <QAction>
#include <QMenuBar>

#include "app/main_window.h"
#include "app/plan_view_window.h"
#include "app/stake_table_window.h"
#include "stakes/stake_export.h"
#include "views/plan_scene.h"

namespace hcurve {

ResultViews::ResultViews(MainWindow& window, QMenuBar& bar) : QObject(&window), window_(window) {
    QAction* table = bar.addAction(QStringLiteral("中桩成果表"));
    table->setObjectName(QStringLiteral("stakeTable"));
    connect(table, &QAction::triggered, this, &ResultViews::showStakeTable);
    QAction* plan = bar.addAction(QStringLiteral("平面图"));
    plan->setObjectName(QStringLiteral("planView"));
    connect(plan, &QAction::triggered, this, &ResultViews::showPlanView);
}

std::optional<ResultViews::CurveKey> ResultViews::curveKey() const {
    const std::optional<CurveElements>& c = window_.record().curve;
    if (!c)
        return std::nullopt;
    return CurveKey{c->zh, c->hz, c->xa, c->ya, c->xb, c->yb, c->Xo, c->Yo};
}

bool ResultViews::runOfAnotherCurve() const {
    return stakesOfLastRun(window_.record()) > 0 && !lastRunOnCurve(window_.record());
}

void ResultViews::commandEnded() {
    const CurveRecord& record = window_.record();
    const bool newRun = record.stakeRuns != seenRun_;
    if (newRun) {
        seenRun_ = record.stakeRuns;
        runJd_ = jdName(record);
    }
    const std::optional<CurveKey> curve = curveKey();
    const bool newCurve = curve != seenCurve_;
    seenCurve_ = curve;
    if (table_ && (newRun || newCurve))
        table_->showRun(runJd_, seenRun_, runOfAnotherCurve());
    if (plan_ && (newRun || newCurve))
        plan_->redraw(newCurve);
}

void ResultViews::showStakeTable() {
    if (!table_) {
        table_ = new StakeTableWindow(
            window_.record(), [this](const std::string& m) { window_.userPort().showMessage(m); },
            &window_);
        table_->showRun(runJd_, seenRun_, runOfAnotherCurve());
    }
    table_->show();
    table_->raise();
    table_->activateWindow();
}

void ResultViews::showPlanView() {
    if (!plan_) {
        plan_ = new PlanViewWindow(
            window_.record(), [this](const std::string& m) { window_.userPort().showMessage(m); },
            &window_);
    }
    plan_->show();
    plan_->raise();
    plan_->activateWindow();
}

}  // namespace hcurve

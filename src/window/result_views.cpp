#include "window/result_views.h"

#include <QAction>
#include <QMenuBar>

#include "layout/plan_scene.h"
#include "window/main_window.h"
#include "window/plan_view_window.h"
#include "window/stake_table_window.h"

namespace hcurve {

ResultViews::ResultViews(MainWindow& window, QMenuBar& bar) : QObject(&window), window_(window) {
    QAction* plan = bar.addAction(QStringLiteral("平面图"));
    plan->setObjectName(QStringLiteral("planView"));
    connect(plan, &QAction::triggered, this, &ResultViews::showPlanView);
    tableAction_ = bar.addAction(QStringLiteral("中桩成果表"));
    tableAction_->setObjectName(QStringLiteral("stakeTable"));
    connect(tableAction_, &QAction::triggered, this, &ResultViews::showStakeTable);
}

std::optional<ResultViews::CurveKey> ResultViews::curveKey() const {
    const std::optional<CurveElements>& c = window_.record().curve;
    if (!c)
        return std::nullopt;
    return CurveKey{c->zh, c->hz, c->xa, c->ya, c->xb, c->yb, c->Xo, c->Yo};
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
    // After a run the table's menu entry says so until the table is looked at.
    if (newRun && !record.lastRun.stakes.empty() && !(table_ && table_->isVisible()))
        markTableEntry(true);
    // A new curve took the run with it: there is nothing new to look at.
    if (record.lastRun.stakes.empty())
        markTableEntry(false);
    // A closed window catches up when it is opened again.
    tableStale_ |= newRun || newCurve;
    planStale_ |= newRun || newCurve;
    planRefit_ |= newCurve;
    refreshOpenWindows();
}

void ResultViews::refreshOpenWindows() {
    if (table_ && table_->isVisible() && tableStale_) {
        table_->showRun(runJd_, seenRun_);
        tableStale_ = false;
    }
    if (plan_ && plan_->isVisible() && planStale_) {
        plan_->redraw(planRefit_);
        planStale_ = planRefit_ = false;
    }
}

void ResultViews::markTableEntry(bool unseen) {
    tableAction_->setText(unseen ? QStringLiteral("中桩成果表 (新)")
                                 : QStringLiteral("中桩成果表"));
    tableAction_->setToolTip(unseen ? QStringLiteral("查看成果表：新的中桩计算结果") : QString());
}

void ResultViews::showStakeTable() {
    markTableEntry(false);
    if (!table_) {
        tableStale_ = true;
        table_ = new StakeTableWindow(
            window_.record(), [this](const std::string& m) { window_.userPort().tell(*table_, m); },
            &window_);
    }
    table_->show();
    refreshOpenWindows();
    table_->raise();
    table_->activateWindow();
}

void ResultViews::showPlanView() {
    if (!plan_) {
        plan_ = new PlanViewWindow(
            window_.record(), [this](const std::string& m) { window_.userPort().tell(*plan_, m); },
            &window_);
        planStale_ = planRefit_ = false;  // drawn from the record as it is
    }
    plan_->show();
    refreshOpenWindows();
    plan_->raise();
    plan_->activateWindow();
}

}  // namespace hcurve

// The windows that show the results as a whole: 中桩成果表 and 平面图. They open from the main
// window's menu bar, never by themselves, and follow every command that changes the curve or
// makes a new stake run.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "curve/curve_record.h"

class QAction;
class QMenuBar;

namespace hcurve {

class MainWindow;
class PlanViewWindow;
class StakeTableWindow;

class ResultViews : public QObject {
    Q_OBJECT

  public:
    /// Adds the two menu entries to the bar, 平面图 and then 中桩成果表.
    ResultViews(MainWindow& window, QMenuBar& bar);

    /// Called after every command: refreshes the open windows when the curve or the run changed;
    /// after a new run the table's menu entry reads "中桩成果表 (新)" until the table is opened.
    void commandEnded();

    void showStakeTable();
    void showPlanView();
    /// The windows, or nothing before they were first opened.
    StakeTableWindow* stakeTable() const { return table_; }
    PlanViewWindow* planView() const { return plan_; }

  private:
    using CurveKey = std::array<double, 8>;
    std::optional<CurveKey> curveKey() const;
    void refreshOpenWindows();
    void markTableEntry(bool unseen);

    MainWindow& window_;
    QAction* tableAction_;
    StakeTableWindow* table_ = nullptr;
    PlanViewWindow* plan_ = nullptr;
    std::uint32_t seenRun_ = 0;
    std::string runJd_;
    std::optional<CurveKey> seenCurve_;
    bool tableStale_ = false, planStale_ = false, planRefit_ = false;
};

}  // namespace hcurve

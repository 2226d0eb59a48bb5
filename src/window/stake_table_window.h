// 中桩成果表: the last stake run in one table, every stake and side point on a row, which copies
// into a spreadsheet and exports to the two stake files.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "curve/curve_record.h"
#include "stakes/field_tools.h"
#include "stakes/stake_list.h"
#include "stakes/stake_table.h"

class QLabel;
class QTableView;

namespace hcurve {

/// The rows of a run, every stake followed by its side points; a row's texts are made when the
/// view asks for them, so that a run of 100000 stakes opens at once. Sorting by chainage keeps each
/// stake's side points under it.
class StakeTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;
    ~StakeTableModel() override;

    /// Shows a copy of the run (the record's run may change while the table is open).
    void setRun(const StakeRun& run);
    std::size_t stakeCount() const { return run_.stakes.size(); }
    std::size_t sidePointsPerStake() const;
    /// The row shown at a place of the view; valid until the next call.
    const StakeTableRow& row(int shown) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    /// Sorts by chainage (column 0); the other columns keep the order.
    void sort(int column, Qt::SortOrder order) override;

  private:
    StakeRun run_;
    std::unique_ptr<RunStakes> stakes_;  // reads run_
    std::size_t rowsPerStake_ = 1;
    std::vector<std::size_t> order_;  // the stakes as shown
    // The rows of the stake last asked for.
    mutable std::size_t madeStake_ = 0;
    mutable std::vector<StakeTableRow> made_;
    mutable RunStake stake_;
};

class StakeTableWindow : public QWidget {
    Q_OBJECT

  public:
    /// Where an export goes: a path, or nothing when the user cancels. A save-file dialog unless
    /// replaced (tests choose the file themselves).
    using PathChooser = std::function<std::optional<std::string>(ExportFormat format)>;
    using Teller = std::function<void(const std::string& message)>;

    StakeTableWindow(const CurveRecord& record, Teller tell, QWidget* parent = nullptr);

    /// Shows the record's last run, made at JD jd as the run-th run of this session.
    void showRun(const std::string& jd, std::uint32_t run);

    /// The rows as tab-separated text with the header: the selected rows, or all when none is
    /// selected; in the order shown.
    QString copiedText() const;
    /// Puts copiedText() on the clipboard (Ctrl+C).
    void copy();
    void exportRun(ExportFormat format);
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }

    QTableView* view() const { return view_; }
    QLabel* heading() const { return heading_; }
    StakeTableModel* model() const { return model_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<std::string> choosePath(ExportFormat format);

    const CurveRecord& record_;
    Teller tell_;
    PathChooser chooser_;
    QLabel* heading_;
    QTableView* view_;
    StakeTableModel* model_;
};

}  // namespace hcurve

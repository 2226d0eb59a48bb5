#include "window/stake_table_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "window/file_dialogs.h"

namespace hcurve {
namespace {

enum Column { Chainage, Point, Side, Distance, X, Y, ColumnCount };

// The text of each column, in the order of Column.
const std::string StakeTableRow::*const kColumnTexts[ColumnCount] = {
    &StakeTableRow::chainage,   &StakeTableRow::point, &StakeTableRow::side,
    &StakeTableRow::distance_m, &StakeTableRow::x,     &StakeTableRow::y};

QString cell(const StakeTableRow& row, int column) {
    if (column < 0 || column >= ColumnCount)
        return {};
    return QString::fromStdString(row.*kColumnTexts[column]);
}

}  // namespace

StakeTableModel::~StakeTableModel() = default;

void StakeTableModel::setRun(const StakeRun& run) {
    beginResetModel();
    stakes_.reset();
    made_.clear();
    run_ = run;
    stakes_ = std::make_unique<RunStakes>(run_);
    rowsPerStake_ = 1 + stakes_->sidePointsPerStake();
    order_.resize(run_.stakes.size());
    for (std::size_t i = 0; i < order_.size(); ++i)
        order_[i] = i;
    endResetModel();
}

std::size_t StakeTableModel::sidePointsPerStake() const {
    return rowsPerStake_ - 1;
}

const StakeTableRow& StakeTableModel::row(int shown) const {
    const auto at = static_cast<std::size_t>(shown);
    const std::size_t stake = order_[at / rowsPerStake_];
    if (made_.empty() || madeStake_ != stake) {
        stakes_->stakeAt(stake, stake_);
        made_ = stakeTableRows(stake_);
        madeStake_ = stake;
    }
    return made_[at % rowsPerStake_];
}

int StakeTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size() * rowsPerStake_);
}

int StakeTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant StakeTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(row(index.row()), index.column());
    if (role == Qt::FontRole && static_cast<std::size_t>(index.row()) % rowsPerStake_ == 0) {
        QFont stake;
        stake.setBold(true);
        return stake;
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number =
            index.column() == Distance || index.column() == X || index.column() == Y;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant StakeTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString::fromUtf8(kStakeTableHeader).split('\t').value(section);
}

void StakeTableModel::sort(int column, Qt::SortOrder order) {
    if (column != Chainage)
        return;
    emit layoutAboutToBeChanged();
    // The stakes in chainage order, stakes at one chainage in run order; the rows of one stake
    // stay together, in the listing's order.
    std::sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        const double ca = run_.stakes[a].chainage_m, cb = run_.stakes[b].chainage_m;
        if (ca != cb)
            return order == Qt::AscendingOrder ? ca < cb : ca > cb;
        return a < b;
    });
    emit layoutChanged();
}

StakeTableWindow::StakeTableWindow(const CurveRecord& record, Teller tell, QWidget* parent)
    : QWidget(parent, Qt::Window), record_(record), tell_(std::move(tell)) {
    setWindowTitle(QStringLiteral("中桩成果表"));
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("heading"));
    model_ = new StakeTableModel(this);
    view_ = new QTableView(this);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setAlternatingRowColors(true);
    // Only the chainage sorts: a stake's side points stay under it.
    view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view_->setSortingEnabled(true);
    connect(view_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int section, Qt::SortOrder) {
                if (section > Chainage)
                    view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            });
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);

    // The view would copy only the current cell.
    view_->installEventFilter(this);

    auto* copyButton = new QPushButton(QStringLiteral("复制 (Ctrl+C)"), this);
    auto* csvButton = new QPushButton(QStringLiteral("导出 .csv 表格…"), this);
    auto* datButton = new QPushButton(QStringLiteral("导出 .dat 点文件…"), this);
    auto* gsiButton = new QPushButton(QStringLiteral("导出 .gsi 全站仪文件…"), this);
    csvButton->setObjectName(QStringLiteral("exportCsv"));
    datButton->setObjectName(QStringLiteral("exportDat"));
    gsiButton->setObjectName(QStringLiteral("exportGsi"));
    connect(copyButton, &QPushButton::clicked, this, &StakeTableWindow::copy);
    connect(csvButton, &QPushButton::clicked, this, [this] { exportRun(ExportFormat::Csv); });
    connect(datButton, &QPushButton::clicked, this, [this] { exportRun(ExportFormat::Dat); });
    connect(gsiButton, &QPushButton::clicked, this, [this] { exportRun(ExportFormat::Gsi); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addStretch(1);
    buttons->addWidget(csvButton);
    buttons->addWidget(datButton);
    buttons->addWidget(gsiButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(720, 560);
    heading_->setText(QString::fromUtf8(kNoStakeRun));
}

void StakeTableWindow::showRun(const std::string& jd, std::uint32_t run) {
    view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    model_->setRun(record_.lastRun);
    const std::size_t stakes = model_->stakeCount();
    const std::size_t sidePoints = stakes * model_->sidePointsPerStake();
    if (stakes == 0) {
        heading_->setText(QString::fromUtf8(kNoStakeRun));
    } else {
        QString text = QStringLiteral("%1 的第 %2 次中桩计算：%3 个中桩")
                           .arg(QString::fromStdString(jd))
                           .arg(run)
                           .arg(stakes);
        if (sidePoints > 0)
            text += QStringLiteral("，%1 个边桩").arg(sidePoints);
        text += QStringLiteral("。");
        heading_->setText(text);
    }
    // Sized to the rows the view looks at (its first and last screens), not to every row.
    view_->resizeColumnsToContents();
}

bool StakeTableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString StakeTableWindow::copiedText() const {
    std::vector<int> shown;
    for (const QModelIndex& index : view_->selectionModel()->selectedRows())
        shown.push_back(index.row());
    if (shown.empty()) {
        for (int i = 0; i < model_->rowCount(); ++i)
            shown.push_back(i);
    }
    std::sort(shown.begin(), shown.end());
    std::string text = std::string(kStakeTableHeader) + "\n";
    for (int i : shown)
        text += stakeTableLine(model_->row(i));
    return QString::fromStdString(text);
}

void StakeTableWindow::copy() {
    QApplication::clipboard()->setText(copiedText());
}

void StakeTableWindow::exportRun(ExportFormat format) {
    if (Result<void> refusal = exportRefusal(record_); !refusal) {
        tell_(refusal.failure().message);
        return;
    }
    std::optional<std::string> path = chooser_ ? chooser_(format) : choosePath(format);
    if (!path)
        return;
    const Result<std::string> exported = exportLastRun(record_, *path, format);
    tell_(exported ? *exported : exported.failure().message);
}

std::optional<std::string> StakeTableWindow::choosePath(ExportFormat format) {
    struct Kind {
        ExportFormat format;
        const char* name;
        const char* filter;
        const char* extension;
    };
    static const Kind kinds[] = {
        {ExportFormat::Csv, "中桩坐标.csv", "CSV 表格 (*.csv)", ".csv"},
        {ExportFormat::Dat, "中桩坐标.dat", "点文件 name,code,Y,X,H (*.dat)", ".dat"},
        {ExportFormat::Gsi, "中桩坐标.gsi", "全站仪点文件 Leica GSI-16 (*.gsi)", ".gsi"}};
    const Kind& kind = *std::find_if(std::begin(kinds), std::end(kinds),
                                     [&](const Kind& k) { return k.format == format; });
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出中桩坐标"),
                                                proposedPath(QString::fromUtf8(kind.name)),
                                                QString::fromUtf8(kind.filter));
    if (path.isEmpty())
        return std::nullopt;
    rememberFolder(path);
    if (exportFormatOf(path.toStdString()) != format)
        path += QString::fromUtf8(kind.extension);
    return path.toStdString();
}

}  // namespace hcurve

#include "window/route_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

#include "alignment/earthwork.h"
#include "cad/route_dxf.h"
#include "commands/plan_format.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "export/point_files.h"
#include "platform/file_writing.h"
#include "port/messages.h"
#include "report/report_document.h"
#include "route_files/ground_columns.h"
#include "route_files/landxml_writing.h"
#include "route_files/route_file.h"
#include "route_files/route_loading.h"
#include "route_files/section_output.h"
#include "route_files/stake_request.h"
#include "route_files/vertical_table.h"
#include "stakes/field_tools.h"
#include "views/plan_file.h"
#include "views/route_plan_scene.h"
#include "views/section_painter.h"
#include "window/file_dialogs.h"
#include "window/plan_view_window.h"
#include "window/profile_view.h"
#include "window/qt_printer.h"
#include "window/section_view.h"

namespace hcurve {
namespace {

// The size the window asks for, and the share of the screen's free area it takes at most (the
// rest is left to the window manager's frame).
constexpr int kWantedWidth_px = 1100;
constexpr int kWantedHeight_px = 700;
constexpr double kScreenShare = 0.92;

// What the window keeps between openings.
const char* const kSettingsOrganisation = "hcurve";
const char* const kSettingsApplication = "hcurve";
const char* const kGeometryKey = "route/geometry";
const char* const kFormKeys[] = {"route/interval", "route/from",  "route/to",
                                 "route/left",     "route/right", "route/skew"};
// A continuous chainage within this of a chain break is the break's own stake.
constexpr double kAtBreak_m = 1e-6;
// A column's width is measured by Qt on the rows about the top of its table, and by fitColumns on
// as many more spread over the table (the first and the last among them); the room beside a
// cell's text.
constexpr int kRowsMeasured = 100;
constexpr std::size_t kRowsSampled = 64;
constexpr int kCellMargins_px = 12;
// The stakes of the 横断面 tab before a stake table is computed: every this many metres.
constexpr double kSectionInterval_m = 20;
// The profile's drawing on paper and in files, in its own units (pixels of 96 dpi).
constexpr double kProfileWidth = 1600, kProfileHeight = 900;

// What a print tells: where it went in an information box, or why it went nowhere in a warning.
void tellPrinted(QWidget* parent, const Result<QString>& printed) {
    if (printed)
        QMessageBox::information(parent, QStringLiteral("打印"), *printed);
    else
        QMessageBox::warning(parent, QStringLiteral("打印"), failureLines(printed));
}

// A chainage text as the tables write it, before zero too ("K0-153.100").
bool isChainageText(const std::string& cell) {
    return !cell.empty() && cell[0] == 'K' && readChainage(cell);
}

// Numbers and chainages flush right, so that their digits stand under each other.
bool flushRight(const std::string& cell) {
    return readNumber(cell) || isChainageText(cell);
}

// Ctrl+C in a table copies the selected rows whole (every row when none is selected), the header
// first, as tab-separated text that pastes into a spreadsheet column by column, as 中桩成果表
// copies; the view itself would copy the current cell only.
class RowCopy : public QObject {
  public:
    explicit RowCopy(QTableView* table) : QObject(table), table_(table) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != table_ || event->type() != QEvent::KeyPress ||
            !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
            return false;
        QApplication::clipboard()->setText(copiedRows(*table_));
        return true;
    }

  private:
    QTableView* table_;
};

QTableView* makeTable(QWidget* parent, QAbstractItemModel* model) {
    auto* table = new QTableView(parent);
    table->installEventFilter(new RowCopy(table));
    table->setModel(model);
    table->verticalHeader()->setVisible(false);
    // Columns are sized to a sample of the rows, not to every row (fitColumns).
    table->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}

// The ground of a route's files: its surveyed sections and its terrain model. Where the model
// cannot be built the route opens with the surveyed sections alone, and the model's faults are
// told among the warnings.
RouteGround loadedGround(const LoadedRoute& loading, std::vector<Failure>& warnings) {
    Result<RouteGround> ground = routeGround(loading.ground, loading.groundSections);
    if (ground)
        return std::move(*ground);
    const auto shownFile = [&loading](std::size_t file) {
        return shownText(loading.files.empty()
                             ? std::string()
                             : loading.files[file < loading.files.size() ? file : 0]);
    };
    for (Failure& f : routeFaultLines(ground.failures(), shownFile))
        warnings.push_back(std::move(f));
    RouteGround surveyed;
    surveyed.surveyed = loading.groundSections;
    return surveyed;
}

}  // namespace

QString copiedRows(const QTableView& table) {
    const QAbstractItemModel& model = *table.model();
    std::vector<int> rows;
    if (table.selectionModel()) {
        for (const QModelIndex& index : table.selectionModel()->selectedIndexes())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        for (int r = 0; r < model.rowCount(); ++r)
            rows.push_back(r);
    }
    QStringList lines;
    QStringList fields;
    for (int c = 0; c < model.columnCount(); ++c)
        fields << model.headerData(c, Qt::Horizontal).toString();
    lines << fields.join(QLatin1Char('\t'));
    for (int r : rows) {
        fields.clear();
        for (int c = 0; c < model.columnCount(); ++c)
            fields << model.data(model.index(r, c)).toString();
        lines << fields.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// A table of the route: its rows' texts are made when the view asks for them (the stake table's
// from the stakes, with the texts of the CSV) and kept while they are on screen.
class RouteTableModel : public QAbstractTableModel {
  public:
    using RowTexts = std::function<std::vector<std::string>(std::size_t row)>;
    // A row of a chain break: the chainage before the break or the one after it.
    enum class Mark { BeforeBreak, AfterBreak };

    using QAbstractTableModel::QAbstractTableModel;

    void setTable(std::vector<std::string> header, std::size_t rows, RowTexts texts,
                  std::map<std::size_t, Mark> marks = {}) {
        beginResetModel();
        header_ = std::move(header);
        rows_ = rows;
        texts_ = std::move(texts);
        marks_ = std::move(marks);
        made_.clear();
        endResetModel();
    }
    // All rows ready, the header first.
    void setRows(TableRows rows) {
        auto kept = std::make_shared<const TableRows>(std::move(rows));
        const std::size_t count = kept->empty() ? 0 : kept->size() - 1;
        setTable(kept->empty() ? std::vector<std::string>{} : kept->front(), count,
                 [kept](std::size_t row) { return (*kept)[row + 1]; });
    }
    const std::map<std::size_t, Mark>& marks() const { return marks_; }

    // A cell as shown: the 点 column of a chain break's rows says so.
    std::string cell(std::size_t row, std::size_t column) const {
        const std::vector<std::string>& texts = rowTexts(row);
        if (column >= texts.size())
            return {};
        if (column == 0 && texts[0].empty()) {
            const auto mark = marks_.find(row);
            if (mark != marks_.end())
                return mark->second == Mark::BeforeBreak ? "断链前" : "断链后";
        }
        return texts[column];
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(header_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const auto row = static_cast<std::size_t>(index.row());
        const auto column = static_cast<std::size_t>(index.column());
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(cell(row, column));
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(
                    Qt::AlignVCenter |
                    (flushRight(cell(row, column)) ? Qt::AlignRight : Qt::AlignLeft));
            case Qt::BackgroundRole:
                if (marks_.count(row))
                    return QColor(255, 236, 200);
                return {};
            default:
                return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            static_cast<std::size_t>(section) >= header_.size())
            return QAbstractTableModel::headerData(section, orientation, role);
        return QString::fromStdString(header_[static_cast<std::size_t>(section)]);
    }

  private:
    const std::vector<std::string>& rowTexts(std::size_t row) const {
        // The view asks for a screen's rows column by column; those rows stay made.
        constexpr std::size_t kMostKept = 4096;
        auto made = made_.find(row);
        if (made == made_.end()) {
            if (made_.size() >= kMostKept)
                made_.clear();
            made = made_.emplace(row, texts_(row)).first;
        }
        return made->second;
    }

    std::vector<std::string> header_;
    std::size_t rows_ = 0;
    RowTexts texts_;
    std::map<std::size_t, Mark> marks_;
    mutable std::unordered_map<std::size_t, std::vector<std::string>> made_;
};

namespace {

// Sizes the columns to the header and the rows about the top (Qt's measure), then widens each to
// the texts of rows spread over the whole table and of the marked rows, so that the far rows of a
// long table are not cut short either.
void fitColumns(QTableView* table, const RouteTableModel& model) {
    table->resizeColumnsToContents();
    const auto rows = static_cast<std::size_t>(model.rowCount());
    if (rows == 0)
        return;
    std::vector<std::size_t> sample;
    for (std::size_t k = 0; k <= kRowsSampled; ++k)
        sample.push_back(k * (rows - 1) / kRowsSampled);
    for (const auto& [row, mark] : model.marks())
        sample.push_back(row);
    const QFontMetrics metrics = table->fontMetrics();
    for (int column = 0; column < model.columnCount(); ++column) {
        int widest = 0;
        for (std::size_t row : sample) {
            const std::string text = model.cell(row, static_cast<std::size_t>(column));
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(text)));
        }
        table->setColumnWidth(column,
                              std::max(table->columnWidth(column), widest + kCellMargins_px));
    }
}

void fill(QTableView* table, TableRows rows) {
    auto* model = static_cast<RouteTableModel*>(table->model());
    model->setRows(std::move(rows));
    fitColumns(table, *model);
}

// A table of the route as a report's table: numbers and chainages set flush right.
ReportTable reportTable(const std::string& heading, const TableRows& rows) {
    ReportTable table{heading, rows.empty() ? std::vector<std::string>{} : rows[0], {}, {}};
    table.rows.assign(rows.begin() + (rows.empty() ? 0 : 1), rows.end());
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        bool numeric = true;
        for (const std::vector<std::string>& row : table.rows) {
            if (c < row.size() && !row[c].empty() && !readNumber(row[c]) && !isChainageText(row[c]))
                numeric = false;
        }
        table.numeric.push_back(numeric);
    }
    return table;
}

}  // namespace

RouteWindow::RouteWindow(Route route, const QStringList& files, QWidget* parent)
    : RouteWindow(std::move(route), std::nullopt, files, parent) {}

RouteWindow::RouteWindow(Route route, std::optional<CrossSection> section, const QStringList& files,
                         QWidget* parent)
    : QWidget(parent), route_(std::move(route)), section_(std::move(section)), files_(files) {
    tabs_ = new QTabWidget(this);

    // A route of elements has no JDs and so no curve-element table; every route has its chain.
    elements_ = makeTable(tabs_, new RouteTableModel(this));
    segments_ = makeTable(tabs_, new RouteTableModel(this));

    // The stake table with its form: every value of a stretch in one place.
    stakePage_ = new QWidget(tabs_);
    auto* form = new QFormLayout;
    auto field = [&](const QString& caption, const QString& initial) {
        auto* edit = new QLineEdit(initial, stakePage_);
        form->addRow(caption, edit);
        return edit;
    };
    interval_ = field(QStringLiteral("桩距 (米)"), QStringLiteral("20"));
    from_ = field(QStringLiteral("起点 (里程或桩号，空为 BP)"), QString());
    to_ = field(QStringLiteral("终点 (里程或桩号，空为 EP)"), QString());
    left_ = field(QStringLiteral("左侧距离 (米，逗号分开)"), QString());
    right_ = field(QStringLiteral("右侧距离 (米，逗号分开)"), QString());
    skew_ = field(QStringLiteral("斜交角 (度.分秒，空为正交)"), QString());
    auto* compute = new QPushButton(QStringLiteral("计算中桩"), stakePage_);
    auto* exportButton = new QPushButton(QStringLiteral("导出…"), stakePage_);
    auto* printButton = new QPushButton(QStringLiteral("打印"), stakePage_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(compute);
    buttons->addWidget(exportButton);
    buttons->addWidget(printButton);
    // With a cross-section: the edges of every component beside each stake, when asked.
    edgesBox_ = new QCheckBox(QStringLiteral("显示边缘"), stakePage_);
    edgesBox_->setObjectName(QStringLiteral("showEdges"));
    edgesBox_->setToolTip(QStringLiteral("每个部件外边缘的偏距和高程（含加宽、超高）"));
    connect(edgesBox_, &QCheckBox::toggled, this, [this] {
        showStakeTable();
        stakes_->scrollToTop();
    });
    buttons->addSpacing(16);
    buttons->addWidget(edgesBox_);
    buttons->addStretch();
    stakeModel_ = new RouteTableModel(this);
    stakes_ = makeTable(stakePage_, stakeModel_);
    auto* stakeLayout = new QVBoxLayout(stakePage_);
    stakeLayout->addLayout(form);
    stakeLayout->addLayout(buttons);
    stakeLayout->addWidget(stakes_, 1);

    // The plan, drawn as the one-curve plan is: zoom about the cursor, drag, fit.
    planPage_ = new QWidget(tabs_);
    plan_ = new PlanCanvas(planPage_);
    plan_->setObjectName(QStringLiteral("routePlan"));
    planCoordinates_ = new QLabel(planPage_);
    auto* fitButton = new QPushButton(QStringLiteral("适合窗口"), planPage_);
    fitButton->setToolTip(QStringLiteral("整条路线放进窗口 (也可双击图面)"));
    connect(fitButton, &QPushButton::clicked, plan_, &PlanCanvas::fit);
    connect(plan_, &PlanCanvas::pointed, this, [this](std::optional<PlanePoint> at) {
        planCoordinates_->setText(at ? QStringLiteral("X (北) = %1    Y (东) = %2")
                                           .arg(at->x_m, 0, 'f', 3)
                                           .arg(at->y_m, 0, 'f', 3)
                                     : QString());
    });
    auto* savePlanButton = new QPushButton(QStringLiteral("保存平面图…"), planPage_);
    savePlanButton->setObjectName(QStringLiteral("savePlan"));
    savePlanButton->setToolTip(
        QStringLiteral("按所见保存为 PNG、SVG 或 PDF 文件，或存为 DXF 图形供 CAD 使用"));
    connect(savePlanButton, &QPushButton::clicked, this, &RouteWindow::runSavePlan);
    auto* planTools = new QHBoxLayout;
    planTools->addWidget(fitButton);
    planTools->addWidget(savePlanButton);
    planTools->addSpacing(16);
    planTools->addWidget(planCoordinates_, 1);
    auto* planLayout = new QVBoxLayout(planPage_);
    planLayout->addLayout(planTools);
    planLayout->addWidget(plan_, 1);

    // The files read, and a grade line or cross-fall from another folder added to them.
    auto* addButton = new QPushButton(QStringLiteral("添加纵断面/横坡…"), this);
    addButton->setObjectName(QStringLiteral("addFiles"));
    addButton->setToolTip(
        QStringLiteral("把另一个文件（纵断面、横坡或断链表，可在别的文件夹）加到这条路线"));
    connect(addButton, &QPushButton::clicked, this, &RouteWindow::runAddFiles);
    filesLabel_ = new QLabel(this);
    filesLabel_->setObjectName(QStringLiteral("files"));
    filesLabel_->setTextFormat(Qt::PlainText);
    auto* top = new QHBoxLayout;
    top->addWidget(filesLabel_, 1);
    top->addWidget(addButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tabs_);
    showRoute();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentWidget() == planPage_)
            catchUpPlan();
        // The keys that step through the stakes reach the drawing at once.
        if (sectionPage_ && tabs_->currentWidget() == sectionPage_)
            sectionPage_->canvas()->setFocus();
    });

    // Inside the screen's free area, at the size it had last time when that fits.
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize most(static_cast<int>(room.width() * kScreenShare),
                     static_cast<int>(room.height() * kScreenShare));
    resize(QSize(kWantedWidth_px, kWantedHeight_px).boundedTo(most));
    move(room.center() - rect().center());
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (width() > most.width() || height() > most.height())
        resize(size().boundedTo(most));
    QLineEdit* const kept[] = {interval_, from_, to_, left_, right_, skew_};
    for (std::size_t i = 0; i < std::size(kept); ++i) {
        const QVariant text = settings.value(kFormKeys[i]);
        if (text.isValid())
            kept[i]->setText(text.toString());
    }

    connect(compute, &QPushButton::clicked, this, &RouteWindow::runStakes);
    connect(exportButton, &QPushButton::clicked, this, &RouteWindow::runExport);
    connect(printButton, &QPushButton::clicked, this, &RouteWindow::runPrint);
}

QString RouteWindow::title() const {
    QStringList names;
    for (const QString& f : files_)
        names << QFileInfo(f).fileName();
    return names.join(QStringLiteral(", "));
}

std::vector<std::string> RouteWindow::inputs() const {
    std::vector<std::string> paths;
    for (const QString& f : files_)
        paths.push_back(f.toStdString());
    return paths;
}

QString RouteWindow::baseName() const {
    return files_.isEmpty() ? QStringLiteral("路线") : QFileInfo(files_.front()).completeBaseName();
}

void RouteWindow::showRoute() {
    setWindowTitle(QStringLiteral("线路 - ") + title());
    filesLabel_->setText(QStringLiteral("文件：") + title());
    QWidget* shown = tabs_->currentWidget();
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    if (!route_.points.empty()) {
        fill(elements_, elementTableRows(route_));
        tabs_->addTab(elements_, QStringLiteral("曲线要素表"));
    } else {
        elements_->hide();  // not a tab: it would stand over the tab bar
    }
    fill(segments_, segmentTableRows(route_));
    tabs_->addTab(segments_, QStringLiteral("线元表"));
    tabs_->addTab(stakePage_, QStringLiteral("中桩表"));
    planScene_ = routePlanScene(route_, title().toStdString());
    showPlanStakes(true);
    tabs_->addTab(planPage_, QStringLiteral("平面图"));
    if (route_.gradeLine) {
        if (!vertical_)
            makeProfileTabs();
        fill(vertical_, verticalTableRows(route_));
        tabs_->addTab(vertical_, QStringLiteral("竖曲线表"));
        tabs_->addTab(profilePage_, QStringLiteral("纵断面图"));
        profile_->setStakes(lastTable_ ? &*lastTable_ : nullptr);
    } else if (vertical_) {
        vertical_->hide();
        profilePage_->hide();
    }
    edgesBox_->setVisible(section_.has_value());
    if (section_) {
        if (!sectionPage_) {
            sectionPage_ = new SectionPage(tabs_);
            connect(sectionPage_->saveButton(), &QPushButton::clicked, this,
                    &RouteWindow::runSaveSection);
            connect(sectionPage_->saveSheetsButton(), &QPushButton::clicked, this,
                    &RouteWindow::runSaveSectionSheets);
            connect(sectionPage_->printSheetsButton(), &QPushButton::clicked, this,
                    &RouteWindow::runPrintSectionSheets);
        }
        tabs_->addTab(sectionPage_, QStringLiteral("横断面"));
        showSectionStakes();
    } else if (sectionPage_) {
        sectionPage_->hide();
    }
    if (shown && tabs_->indexOf(shown) >= 0)
        tabs_->setCurrentWidget(shown);
}

void RouteWindow::makeProfileTabs() {
    vertical_ = makeTable(tabs_, new RouteTableModel(this));
    profilePage_ = new QWidget(tabs_);
    profile_ = new ProfileView(route_, profilePage_);
    auto* save = new QPushButton(QStringLiteral("保存纵断面图…"), profilePage_);
    auto* printProfileButton = new QPushButton(QStringLiteral("打印纵断面图"), profilePage_);
    auto* profileButtons = new QHBoxLayout;
    profileButtons->addWidget(save);
    profileButtons->addWidget(printProfileButton);
    profileButtons->addStretch();
    auto* profileLayout = new QVBoxLayout(profilePage_);
    profileLayout->addLayout(profileButtons);
    profileLayout->addWidget(profile_, 1);
    connect(save, &QPushButton::clicked, this, &RouteWindow::runSaveProfile);
    connect(printProfileButton, &QPushButton::clicked, this,
            [this] { tellPrinted(this, printProfile()); });
}

void RouteWindow::showPlanStakes(bool refit) {
    PlanScene scene = planScene_;
    if (lastTable_)
        scene.stakes = routePlanStakes(*lastTable_, lastRequest_);
    plan_->setScene(std::move(scene), refit);
    planStale_ = false;
}

void RouteWindow::catchUpPlan() {
    if (planStale_)
        showPlanStakes(false);
}

Result<void> RouteWindow::addFiles(const QStringList& added) {
    const QStringList files = files_ + added;
    std::vector<std::string> paths;
    for (const QString& p : files)
        paths.push_back(p.toStdString());
    Result<LoadedRoute> loading = loadRouteFiles(paths);
    if (!loading)
        return Result<void>::failed(loading.failures());
    Result<void> outcome = done();
    outcome.warnings() = loading.warnings();
    route_ = std::move(loading->route);
    section_ = std::move(loading->crossSection);
    groundName_ = loading->name;
    files_.clear();
    for (const std::string& f : loading->files)
        files_ << QString::fromStdString(f);
    // The stakes last shown are computed again on the new route, with its elevations.
    const bool hadStakes = lastTable_.has_value();
    lastTable_.reset();
    stakeGround_m_.clear();
    stakeModel_->setTable({}, 0, {});
    showRoute();
    ground_ = loadedGround(*loading, outcome.warnings());
    showGround();
    showSectionStakes();
    if (hadStakes && !computeStakes())
        stakeModel_->setTable({}, 0, {});
    return outcome;
}

void RouteWindow::runAddFiles() {
    const QStringList added =
        chooseFilesToOpen(this, QStringLiteral("添加纵断面/横坡"),
                          QStringLiteral("纵断面、横坡或断链表 (*.csv *.txt);;所有文件 (*)"));
    if (added.isEmpty())
        return;
    const bool wasGraded = route_.gradeLine.has_value();
    const Result<void> outcome = addFiles(added);
    if (!outcome) {
        QMessageBox::warning(this, QStringLiteral("文件有错"), messageLines(outcome));
        return;
    }
    if (!outcome.warnings().empty())
        QMessageBox::information(this, QStringLiteral("注意"), messageLines(outcome));
    if (!wasGraded && route_.gradeLine)
        tabs_->setCurrentWidget(profilePage_);
}

Result<void> RouteWindow::computeStakes() {
    StakeRequest request;
    const Result<double> interval = stakeInterval(interval_->text().toStdString());
    if (!interval)
        return outcomeOf(interval);
    request.interval_m = *interval;
    for (auto [edit, first] : {std::pair{from_, true}, std::pair{to_, false}}) {
        const std::string typed = edit->text().trimmed().toStdString();
        if (typed.empty())
            continue;
        const Result<double> at = stretchEnd(route_, typed, first);
        if (!at)
            return outcomeOf(at);
        (first ? request.from_m : request.to_m) = *at;
    }
    for (auto [edit, side, name] : {std::tuple{left_, &request.left_m, "左侧距离"},
                                    std::tuple{right_, &request.right_m, "右侧距离"}}) {
        const std::string typed = edit->text().trimmed().toStdString();
        if (typed.empty())
            continue;
        const Result<std::vector<double>> d = distanceList(typed);
        if (!d)
            return Failure{name + d.failure().message};
        *side = *d;
    }
    const std::string skew = skew_->text().trimmed().toStdString();
    if (!skew.empty()) {
        const Result<double> v = skewDegrees(skew);
        if (!v)
            return outcomeOf(v);
        request.skew_deg = *v;
    }
    Result<StakeTable> table = hcurve::stakeTable(route_, request, section_ ? &*section_ : nullptr);
    if (!table)
        return outcomeOf(table);
    lastTable_ = std::move(*table);
    lastRequest_ = request;
    stakeGround_m_ = ground_.empty() ? std::vector<std::optional<double>>{}
                                     : centreGroundAtStakes_m(ground_, *lastTable_);
    showStakeTable();
    stakes_->scrollToTop();
    keepForm();
    if (profile_) {
        profile_->setStakes(&*lastTable_);
        if (ground_.terrain)
            showGround();
    }
    showSectionStakes();
    // The plan follows when it is looked at: a long table's stakes cost a moment to place.
    planStale_ = true;
    if (tabs_->currentWidget() == planPage_)
        catchUpPlan();
    return done();
}

void RouteWindow::showStakeTable() {
    if (!lastTable_)
        return;
    // The two rows of a break, the chainage before it and the one after it, say so in their 点
    // column and stand out from the others.
    std::map<std::size_t, RouteTableModel::Mark> marks;
    const std::vector<StakeRow>& rows = lastTable_->rows;
    for (const ChainBreak& b : route_.breaks) {
        int seen = 0;
        for (std::size_t row = 0; row < rows.size() && seen < 2; ++row) {
            if (std::fabs(rows[row].continuous_m - b.at_m) > kAtBreak_m)
                continue;
            marks[row] =
                seen == 0 ? RouteTableModel::Mark::BeforeBreak : RouteTableModel::Mark::AfterBreak;
            ++seen;
        }
    }
    const StakeTable* shown = &*lastTable_;
    std::vector<std::string> header = stakeTableHeader(*shown, lastRequest_);
    RouteTableModel::RowTexts texts = [shown](std::size_t row) {
        return stakeTableFields(*shown, row);
    };
    if (section_ && edgesBox_->isChecked()) {
        // Every edge's offset and elevation after the row's own columns, as --edges writes them.
        std::vector<EdgeColumn> columns = edgeColumns(*section_);
        for (std::string& name : edgeHeader(columns))
            header.push_back(std::move(name));
        const CrossSection* section = &*section_;
        const Route* route = &route_;
        texts = [shown, section, route, columns = std::move(columns)](std::size_t row) {
            std::vector<std::string> fields = stakeTableFields(*shown, row);
            for (std::string& f :
                 edgeFields(*section, *route, columns, shown->rows[row].continuous_m))
                fields.push_back(std::move(f));
            return fields;
        };
    }
    if (stakeGround_m_.size() == shown->rows.size() && !ground_.empty()) {
        // The ground at the centre stake and the fill or cut there, after all the other columns.
        for (std::string& name : groundColumnHeader())
            header.push_back(std::move(name));
        const std::vector<std::optional<double>>* ground = &stakeGround_m_;
        texts = [shown, ground, inner = std::move(texts)](std::size_t row) {
            std::vector<std::string> fields = inner(row);
            for (std::string& f : groundColumnFields(shown->rows[row].H_m, (*ground)[row]))
                fields.push_back(std::move(f));
            return fields;
        };
    }
    stakeModel_->setTable(std::move(header), shown->rows.size(), std::move(texts),
                          std::move(marks));
    fitColumns(stakes_, *stakeModel_);
}

void RouteWindow::setGround(RouteGround ground) {
    ground_ = std::move(ground);
    stakeGround_m_ = lastTable_ && !ground_.empty() ? centreGroundAtStakes_m(ground_, *lastTable_)
                                                    : std::vector<std::optional<double>>{};
    showStakeTable();
    showGround();
    showSectionStakes();
}

void RouteWindow::showGround() {
    if (!profile_)
        return;
    if (ground_.empty()) {
        profile_->setGroundLine({});
        return;
    }
    // A terrain model gives the ground at stakes: those of the table, or every 20 m before one.
    std::optional<StakeTable> every;
    if (ground_.terrain && !lastTable_) {
        StakeRequest request;
        request.interval_m = kSectionInterval_m;
        if (Result<StakeTable> table = hcurve::stakeTable(route_, request))
            every = std::move(*table);
    }
    profile_->setGroundLine(centreGroundLine(ground_, lastTable_ ? &*lastTable_
                                                      : every    ? &*every
                                                                 : nullptr));
}

void RouteWindow::showSectionStakes() {
    if (!section_ || !sectionPage_)
        return;
    if (lastTable_) {
        if (!showGroundSections(*lastTable_))
            sectionPage_->setStakes(&route_, &*section_, lastTable_->rows);
        return;
    }
    StakeRequest every;
    every.interval_m = kSectionInterval_m;
    Result<StakeTable> table = hcurve::stakeTable(route_, every, &*section_);
    if (!showGroundSections(table ? *table : StakeTable{}))
        sectionPage_->setStakes(&route_, &*section_,
                                table ? std::move(table->rows) : std::vector<StakeRow>{});
}

bool RouteWindow::showGroundSections(const StakeTable& table) {
    shownGround_.clear();
    if (!ground_.surveyed.empty())
        shownGround_ = sectionsAtStakes(ground_.surveyed, table);
    if (shownGround_.empty())
        return false;
    std::vector<StakeRow> rows;
    std::vector<SectionGroundShown> grounds;
    rows.reserve(shownGround_.size());
    grounds.reserve(shownGround_.size());
    for (const GroundSection& g : shownGround_) {
        rows.push_back({g.point, g.text, g.continuous_m, 0, 0, 0, std::nullopt});
        SectionGroundShown shown{g.points, std::nullopt, {}};
        Result<SectionAreas> areas = sectionAreas(*section_, route_, g.continuous_m, g.points);
        if (areas)
            shown.areas = std::move(*areas);
        else
            shown.failure = areas.failure().message;
        grounds.push_back(std::move(shown));
    }
    sectionPage_->setStakes(&route_, &*section_, std::move(rows), std::move(grounds));
    return true;
}

void RouteWindow::setSheetName(std::string name) {
    groundName_ = std::move(name);
}

Result<SectionSheets> RouteWindow::sectionSheets() const {
    if (!section_ || shownGround_.empty())
        return Failure{"没有地面线：打开路线时一并打开地面横断面文件（BEGIN 或 桩号,偏距,高程）。"};
    const Result<std::vector<SheetSection>> drawn = sheetSections(route_, *section_, shownGround_);
    if (!drawn)
        return Result<SectionSheets>::failed(drawn.failures());
    const int scale = sectionPage_ ? sectionPage_->sheetScale() : kDefaultSheetScale;
    return layOutSectionSheets(*drawn, groundName_.empty() ? baseName().toStdString() : groundName_,
                               scale > 0 ? scale : kDefaultSheetScale);
}

Result<void> RouteWindow::saveSectionSheets(const QString& path, const SheetProgress& progress) {
    if (Result<void> refusal = inputAsTarget(path.toStdString(), inputs()); !refusal)
        return refusal;
    const Result<SectionSheets> sheets = sectionSheets();
    if (!sheets)
        return outcomeOf(sheets);
    return hcurve::saveSectionSheets(*sheets, path.toStdString(), progress);
}

Result<void> RouteWindow::printSectionSheets(QPrinter& printer, const SheetProgress& progress) {
    const Result<SectionSheets> sheets = sectionSheets();
    if (!sheets)
        return outcomeOf(sheets);
    printer.setPageSize(QPageSize(QPageSize::A3));
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return Failure{"打印作业无法开始"};
    const int total = static_cast<int>(sheets->sheets.size());
    for (int i = 0; i < total; ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return Failure{"打印作业出错"};
        }
        paintSectionSheet(painter, sheets->sheets[static_cast<std::size_t>(i)], painter.viewport());
        if (progress && !progress(i + 1, total)) {
            printer.abort();
            painter.end();
            return Failure{"已取消：横断面图没有打印。"};
        }
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return Failure{"打印作业出错"};
    return done();
}

namespace {

// A progress dialog for the sheets, cancellable; its progress as the sheets' painter tells it.
class SheetsProgress {
  public:
    SheetsProgress(QWidget* parent, const QString& title)
        : dialog_(QStringLiteral("正在生成横断面图…"), QStringLiteral("取消"), 0, 0, parent) {
        dialog_.setObjectName(QStringLiteral("sheetsProgress"));
        dialog_.setWindowTitle(title);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
        dialog_.show();
        QCoreApplication::processEvents();
    }
    SheetProgress progress() {
        return [this](int done, int total) {
            dialog_.setMaximum(total);
            dialog_.setValue(done);
            dialog_.setLabelText(
                QStringLiteral("正在生成横断面图：第 %1 / %2 张").arg(done).arg(total));
            QCoreApplication::processEvents();
            return !dialog_.wasCanceled();
        };
    }

  private:
    QProgressDialog dialog_;
};

}  // namespace

void RouteWindow::runSaveSectionSheets() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存横断面图集"),
                                     proposedPath(baseName() + QStringLiteral("-横断面图.pdf")),
                                     QStringLiteral("PDF 文件 (*.pdf);;DXF 图形 (*.dxf)"));
    if (path.isEmpty())
        return;
    rememberFolder(path);
    Result<void> saved;
    {
        SheetsProgress shown(this, QStringLiteral("保存横断面图集"));
        saved = saveSectionSheets(path, shown.progress());
    }
    if (!saved)
        QMessageBox::warning(this, QStringLiteral("保存横断面图集"), failureLines(saved));
}

void RouteWindow::runPrintSectionSheets() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A3));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("横断面图"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印横断面图"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Result<void> printed;
    {
        SheetsProgress shown(this, QStringLiteral("打印横断面图"));
        printed = printSectionSheets(printer, shown.progress());
    }
    if (!printed)
        QMessageBox::warning(this, QStringLiteral("打印横断面图"), failureLines(printed));
}

void RouteWindow::keepForm() const {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    QLineEdit* const form[] = {interval_, from_, to_, left_, right_, skew_};
    for (std::size_t i = 0; i < std::size(form); ++i)
        settings.setValue(kFormKeys[i], form[i]->text());
}

void RouteWindow::closeEvent(QCloseEvent* event) {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.setValue(kGeometryKey, saveGeometry());
    keepForm();
    QWidget::closeEvent(event);
}

Result<void> RouteWindow::exportStakes(const QString& path) {
    if (!lastTable_)
        return Failure{"还没有计算中桩。"};
    if (Result<void> refusal = inputAsTarget(path.toStdString(), inputs()); !refusal)
        return refusal;
    std::string bytes;
    if (isDxfPath(path.toStdString())) {
        bytes = planDxf(routeDrawing(route_, &*lastTable_, lastRequest_));
    } else {
        const std::optional<ExportFormat> format = exportFormatOf(path.toStdString());
        if (!format)
            return Failure{"导出文件的扩展名必须是 .csv、.dat、.gsi 或 .dxf。"};
        Result<std::string> file = exportFile(exportedPoints(*format == ExportFormat::Gsi), *format,
                                              lastTable_->withHeights);
        if (!file)
            return outcomeOf(file);
        bytes = std::move(*file);
    }
    return writeFileReplacing(path.toStdString(), bytes);
}

std::vector<ExportPoint> RouteWindow::exportedPoints(bool asciiNames) const {
    if (section_ && edgesBox_->isChecked())
        return exportPointsWithEdges(*lastTable_, lastRequest_, *section_, route_, asciiNames);
    return routeExportPoints(*lastTable_, lastRequest_);
}

ReportDocument RouteWindow::report() const {
    ReportDocument document{"线路报表", title().toStdString(), reportDate(), {}};
    if (!route_.points.empty())
        document.tables.push_back(reportTable("曲线要素表", elementTableRows(route_)));
    document.tables.push_back(reportTable("线元表", segmentTableRows(route_)));
    if (route_.gradeLine)
        document.tables.push_back(reportTable("竖曲线表", verticalTableRows(route_)));
    if (lastTable_) {
        TableRows rows = stakeTableRows(*lastTable_, lastRequest_);
        // The 点 column as the window shows it, with the rows of a chain break marked.
        for (const auto& [row, mark] : stakeModel_->marks()) {
            if (row + 1 < rows.size())
                rows[row + 1][0] = stakeModel_->cell(row, 0);
        }
        ReportTable stakes = reportTable("中桩表", rows);
        if (lastTable_->sidesPerStake > 0) {
            const StakeRequest& r = lastRequest_;
            stakes.notes = sideLayoutNotes(
                {r.skew_deg, r.left_m, r.right_m, r.doubleRow, r.front_m, r.back_m});
        }
        document.tables.push_back(std::move(stakes));
    }
    return document;
}

Result<QString> RouteWindow::printWithProgress(const std::optional<QString>& pdfPath) {
    QProgressDialog dialog(QStringLiteral("正在生成线路报表…"), QStringLiteral("取消"), 0, 0, this);
    dialog.setObjectName(QStringLiteral("reportProgress"));
    dialog.setWindowTitle(QStringLiteral("打印"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.show();
    QCoreApplication::processEvents();
    const ReportProgress progress = [&dialog](int done, int pages) {
        dialog.setMaximum(pages);
        dialog.setValue(done);
        dialog.setLabelText(QStringLiteral("正在生成线路报表：第 %1 / %2 页").arg(done).arg(pages));
        QCoreApplication::processEvents();
        return !dialog.wasCanceled();
    };
    return print(pdfPath, progress);
}

Result<QString> RouteWindow::print(const std::optional<QString>& pdfPath,
                                   const ReportProgress& progress) {
    const ReportDocument document = report();
    const QString name = QStringLiteral("线路报表");
    bool cancelled = false;
    int pages = 0;
    const PaintJob paint = [&](QPrinter& printer) {
        const Result<int> written = writeReport(printer, document, progress);
        if (written)
            pages = *written;
        else if (written.failure().message == kReportCancelled)
            cancelled = true;
        return outcomeOf(written);
    };
    return printed(name, paint, pdfPath, cancelled, pages);
}

Result<QString> RouteWindow::printProfile(const std::optional<QString>& pdfPath) {
    const StakeTable* stakes = lastTable_ ? &*lastTable_ : nullptr;
    const PaintJob paint = [&](QPrinter& printer) -> Result<void> {
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        if (!painter.begin(&printer))
            return Failure{"打印作业无法开始"};
        const QRectF area = painter.viewport();
        const double scale = std::min(area.width() / kProfileWidth, area.height() / kProfileHeight);
        painter.scale(scale, scale);
        paintProfile(painter, QSizeF(kProfileWidth, kProfileHeight), route_, stakes,
                     profile_ ? &profile_->groundLine() : nullptr);
        painter.end();
        if (printer.printerState() == QPrinter::Error ||
            printer.printerState() == QPrinter::Aborted)
            return Failure{"打印作业出错"};
        return done();
    };
    const bool never = false;
    const int unknown = 0;
    return printed(QStringLiteral("纵断面图"), paint, pdfPath, never, unknown);
}

Result<QString> RouteWindow::printed(const QString& name, const PaintJob& paint,
                                     const std::optional<QString>& pdfPath, const bool& cancelled,
                                     const int& pages) {
    const QString stopped = QStringLiteral("%1已取消，没有打印，也没有存为文件。").arg(name);
    if (pdfPath) {
        if (const Result<void> saved = savePdf(*pdfPath, name, paint); !saved) {
            if (cancelled)
                return stopped;
            return Failure{cannotWriteMessage(pdfPath->toStdString(), saved.failure().message)};
        }
        return QStringLiteral("没有打印机：%1已存为 ").arg(name) + *pdfPath;
    }
    const Result<void> printedThere = printOnDefaultPrinter(name, paint);
    if (printedThere) {
        return pages > 0 ? QStringLiteral("已送往打印机（%1 页）。").arg(pages)
                         : QStringLiteral("已送往打印机。");
    }
    if (cancelled)
        return stopped;
    const QString printerFailure = failureText(printedThere.failure());
    const DatedPdf pdf = saveDatedPdf(name, paint);
    if (cancelled)
        return stopped;
    if (!pdf.saved) {
        return Failure{QStringLiteral("%1未能打印（%2），也未能存为 PDF 文件“%3”（%4）。")
                           .arg(name, printerFailure, pdf.path, failureText(pdf.saved.failure()))
                           .toStdString()};
    }
    return QStringLiteral("%1未能打印（%2），已存为 ").arg(name, printerFailure) + pdf.path;
}

Result<void> RouteWindow::saveProfile(const QString& path) {
    const std::optional<PlanFormat> format = planFormatOf(path.toStdString());
    if (!format)
        return Failure{"纵断面图的文件名要以 .png、.svg 或 .pdf 结尾。"};
    if (Result<void> refusal = inputAsTarget(path.toStdString(), inputs()); !refusal)
        return refusal;
    const QByteArray bytes = profileBytes(route_, lastTable_ ? &*lastTable_ : nullptr,
                                          QSizeF(kProfileWidth, kProfileHeight), *format,
                                          profile_ ? &profile_->groundLine() : nullptr);
    if (bytes.isEmpty())
        return Failure{"无法绘制纵断面图。"};
    return writeFileReplacing(path.toStdString(), bytes.toStdString());
}

Result<void> RouteWindow::saveSection(const QString& path) {
    const std::optional<PlanFormat> format = planFormatOf(path.toStdString());
    if (!format)
        return Failure{"横断面图的文件名要以 .png、.svg 或 .pdf 结尾。"};
    const int shown = sectionPage_ ? sectionPage_->current() : -1;
    if (!section_ || shown < 0)
        return Failure{"没有可保存的横断面。"};
    if (Result<void> refusal = inputAsTarget(path.toStdString(), inputs()); !refusal)
        return refusal;
    const StakeRow& stake = sectionPage_->stakes()[static_cast<std::size_t>(shown)];
    // With the ground the tab shows at the stake.
    const std::vector<SectionGroundShown>& grounds = sectionPage_->grounds();
    const QByteArray bytes =
        sectionBytes(*section_, route_, stake.continuous_m, stake.text, *format,
                     grounds.empty() ? nullptr : &grounds[static_cast<std::size_t>(shown)]);
    if (bytes.isEmpty())
        return Failure{"无法绘制横断面图。"};
    return writeFileReplacing(path.toStdString(), bytes.toStdString());
}

void RouteWindow::runSaveSection() {
    const int shown = sectionPage_ ? sectionPage_->current() : -1;
    const QString stake =
        shown >= 0
            ? QString::fromStdString(sectionPage_->stakes()[static_cast<std::size_t>(shown)].text)
            : QString();
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("保存横断面图"),
        proposedPath(baseName() + QStringLiteral("-横断面-") + stake + QStringLiteral(".png")),
        QStringLiteral("PNG 图片 (*.png);;SVG 图形 (*.svg);;PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    rememberFolder(path);
    if (const Result<void> saved = saveSection(path); !saved)
        QMessageBox::warning(this, QStringLiteral("保存横断面图"), failureLines(saved));
}

Result<void> RouteWindow::savePlanDrawing(const QString& path) {
    const std::string file = path.toStdString();
    if (Result<void> refusal = inputAsTarget(file, inputs()); !refusal)
        return refusal;
    if (isDxfPath(file)) {
        // The plan for CAD, with the stakes last shown.
        return writeFileReplacing(
            file, planDxf(routeDrawing(route_, lastTable_ ? &*lastTable_ : nullptr, lastRequest_)));
    }
    if (!planFormatOf(file))
        return Failure{"平面图的文件名要以 .png、.svg、.pdf 或 .dxf 结尾。"};
    catchUpPlan();
    if (!plan_->scene())
        return Failure{kCannotDrawPlan};
    return savePlan(*plan_->scene(), plan_->frame(), plan_->size(), file);
}

void RouteWindow::runSavePlan() {
    const std::optional<QString> path =
        askPlanFilePath(this, baseName() + QStringLiteral("-平面图.png"));
    if (!path)
        return;
    if (const Result<void> saved = savePlanDrawing(*path); !saved)
        QMessageBox::warning(this, QStringLiteral("保存平面图"), failureLines(saved));
    else
        QMessageBox::information(this, QStringLiteral("保存平面图"),
                                 QStringLiteral("已保存平面图到文件“%1”。").arg(*path));
}

void RouteWindow::runSaveProfile() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("保存纵断面图"),
        proposedPath(baseName() + QStringLiteral("-纵断面图.png")),
        QStringLiteral("PNG 图片 (*.png);;SVG 图形 (*.svg);;PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    rememberFolder(path);
    if (const Result<void> saved = saveProfile(path); !saved)
        QMessageBox::warning(this, QStringLiteral("保存纵断面图"), failureLines(saved));
}

void RouteWindow::runStakes() {
    if (const Result<void> computed = computeStakes(); !computed)
        QMessageBox::warning(this, QStringLiteral("中桩表"), failureLines(computed));
}

std::optional<QString> RouteWindow::chooseExportFile() {
    const QString csvFilter = QStringLiteral("CSV 表格 (*.csv)");
    const QString datFilter = QStringLiteral("点文件 name,code,Y,X,H (*.dat)");
    const QString xmlFilter = QStringLiteral("LandXML 1.2 路线 (*.xml)");
    const QString gsiFilter = QStringLiteral("全站仪点文件 Leica GSI-16 (*.gsi)");
    const QString dxfFilter = QStringLiteral("平面图 DXF，供 CAD 使用 (*.dxf)");
    const QString proposed = baseName() + QStringLiteral("-中桩坐标.csv");
    QFileDialog dialog(this, QStringLiteral("导出中桩坐标"), proposedPath(proposed),
                       csvFilter + QStringLiteral(";;") + datFilter + QStringLiteral(";;") +
                           gsiFilter + QStringLiteral(";;") + dxfFilter + QStringLiteral(";;") +
                           xmlFilter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectNameFilter(csvFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = dialog.selectedFiles().front();
    if (path.isEmpty())
        return std::nullopt;
    rememberFolder(path);
    if (!exportFormatOf(path.toStdString()) && !isDxfPath(path.toStdString()) &&
        !path.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)) {
        // No extension of its own: the one of the chosen file type.
        const QString selected = dialog.selectedNameFilter();
        path += selected == datFilter   ? QStringLiteral(".dat")
                : selected == gsiFilter ? QStringLiteral(".gsi")
                : selected == dxfFilter ? QStringLiteral(".dxf")
                : selected == xmlFilter ? QStringLiteral(".xml")
                                        : QStringLiteral(".csv");
    }
    return path;
}

Result<std::optional<QString>> RouteWindow::exportToChosenFile() {
    using Told = std::optional<QString>;
    const std::optional<QString> path = exportChooser_ ? exportChooser_() : chooseExportFile();
    if (!path)
        return Told();
    const std::string file = path->toStdString();
    if (const Result<void> refusal = inputAsTarget(file, inputs()); !refusal)
        return refusal.failure();
    if (path->endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)) {
        // The route itself, stakes or none.
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const std::string xml =
            landXmlText(route_, baseName().toStdString(),
                        {now.toString(QStringLiteral("yyyy-MM-dd")).toStdString(),
                         now.toString(QStringLiteral("HH:mm:ss")).toStdString()});
        if (const Result<void> written = writeFileReplacing(file, xml); !written)
            return written.failure();
        return Told(QStringLiteral("已把路线写成 LandXML 文件“%1”。").arg(*path));
    }
    if (!lastTable_ && isDxfPath(file)) {
        // The plan alone, as the command line writes it without stakes.
        if (const Result<void> written =
                writeFileReplacing(file, planDxf(routeDrawing(route_, nullptr, lastRequest_)));
            !written)
            return written.failure();
        return Told(
            QStringLiteral("已导出平面图到文件“%1”（还没有计算中桩，图中没有桩点）。").arg(*path));
    }
    if (const Result<void> exported = exportStakes(*path); !exported)
        return exported.failure();
    // Every stake and each of its side points (and its edges when the table shows them).
    const std::optional<ExportFormat> format = exportFormatOf(file);
    const std::size_t count = isDxfPath(file) || !format
                                  ? lastTable_->rows.size() * (lastTable_->sidesPerStake + 1)
                                  : exportedPoints(*format == ExportFormat::Gsi).size();
    if (isDxfPath(file))
        return Told(QStringLiteral("已导出平面图及 %1 个点到文件“%2”。").arg(count).arg(*path));
    return Told(QStringLiteral("已导出 %1 个点到文件“%2”。").arg(count).arg(*path));
}

void RouteWindow::runExport() {
    const Result<std::optional<QString>> exported = exportToChosenFile();
    if (!exported)
        QMessageBox::warning(this, QStringLiteral("导出"), failureLines(exported));
    else if (*exported)
        QMessageBox::information(this, QStringLiteral("导出"), **exported);
}

void RouteWindow::runPrint() {
    tellPrinted(this, printWithProgress());
}

Result<RouteWindow*> openRouteWindow(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& p : paths)
        files.push_back(p.toStdString());
    Result<LoadedRoute> loading = loadRouteFiles(files);
    if (!loading)
        return Result<RouteWindow*>::failed(loading.failures());
    QStringList read;
    for (const std::string& f : loading->files)
        read << QString::fromStdString(f);
    std::vector<Failure> warnings = loading.warnings();
    RouteGround ground = loadedGround(*loading, warnings);
    auto* window = new RouteWindow(std::move(loading->route), std::move(loading->crossSection),
                                   read.isEmpty() ? paths : read);
    window->setSheetName(loading->name);
    window->setGround(std::move(ground));
    Result<RouteWindow*> opened = window;
    opened.warnings() = std::move(warnings);
    return opened;
}

Result<RouteWindow*> openRouteWindow(const QString& path) {
    return openRouteWindow(QStringList{path});
}

void addRouteMenu(QMenuBar* bar, QWidget* parent) {
    QMenu* menu = bar->addMenu(QStringLiteral("线路"));
    QAction* open = menu->addAction(QStringLiteral("打开交点表…"));
    QObject::connect(open, &QAction::triggered, parent, [parent] {
        // The JD table first; the grade line and the cross-fall may follow in further files, of
        // this folder or (添加纵断面/横坡… in the route window) of another.
        const QStringList paths = chooseFilesToOpen(
            parent, QStringLiteral("打开交点表"),
            QStringLiteral("交点表、线元表或 LandXML (*.csv *.txt *.xml);;所有文件 (*)"));
        if (paths.isEmpty())
            return;
        const Result<RouteWindow*> opened = openRouteWindow(paths);
        if (!opened) {
            QMessageBox::warning(parent, QStringLiteral("交点表有错"), messageLines(opened));
            return;
        }
        RouteWindow* window = *opened;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        // A route that was read may still carry warnings (a stated start off the chain).
        if (!opened.warnings().empty())
            QMessageBox::information(window, QStringLiteral("注意"), messageLines(opened));
    });
}

}  // namespace hcurve

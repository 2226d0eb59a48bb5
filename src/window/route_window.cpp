#include "window/route_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "route/vertical_table.h"
#include "route_cli/route_command.h"
#include "stakes/stake_export.h"
#include "views/plan_format.h"
#include "window/profile_view.h"
#include "window/qt_printer.h"

namespace hcurve {
namespace {

// Points of the drawn centre line along the whole road.
constexpr int kPlanSamples = 4000;
constexpr int kPlanMargin_px = 30;
constexpr int kJdMark_px = 4;
// The profile's drawing on paper and in files, in its own units (pixels of 96 dpi).
constexpr double kProfileWidth = 1600, kProfileHeight = 900;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

void fill(QTableWidget* table, const TableRows& rows) {
    table->clear();
    table->setRowCount(rows.empty() ? 0 : static_cast<int>(rows.size()) - 1);
    table->setColumnCount(rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    if (rows.empty())
        return;
    QStringList header;
    for (const std::string& h : rows[0])
        header << text(h);
    table->setHorizontalHeaderLabels(header);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(text(rows[r][c]));
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            table->setItem(static_cast<int>(r) - 1, static_cast<int>(c), item);
        }
    }
    table->resizeColumnsToContents();
}

QTableWidget* makeTable(QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return table;
}

QString htmlTable(const TableRows& rows) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        html += QStringLiteral("<tr>");
        for (const std::string& field : rows[r]) {
            const QString cell = text(field).toHtmlEscaped();
            html += r == 0 ? "<th>" + cell + "</th>" : "<td>" + cell + "</td>";
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

RoutePlan::RoutePlan(const Route& route, QWidget* parent) : QWidget(parent), route_(route) {
    setMinimumSize(400, 300);
    const double length = route.end_m - route.start_m;
    for (int i = 0; i <= kPlanSamples; ++i) {
        const RouteStake s = stakeAt(route, route.start_m + length * i / kPlanSamples);
        centreLine_.emplace_back(s.y_m, s.x_m);
    }
}

void RoutePlan::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);

    double minE = centreLine_.front().x(), maxE = minE;
    double minN = centreLine_.front().y(), maxN = minN;
    auto extend = [&](double e, double n) {
        minE = std::min(minE, e);
        maxE = std::max(maxE, e);
        minN = std::min(minN, n);
        maxN = std::max(maxN, n);
    };
    for (const QPointF& p : centreLine_)
        extend(p.x(), p.y());
    for (const RoutePointRow& p : route_.points)
        extend(p.y_m, p.x_m);
    const double w = std::max(width() - 2 * kPlanMargin_px, 1);
    const double h = std::max(height() - 2 * kPlanMargin_px, 1);
    const double scale = std::min(w / std::max(maxE - minE, 1e-9), h / std::max(maxN - minN, 1e-9));
    // East to the right, north up, centred.
    const double left = kPlanMargin_px + (w - (maxE - minE) * scale) / 2;
    const double top = kPlanMargin_px + (h - (maxN - minN) * scale) / 2;
    auto screen = [&](double e, double n) {
        return QPointF(left + (e - minE) * scale, top + (maxN - n) * scale);
    };

    QPainterPath tangents;
    for (std::size_t i = 0; i < route_.points.size(); ++i) {
        const QPointF p = screen(route_.points[i].y_m, route_.points[i].x_m);
        if (i == 0)
            tangents.moveTo(p);
        else
            tangents.lineTo(p);
    }
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawPath(tangents);

    QPainterPath line;
    line.moveTo(screen(centreLine_.front().x(), centreLine_.front().y()));
    for (const QPointF& p : centreLine_)
        line.lineTo(screen(p.x(), p.y()));
    painter.setPen(QPen(Qt::red, 2));
    painter.drawPath(line);

    painter.setPen(Qt::black);
    for (const RoutePointRow& p : route_.points) {
        const QPointF at = screen(p.y_m, p.x_m);
        painter.drawEllipse(at, kJdMark_px, kJdMark_px);
        painter.drawText(at + QPointF(kJdMark_px + 2, -kJdMark_px - 2), text(p.name));
    }
}

RouteWindow::RouteWindow(Route route, const QString& title, QWidget* parent)
    : QWidget(parent), route_(std::move(route)) {
    setWindowTitle(QStringLiteral("线路 - ") + title);
    resize(1100, 700);
    tabs_ = new QTabWidget(this);

    // A route of elements has no JDs and so no curve-element table; every route has its chain.
    elements_ = makeTable(tabs_);
    if (!route_.points.empty()) {
        fill(elements_, elementTableRows(route_));
        tabs_->addTab(elements_, QStringLiteral("曲线要素表"));
    }
    segments_ = makeTable(tabs_);
    fill(segments_, segmentTableRows(route_));
    tabs_->addTab(segments_, QStringLiteral("线元表"));

    // The stake table with its form: every value of a stretch in one place.
    auto* stakePage = new QWidget(tabs_);
    auto* form = new QFormLayout;
    auto field = [&](const QString& caption, const QString& initial) {
        auto* edit = new QLineEdit(initial, stakePage);
        form->addRow(caption, edit);
        return edit;
    };
    interval_ = field(QStringLiteral("桩距 (米)"), QStringLiteral("20"));
    from_ = field(QStringLiteral("起点 (里程或桩号，空为 BP)"), QString());
    to_ = field(QStringLiteral("终点 (里程或桩号，空为 EP)"), QString());
    left_ = field(QStringLiteral("左侧距离 (米，逗号分开)"), QString());
    right_ = field(QStringLiteral("右侧距离 (米，逗号分开)"), QString());
    skew_ = field(QStringLiteral("斜交角 (度.分秒，空为正交)"), QString());
    auto* compute = new QPushButton(QStringLiteral("计算中桩"), stakePage);
    auto* exportButton = new QPushButton(QStringLiteral("导出…"), stakePage);
    auto* printButton = new QPushButton(QStringLiteral("打印"), stakePage);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(compute);
    buttons->addWidget(exportButton);
    buttons->addWidget(printButton);
    buttons->addStretch();
    stakes_ = makeTable(stakePage);
    auto* stakeLayout = new QVBoxLayout(stakePage);
    stakeLayout->addLayout(form);
    stakeLayout->addLayout(buttons);
    stakeLayout->addWidget(stakes_, 1);
    tabs_->addTab(stakePage, QStringLiteral("中桩表"));

    tabs_->addTab(new RoutePlan(route_, tabs_), QStringLiteral("平面图"));

    if (route_.gradeLine) {
        vertical_ = makeTable(tabs_);
        fill(vertical_, verticalTableRows(route_));
        tabs_->addTab(vertical_, QStringLiteral("竖曲线表"));
        auto* profilePage = new QWidget(tabs_);
        profile_ = new ProfileView(route_, profilePage);
        auto* save = new QPushButton(QStringLiteral("保存纵断面图…"), profilePage);
        auto* printProfileButton = new QPushButton(QStringLiteral("打印纵断面图"), profilePage);
        auto* profileButtons = new QHBoxLayout;
        profileButtons->addWidget(save);
        profileButtons->addWidget(printProfileButton);
        profileButtons->addStretch();
        auto* profileLayout = new QVBoxLayout(profilePage);
        profileLayout->addLayout(profileButtons);
        profileLayout->addWidget(profile_, 1);
        tabs_->addTab(profilePage, QStringLiteral("纵断面图"));
        connect(save, &QPushButton::clicked, this, &RouteWindow::runSaveProfile);
        connect(printProfileButton, &QPushButton::clicked, this,
                [this] { QMessageBox::information(this, QStringLiteral("打印"), printProfile()); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    connect(compute, &QPushButton::clicked, this, &RouteWindow::runStakes);
    connect(exportButton, &QPushButton::clicked, this, &RouteWindow::runExport);
    connect(printButton, &QPushButton::clicked, this, &RouteWindow::runPrint);
}

std::optional<QString> RouteWindow::computeStakes() {
    StakeRequest request;
    std::optional<double> interval = stakeInterval(interval_->text().toStdString());
    if (!interval)
        return QStringLiteral("桩距必须是大于零的数值。");
    request.interval_m = *interval;
    std::string fault;
    for (auto [edit, first] : {std::pair{from_, true}, std::pair{to_, false}}) {
        const std::string typed = edit->text().trimmed().toStdString();
        if (typed.empty())
            continue;
        std::optional<double> at = stretchEnd(route_, typed, first, fault);
        if (!at)
            return text(fault);
        (first ? request.from_m : request.to_m) = *at;
    }
    for (auto [edit, side] :
         {std::pair{left_, &request.left_m}, std::pair{right_, &request.right_m}}) {
        const std::string typed = edit->text().trimmed().toStdString();
        if (typed.empty())
            continue;
        std::optional<std::vector<double>> d = distanceList(typed);
        if (!d)
            return QStringLiteral("侧向距离要用逗号分开的数值（如 5,7.5）。");
        *side = *d;
    }
    const std::string skew = skew_->text().trimmed().toStdString();
    if (!skew.empty()) {
        std::optional<double> v = skewDegrees(skew);
        if (!v)
            return QStringLiteral("斜交角要按 度.分秒 输入。");
        request.skew_deg = *v;
    }
    StakeTable table = hcurve::stakeTable(route_, request);
    if (table.fault)
        return text(*table.fault);
    fill(stakes_, stakeTableRows(table, request));
    lastTable_ = std::move(table);
    lastRequest_ = request;
    if (profile_)
        profile_->setStakes(&*lastTable_);
    return std::nullopt;
}

std::optional<QString> RouteWindow::exportStakes(const QString& path) {
    if (!lastTable_)
        return QStringLiteral("还没有计算中桩。");
    const std::vector<ExportPoint> points = routeExportPoints(*lastTable_, lastRequest_);
    const bool dat = path.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive);
    const std::string bytes =
        dat ? pointFileDat(points) : hcurve::stakeTableCsv(points, lastTable_->withHeights);
    if (std::optional<std::string> wrong = writeFileReplacing(path.toStdString(), bytes))
        return text(*wrong);
    return std::nullopt;
}

QString RouteWindow::tablesAsHtml() const {
    QString html = "<h3>" + windowTitle().toHtmlEscaped() + "</h3>";
    if (!route_.points.empty())
        html += "<h4>曲线要素表</h4>" + htmlTable(elementTableRows(route_));
    html += "<h4>线元表</h4>" + htmlTable(segmentTableRows(route_));
    if (route_.gradeLine)
        html += "<h4>竖曲线表</h4>" + htmlTable(verticalTableRows(route_));
    if (lastTable_)
        html += "<h4>中桩表</h4>" + htmlTable(stakeTableRows(*lastTable_, lastRequest_));
    return html;
}

QString RouteWindow::print(const std::optional<QString>& pdfPath) {
    QTextDocument document;
    document.setHtml(tablesAsHtml());
    const PaintJob paint = [&](QPrinter& printer) -> std::optional<QString> {
        printer.setPageOrientation(QPageLayout::Landscape);
        document.print(&printer);
        if (printer.printerState() == QPrinter::Error ||
            printer.printerState() == QPrinter::Aborted)
            return QStringLiteral("打印作业出错");
        return std::nullopt;
    };
    return printed(QStringLiteral("线路报表"), paint, pdfPath);
}

QString RouteWindow::printProfile(const std::optional<QString>& pdfPath) {
    const StakeTable* stakes = lastTable_ ? &*lastTable_ : nullptr;
    const PaintJob paint = [&](QPrinter& printer) -> std::optional<QString> {
        printer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter;
        if (!painter.begin(&printer))
            return QStringLiteral("打印作业无法开始");
        const QRectF area = painter.viewport();
        const double scale = std::min(area.width() / kProfileWidth, area.height() / kProfileHeight);
        painter.scale(scale, scale);
        paintProfile(painter, QSizeF(kProfileWidth, kProfileHeight), route_, stakes);
        painter.end();
        if (printer.printerState() == QPrinter::Error ||
            printer.printerState() == QPrinter::Aborted)
            return QStringLiteral("打印作业出错");
        return std::nullopt;
    };
    return printed(QStringLiteral("纵断面图"), paint, pdfPath);
}

QString RouteWindow::printed(const QString& name, const PaintJob& paint,
                             const std::optional<QString>& pdfPath) {
    if (pdfPath) {
        if (const std::optional<QString> failure = savePdf(*pdfPath, name, paint))
            return QStringLiteral("无法写入文件“%1”（%2）。").arg(*pdfPath, *failure);
        return QStringLiteral("没有打印机：%1已存为 ").arg(name) + *pdfPath;
    }
    const std::optional<QString> printerFailure = printOnDefaultPrinter(name, paint);
    if (!printerFailure)
        return QStringLiteral("已送往打印机。");
    const DatedPdf pdf = saveDatedPdf(name, paint);
    if (pdf.failure) {
        return QStringLiteral("%1未能打印（%2），也未能存为 PDF 文件“%3”（%4）。")
            .arg(name, *printerFailure, pdf.path, *pdf.failure);
    }
    return QStringLiteral("%1未能打印（%2），已存为 ").arg(name, *printerFailure) + pdf.path;
}

std::optional<QString> RouteWindow::saveProfile(const QString& path) {
    const std::optional<PlanFormat> format = planFormatOf(path.toStdString());
    if (!format)
        return QStringLiteral("纵断面图的文件名要以 .png、.svg 或 .pdf 结尾。");
    const QByteArray bytes = profileBytes(route_, lastTable_ ? &*lastTable_ : nullptr,
                                          QSizeF(kProfileWidth, kProfileHeight), *format);
    if (bytes.isEmpty())
        return QStringLiteral("无法绘制纵断面图。");
    if (std::optional<std::string> wrong =
            writeFileReplacing(path.toStdString(), bytes.toStdString()))
        return text(*wrong);
    return std::nullopt;
}

void RouteWindow::runSaveProfile() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("保存纵断面图"), QString(),
        QStringLiteral("PNG 图片 (*.png);;SVG 图形 (*.svg);;PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (std::optional<QString> wrong = saveProfile(path))
        QMessageBox::warning(this, QStringLiteral("保存纵断面图"), *wrong);
}

void RouteWindow::runStakes() {
    if (std::optional<QString> wrong = computeStakes())
        QMessageBox::warning(this, QStringLiteral("中桩表"), *wrong);
}

void RouteWindow::runExport() {
    if (!lastTable_) {
        QMessageBox::information(this, QStringLiteral("导出"), QStringLiteral("还没有计算中桩。"));
        return;
    }
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("导出中桩坐标"), QString(),
                                     QStringLiteral("表格 (*.csv);;点文件 (*.dat)"));
    if (path.isEmpty())
        return;
    if (std::optional<QString> wrong = exportStakes(path))
        QMessageBox::warning(this, QStringLiteral("导出"), *wrong);
}

void RouteWindow::runPrint() {
    QMessageBox::information(this, QStringLiteral("打印"), print());
}

RouteWindow* openRouteWindow(const QStringList& paths, QString& messages) {
    std::vector<std::string> files;
    for (const QString& p : paths)
        files.push_back(p.toStdString());
    RouteLoading loading = loadRouteFiles(files);
    messages.clear();
    for (const std::string& m : loading.messages)
        messages += text(m) + "\n";
    if (!loading.route)
        return nullptr;
    QStringList names;
    for (const QString& p : paths)
        names << QFileInfo(p).fileName();
    return new RouteWindow(std::move(*loading.route), names.join(QStringLiteral(", ")));
}

RouteWindow* openRouteWindow(const QString& path, QString& messages) {
    return openRouteWindow(QStringList{path}, messages);
}

void addRouteMenu(QMenuBar* bar, QWidget* parent) {
    QMenu* menu = bar->addMenu(QStringLiteral("线路"));
    QAction* open = menu->addAction(QStringLiteral("打开交点表…"));
    QObject::connect(open, &QAction::triggered, parent, [parent] {
        // The JD table first; the grade line and the cross-fall may follow in further files.
        const QStringList paths = QFileDialog::getOpenFileNames(
            parent, QStringLiteral("打开交点表"), QString(),
            QStringLiteral("交点表或线元表 (*.csv *.txt);;所有文件 (*)"));
        if (paths.isEmpty())
            return;
        QString messages;
        RouteWindow* window = openRouteWindow(paths, messages);
        if (!window) {
            QMessageBox::warning(parent, QStringLiteral("交点表有错"), messages);
            return;
        }
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        // A route that was read may still carry warnings (a stated start off the chain).
        if (!messages.isEmpty())
            QMessageBox::information(window, QStringLiteral("注意"), messages);
    });
}

}  // namespace hcurve

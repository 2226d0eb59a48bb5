#include "window/plan_view_window.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "commands/plan_dxf.h"
#include "curve/shown_text.h"
#include "platform/file_writing.h"
#include "port/messages.h"
#include "views/plan_file.h"
#include "window/file_dialogs.h"

namespace hcurve {
namespace {

// One notch of the wheel (120 eighths of a degree) zooms by about a fifth.
constexpr double kZoomPerEighthDegree = 1.0015;

}  // namespace

PlanCanvas::PlanCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(320, 240);
    setCursor(Qt::CrossCursor);
}

void PlanCanvas::setScene(std::optional<PlanScene> scene, bool refit) {
    const bool hadScene = scene_.has_value();
    scene_ = std::move(scene);
    if (refit || !hadScene)
        fit();
    update();
}

void PlanCanvas::fit() {
    fitted_ = true;
    if (scene_)
        frame_ = fitFrame(*scene_, size());
    update();
}

void PlanCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (scene_) {
        paintPlan(painter, size(), *scene_, frame_);
        return;
    }
    painter.fillRect(rect(), QColor::fromRgba(kBackgroundRgb));
    painter.drawText(rect(), Qt::AlignCenter, QString::fromUtf8(kNoComputedCurve));
}

void PlanCanvas::resizeEvent(QResizeEvent*) {
    if (fitted_)
        fit();
}

void PlanCanvas::wheelEvent(QWheelEvent* event) {
    if (!scene_)
        return;
    const double factor = std::pow(kZoomPerEighthDegree, event->angleDelta().y());
    frame_ = frame_.zoomedAt(event->position(), size(), factor);
    fitted_ = false;
    update();
    event->accept();
}

void PlanCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void PlanCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrom_ && scene_) {
        frame_ = frame_.pannedBy(event->position() - *dragFrom_);
        dragFrom_ = event->position();
        fitted_ = false;
        update();
    }
    if (scene_)
        emit pointed(frame_.toWorld(event->position(), size()));
}

void PlanCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_.reset();
        setCursor(Qt::CrossCursor);
    }
}

void PlanCanvas::mouseDoubleClickEvent(QMouseEvent*) {
    fit();
}

void PlanCanvas::leaveEvent(QEvent*) {
    emit pointed(std::nullopt);
}

PlanViewWindow::PlanViewWindow(const CurveRecord& record, Teller tell, QWidget* parent)
    : QWidget(parent, Qt::Window), record_(record), tell_(std::move(tell)) {
    setWindowTitle(QStringLiteral("平面图"));
    canvas_ = new PlanCanvas(this);
    coordinates_ = new QLabel(this);
    coordinates_->setObjectName(QStringLiteral("coordinates"));
    auto* fitButton = new QPushButton(QStringLiteral("适合窗口"), this);
    auto* saveButton = new QPushButton(QStringLiteral("保存平面图…"), this);
    saveButton->setObjectName(QStringLiteral("savePlan"));
    fitButton->setToolTip(QStringLiteral("整条曲线放进窗口 (也可双击图面)"));
    saveButton->setToolTip(
        QStringLiteral("按所见保存为 PNG、SVG 或 PDF 文件，或存为 DXF 图形供 CAD 使用"));
    connect(fitButton, &QPushButton::clicked, canvas_, &PlanCanvas::fit);
    connect(saveButton, &QPushButton::clicked, this, &PlanViewWindow::save);
    connect(canvas_, &PlanCanvas::pointed, this, [this](std::optional<PlanePoint> at) {
        coordinates_->setText(at ? QStringLiteral("X (北) = %1    Y (东) = %2")
                                       .arg(at->x_m, 0, 'f', 3)
                                       .arg(at->y_m, 0, 'f', 3)
                                 : QString());
    });

    auto* tools = new QHBoxLayout;
    tools->addWidget(fitButton);
    tools->addWidget(saveButton);
    tools->addSpacing(16);
    tools->addWidget(coordinates_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(canvas_, 1);
    resize(900, 680);
    redraw(true);
}

void PlanViewWindow::redraw(bool refit) {
    if (record_.curve)
        canvas_->setScene(planScene(record_), refit);
    else
        canvas_->setScene(std::nullopt, true);
}

void PlanViewWindow::save() {
    if (!canvas_->scene()) {
        tell_(kNoComputedCurve);
        return;
    }
    std::optional<std::string> path = chooser_ ? chooser_() : choosePath();
    if (!path)
        return;
    if (const Result<void> refusal = inputAsTarget(*path, record_.curveFiles); !refusal) {
        tell_(refusal.failure().message);
        return;
    }
    const Result<void> saved =
        isDxfPath(*path) ? savePlanDxf(record_, *path)
                         : savePlan(*canvas_->scene(), canvas_->frame(), canvas_->size(), *path);
    tell_(saved ? "已保存平面图到文件“" + shownText(*path) + "”。" : saved.failure().message);
}

std::optional<QString> askPlanFilePath(QWidget* parent, const QString& proposedName) {
    const QString png = QStringLiteral("PNG 图片 (*.png)");
    const QString svg = QStringLiteral("SVG 矢量图 (*.svg)");
    const QString pdf = QStringLiteral("PDF 文件 (*.pdf)");
    const QString dxf = QStringLiteral("DXF 图形，供 CAD 使用 (*.dxf)");
    QString selected = png;
    QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("保存平面图"), proposedPath(proposedName),
        png + QStringLiteral(";;") + svg + QStringLiteral(";;") + pdf + QStringLiteral(";;") + dxf,
        &selected);
    if (path.isEmpty())
        return std::nullopt;
    rememberFolder(path);
    if (!planFormatOf(path.toStdString()) && !isDxfPath(path.toStdString())) {
        // No extension of its own: the one of the chosen file type.
        path += selected == svg   ? QStringLiteral(".svg")
                : selected == pdf ? QStringLiteral(".pdf")
                : selected == dxf ? QStringLiteral(".dxf")
                                  : QStringLiteral(".png");
    }
    return path;
}

std::optional<std::string> PlanViewWindow::choosePath() {
    const std::optional<QString> path = askPlanFilePath(this, QStringLiteral("平面图.png"));
    if (!path)
        return std::nullopt;
    return path->toStdString();
}

}  // namespace hcurve

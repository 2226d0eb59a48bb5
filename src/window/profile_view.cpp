#include "window/profile_view.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "alignment/stake_table.h"
#include "curve/angle.h"
#include "views/plan_file.h"

namespace hcurve {
namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QPointF point(const PicturePoint& p) {
    return QPointF(p.x_px, p.y_px);
}

QRectF rect(const PictureBox& b) {
    return QRectF(b.left_px, b.top_px, b.width_px, b.height_px);
}

QPolygonF polygon(const std::vector<PicturePoint>& points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const PicturePoint& p : points)
        polygon << point(p);
    return polygon;
}

// The grid: the level lines with their elevations on the left, the chainage lines with their
// labels below, and the plot's frame.
void paintGrid(QPainter& painter, const ProfileLayout& layout) {
    const QRectF plot = rect(layout.frame.plot);
    const QPen gridPen(QColor(225, 225, 225), 0);
    for (const ProfileLevel& level : layout.levels) {
        painter.setPen(gridPen);
        painter.drawLine(QPointF(plot.left(), level.y_px), QPointF(plot.right(), level.y_px));
        painter.setPen(Qt::black);
        painter.drawText(rect(level.box), Qt::AlignRight | Qt::AlignVCenter, text(level.text));
    }
    painter.setPen(gridPen);
    for (double x : layout.chainageLines_px)
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(Qt::black);
    for (const ProfileLabel& label : layout.labels)
        painter.drawText(rect(label.box), Qt::AlignHCenter | Qt::AlignTop, text(label.text));
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(plot);
}

// The legend at the top right, below the title: a piece of each line with its name.
void paintLegend(QPainter& painter, const ProfileLayout& layout) {
    painter.save();
    for (const ProfileLegendEntry& entry : layout.legend) {
        painter.setPen(Qt::black);
        painter.drawText(point(entry.textAt), text(entry.name));
        painter.setPen(QPen(entry.ground ? groundLineColour() : designLineColour(), 2));
        painter.drawLine(point(entry.from), point(entry.to));
    }
    painter.restore();
}

// The ground under the design line, within the plot only (surveyed sections may lie beyond the
// grade line's ends).
void paintGround(QPainter& painter, const ProfileLayout& layout) {
    painter.save();
    painter.setClipRect(rect(layout.frame.plot));
    painter.setPen(QPen(groundLineColour(), 2));
    for (const std::vector<PicturePoint>& run : layout.ground) {
        if (run.size() == 1)
            painter.drawEllipse(point(run.front()), 1.5, 1.5);
        else
            painter.drawPolyline(polygon(run));
    }
    painter.restore();
}

// Each 变坡点: its mark, the ends of its curve, and its captions standing upright above it; the
// band below with the grade and length of each straight grade.
void paintGradePoints(QPainter& painter, const ProfileLayout& layout, double lineSpacing_px) {
    const PictureBox& band = layout.band;
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(rect(band));
    for (const ProfileGradePoint& p : layout.gradePoints) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawEllipse(point(p.mark), kProfileMark_px, kProfileMark_px);
        painter.drawLine(QPointF(p.mark.x_px, band.top_px), QPointF(p.mark.x_px, band.bottom_px()));
        painter.setPen(QPen(Qt::blue, 0));
        for (const PicturePoint& end : p.curveEnds)
            painter.drawLine(point(end), QPointF(end.x_px, end.y_px - kCurveEndTick_px));
        painter.setPen(Qt::black);
        painter.save();
        painter.translate(point(p.captionAt));
        painter.rotate(-kQuarterTurn_tdeg);
        painter.drawText(QPointF(0, 0), text(p.caption.where));
        painter.drawText(QPointF(0, lineSpacing_px), text(p.caption.curve));
        painter.restore();
    }
    for (const GradeCell& cell : layout.cells)
        painter.drawText(rect(cell.box), Qt::AlignCenter, text(cell.grade + "\n" + cell.length));
}

}  // namespace

ProfileTextMeasure profileTextMeasure(const QPainter& painter) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QFontMetricsF exact(painter.font());
    ProfileTextMeasure measure;
    measure.width_px = [metrics](const std::string& s) {
        return static_cast<double>(metrics.horizontalAdvance(QString::fromStdString(s)));
    };
    measure.ascent_px = exact.ascent();
    measure.descent_px = exact.descent();
    // The second line of a caption has always stood a whole line of the screen's metrics on.
    measure.lineSpacing_px = metrics.lineSpacing();
    return measure;
}

QColor groundLineColour() {
    return QColor(140, 90, 50);
}

QColor designLineColour() {
    return QColor(Qt::red);
}

void paintProfile(QPainter& painter, const QSizeF& size, const Route& route,
                  const StakeTable* stakes, const std::vector<GroundLinePoint>* ground) {
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    if (!route.gradeLine) {
        painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter,
                         QStringLiteral("这条线路没有纵断面表。"));
        return;
    }
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(kProfileText_px));
    painter.setFont(font);
    const ProfileTextMeasure measure = profileTextMeasure(painter);
    const ProfileLayout layout =
        profileLayout(size.width(), size.height(), route, stakes, ground, measure);
    if (!layout.missing.empty()) {
        painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter, text(layout.missing));
        return;
    }
    painter.drawText(rect(layout.titleBox), Qt::AlignHCenter, text(layout.title));
    paintGrid(painter, layout);
    paintLegend(painter, layout);

    // The straight grades through the 变坡点, and the design line with its curves.
    QPainterPath grades;
    grades.addPolygon(polygon(layout.grades));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawPath(grades);
    paintGround(painter, layout);
    QPainterPath design;
    design.addPolygon(polygon(layout.design));
    painter.setPen(QPen(designLineColour(), 2));
    painter.drawPath(design);

    // The stakes of the table, as ticks on the design line.
    painter.setPen(QPen(QColor(0, 120, 0), 1));
    for (const PicturePoint& s : layout.stakes)
        painter.drawLine(point(s) + QPointF(0, -2 * kProfileMark_px),
                         point(s) + QPointF(0, 2 * kProfileMark_px));
    paintGradePoints(painter, layout, measure.lineSpacing_px);
}

QByteArray profileBytes(const Route& route, const StakeTable* stakes, const QSizeF& size,
                        PlanFormat format, const std::vector<GroundLinePoint>* ground) {
    return drawingBytes(
        size, format, QStringLiteral("纵断面图"), QString(),
        [&](QPainter& painter) { paintProfile(painter, size, route, stakes, ground); });
}

ProfileView::ProfileView(const Route& route, QWidget* parent) : QWidget(parent), route_(route) {
    setMinimumSize(400, 300);
}

void ProfileView::setStakes(const StakeTable* stakes) {
    stakes_ = stakes;
    update();
}

void ProfileView::setGroundLine(std::vector<GroundLinePoint> ground) {
    ground_ = std::move(ground);
    update();
}

void ProfileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintProfile(painter, size(), route_, stakes_, &ground_);
}

}  // namespace hcurve

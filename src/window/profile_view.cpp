#include "window/profile_view.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "alignment/stake_table.h"
#include "curve/angle.h"
#include "curve/chainage.h"
#include "curve/format.h"
#include "curve/number.h"
#include "views/plan_file.h"

namespace hcurve {
namespace {

constexpr double kLeft_px = 70, kRight_px = 20, kTop_px = 44;
constexpr double kChainageLabels_px = 20;  // the chainages under the drawing
constexpr double kBand_px = 44;            // the band of grades and lengths at the bottom
constexpr double kChainageLabel_px = 130;  // the width a chainage under the drawing takes
constexpr double kMark_px = 3;
constexpr int kSamples = 3000;
constexpr double kPercent = 100;
constexpr double kLeastGradeCell_px = 50;  // a narrower cell of the band stays empty
constexpr double kLegendLine_px = 24;      // the piece of a line the legend shows

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString fixed3(double v) {
    return text(format(v, Pattern::Fixed3));
}

// The grid: the level lines with their elevations on the left, the chainage lines with their
// labels below, and the plot's frame.
void paintGrid(QPainter& painter, const Route& route, const ProfileFrame& frame,
               const QSizeF& size) {
    const QRectF& plot = frame.plot;
    const QPen gridPen(QColor(225, 225, 225), 0);
    for (double h : elevationLines_m(frame)) {
        const double y = frame.at(frame.start_m, h).y();
        painter.setPen(gridPen);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y - 8, kLeft_px - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         text(generalText(h)));
    }
    painter.setPen(gridPen);
    for (const ChainageLine& line : chainageLines(route, frame)) {
        const double x = frame.at(line.continuous_m, frame.lowest_m).x();
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(Qt::black);
    const QFontMetrics metrics = painter.fontMetrics();
    for (const ProfileLabel& label :
         chainageLabels(route, frame, size.width(),
                        [&](const QString& s) { return metrics.horizontalAdvance(s); }))
        painter.drawText(label.box, Qt::AlignHCenter | Qt::AlignTop, label.text);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(plot);
}

// The stakes of the table, as ticks on the design line.
void paintStakes(QPainter& painter, const StakeTable& stakes, const ProfileFrame& frame) {
    painter.setPen(QPen(QColor(0, 120, 0), 1));
    for (const StakeRow& r : stakes.rows) {
        if (!r.H_m)
            continue;
        const QPointF p = frame.at(r.continuous_m, *r.H_m);
        painter.drawLine(p + QPointF(0, -2 * kMark_px), p + QPointF(0, 2 * kMark_px));
    }
}

// Each 变坡点: its mark, the ends of its curve, and its captions standing upright above it; the
// band below with the grade and length of each straight grade.
void paintGradePoints(QPainter& painter, const GradeLine& g, const ProfileFrame& frame,
                      const std::vector<ProfileCaption>& captions) {
    const QRectF& plot = frame.plot;
    const double bandTop = plot.bottom() + kChainageLabels_px;
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(QRectF(plot.left(), bandTop, plot.width(), kBand_px - 4));
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        const GradePoint& p = g.points[k];
        const QPointF m = frame.at(p.at_m, p.H_m);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawEllipse(m, kMark_px, kMark_px);
        painter.drawLine(QPointF(m.x(), bandTop), QPointF(m.x(), bandTop + kBand_px - 4));
        if (p.T_m > 0) {
            painter.setPen(QPen(Qt::blue, 0));
            for (double end : {p.curveStart_m(), p.curveEnd_m()}) {
                const QPointF e = frame.at(end, *designElevation_m(g, end));
                painter.drawLine(e, QPointF(e.x(), e.y() - 12));
            }
        }
        painter.setPen(Qt::black);
        // Upright, the first line stands left of its foot and the second right of it: both stay
        // inside the frame, also at the start and the end of the grade line.
        const QFontMetricsF metrics(painter.font());
        const double right = captions[k].curve.isEmpty()
                                 ? metrics.descent()
                                 : metrics.lineSpacing() + metrics.descent();
        const double foot =
            std::clamp(m.x() + 4, plot.left() + metrics.ascent() + 2,
                       std::max(plot.left() + metrics.ascent() + 2, plot.right() - right - 2));
        // Above the mark and above the design line where the caption stands.
        const double footAt_m = std::clamp(frame.chainageAt_m(foot), frame.start_m, frame.end_m);
        const double top =
            std::min({m.y(), frame.at(p.at_m, designElevation_m(g, p.at_m).value_or(p.H_m)).y(),
                      frame.at(footAt_m, designElevation_m(g, footAt_m).value_or(p.H_m)).y()});
        painter.save();
        painter.translate(foot, top - 8);
        painter.rotate(-kQuarterTurn_tdeg);
        painter.drawText(QPointF(0, 0), captions[k].where);
        painter.drawText(QPointF(0, painter.fontMetrics().lineSpacing()), captions[k].curve);
        painter.restore();
    }
    for (const GradeCell& cell : gradeCells(g, frame))
        painter.drawText(cell.box, Qt::AlignCenter, cell.text);
}

// The legend at the top right, below the title: a piece of each line with its name.
void paintLegend(QPainter& painter, const QSizeF& size) {
    const QFontMetricsF metrics(painter.font());
    const std::pair<QColor, QString> entries[] = {{designLineColour(), QStringLiteral("设计线")},
                                                  {groundLineColour(), QStringLiteral("地面线")}};
    double x = size.width() - kRight_px;
    const double y = 24 + metrics.ascent();  // below the title, above the plot
    painter.save();
    for (auto k = std::rbegin(entries); k != std::rend(entries); ++k) {
        x -= metrics.horizontalAdvance(k->second);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, y), k->second);
        x -= 4 + kLegendLine_px;
        painter.setPen(QPen(k->first, 2));
        const double mid = y - metrics.ascent() / 2 + 1;
        painter.drawLine(QPointF(x, mid), QPointF(x + kLegendLine_px, mid));
        x -= 12;
    }
    painter.restore();
}

}  // namespace

std::vector<ProfileCaption> profileCaptions(const Route& route, const GradeLine& g) {
    std::vector<ProfileCaption> captions;
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        const GradePoint& p = g.points[k];
        const QString where = (k == 0                     ? QStringLiteral("起点")
                               : k + 1 == g.points.size() ? QStringLiteral("终点")
                                                          : QStringLiteral("变坡点%1").arg(k)) +
                              "  " + text(stakeText(route, p.at_m)) + "  H=" + fixed3(p.H_m);
        QString curve;
        if (p.T_m > 0)
            curve =
                "R=" + text(generalText(p.R_m)) + "  T=" + fixed3(p.T_m) + "  E=" + fixed3(p.E_m);
        captions.push_back({where, curve});
    }
    return captions;
}

QPointF ProfileFrame::at(double chainage_m, double H_m) const {
    return QPointF(plot.left() + (chainage_m - start_m) * pixelsPerMetre,
                   base_px - (H_m - lowest_m) * (pixelsPerMetre * exaggeration));
}

double ProfileFrame::chainageAt_m(double x_px) const {
    return start_m + (x_px - plot.left()) / pixelsPerMetre;
}

double ProfileFrame::elevationAt_m(double y_px) const {
    return lowest_m + (base_px - y_px) / (pixelsPerMetre * exaggeration);
}

ProfileFrame profileFrame(const QSizeF& size, const GradeLine& g, double captionRoom_px,
                          const std::vector<GroundLinePoint>* ground) {
    double hMin = g.points.front().H_m, hMax = hMin;
    for (const GradePoint& p : g.points) {
        hMin = std::min(hMin, p.H_m);
        hMax = std::max(hMax, p.H_m);
    }
    // The ground along the grade line is drawn whole too.
    if (ground) {
        for (const GroundLinePoint& p : *ground) {
            if (!p.H_m || p.continuous_m < g.start_m() || p.continuous_m > g.end_m())
                continue;
            hMin = std::min(hMin, *p.H_m);
            hMax = std::max(hMax, *p.H_m);
        }
    }
    ProfileFrame frame;
    frame.plot = QRectF(kLeft_px, kTop_px, std::max(size.width() - kLeft_px - kRight_px, 1.0),
                        std::max(size.height() - kTop_px - kChainageLabels_px - kBand_px, 1.0));
    frame.start_m = g.start_m();
    frame.end_m = g.end_m();
    frame.lowest_m = hMin;
    const double plotH = std::max(frame.plot.height() - captionRoom_px, frame.plot.height() / 3);
    frame.pixelsPerMetre = frame.plot.width() / (frame.end_m - frame.start_m);
    // The vertical scale a round multiple of the horizontal, so that the exaggeration stated is
    // the one drawn.
    frame.exaggeration = niceStepBelow(plotH / std::max(hMax - hMin, 1e-3) / frame.pixelsPerMetre);
    const double sy = frame.pixelsPerMetre * frame.exaggeration;
    frame.base_px = frame.plot.bottom() - (plotH - (hMax - hMin) * sy) / 2;
    return frame;
}

std::vector<double> elevationLines_m(const ProfileFrame& frame) {
    const double top_m = frame.elevationAt_m(frame.plot.top());
    const double bottom_m = frame.elevationAt_m(frame.plot.bottom());
    const double step_m = niceStepBelow(std::max((top_m - bottom_m) / 6, 1e-3));
    std::vector<double> lines;
    for (double k = std::ceil(bottom_m / step_m); k * step_m <= top_m; ++k)
        lines.push_back(k * step_m);
    return lines;
}

std::vector<ChainageLine> chainageLines(const Route& route, const ProfileFrame& frame) {
    const double labels = std::max(frame.plot.width() / kChainageLabel_px, 1.0);
    const double step_m = niceStepBelow(std::max((frame.end_m - frame.start_m) / labels, 1e-3)) * 2;
    // Round in the chainage the labels read, on each side of every chain break, as the stakes
    // are.
    std::vector<ChainageLine> lines;
    for (const PlannedStake& m : wholeMultiples(route, frame.start_m, frame.end_m, step_m))
        if (m.continuous_m >= frame.start_m - 1e-9 && m.continuous_m <= frame.end_m + 1e-9)
            lines.push_back({m.continuous_m, m.broken_m});
    return lines;
}

std::vector<ProfileLabel> chainageLabels(const Route& route, const ProfileFrame& frame,
                                         double pictureWidth_px,
                                         const std::function<double(const QString&)>& width_px) {
    std::vector<ProfileLabel> labels;
    double labelsEnd = -1e9;  // where the last label ends, px
    for (const ChainageLine& line : chainageLines(route, frame)) {
        const double x = frame.at(line.continuous_m, frame.lowest_m).x();
        const double left =
            std::clamp(x - kChainageLabel_px / 2, 0.0, pictureWidth_px - kChainageLabel_px);
        // The last label, pushed in from the edge, must not cover the one before.
        const QString label = text(chainageText(line.stated_m, kPlainForm));
        const double half = width_px(label) / 2.0;
        const double middle = left + kChainageLabel_px / 2;
        if (middle - half < labelsEnd)
            continue;
        labelsEnd = middle + half + 4;
        labels.push_back({label, QRectF(left, frame.plot.bottom() + 2, kChainageLabel_px,
                                        kChainageLabels_px - 2)});
    }
    return labels;
}

QPolygonF gradePolygon(const GradeLine& g, const ProfileFrame& frame) {
    QPolygonF polygon;
    for (const GradePoint& p : g.points)
        polygon << frame.at(p.at_m, p.H_m);
    return polygon;
}

QPolygonF designPolyline(const GradeLine& g, const ProfileFrame& frame) {
    QPolygonF line;
    const double s0 = frame.start_m, s1 = frame.end_m;
    for (int i = 0; i <= kSamples; ++i) {
        const double s = s0 + (s1 - s0) * i / kSamples;
        line << frame.at(s, designElevation_m(g, s).value_or(frame.lowest_m));
    }
    return line;
}

std::vector<QPolygonF> groundPolylines(const std::vector<GroundLinePoint>& ground,
                                       const ProfileFrame& frame) {
    std::vector<QPolygonF> runs;
    QPolygonF run;
    for (const GroundLinePoint& p : ground) {
        if (p.H_m) {
            run << frame.at(p.continuous_m, *p.H_m);
            continue;
        }
        if (!run.isEmpty())
            runs.push_back(std::move(run));
        run = QPolygonF();
    }
    if (!run.isEmpty())
        runs.push_back(std::move(run));
    return runs;
}

QColor groundLineColour() {
    return QColor(140, 90, 50);
}

QColor designLineColour() {
    return QColor(Qt::red);
}

std::vector<GradeCell> gradeCells(const GradeLine& g, const ProfileFrame& frame) {
    const double bandTop = frame.plot.bottom() + kChainageLabels_px;
    std::vector<GradeCell> cells;
    for (std::size_t k = 0; k + 1 < g.points.size(); ++k) {
        const GradePoint &p = g.points[k], &q = g.points[k + 1];
        const double x = frame.at(p.at_m, p.H_m).x();
        const QRectF box(x, bandTop, frame.at(q.at_m, q.H_m).x() - x, kBand_px - 4);
        if (box.width() > kLeastGradeCell_px)
            cells.push_back({box, QStringLiteral("%1%").arg(
                                      text(format(p.gradeOut * kPercent, Pattern::Fixed3))) +
                                      "\n" + QStringLiteral("L=") + fixed3(q.at_m - p.at_m)});
    }
    return cells;
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
    const GradeLine& g = *route.gradeLine;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    // The captions of the 变坡点 stand upright above them, in two lines (where it is and what its
    // curve is), so that the room they need above the line stays small.
    const std::vector<ProfileCaption> captions = profileCaptions(route, g);
    double captionRoom = 0;
    for (const ProfileCaption& caption : captions) {
        for (const QString& line : {caption.where, caption.curve})
            captionRoom =
                std::max(captionRoom, painter.fontMetrics().horizontalAdvance(line) + 16.0);
    }
    const bool withGround =
        ground && std::any_of(ground->begin(), ground->end(),
                              [](const GroundLinePoint& p) { return p.H_m.has_value(); });
    const ProfileFrame frame = profileFrame(size, g, captionRoom, withGround ? ground : nullptr);

    painter.drawText(
        QRectF(0, 4, size.width(), 18), Qt::AlignHCenter,
        QStringLiteral("纵断面图   %1 至 %2   竖向放大 %3 倍")
            .arg(text(stakeText(route, frame.start_m)), text(stakeText(route, frame.end_m)),
                 text(generalText(frame.exaggeration))));
    paintGrid(painter, route, frame, size);
    if (withGround)
        paintLegend(painter, size);

    // The straight grades through the 变坡点, and the design line with its curves.
    QPainterPath grades;
    grades.addPolygon(gradePolygon(g, frame));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawPath(grades);
    // The ground under the design line, within the plot only (surveyed sections may lie beyond
    // the grade line's ends).
    if (withGround) {
        painter.save();
        painter.setClipRect(frame.plot);
        painter.setPen(QPen(groundLineColour(), 2));
        for (const QPolygonF& run : groundPolylines(*ground, frame)) {
            if (run.size() == 1)
                painter.drawEllipse(run.front(), 1.5, 1.5);
            else
                painter.drawPolyline(run);
        }
        painter.restore();
    }
    QPainterPath design;
    design.addPolygon(designPolyline(g, frame));
    painter.setPen(QPen(designLineColour(), 2));
    painter.drawPath(design);

    if (stakes)
        paintStakes(painter, *stakes, frame);
    paintGradePoints(painter, g, frame, captions);
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

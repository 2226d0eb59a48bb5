#include "window/profile_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "curve/angle.h"
#include "curve/format.h"
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

// 1, 2 or 5 times a power of ten, the largest not above v.
double niceBelow(double v) {
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double f : {5.0, 2.0, 1.0})
        if (f * p <= v)
            return f * p;
    return p;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString fixed3(double v) {
    return text(format(v, Pattern::Fixed3));
}

}  // namespace

void paintProfile(QPainter& painter, const QSizeF& size, const Route& route,
                  const StakeTable* stakes) {
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    if (!route.gradeLine) {
        painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter,
                         QStringLiteral("这条线路没有纵断面表。"));
        return;
    }
    const GradeLine& g = *route.gradeLine;
    const double s0 = g.start_m(), s1 = g.end_m();
    double hMin = g.points.front().H_m, hMax = hMin;
    for (const GradePoint& p : g.points) {
        hMin = std::min(hMin, p.H_m);
        hMax = std::max(hMax, p.H_m);
    }
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    // The captions of the 变坡点 stand upright above them, in two lines (where it is and what its
    // curve is), so that the room they need above the line stays small.
    std::vector<std::pair<QString, QString>> captions;
    double captionRoom = 0;
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
        for (const QString& line : {where, curve})
            captionRoom =
                std::max(captionRoom, painter.fontMetrics().horizontalAdvance(line) + 16.0);
        captions.emplace_back(where, curve);
    }
    const QRectF plot(kLeft_px, kTop_px, std::max(size.width() - kLeft_px - kRight_px, 1.0),
                      std::max(size.height() - kTop_px - kChainageLabels_px - kBand_px, 1.0));
    const double plotH = std::max(plot.height() - captionRoom, plot.height() / 3);
    const double sx = plot.width() / (s1 - s0);
    // The vertical scale a round multiple of the horizontal, so that the exaggeration stated is
    // the one drawn.
    const double exaggeration = niceBelow(plotH / std::max(hMax - hMin, 1e-3) / sx);
    const double sy = sx * exaggeration;
    const double base = plot.bottom() - (plotH - (hMax - hMin) * sy) / 2;
    auto at = [&](double s, double h) {
        return QPointF(plot.left() + (s - s0) * sx, base - (h - hMin) * sy);
    };

    painter.drawText(QRectF(0, 4, size.width(), 18), Qt::AlignHCenter,
                     QStringLiteral("纵断面图   %1 至 %2   竖向放大 %3 倍")
                         .arg(text(stakeText(route, s0)), text(stakeText(route, s1)),
                              text(generalText(exaggeration))));

    // Grid: elevations on the left, chainages below.
    painter.setPen(QPen(QColor(225, 225, 225), 0));
    const double hTop = hMin + (base - plot.top()) / sy,
                 hBottom = hMin - (plot.bottom() - base) / sy;
    const double hStep = niceBelow(std::max((hTop - hBottom) / 6, 1e-3));
    for (double h = std::ceil(hBottom / hStep) * hStep; h <= hTop; h += hStep) {
        const double y = at(s0, h).y();
        painter.setPen(QPen(QColor(225, 225, 225), 0));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y - 8, kLeft_px - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         text(generalText(h)));
    }
    const double sStep =
        niceBelow(std::max((s1 - s0) / std::max(plot.width() / kChainageLabel_px, 1.0), 1e-3)) * 2;
    double labelsEnd = -1e9;  // where the last chainage label drawn ends, px
    for (double s = std::ceil(s0 / sStep) * sStep; s <= s1 + 1e-9; s += sStep) {
        const double x = at(s, hMin).x();
        painter.setPen(QPen(QColor(225, 225, 225), 0));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        const double left =
            std::clamp(x - kChainageLabel_px / 2, 0.0, size.width() - kChainageLabel_px);
        // The last label, pushed in from the edge, must not cover the one before.
        const QString label = text(stakeText(route, s));
        const double half = painter.fontMetrics().horizontalAdvance(label) / 2.0;
        const double middle = left + kChainageLabel_px / 2;
        if (middle - half < labelsEnd)
            continue;
        labelsEnd = middle + half + 4;
        painter.drawText(QRectF(left, plot.bottom() + 2, kChainageLabel_px, kChainageLabels_px - 2),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(plot);

    // The straight grades through the 变坡点, and the design line with its curves.
    QPainterPath grades;
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        const QPointF p = at(g.points[k].at_m, g.points[k].H_m);
        k == 0 ? grades.moveTo(p) : grades.lineTo(p);
    }
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawPath(grades);
    QPainterPath design;
    for (int i = 0; i <= kSamples; ++i) {
        const double s = s0 + (s1 - s0) * i / kSamples;
        const QPointF p = at(s, designElevation_m(g, s).value_or(hMin));
        i == 0 ? design.moveTo(p) : design.lineTo(p);
    }
    painter.setPen(QPen(Qt::red, 2));
    painter.drawPath(design);

    // The stakes of the table, as ticks on the design line.
    if (stakes) {
        painter.setPen(QPen(QColor(0, 120, 0), 1));
        for (const StakeRow& r : stakes->rows) {
            if (!r.H_m)
                continue;
            const QPointF p = at(r.continuous_m, *r.H_m);
            painter.drawLine(p + QPointF(0, -2 * kMark_px), p + QPointF(0, 2 * kMark_px));
        }
    }

    // Each 变坡点: its mark, the ends of its curve, and its captions standing upright above it.
    const double bandTop = plot.bottom() + kChainageLabels_px;
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(QRectF(plot.left(), bandTop, plot.width(), kBand_px - 4));
    for (std::size_t k = 0; k < g.points.size(); ++k) {
        const GradePoint& p = g.points[k];
        const QPointF m = at(p.at_m, p.H_m);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawEllipse(m, kMark_px, kMark_px);
        painter.drawLine(QPointF(m.x(), bandTop), QPointF(m.x(), bandTop + kBand_px - 4));
        if (p.T_m > 0) {
            painter.setPen(QPen(Qt::blue, 0));
            for (double end : {p.curveStart_m(), p.curveEnd_m()}) {
                const QPointF e = at(end, *designElevation_m(g, end));
                painter.drawLine(e, QPointF(e.x(), e.y() - 12));
            }
        }
        painter.setPen(Qt::black);
        // Upright, the first line stands left of its foot and the second right of it: both stay
        // inside the frame, also at the start and the end of the grade line.
        const QFontMetricsF metrics(painter.font());
        const double right = captions[k].second.isEmpty()
                                 ? metrics.descent()
                                 : metrics.lineSpacing() + metrics.descent();
        const double foot =
            std::clamp(m.x() + 4, plot.left() + metrics.ascent() + 2,
                       std::max(plot.left() + metrics.ascent() + 2, plot.right() - right - 2));
        // Above the mark and above the design line where the caption stands.
        const double footAt_m = std::clamp(s0 + (foot - plot.left()) / sx, s0, s1);
        const double top =
            std::min({m.y(), at(p.at_m, designElevation_m(g, p.at_m).value_or(p.H_m)).y(),
                      at(footAt_m, designElevation_m(g, footAt_m).value_or(p.H_m)).y()});
        painter.save();
        painter.translate(foot, top - 8);
        painter.rotate(-kQuarterTurn_tdeg);
        painter.drawText(QPointF(0, 0), captions[k].first);
        painter.drawText(QPointF(0, painter.fontMetrics().lineSpacing()), captions[k].second);
        painter.restore();
        // The grade after it and its length, in the band.
        if (k + 1 < g.points.size()) {
            const GradePoint& q = g.points[k + 1];
            const QRectF cell(m.x(), bandTop, at(q.at_m, q.H_m).x() - m.x(), kBand_px - 4);
            if (cell.width() > 50) {
                const QString grade =
                    QStringLiteral("%1%").arg(text(format(p.gradeOut * kPercent, Pattern::Fixed3)));
                painter.drawText(cell, Qt::AlignCenter,
                                 grade + "\n" + QStringLiteral("L=") + fixed3(q.at_m - p.at_m));
            }
        }
    }
}

QByteArray profileBytes(const Route& route, const StakeTable* stakes, const QSizeF& size,
                        PlanFormat format) {
    return drawingBytes(size, format, QStringLiteral("纵断面图"), QString(),
                        [&](QPainter& painter) { paintProfile(painter, size, route, stakes); });
}

ProfileView::ProfileView(const Route& route, QWidget* parent) : QWidget(parent), route_(route) {
    setMinimumSize(400, 300);
}

void ProfileView::setStakes(const StakeTable* stakes) {
    stakes_ = stakes;
    update();
}

void ProfileView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintProfile(painter, size(), route_, stakes_);
}

}  // namespace hcurve

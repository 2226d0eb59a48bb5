#include "views/plan_painter.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

#include "curve/angle.h"

namespace hcurve {
namespace {

// Room around the scene when it is fitted, in pixels, and the smallest extent fitted (metres).
constexpr double kFitMarginPixels = 60.0;
constexpr double kMinExtent_m = 1.0;
// The circle centre is fitted into the picture only when it is not much farther than the curve
// is wide; a flat curve would otherwise shrink to a line.
constexpr double kCentreFitShare = 1.0;

constexpr QRgb kTangentRgb = 0xff8c8c8c;
constexpr QRgb kRadiusRgb = 0xffb4b4b4;
constexpr QRgb kStakeRgb = 0xff0046a0;
constexpr QRgb kLeftPointRgb = 0xff008c00;
constexpr QRgb kRightPointRgb = 0xffd26e00;
constexpr QRgb kTransverseRgb = 0xffc8c8dc;
constexpr QRgb kMarkRgb = 0xff000000;
constexpr QRgb kJdRgb = 0xff0000c8;
constexpr QRgb kTextRgb = 0xff202020;

constexpr double kCentreLineWidth = 2.0;
constexpr double kMarkRadius = 4.5;
constexpr double kStakeTick = 6.0;
constexpr double kStakeSpacing = 3.0;
constexpr double kSidePointSize = 4.0;
constexpr double kLabelGap = 6.0;
constexpr double kTextPixels = 12.0;
constexpr double kTitlePixels = 14.0;
// The scale bar is about this long, and sits this far from the picture's corner.
constexpr double kScaleBarPixels = 120.0;
constexpr double kCornerGap = 16.0;
constexpr double kArrowLength = 44.0;

QFont textFont(double pixels, bool bold = false) {
    const QStringList families{"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Microsoft YaHei",
                               "Source Han Sans SC",  "SimHei",           "Droid Sans Fallback"};
    QFont font;
    font.setFamily(families.front());  // the one an SVG file names
    font.setFamilies(families);
    font.setPixelSize(static_cast<int>(pixels));
    font.setBold(bold);
    return font;
}

QPen pen(QRgb rgb, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen p{QColor::fromRgba(rgb), width, style};
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// The unit vector on the picture of an azimuth (clockwise from north, north up).
QPointF pictureDirection(double azimuth_deg) {
    const double a = drawingAngle_tdeg(azimuth_deg) * kRadiansPerTrueDegree;
    return {std::sin(a), -std::cos(a)};
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Labels placed so far; a label that would cover one of them is left out.
class LabelPlacer {
  public:
    LabelPlacer(QPainter& painter, const QSizeF& size) : painter_(painter), size_(size) {}

    // Places text beside anchor, gap pixels away in direction (a unit vector). Returns false
    // when it would overlap a label already placed (and then draws nothing) unless forced.
    bool place(const QString& label, const QPointF& anchor, const QPointF& direction, double gap,
               bool forced) {
        const QFontMetricsF metrics(painter_.font());
        const QRectF box = metrics.boundingRect(label);
        const double w = box.width() + 2, h = metrics.height();
        const double reach =
            gap + std::fabs(direction.x()) * w / 2 + std::fabs(direction.y()) * h / 2;
        const QPointF middle = anchor + direction * reach;
        const QRectF rect(middle.x() - w / 2, middle.y() - h / 2, w, h);
        if (!forced) {
            if (!QRectF(QPointF(0, 0), size_).contains(rect))
                return false;
            if (covers(QPolygonF(rect)))
                return false;
        } else if (coversReserved(QPolygonF(rect)) && direction != QPointF(0, 0)) {
            // A label that must be shown goes to the other side of its point rather than over the
            // title, the scale bar or the north arrow, where it finds room there.
            const QPointF other = anchor - direction * reach;
            const QRectF across(other.x() - w / 2, other.y() - h / 2, w, h);
            if (!coversReserved(QPolygonF(across))) {
                taken_.push_back(QPolygonF(across));
                painter_.drawText(across, Qt::AlignCenter, label);
                return true;
            }
        }
        taken_.push_back(QPolygonF(rect));
        painter_.drawText(rect, Qt::AlignCenter, label);
        return true;
    }

    // Writes text along direction (a unit vector), starting gap pixels from anchor, turned so
    // that it reads from left to right: a label that starts at its own point, however close the
    // neighbouring points are. Leaves it out where it would cover another label or run off.
    bool placeAlong(const QString& label, const QPointF& anchor, const QPointF& direction,
                    double gap) {
        const QFontMetricsF metrics(painter_.font());
        const double w = metrics.horizontalAdvance(label) + 2, h = metrics.height();
        const bool leftwards = direction.x() < 0;
        const double angle_tdeg = std::atan2(direction.y(), direction.x()) / kRadiansPerTrueDegree;
        QTransform turn;
        turn.translate(anchor.x(), anchor.y());
        turn.rotate(leftwards ? angle_tdeg + kHalfTurn_tdeg : angle_tdeg);
        const QRectF local = leftwards ? QRectF(-gap - w, -h / 2, w, h) : QRectF(gap, -h / 2, w, h);
        const QPolygonF box = turn.map(QPolygonF(local));
        if (!QRectF(QPointF(0, 0), size_).contains(box.boundingRect()) || covers(box))
            return false;
        taken_.push_back(box);
        painter_.save();
        painter_.setTransform(turn, true);
        painter_.drawText(local, (leftwards ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                          label);
        painter_.restore();
        return true;
    }
    // Room no label may take: what the sheet draws in its corners.
    void reserve(const QRectF& rect) {
        taken_.push_back(QPolygonF(rect));
        reserved_.push_back(QPolygonF(rect));
    }

  private:
    QPainter& painter_;
    QSizeF size_;
    std::vector<QPolygonF> taken_;
    std::vector<QPolygonF> reserved_;

    bool covers(const QPolygonF& box) const {
        return std::any_of(taken_.begin(), taken_.end(),
                           [&](const QPolygonF& taken) { return taken.intersects(box); });
    }
    bool coversReserved(const QPolygonF& box) const {
        return std::any_of(reserved_.begin(), reserved_.end(),
                           [&](const QPolygonF& taken) { return taken.intersects(box); });
    }
};

// A length of 1, 2 or 5 times a power of ten near the given one.
double roundLength(double length_m) {
    const double decade = std::pow(10.0, std::floor(std::log10(length_m)));
    double best = decade;
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * decade <= length_m)
            best = step * decade;
    }
    return best;
}

QString lengthText(double length_m) {
    if (length_m >= 1000)
        return QStringLiteral("%1 公里").arg(length_m / 1000);
    return QStringLiteral("%1 米").arg(length_m);
}

// The room of the sheet's title, of the scale bar with its text and of the north arrow with its
// letters, which no label covers.
QRectF titleRect(const QSizeF& size, const QString& title) {
    const double wide = QFontMetricsF(textFont(kTitlePixels, true)).horizontalAdvance(title) + 8;
    return QRectF(kCornerGap, kCornerGap - 4, std::min(wide, size.width() / 2), 22);
}

QRectF scaleBarRect(const QSizeF& size, const PlanFrame& frame) {
    const double pixels =
        roundLength(kScaleBarPixels / frame.pixelsPerMetre) * frame.pixelsPerMetre;
    return QRectF(kCornerGap - 4, size.height() - kCornerGap - 28, pixels + 8, 32);
}

QRectF northArrowRect(const QSizeF& size) {
    const double baseX = size.width() - kCornerGap - 40;
    return QRectF(baseX - 30, kCornerGap - 4, 30 + kArrowLength * 0.6 + 44, kArrowLength + 32);
}

void paintScaleBar(QPainter& painter, const QSizeF& size, const PlanFrame& frame) {
    const double length_m = roundLength(kScaleBarPixels / frame.pixelsPerMetre);
    const double pixels = length_m * frame.pixelsPerMetre;
    const QPointF left(kCornerGap, size.height() - kCornerGap);
    const QPointF right = left + QPointF(pixels, 0);
    painter.setPen(pen(kTextRgb, 1.5));
    painter.drawLine(left, right);
    painter.drawLine(left, left - QPointF(0, 6));
    painter.drawLine(right, right - QPointF(0, 6));
    painter.drawLine((left + right) / 2, (left + right) / 2 - QPointF(0, 4));
    painter.setFont(textFont(kTextPixels));
    painter.drawText(QRectF(left.x(), left.y() - 26, pixels, 18), Qt::AlignCenter,
                     lengthText(length_m));
}

// The north arrow with the axes as surveyors draw them: X north, up; Y east, to the right.
void paintNorthArrow(QPainter& painter, const QSizeF& size) {
    const QPointF base(size.width() - kCornerGap - 40, kCornerGap + 20 + kArrowLength);
    const QPointF tip = base - QPointF(0, kArrowLength);
    painter.setPen(pen(kTextRgb, 1.5));
    painter.drawLine(base, tip);
    QPolygonF head;
    head << tip << tip + QPointF(-6, 14) << tip + QPointF(0, 10);
    painter.setBrush(QColor::fromRgba(kTextRgb));
    painter.drawPolygon(head);
    painter.setBrush(Qt::NoBrush);
    QPolygonF open;
    open << tip << tip + QPointF(6, 14) << tip + QPointF(0, 10);
    painter.drawPolygon(open);
    const QPointF east = base + QPointF(kArrowLength * 0.6, 0);
    painter.drawLine(base, east);
    painter.drawLine(east, east + QPointF(-7, -4));
    painter.drawLine(east, east + QPointF(-7, 4));
    painter.setFont(textFont(kTextPixels, true));
    painter.drawText(QRectF(tip.x() - 30, tip.y() - 20, 60, 18), Qt::AlignCenter,
                     QStringLiteral("X 北"));
    painter.drawText(QRectF(east.x() + 2, east.y() - 9, 40, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Y 东"));
}

// What every step of the painting draws on: the painter, the picture and where it looks.
struct Sheet {
    QPainter& painter;
    const QSizeF& size;
    const PlanScene& scene;
    const PlanFrame& frame;

    QPointF at(const PlanePoint& p) const { return frame.toPicture(p, size); }
};

// The tangents through the JD (on a route the whole polygon), and the radii to the ends of the
// arc.
void paintTangents(const Sheet& sheet) {
    QPainter& painter = sheet.painter;
    const PlanScene& scene = sheet.scene;
    painter.setPen(pen(kTangentRgb, 1.0, Qt::DashLine));
    if (scene.route) {
        QPolygonF polygon;
        for (const PlanMark& m : scene.polygon)
            polygon << sheet.at(m.at);
        painter.drawPolyline(polygon);
        return;
    }
    painter.drawPolyline(
        QPolygonF({sheet.at(scene.start), sheet.at(scene.jd), sheet.at(scene.end)}));
    painter.setPen(pen(kRadiusRgb, 1.0, Qt::DotLine));
    for (const PlanMark& mark : scene.marks) {
        if (mark.name == "HY" || mark.name == "YH" || mark.name == "ZY" || mark.name == "YZ")
            painter.drawLine(sheet.at(scene.centre), sheet.at(mark.at));
    }
}

// Stakes: a tick across the centre line, the transverse line through the side points, and the
// left and right points in colours of their own.
void paintStakes(const Sheet& sheet, const std::vector<std::size_t>& shown) {
    QPainter& painter = sheet.painter;
    for (std::size_t i : shown) {
        const PlanStake& stake = sheet.scene.stakes[i];
        const QPointF middle = sheet.at(stake.at);
        const QPointF across = pictureDirection(stake.normal_deg);
        std::vector<QPointF> ends{middle};
        for (const PlanePoint& p : stake.left)
            ends.push_back(sheet.at(p));
        for (const PlanePoint& p : stake.right)
            ends.push_back(sheet.at(p));
        painter.setPen(pen(kTransverseRgb, 1.0));
        for (const QPointF& end : ends)
            painter.drawLine(middle, end);
        painter.setPen(pen(kStakeRgb, 1.5));
        painter.drawLine(middle - across * kStakeTick, middle + across * kStakeTick);
        painter.setPen(Qt::NoPen);
        const QSizeF dot(kSidePointSize, kSidePointSize);
        painter.setBrush(QColor::fromRgba(kLeftPointRgb));
        for (const PlanePoint& p : stake.left)
            painter.drawRect(QRectF(sheet.at(p) - QPointF(dot.width(), dot.height()) / 2, dot));
        painter.setBrush(QColor::fromRgba(kRightPointRgb));
        for (const PlanePoint& p : stake.right)
            painter.drawRect(QRectF(sheet.at(p) - QPointF(dot.width(), dot.height()) / 2, dot));
        painter.setBrush(Qt::NoBrush);
    }
}

// The centre line over the stakes; the characteristic points as rings (the line shows through),
// the JDs and the circle centre.
void paintLineAndMarks(const Sheet& sheet) {
    QPainter& painter = sheet.painter;
    const PlanScene& scene = sheet.scene;
    QPolygonF line;
    for (const PlanePoint& p : scene.centreLine)
        line << sheet.at(p);
    painter.setPen(pen(kCentreLineRgb, kCentreLineWidth));
    painter.drawPolyline(line);

    painter.setPen(pen(kMarkRgb, 1.2));
    for (const PlanMark& mark : scene.marks)
        painter.drawEllipse(sheet.at(mark.at), kMarkRadius, kMarkRadius);
    auto jdMark = [&](const QPointF& p) {
        painter.drawPolygon(
            QPolygonF({p + QPointF(0, -6), p + QPointF(5.2, 3), p + QPointF(-5.2, 3)}));
    };
    painter.setPen(pen(kJdRgb, 1.2));
    if (scene.route) {
        for (std::size_t i = 1; i + 1 < scene.polygon.size(); ++i)
            jdMark(sheet.at(scene.polygon[i].at));
        return;
    }
    jdMark(sheet.at(scene.jd));
    const QPointF centre = sheet.at(scene.centre);
    painter.setPen(pen(kMarkRgb, 1.2));
    painter.drawLine(centre - QPointF(5, 0), centre + QPointF(5, 0));
    painter.drawLine(centre - QPointF(0, 5), centre + QPointF(0, 5));
}

// The labels of the points: on a route the JDs first, where they find room, then the
// characteristic points along their normals; on one curve the characteristic points towards the
// centre, the JD and the centre beside their marks, all of them shown.
void labelPoints(const Sheet& sheet, LabelPlacer& labels) {
    QPainter& painter = sheet.painter;
    const PlanScene& scene = sheet.scene;
    painter.setFont(textFont(kTextPixels, true));
    painter.setPen(pen(kTextRgb, 1));
    if (scene.route) {
        painter.setPen(pen(kJdRgb, 1));
        for (std::size_t i = 0; i < scene.polygon.size(); ++i) {
            const bool end = i == 0 || i + 1 == scene.polygon.size();
            if (!end)
                labels.place(text(scene.polygon[i].name), sheet.at(scene.polygon[i].at),
                             QPointF(0, -1), kLabelGap, false);
        }
        painter.setPen(pen(kTextRgb, 1));
    }
    const QPointF centre = sheet.at(scene.centre);
    for (const PlanMark& mark : scene.marks) {
        QPointF inwards = centre - sheet.at(mark.at);
        if (mark.labelAzimuth_deg)
            inwards = pictureDirection(*mark.labelAzimuth_deg);
        const double length = std::hypot(inwards.x(), inwards.y());
        inwards = length > 0 ? inwards / length : QPointF(0, 1);
        if (scene.route) {
            // On the right of the road, else on its left.
            const QString label = text(mark.name + " " + mark.chainage);
            const double gap = kMarkRadius + kLabelGap / 2;
            if (!labels.placeAlong(label, sheet.at(mark.at), inwards, gap))
                labels.placeAlong(label, sheet.at(mark.at), -inwards, gap);
        } else
            labels.place(text(mark.name + " " + mark.chainage), sheet.at(mark.at), inwards,
                         kMarkRadius + kLabelGap, true);
    }
    if (scene.route)
        return;
    const QPointF jd = sheet.at(scene.jd);
    painter.setPen(pen(kJdRgb, 1));
    QPointF outwards = jd - centre;
    const double jdReach = std::hypot(outwards.x(), outwards.y());
    outwards = jdReach > 0 ? outwards / jdReach : QPointF(0, -1);
    labels.place(text(scene.jdName), jd, outwards, kLabelGap, true);
    painter.setPen(pen(kTextRgb, 1));
    painter.setFont(textFont(kTextPixels));
    labels.place(QStringLiteral("圆心"), centre, QPointF(0, 1), kLabelGap, true);
}

// The chainages of the stakes drawn, outwards beyond their side points as far as they find room.
void labelStakes(const Sheet& sheet, LabelPlacer& labels, const std::vector<std::size_t>& shown) {
    sheet.painter.setPen(pen(kStakeRgb, 1));
    for (std::size_t i : shown) {
        const PlanStake& stake = sheet.scene.stakes[i];
        const QPointF middle = sheet.at(stake.at);
        const QPointF direction = pictureDirection(stake.normal_deg);
        double reach = kStakeTick;
        for (const std::vector<PlanePoint>* side : {&stake.left, &stake.right}) {
            for (const PlanePoint& p : *side) {
                const QPointF d = sheet.at(p) - middle;
                if (d.x() * direction.x() + d.y() * direction.y() > 0)
                    reach = std::max(reach, std::hypot(d.x(), d.y()) + kSidePointSize);
            }
        }
        labels.place(text(stake.chainage), middle, direction, reach + kLabelGap, false);
    }
}

}  // namespace

std::vector<std::size_t> shownStakes(const PlanScene& scene, const PlanFrame& frame,
                                     const QSizeF& size) {
    const QRectF near = QRectF(QPointF(0, 0), size)
                            .adjusted(-size.width(), -size.height(), size.width(), size.height());
    std::vector<std::size_t> shown;
    QPointF last(-1e9, -1e9);
    for (std::size_t i = 0; i < scene.stakes.size(); ++i) {
        const QPointF p = frame.toPicture(scene.stakes[i].at, size);
        if (near.contains(p) && std::hypot(p.x() - last.x(), p.y() - last.y()) >= kStakeSpacing) {
            shown.push_back(i);
            last = p;
        }
    }
    return shown;
}

QPointF PlanFrame::toPicture(const PlanePoint& point, const QSizeF& size) const {
    return {size.width() / 2 + (point.y_m - middleY_m) * pixelsPerMetre,
            size.height() / 2 - (point.x_m - middleX_m) * pixelsPerMetre};
}

PlanePoint PlanFrame::toWorld(const QPointF& at, const QSizeF& size) const {
    return {middleX_m - (at.y() - size.height() / 2) / pixelsPerMetre,
            middleY_m + (at.x() - size.width() / 2) / pixelsPerMetre};
}

PlanFrame PlanFrame::zoomedAt(const QPointF& anchor, const QSizeF& size, double factor) const {
    const PlanePoint held = toWorld(anchor, size);
    PlanFrame zoomed = *this;
    zoomed.pixelsPerMetre = pixelsPerMetre * factor;
    const PlanePoint moved = zoomed.toWorld(anchor, size);
    zoomed.middleX_m += held.x_m - moved.x_m;
    zoomed.middleY_m += held.y_m - moved.y_m;
    return zoomed;
}

PlanFrame PlanFrame::pannedBy(const QPointF& delta) const {
    PlanFrame moved = *this;
    moved.middleY_m -= delta.x() / pixelsPerMetre;
    moved.middleX_m += delta.y() / pixelsPerMetre;
    return moved;
}

PlanFrame fitFrame(const PlanScene& scene, const QSizeF& size) {
    double minX = scene.jd.x_m, maxX = minX, minY = scene.jd.y_m, maxY = minY;
    if (scene.route && !scene.centreLine.empty()) {
        minX = maxX = scene.centreLine.front().x_m;
        minY = maxY = scene.centreLine.front().y_m;
    }
    auto take = [&](const PlanePoint& p) {
        minX = std::min(minX, p.x_m);
        maxX = std::max(maxX, p.x_m);
        minY = std::min(minY, p.y_m);
        maxY = std::max(maxY, p.y_m);
    };
    for (const PlanePoint& p : scene.centreLine)
        take(p);
    for (const PlanMark& m : scene.polygon)
        take(m.at);
    for (const PlanStake& s : scene.stakes) {
        for (const PlanePoint& p : s.left)
            take(p);
        for (const PlanePoint& p : s.right)
            take(p);
    }
    const double radius_m =
        std::hypot(scene.centre.x_m - scene.start.x_m, scene.centre.y_m - scene.start.y_m);
    if (!scene.route && radius_m <= kCentreFitShare * std::max(maxX - minX, maxY - minY))
        take(scene.centre);
    const double spanX = std::max(maxX - minX, kMinExtent_m);
    const double spanY = std::max(maxY - minY, kMinExtent_m);
    const double width = std::max(size.width() - 2 * kFitMarginPixels, 1.0);
    const double height = std::max(size.height() - 2 * kFitMarginPixels, 1.0);
    return {(minX + maxX) / 2, (minY + maxY) / 2, std::min(width / spanY, height / spanX)};
}

void paintPlan(QPainter& painter, const QSizeF& size, const PlanScene& scene,
               const PlanFrame& frame) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(QPointF(0, 0), size), QColor::fromRgba(kBackgroundRgb));
    painter.setClipRect(QRectF(QPointF(0, 0), size));
    const Sheet sheet{painter, size, scene, frame};
    const std::vector<std::size_t> shown = shownStakes(scene, frame, size);
    paintTangents(sheet);
    paintStakes(sheet, shown);
    paintLineAndMarks(sheet);

    // Labels, none over the sheet's title, scale bar and north arrow: the points first, then the
    // stakes.
    LabelPlacer labels(painter, size);
    const QString title = QStringLiteral("平面图  ") + text(scene.title);
    labels.reserve(titleRect(size, title));
    labels.reserve(scaleBarRect(size, frame));
    labels.reserve(northArrowRect(size));
    labelPoints(sheet, labels);
    labelStakes(sheet, labels, shown);

    // What is on the sheet, and how it is drawn.
    painter.setClipping(false);
    painter.setPen(pen(kTextRgb, 1));
    painter.setFont(textFont(kTitlePixels, true));
    painter.drawText(QRectF(kCornerGap, kCornerGap - 4, size.width() / 2, 22),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    paintScaleBar(painter, size, frame);
    paintNorthArrow(painter, size);
    painter.restore();
}

}  // namespace hcurve

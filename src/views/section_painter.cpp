#include "views/section_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "cad/section_sheets.h"
#include "curve/angle.h"
#include "curve/format.h"
#include "curve/number.h"
#include "views/plan_file.h"

namespace hcurve {
namespace {

constexpr double kMargin_px = 6;
constexpr double kFan_px = 22;  // between the drawing and a band: where the leaders bend
constexpr double kBandPadding_px = 4;
constexpr double kColumnGap_px = 9;
constexpr double kMark_px = 2.5;
constexpr double kLastStepHeight_m = 2;  // how much of an unbounded slope step is drawn
constexpr double kLeastExtent_m = 1;
constexpr int kTitleGrowth_px = 3;
constexpr int kDefaultFont_px = 12;
constexpr double kScaleBarShare = 0.15;  // of the box's width, at most
constexpr double kHairline_px = 1;       // a line of no width given

const QColor kFormationColour(0, 0, 0);
const QColor kFillColour(150, 90, 30);
const QColor kCutColour(20, 110, 160);
const QColor kLeaderColour(185, 185, 185);
const QColor kCentreColour(200, 0, 0);
const QColor kNoteColour(90, 90, 90);
const QColor kGroundColour(30, 140, 50);
const QColor kCatchColour(170, 0, 170);
const QColor kFailureColour(190, 0, 0);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString fixed3(double v) {
    return text(format(v, Pattern::Fixed3));
}

QColor colourOf(SectionPart part) {
    return part == SectionPart::Fill  ? kFillColour
           : part == SectionPart::Cut ? kCutColour
                                      : kFormationColour;
}

// A text of one line standing upright at the bottom of a band, its column's left or right half.
SectionLabel uprightLabel(const QString& s, const QFontMetricsF& metrics, double left,
                          double bottom, const QColor& colour) {
    const double length = metrics.horizontalAdvance(s);
    return {s, QRectF(left, bottom - length, metrics.height(), length), true, colour, false};
}

}  // namespace

SectionPicture sectionPicture(const CrossSection& section, const Route& route, double continuous_m,
                              const std::string& stakeText, const QSizeF& size, const QFont& font,
                              const SectionGroundShown* ground) {
    SectionPicture picture;
    picture.size = size;
    picture.font = font;
    if (picture.font.pixelSize() <= 0)
        picture.font.setPixelSize(kDefaultFont_px);
    picture.titleFont = picture.font;
    picture.titleFont.setBold(true);
    picture.titleFont.setPixelSize(picture.font.pixelSize() + kTitleGrowth_px);
    const QFontMetricsF metrics(picture.font);
    const QFontMetricsF titleMetrics(picture.titleFont);

    // The model's section: the formation's edges and both slopes of each side.
    const CarriagewayState state = carriagewayAt(section, continuous_m);
    const std::vector<FormationEdge> edges = formationEdges(section, route, continuous_m);
    const auto leftEdges = static_cast<std::size_t>(
        std::count_if(edges.begin(), edges.end(),
                      [](const FormationEdge& e) { return e.side == SectionSide::Left; }));
    const std::size_t rightEdges = edges.size() - leftEdges;
    struct Slopes {
        std::vector<SectionPoint> formation, left, right;  // left: outermost first
    };
    auto split = [&](SectionEarthwork kind) {
        const std::vector<SectionPoint> points =
            designSection(section, route, continuous_m, {kind, kind, kLastStepHeight_m});
        std::size_t centre = 0;
        while (centre < points.size() && points[centre].name != "中桩")
            ++centre;
        Slopes s;
        const std::size_t first = centre - std::min(centre, leftEdges);
        const std::size_t last = std::min(centre + rightEdges, points.size() - 1);
        s.left.assign(points.begin(), points.begin() + static_cast<long>(first));
        s.formation.assign(points.begin() + static_cast<long>(first),
                           points.begin() + static_cast<long>(last) + 1);
        s.right.assign(points.begin() + static_cast<long>(last) + 1, points.end());
        return s;
    };
    const Slopes fill = split(SectionEarthwork::Fill);
    const Slopes cut = split(SectionEarthwork::Cut);
    std::optional<double> centreH;
    double centreElevation_m = 0;
    for (const SectionPoint& p : fill.formation)
        if (p.name == "中桩") {
            centreH = p.H_m;
            centreElevation_m = p.elevation_m;
        }
    picture.absolute = centreH.has_value();
    // The earthwork drawn where there is one (it needs the grade line); an absolute height's
    // elevation relative to the centre line's design elevation.
    const SectionAreas* areas =
        ground && ground->areas && centreH && !fill.formation.empty() ? &*ground->areas : nullptr;
    const double base_m = centreH ? *centreH - centreElevation_m : 0;

    struct Placed {
        SectionPart part;
        SectionPoint point;
    };
    std::vector<Placed> placed;
    for (const SectionPoint& p : fill.formation)
        placed.push_back({SectionPart::Formation, p});
    // With the earthwork: the design line's points beyond the formation, of their side's kind.
    std::vector<SectionPoint> designLine;
    if (areas) {
        const double formationLeft = fill.formation.front().offset_m;
        const double formationRight = fill.formation.back().offset_m;
        for (const SectionLinePoint& p : areas->design) {
            const SectionPoint point{"", p.offset_m, p.H_m - base_m, p.H_m};
            designLine.push_back(point);
            if (p.offset_m >= formationLeft && p.offset_m <= formationRight)
                continue;
            const CatchPoint& c = p.offset_m < 0 ? areas->left : areas->right;
            placed.push_back(
                {c.earthwork == SectionEarthwork::Fill ? SectionPart::Fill : SectionPart::Cut,
                 point});
        }
    } else {
        for (const auto* side : {&fill.left, &fill.right})
            for (const SectionPoint& p : *side)
                placed.push_back({SectionPart::Fill, p});
        for (const auto* side : {&cut.left, &cut.right})
            for (const SectionPoint& p : *side)
                placed.push_back({SectionPart::Cut, p});
    }
    const bool anyCut = std::any_of(placed.begin(), placed.end(),
                                    [](const Placed& p) { return p.part == SectionPart::Cut; });
    // The ground line drawn: beyond the catch points by a tenth of the design line's width (at
    // least 2 m), without the earthwork as far as the slopes are drawn and 2 m more.
    std::vector<SectionPoint> groundLine;
    if (ground && centreH) {
        double from_m = 0, to_m = 0;
        for (const Placed& p : placed) {
            from_m = std::min(from_m, p.point.offset_m);
            to_m = std::max(to_m, p.point.offset_m);
        }
        const double beyond_m = std::max(2.0, areas ? (to_m - from_m) / 10 : 2.0);
        from_m -= beyond_m;
        to_m += beyond_m;
        const std::vector<GroundPoint>& g = ground->points;
        for (std::size_t i = 0; i < g.size(); ++i) {
            if (i > 0) {
                for (double cut_m : {from_m, to_m}) {
                    if (g[i - 1].offset_m < cut_m && g[i].offset_m > cut_m) {
                        const double t =
                            (cut_m - g[i - 1].offset_m) / (g[i].offset_m - g[i - 1].offset_m);
                        const double H = g[i - 1].H_m + t * (g[i].H_m - g[i - 1].H_m);
                        groundLine.push_back({"", cut_m, H - base_m, H});
                    }
                }
            }
            if (g[i].offset_m >= from_m && g[i].offset_m <= to_m)
                groundLine.push_back({"", g[i].offset_m, g[i].H_m - base_m, g[i].H_m});
        }
    }

    double x0 = 0, x1 = 0, z0 = state.lift_m, z1 = state.lift_m;
    for (const Placed& p : placed) {
        x0 = std::min(x0, p.point.offset_m);
        x1 = std::max(x1, p.point.offset_m);
        z0 = std::min(z0, p.point.elevation_m);
        z1 = std::max(z1, p.point.elevation_m);
    }
    for (const SectionPoint& p : groundLine) {
        x0 = std::min(x0, p.offset_m);
        x1 = std::max(x1, p.offset_m);
        z0 = std::min(z0, p.elevation_m);
        z1 = std::max(z1, p.elevation_m);
    }
    const double xr = std::max(x1 - x0, kLeastExtent_m), zr = std::max(z1 - z0, kLeastExtent_m);

    // The texts of the marks, measured for the bands' height.
    auto elevationText = [&](const SectionPoint& p) {
        return fixed3(p.H_m ? *p.H_m : p.elevation_m);
    };
    const QString offsetCaption = QStringLiteral("偏距");
    const QString elevationCaption =
        picture.absolute ? QStringLiteral("高程") : QStringLiteral("高差");
    double longest = std::max(metrics.horizontalAdvance(offsetCaption),
                              metrics.horizontalAdvance(elevationCaption));
    for (const Placed& p : placed) {
        longest = std::max({longest, metrics.horizontalAdvance(fixed3(p.point.offset_m)),
                            metrics.horizontalAdvance(elevationText(p.point))});
    }
    const double band = longest + 2 * kBandPadding_px;
    // A column holds a point's two texts close together, and a gap to the next point's.
    const double column = 2 * metrics.height() + kColumnGap_px;

    // From the top: the title and the note on the slopes, the cut slopes' band, the drawing, the
    // formation's and fill slopes' band, the legend and the scale bar.
    const double titleTop = kMargin_px;
    const double noteTop = titleTop + titleMetrics.height() + 2;
    const double groundTop = noteTop + metrics.height() + 2;
    const double topBand = (ground ? groundTop : noteTop) + metrics.height() + 4;
    const double plotTop = anyCut ? topBand + band + kFan_px : topBand + metrics.height();
    const double footTop = size.height() - kMargin_px - metrics.height();
    const double bottomBand = footTop - 4 - band;
    const double plotBottom = std::max(bottomBand - kFan_px, plotTop + 1);
    const double bandLeft = kMargin_px + column + 4;
    const double right = size.width() - kMargin_px;
    picture.plot =
        QRectF(QPointF(bandLeft + column / 2, plotTop),
               QPointF(std::max(right - column / 2, bandLeft + column / 2 + 1), plotBottom));
    const QRectF& plot = picture.plot;
    const double s = std::min(plot.width() / xr, plot.height() / zr);
    picture.scale_px_per_m = s;
    const double cx = plot.center().x() - (x0 + x1) / 2 * s;
    const double cy = plot.center().y() + (z0 + z1) / 2 * s;
    auto at = [&](double offset_m, double z_m) { return QPointF(cx + offset_m * s, cy - z_m * s); };

    // The title, elided where the box is narrow.
    const QString title =
        titleMetrics.elidedText(QStringLiteral("横断面  ") + text(stakeText), Qt::ElideRight,
                                std::max(size.width() - 2 * kMargin_px, 1.0));
    picture.title = {title,
                     QRectF((size.width() - titleMetrics.horizontalAdvance(title)) / 2, titleTop,
                            titleMetrics.horizontalAdvance(title), titleMetrics.height()),
                     false, kFormationColour, true};
    QString note = centreH ? QStringLiteral("中桩设计高程 %1").arg(fixed3(*centreH))
                           : QStringLiteral("无设计高程：高差相对中线设计高程");
    note += QStringLiteral("    左侧横坡 %1%    右侧横坡 %2%")
                .arg(fixed3(state.left_pct), fixed3(state.right_pct));
    if (state.leftWidening_m > 0)
        note += QStringLiteral("    左侧加宽 %1 m").arg(fixed3(state.leftWidening_m));
    if (state.rightWidening_m > 0)
        note += QStringLiteral("    右侧加宽 %1 m").arg(fixed3(state.rightWidening_m));
    auto line = [&](const QString& s0, double top, Qt::Alignment align, const QColor& colour,
                    double from, double to) {
        const QString shown = metrics.elidedText(s0, Qt::ElideRight, std::max(to - from, 1.0));
        const double w = metrics.horizontalAdvance(shown);
        const double left = align == Qt::AlignHCenter ? (from + to - w) / 2
                            : align == Qt::AlignRight ? to - w
                                                      : from;
        picture.labels.push_back(
            {shown, QRectF(left, top, w, metrics.height()), false, colour, false});
        return w;
    };
    line(note, noteTop, Qt::AlignHCenter, kNoteColour, kMargin_px, right);
    if (ground) {
        // The earthwork's line, with the digits of the earthwork table; or why there is none.
        QString said;
        if (areas) {
            const double h = areas->centreHeight_m;
            said = QStringLiteral("%1 %2 m    填方面积 %3 m²    挖方面积 %4 m²")
                       .arg(h < 0 ? QStringLiteral("挖深") : QStringLiteral("填高"),
                            fixed3(std::fabs(h)), text(format(areas->fill_m2, Pattern::Fixed4)),
                            text(format(areas->cut_m2, Pattern::Fixed4)));
        } else {
            said = QStringLiteral("算不出填挖面积：") +
                   text(ground->failure.empty() ? std::string("没有设计高程。") : ground->failure);
        }
        line(said, groundTop, Qt::AlignHCenter, areas ? kFormationColour : kFailureColour,
             kMargin_px, right);
    }

    // The scale bar at the right of the foot, the legend left of it.
    const double barLength_m = niceStepBelow(std::max(size.width() * kScaleBarShare / s, 1e-3));
    const double bar = barLength_m * s;
    const QString barText = QStringLiteral("%1 m").arg(text(format(barLength_m)));
    const double barTextWidth = metrics.horizontalAdvance(barText);
    const double barLeft = right - bar - barTextWidth - 6;
    const double barY = footTop + metrics.height() / 2;
    picture.lines.push_back(
        {QPolygonF({QPointF(barLeft, barY - 3), QPointF(barLeft, barY + 3), QPointF(barLeft, barY),
                    QPointF(barLeft + bar, barY), QPointF(barLeft + bar, barY - 3),
                    QPointF(barLeft + bar, barY + 3)}),
         kFormationColour, 1, Qt::SolidLine});
    picture.labels.push_back({barText,
                              QRectF(right - barTextWidth, footTop, barTextWidth, metrics.height()),
                              false, kFormationColour, false});
    line(areas    ? QStringLiteral("横竖比例相同。黑：路基    棕：填方边坡    蓝：挖方边坡及边沟"
                                      "    绿：地面线")
         : ground ? QStringLiteral("横竖比例相同。黑：路基    棕：填方边坡    蓝：挖方边坡及边沟"
                                   "    绿：地面线（算不出填挖，两种边坡都画出）")
                  : QStringLiteral("横竖比例相同。黑：路基    棕：填方边坡    蓝：挖方边坡及边沟"
                                   "（没有地面线，两种边坡都画出）"),
         footTop, Qt::AlignLeft, kNoteColour, kMargin_px, barLeft - 12);

    // The section: the centre line, the slopes lightly, the formation over them.
    const double centreX = at(0, 0).x();
    picture.lines.push_back({QPolygonF({QPointF(centreX, plot.top() - kFan_px / 2),
                                        QPointF(centreX, plot.bottom() + kFan_px / 2)}),
                             kCentreColour, 0, Qt::DashDotLine});
    {
        const QString c = QStringLiteral("中线");
        const double w = metrics.horizontalAdvance(c);
        picture.labels.push_back(
            {c, QRectF(centreX + 3, plot.top() - kFan_px / 2, w, metrics.height()), false,
             kCentreColour, false});
    }
    auto polyline = [&](const std::vector<SectionPoint>& points, const QColor& colour, double width,
                        Qt::PenStyle style) {
        QPolygonF p;
        for (const SectionPoint& q : points)
            p << at(q.offset_m, q.elevation_m);
        if (p.size() > 1)
            picture.lines.push_back({p, colour, width, style});
    };
    polyline(groundLine, kGroundColour, 1.5, Qt::SolidLine);
    if (areas) {
        // Each side's slope from its formation edge to its catch point, in its kind's colour,
        // the catch point named outside it.
        const double formationLeft = fill.formation.front().offset_m;
        const double formationRight = fill.formation.back().offset_m;
        for (const CatchPoint* c : {&areas->left, &areas->right}) {
            const bool leftSide = c->side == SectionSide::Left;
            std::vector<SectionPoint> side;
            for (const SectionPoint& p : designLine)
                if (leftSide ? p.offset_m <= formationLeft : p.offset_m >= formationRight)
                    side.push_back(p);
            const bool isFill = c->earthwork == SectionEarthwork::Fill;
            polyline(side, isFill ? kFillColour : kCutColour, 2, Qt::SolidLine);
            const QPointF p = at(c->at.offset_m, c->at.H_m - base_m);
            const QString name = isFill ? QStringLiteral("坡脚") : QStringLiteral("坡口");
            const double w = metrics.horizontalAdvance(name);
            picture.labels.push_back({name,
                                      QRectF(leftSide ? p.x() - w - 5 : p.x() + 5,
                                             p.y() - metrics.height() - 2, w, metrics.height()),
                                      false, kCatchColour, false});
        }
    }
    for (const Slopes* slopes : {&fill, &cut}) {
        if (areas)
            break;
        const QColor colour = slopes == &fill ? kFillColour : kCutColour;
        std::vector<SectionPoint> left(slopes->left);
        if (!slopes->formation.empty())
            left.push_back(slopes->formation.front());
        std::vector<SectionPoint> rightSide;
        if (!slopes->formation.empty())
            rightSide.push_back(slopes->formation.back());
        rightSide.insert(rightSide.end(), slopes->right.begin(), slopes->right.end());
        polyline(left, colour, 1, Qt::DashLine);
        polyline(rightSide, colour, 1, Qt::DashLine);
    }
    polyline(fill.formation, kFormationColour, 2, Qt::SolidLine);

    // Each component's name over it, where it fits.
    for (std::size_t i = 0; i + 1 < fill.formation.size(); ++i) {
        const bool leftSide = i < leftEdges;
        const std::size_t edge = leftSide ? leftEdges - 1 - i : leftEdges + i;
        if (edge >= edges.size())
            continue;
        const QString name = text(edges[edge].component);
        const QPointF a = at(fill.formation[i].offset_m, fill.formation[i].elevation_m),
                      b = at(fill.formation[i + 1].offset_m, fill.formation[i + 1].elevation_m);
        const double w = metrics.horizontalAdvance(name);
        if (w + 4 > b.x() - a.x())
            continue;
        const double top = std::min(a.y(), b.y()) - 4 - metrics.height();
        picture.labels.push_back({name, QRectF((a.x() + b.x() - w) / 2, top, w, metrics.height()),
                                  false, kNoteColour, false});
    }

    // The marks, each band's in the order of their offsets, the columns spread where they crowd.
    for (const Placed& p : placed)
        picture.marks.push_back(
            {p.part, p.point, at(p.point.offset_m, p.point.elevation_m), {}, {}});
    for (const bool top : {false, true}) {
        std::vector<std::size_t> in;
        for (std::size_t i = 0; i < picture.marks.size(); ++i)
            if ((picture.marks[i].part == SectionPart::Cut) == top)
                in.push_back(i);
        std::stable_sort(in.begin(), in.end(), [&](std::size_t a, std::size_t b) {
            return picture.marks[a].point.offset_m < picture.marks[b].point.offset_m;
        });
        std::vector<double> wanted;
        for (std::size_t i : in)
            wanted.push_back(picture.marks[i].at.x());
        const std::vector<double> columns =
            spreadColumns(wanted, column, bandLeft + column / 2, right - column / 2);
        const double bandTop = top ? topBand : bottomBand;
        const double bandBottom = bandTop + band;
        for (std::size_t k = 0; k < in.size(); ++k) {
            SectionMark& m = picture.marks[in[k]];
            const QColor colour = colourOf(m.part);
            const double middle = columns[k];
            m.offset =
                uprightLabel(fixed3(m.point.offset_m), metrics, middle - metrics.height() - 1,
                             bandBottom - kBandPadding_px, colour);
            m.elevation = uprightLabel(elevationText(m.point), metrics, middle + 1,
                                       bandBottom - kBandPadding_px, colour);
            const double edgeY = top ? plot.top() - 2 : plot.bottom() + 2;
            const double from = top ? m.at.y() - kMark_px - 1 : m.at.y() + kMark_px + 1;
            picture.lines.push_back({QPolygonF({QPointF(m.at.x(), from), QPointF(m.at.x(), edgeY),
                                                QPointF(middle, top ? bandBottom : bandTop)}),
                                     kLeaderColour, 0, Qt::SolidLine});
        }
        if (top && in.empty())
            continue;
        // The band's frame and its captions in the first column.
        picture.lines.push_back({QPolygonF(QRectF(kMargin_px, bandTop, right - kMargin_px, band)),
                                 kLeaderColour, 0, Qt::SolidLine});
        const double captionMiddle = kMargin_px + 2 + column / 2;
        picture.labels.push_back(uprightLabel(offsetCaption, metrics,
                                              captionMiddle - metrics.height() - 1,
                                              bandBottom - kBandPadding_px, kNoteColour));
        picture.labels.push_back(uprightLabel(elevationCaption, metrics, captionMiddle + 1,
                                              bandBottom - kBandPadding_px, kNoteColour));
    }
    return picture;
}

void paintSection(QPainter& painter, const SectionPicture& picture) {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), picture.size), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const SectionLine& l : picture.lines) {
        // Widths are the picture's pixels, scaled with it where a device holds it scaled (the PDF
        // page): a pen of the device's own pixels would leave the formation a hairline there.
        QPen pen(l.colour, l.width_px > 0 ? l.width_px : kHairline_px, l.style);
        painter.setPen(pen);
        painter.drawPolyline(l.points);
    }
    for (const SectionMark& m : picture.marks) {
        painter.setPen(QPen(colourOf(m.part), 1));
        painter.setBrush(m.part == SectionPart::Formation ? QBrush(Qt::white)
                                                          : QBrush(Qt::NoBrush));
        painter.drawEllipse(m.at, kMark_px, kMark_px);
    }
    auto draw = [&](const SectionLabel& l) {
        painter.setFont(l.bold ? picture.titleFont : picture.font);
        painter.setPen(l.colour);
        if (!l.upright) {
            painter.drawText(l.box, Qt::AlignLeft | Qt::AlignVCenter, l.text);
            return;
        }
        // Turned a quarter left about the box's bottom left corner: the text's own box is the
        // label's box standing on its side.
        painter.save();
        painter.translate(l.box.bottomLeft());
        painter.rotate(-kQuarterTurn_tdeg);
        painter.drawText(QRectF(0, 0, l.box.height(), l.box.width()),
                         Qt::AlignLeft | Qt::AlignVCenter, l.text);
        painter.restore();
    };
    draw(picture.title);
    for (const SectionLabel& l : picture.labels)
        draw(l);
    for (const SectionMark& m : picture.marks) {
        draw(m.offset);
        draw(m.elevation);
    }
    painter.restore();
}

QByteArray sectionBytes(const CrossSection& section, const Route& route, double continuous_m,
                        const std::string& stakeText, PlanFormat format,
                        const SectionGroundShown* ground) {
    const QSizeF size(kSectionWidthPixels, kSectionHeightPixels);
    QFont font;
    font.setPixelSize(kDefaultFont_px);
    return drawingBytes(size, format, QStringLiteral("横断面图"), text(stakeText),
                        [&](QPainter& painter) {
                            paintSection(painter, sectionPicture(section, route, continuous_m,
                                                                 stakeText, size, font, ground));
                        });
}

}  // namespace hcurve

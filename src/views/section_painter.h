// The cross-section of a route at one stake (横断面图): the design section the model gives, laid
// out once by sectionPicture for a box of a given size and drawn by paintSection on any device (the
// window's tab, a file, a test's image). Horizontal and vertical scale are the same.
//
// Without a ground line it is not known which side lies in fill and which in cut, so both slopes
// of each side are drawn, lightly: the fill slope below the formation edge, the cut slope (with
// its ditch) above it. The break points of the formation and of the fill slopes are labelled in a
// band under the drawing, those of the cut slopes in a band over it, each with its offset and
// elevation standing upright in a column, joined to its point by a thin leader.
//
// With the ground line surveyed at the stake and its earthwork (alignment/earthwork.h) the side of
// each slope is known: the design line is drawn from catch point to catch point (坡脚 of a fill,
// 坡口 of a cut, each named beside it), over the ground line, and a line under the title gives the
// fill and cut areas and the centre's fill or cut; where the earthwork cannot be had, that line
// says why and both slopes are drawn as without ground.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/earthwork.h"
#include "alignment/ground_design.h"
#include "alignment/route.h"
#include "commands/plan_format.h"

class QPainter;

namespace hcurve {

/// A text of the drawing and the box it covers (a text turned upright: its box as turned).
struct SectionLabel {
    QString text;
    QRectF box;
    bool upright = false;  // turned a quarter left, read from the bottom up
    QColor colour;
    bool bold = false;
};

/// A line of the drawing: the formation, a slope, the centre line, a leader, a band's frame.
struct SectionLine {
    QPolygonF points;
    QColor colour;
    double width_px = 0;  // 0: a hairline
    Qt::PenStyle style = Qt::SolidLine;
};

/// Which part of the section a break point belongs to.
enum class SectionPart { Formation, Fill, Cut };

/// A break point as drawn: the model's point, where it stands and its two labels.
struct SectionMark {
    SectionPart part = SectionPart::Formation;
    SectionPoint point;
    QPointF at;
    SectionLabel offset, elevation;
};

/// The drawing of one stake, every position in the box's pixels.
struct SectionPicture {
    QSizeF size;
    SectionLabel title;     // "横断面  K1+234.000"
    QRectF plot;            // where the section itself is drawn
    double scale_px_per_m;  // horizontal and vertical alike
    // Absolute elevations (the route has a grade line at the stake), or relative to the centre
    // line's design elevation.
    bool absolute = false;
    std::vector<SectionLine> lines;
    std::vector<SectionMark> marks;    // formation, then the fill and cut slopes, left to right
    std::vector<SectionLabel> labels;  // every text but the marks' (title, notes, captions)
    QFont font, titleFont;             // of the labels, of the title (bold)
};

/// The ground at a stake as the picture shows it: the surveyed line, and its earthwork against the
/// design section, or why there is none (the earthwork's failure as it is worded).
struct SectionGroundShown {
    std::vector<GroundPoint> points;
    std::optional<SectionAreas> areas;
    std::string failure;
};

/// The section at a continuous chainage, titled with the stake's 桩号 (stakeText), laid out in a
/// box of the given size with the given font (its pixel size is the labels'; 12 px where it has
/// none). Needs a
/// QGuiApplication (fonts are measured).
/// With ground (not null) also the ground line, the catch points and the areas.
SectionPicture sectionPicture(const CrossSection& section, const Route& route, double continuous_m,
                              const std::string& stakeText, const QSizeF& size, const QFont& font,
                              const SectionGroundShown* ground = nullptr);

/// Draws the picture: white background, lines, marks and labels.
void paintSection(QPainter& painter, const SectionPicture& picture);

/// The size of a section saved as a file: pixels of the PNG and of the SVG's view box (the PDF's
/// page holds it fitted).
inline constexpr double kSectionWidthPixels = 1600;
inline constexpr double kSectionHeightPixels = 1000;

/// The section at a stake as the bytes of a PNG, SVG or PDF file of kSectionWidthPixels by
/// kSectionHeightPixels, its labels of 12 px; empty when it cannot be drawn.
QByteArray sectionBytes(const CrossSection& section, const Route& route, double continuous_m,
                        const std::string& stakeText, PlanFormat format,
                        const SectionGroundShown* ground = nullptr);

}  // namespace hcurve

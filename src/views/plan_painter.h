// The plan view's painting: one function draws a plan scene into any paint device (the window,
// an image, an SVG or PDF file), north up and east right, with a scale bar and a north arrow.
#pragma once

#include <QPointF>
#include <QRgb>
#include <QSizeF>
#include <cstddef>
#include <vector>

#include "layout/plan_scene.h"

class QPainter;

namespace hcurve {

/// Colours of the drawing, fixed so that tests can find the centre line in a picture.
inline constexpr QRgb kCentreLineRgb = 0xffc80000;
inline constexpr QRgb kBackgroundRgb = 0xffffffff;

/// Where the picture looks: the world point at its middle and the scale. Picture coordinates are
/// in logical pixels with y downwards; the world's X (north) runs up, its Y (east) to the right.
struct PlanFrame {
    double middleX_m = 0;  // north
    double middleY_m = 0;  // east
    double pixelsPerMetre = 1;

    QPointF toPicture(const PlanePoint& point, const QSizeF& size) const;
    PlanePoint toWorld(const QPointF& at, const QSizeF& size) const;
    /// Scaled by factor about the picture point anchor, which keeps showing the same world point.
    PlanFrame zoomedAt(const QPointF& anchor, const QSizeF& size, double factor) const;
    /// Moved with the picture by delta pixels.
    PlanFrame pannedBy(const QPointF& delta) const;
};

/// The frame that shows the whole scene in a picture of the given size, with room for the labels.
PlanFrame fitFrame(const PlanScene& scene, const QSizeF& size);

/// The stakes the painting draws, as indices into scene.stakes in their order: those within a
/// picture's width and height around it, each at least 3 pixels from the one drawn before, so that
/// a long run stays quick to draw and no stake hides under its neighbour.
std::vector<std::size_t> shownStakes(const PlanScene& scene, const PlanFrame& frame,
                                     const QSizeF& size);

/// Paints the scene over the whole picture (0, 0, size) in logical pixels; the painter's own
/// transformation maps them to the device.
void paintPlan(QPainter& painter, const QSizeF& size, const PlanScene& scene,
               const PlanFrame& frame);

}  // namespace hcurve

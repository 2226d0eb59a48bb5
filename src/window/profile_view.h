// The longitudinal profile of a route (纵断面图) drawn with Qt for the screen, the printer and the
// files, from the one layout (layout/profile_layout.h) the browser page draws too.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QSizeF>
#include <QWidget>
#include <vector>

#include "alignment/route.h"
#include "commands/plan_format.h"
#include "layout/profile_layout.h"
#include "route_files/route_tables.h"
#include "terrain/centre_ground.h"

class QPainter;

namespace hcurve {

/// Draws the grade line of the route into a box of the given size: the straight grades through
/// the 变坡点, the design line with its vertical curves, each 变坡点 with its chainage,
/// elevation, R, T and E, the grade and length of each straight grade in a band below, the stakes
/// of the table when one is given, and the scales with the vertical exaggeration.
/// With a ground line (the ground's height along the centre) it is drawn too, in its own
/// colour, and the legend names both lines.
void paintProfile(QPainter& painter, const QSizeF& size, const Route& route,
                  const StakeTable* stakes, const std::vector<GroundLinePoint>* ground = nullptr);

/// How the painter's font measures the profile's texts.
ProfileTextMeasure profileTextMeasure(const QPainter& painter);

/// The ground line's colour, and the design line's.
QColor groundLineColour();
QColor designLineColour();

/// The drawing as the bytes of a PNG, SVG or PDF file; empty when it cannot be drawn.
QByteArray profileBytes(const Route& route, const StakeTable* stakes, const QSizeF& size,
                        PlanFormat format, const std::vector<GroundLinePoint>* ground = nullptr);

/// The profile on screen, following the stake table last computed, with the ground line where
/// the route has ground.
class ProfileView : public QWidget {
  public:
    ProfileView(const Route& route, QWidget* parent = nullptr);
    void setStakes(const StakeTable* stakes);
    void setGroundLine(std::vector<GroundLinePoint> ground);
    const std::vector<GroundLinePoint>& groundLine() const { return ground_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Route& route_;
    const StakeTable* stakes_ = nullptr;
    std::vector<GroundLinePoint> ground_;
};

}  // namespace hcurve

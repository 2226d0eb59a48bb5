// The longitudinal profile of a route (纵断面图): chainage across, elevation up, drawn once by
// paintProfile for the screen, the printer and the files.
#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QWidget>
#include <optional>

#include "alignment/route.h"
#include "commands/plan_format.h"
#include "route_files/route_tables.h"

class QPainter;

namespace hcurve {

/// Draws the grade line of the route into a box of the given size: the straight grades through
/// the 变坡点, the design line with its vertical curves, each 变坡点 with its chainage,
/// elevation, R, T and E, the grade and length of each straight grade in a band below, the stakes
/// of the table when one is given, and the scales with the vertical exaggeration.
void paintProfile(QPainter& painter, const QSizeF& size, const Route& route,
                  const StakeTable* stakes);

/// The drawing as the bytes of a PNG, SVG or PDF file; empty when it cannot be drawn.
QByteArray profileBytes(const Route& route, const StakeTable* stakes, const QSizeF& size,
                        PlanFormat format);

/// The profile on screen, following the stake table last computed.
class ProfileView : public QWidget {
  public:
    ProfileView(const Route& route, QWidget* parent = nullptr);
    void setStakes(const StakeTable* stakes);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Route& route_;
    const StakeTable* stakes_ = nullptr;
};

}  // namespace hcurve

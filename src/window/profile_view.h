// The longitudinal profile of a route (纵断面图): chainage across, elevation up, drawn once by
// paintProfile for the screen, the printer and the files.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "alignment/route.h"
#include "commands/plan_format.h"
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

// The steps of the drawing, each of which can be checked alone.

/// The two lines standing above a 变坡点: where it is ("起点  K11+400.000  H=100.000",
/// "变坡点1  ...", "终点  ...") and its vertical curve ("R=8000  T=48.000  E=0.144"; empty
/// without one), in the grade line's order.
struct ProfileCaption {
    QString where;
    QString curve;
};
std::vector<ProfileCaption> profileCaptions(const Route& route, const GradeLine& grade);

/// Where the drawing stands in a picture: the plot's box (pixels, y down) with the grade line's
/// start at its left and its end at its right, and the scales, the vertical a round multiple of
/// the horizontal (the exaggeration the title states), with the lowest and highest 变坡点 (and
/// the lowest and highest ground of the ground line along the grade line, when one is given)
/// centred in the part of the plot the captions above them leave (captionRoom_px).
struct ProfileFrame {
    QRectF plot;
    double start_m = 0, end_m = 0;  // continuous chainages at the plot's left and right
    double lowest_m = 0;            // the lowest elevation drawn, at picture height base_px
    double base_px = 0;
    double pixelsPerMetre = 1;  // across
    double exaggeration = 1;    // 1, 2 or 5 times a power of ten
    QPointF at(double chainage_m, double H_m) const;
    double chainageAt_m(double x_px) const;
    double elevationAt_m(double y_px) const;
};
ProfileFrame profileFrame(const QSizeF& size, const GradeLine& grade, double captionRoom_px,
                          const std::vector<GroundLinePoint>* ground = nullptr);

/// The elevations of the grid's level lines over the plot's height: whole multiples of a round
/// step (1, 2 or 5 times a power of ten), about six of them, from the bottom up.
std::vector<double> elevationLines_m(const ProfileFrame& frame);

/// The grid's lines across the plot: where the chainage (桩号, chain breaks applied) is a whole
/// multiple of a round step (twice 1, 2 or 5 times a power of ten) that leaves a chainage label's
/// width between them, stretch by stretch between the breaks, in order; each at its continuous
/// chainage (里程) with the chainage its label reads.
struct ChainageLine {
    double continuous_m;
    double stated_m;
};
std::vector<ChainageLine> chainageLines(const Route& route, const ProfileFrame& frame);

/// The chainage texts under the plot at those lines, each in its box, pushed in from the
/// picture's edges; one that would cover the one before it is left out. width_px measures a text.
struct ProfileLabel {
    QString text;
    QRectF box;
};
std::vector<ProfileLabel> chainageLabels(const Route& route, const ProfileFrame& frame,
                                         double pictureWidth_px,
                                         const std::function<double(const QString&)>& width_px);

/// The straight grades through the 变坡点, and the design line with its vertical curves sampled
/// along the whole grade line, in picture coordinates.
QPolygonF gradePolygon(const GradeLine& grade, const ProfileFrame& frame);
QPolygonF designPolyline(const GradeLine& grade, const ProfileFrame& frame);

/// The ground line in picture coordinates: one polyline for each run of its points with a height
/// (a point without one breaks the line).
std::vector<QPolygonF> groundPolylines(const std::vector<GroundLinePoint>& ground,
                                       const ProfileFrame& frame);

/// The ground line's colour, and the design line's.
QColor groundLineColour();
QColor designLineColour();

/// The band's cell of each straight grade (between a 变坡点 and the next) wide enough for its
/// text: the grade in percent and its length ("1.714%\nL=700.000").
struct GradeCell {
    QRectF box;
    QString text;
};
std::vector<GradeCell> gradeCells(const GradeLine& grade, const ProfileFrame& frame);

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

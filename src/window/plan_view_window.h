// 平面图: the computed curve and the last run drawn to scale, with zoom about the cursor, panning,
// fit-to-window, the coordinates under the cursor, and saving as PNG, SVG or PDF.
#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "curve/curve_record.h"
#include "views/plan_painter.h"

class QLabel;

namespace hcurve {

/// The drawing surface: paints the scene with the one painting function of the plan view.
class PlanCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit PlanCanvas(QWidget* parent = nullptr);

    /// A new scene; fitted when refit is true or there was none, otherwise seen as before.
    void setScene(std::optional<PlanScene> scene, bool refit);
    const std::optional<PlanScene>& scene() const { return scene_; }
    const PlanFrame& frame() const { return frame_; }
    void fit();

  signals:
    /// The world point under the cursor, or none when the cursor left.
    void pointed(std::optional<PlanePoint> at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::optional<PlanScene> scene_;
    PlanFrame frame_;
    bool fitted_ = false;  // the frame follows the window's size until the user zooms or pans
    std::optional<QPointF> dragFrom_;
};

/// The save-file dialog of a plan in the documents folder, proposing proposedName: PNG, SVG, PDF or
/// DXF; a name without one of their extensions gets the chosen type's. Nothing when cancelled.
std::optional<QString> askPlanFilePath(QWidget* parent, const QString& proposedName);

class PlanViewWindow : public QWidget {
    Q_OBJECT

  public:
    /// Where the plan is saved: a path (its extension gives the format), or nothing when the user
    /// cancels. A save-file dialog unless replaced (tests choose the file themselves).
    using PathChooser = std::function<std::optional<std::string>()>;
    using Teller = std::function<void(const std::string& message)>;

    PlanViewWindow(const CurveRecord& record, Teller tell, QWidget* parent = nullptr);

    /// Draws the record again; refit: the curve is a new one, fit it to the window.
    void redraw(bool refit);
    /// Saves what the window shows.
    void save();
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }

    PlanCanvas* canvas() const { return canvas_; }
    QLabel* coordinates() const { return coordinates_; }

  private:
    std::optional<std::string> choosePath();

    const CurveRecord& record_;
    Teller tell_;
    PathChooser chooser_;
    PlanCanvas* canvas_;
    QLabel* coordinates_;
};

}  // namespace hcurve

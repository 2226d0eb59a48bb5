// The plan view as a file: PNG, SVG or PDF, painted by the same function as the window.
#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "commands/plan_format.h"
#include "curve/curve_record.h"
#include "curve/result.h"
#include "views/plan_painter.h"

class QPainter;

namespace hcurve {

/// The size of a plan saved without a window: pixels of the PNG and of the SVG's view box; the
/// PDF is an A4 page across, on which this size is fitted.
inline constexpr double kPlanWidthPixels = 1600;
inline constexpr double kPlanHeightPixels = 1130;

/// What savePlan tells when Qt cannot draw the picture.
inline constexpr char kCannotDrawPlan[] = "无法绘制平面图。";

/// A drawing as a file's bytes: paint draws it on a picture of the given size in logical pixels;
/// the PDF's A4 landscape page holds the picture scaled to fit, centred. The SVG has the title and
/// the description; the PDF both in its title. Empty when it cannot be drawn. Needs a
/// QGuiApplication.
QByteArray drawingBytes(const QSizeF& size, PlanFormat format, const QString& title,
                        const QString& description, const std::function<void(QPainter&)>& paint);

/// The file's bytes: the scene in the frame, painted on a picture of the given size in logical
/// pixels (the PDF page holds the picture scaled to its width). Needs a QGuiApplication.
QByteArray planBytes(const PlanScene& scene, const PlanFrame& frame, const QSizeF& size,
                     PlanFormat format);

/// Saves the plan of the record's computed curve and last run, fitted, to path (UTF-8) in the
/// format of its extension, replacing an existing file only with a complete new one. Nothing on
/// success; otherwise the message for the user.
Result<void> savePlan(const CurveRecord& record, const std::string& path);

/// The same for a scene in a given frame and size (the window saves what it shows).
Result<void> savePlan(const PlanScene& scene, const PlanFrame& frame, const QSizeF& size,
                      const std::string& path);

}  // namespace hcurve

// The cross-section sheets (cad/section_sheets.h) drawn with Qt: one sheet on any device (a PDF
// page, a printer's page, a test's image), and every sheet as a PDF file of A3 pages across.
// They draw exactly the lines, marks and texts the layout holds, as the DXF writer does.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <functional>
#include <optional>
#include <string>

#include "cad/section_sheets.h"
#include "curve/result.h"

class QPainter;

namespace hcurve {

/// Paints a sheet into target (the device's pixels that stand for its 420 by 297 mm; a target of
/// another shape holds it scaled to fit, centred): white paper, then its lines, marks and texts.
void paintSectionSheet(QPainter& painter, const SectionSheet& sheet, const QRectF& target);

/// Told after each sheet is drawn: how many of how many; false stops the drawing.
using SheetProgress = std::function<bool(int done, int total)>;

/// What sectionSheetsPdf and saveSectionSheets tell when the progress stopped them.
inline constexpr char kSheetsCancelled[] = "已取消：横断面图没有保存。";

/// What sectionSheetsPdf tells when the sheets cannot be drawn.
inline constexpr char kCannotDrawSheets[] = "无法绘制横断面图。";

/// The sheets as a PDF of A3 pages across, one a sheet; or why not (kCannotDrawSheets, or
/// kSheetsCancelled when the progress stopped it). Needs a QGuiApplication.
Result<QByteArray> sectionSheetsPdf(const SectionSheets& sheets,
                                    const SheetProgress& progress = {});

/// Saves the sheets by the path's extension (UTF-8): .pdf drawn here, .dxf by the DXF writer;
/// an existing file is replaced only with a complete new one. Nothing, or the message for the
/// user (kSheetsCancelled when the progress stopped it).
Result<void> saveSectionSheets(const SectionSheets& sheets, const std::string& path,
                               const SheetProgress& progress = {});

}  // namespace hcurve

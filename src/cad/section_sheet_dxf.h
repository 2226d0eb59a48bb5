// The cross-section sheets (cad/section_sheets.h) as a DXF file: every sheet drawn in paper
// millimetres, the first with its lower left corner at the origin and each next one
// kSheetSpacing_mm to the right of the one before, every kind of line and text on its own layer.
#pragma once

#include <string>

#include "cad/dxf_writer.h"
#include "cad/section_sheets.h"

namespace hcurve {

/// The room between two sheets side by side.
inline constexpr double kSheetSpacing_mm = 20;

DxfDrawing sectionSheetsDxfDrawing(const SectionSheets& sheets);
std::string sectionSheetsDxf(const SectionSheets& sheets);

}  // namespace hcurve

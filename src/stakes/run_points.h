// The points of the last stake run as an export lists them (export/point_files.h): each stake
// and its side points, named by its chainage text.
#pragma once

#include <functional>
#include <vector>

#include "curve/curve_record.h"
#include "export/point_files.h"

namespace hcurve {

/// Hands the points of the last run to visit one by one, in file order, until visit returns
/// false: every stake, each followed, when the run had side points on, by its side points in the
/// order of the listing (per row: left from the outermost in, then right from the innermost out).
/// The side points are computed again from the run's own setup. Nothing before any run.
void forEachPoint(const CurveRecord& record, const std::function<bool(const ExportPoint&)>& visit);

/// All the points forEachPoint visits.
std::vector<ExportPoint> lastRunPoints(const CurveRecord& record);

}  // namespace hcurve

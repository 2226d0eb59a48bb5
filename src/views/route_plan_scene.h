// What the plan view draws of a whole route: its centre line from BP to EP, the tangent polygon
// through every JD, the characteristic points with their chainages (chain breaks applied), and the
// stakes of a stake table with their side points.
#pragma once

#include <string>
#include <vector>

#include "alignment/route.h"
#include "layout/plan_scene.h"
#include "route_files/route_tables.h"

namespace hcurve {

/// The route's scene; title: what the sheet says it is (the file's name).
PlanScene routePlanScene(const Route& route, const std::string& title);

/// The stakes of a stake table with their side points, as the plan draws a stake run: each
/// labelled with its chainage text on the left of the road, across its left points.
std::vector<PlanStake> routePlanStakes(const StakeTable& table, const StakeRequest& request);

}  // namespace hcurve

// What the plan view draws of a whole route: its centre line from BP to EP, the tangent polygon
// through every JD, and the characteristic points with their chainages (chain breaks applied).
#pragma once

#include <string>

#include "route/route.h"
#include "views/plan_scene.h"

namespace hcurve {

/// The route's scene; title: what the sheet says it is (the file's name).
PlanScene routePlanScene(const Route& route, const std::string& title);

}  // namespace hcurve

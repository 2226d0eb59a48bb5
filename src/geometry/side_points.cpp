#include "geometry/side_points.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "curve/angle.h"
#include "curve/format.h"
#include "curve/number.h"

namespace hcurve {
namespace {

constexpr std::int16_t kSingleRow = 1;
constexpr char kPerpendicularText[] = "与中线正交";

}  // namespace

TransverseAxis transverseAxis(double a) {
    const double f = kDegreeFactor;
    return {std::cos(a * f),
            std::sin(a * f),
            std::cos((a - kRightAngle_deg) * f),
            std::sin((a - kRightAngle_deg) * f),
            std::cos((a + kRightAngle_deg) * f),
            std::sin((a + kRightAngle_deg) * f)};
}

SideRequest sideRequestOf(const SideSetup& setup) {
    assert(setup.dl_n < 0 || static_cast<std::size_t>(setup.dl_n) < setup.dl.size());
    assert(setup.dr_n < 0 || static_cast<std::size_t>(setup.dr_n) < setup.dr.size());
    SideRequest request;
    // The distances are floats as entered; each is widened exactly.
    for (int j = 1; j <= setup.dl_n; ++j)
        request.left_m.push_back(static_cast<double>(setup.dl[j]));
    for (int j = 1; j <= setup.dr_n; ++j)
        request.right_m.push_back(static_cast<double>(setup.dr[j]));
    request.doubleRow = setup.dd_n != kSingleRow;
    request.front_m = static_cast<double>(setup.ds_l);
    request.back_m = static_cast<double>(setup.ds_r);
    return request;
}

std::size_t sidePointCount(const SideRequest& request) {
    return (request.left_m.size() + request.right_m.size()) * (request.doubleRow ? 2 : 1);
}

void sidePointsOnAxis(double x_m, double y_m, double axisAzimuth_deg, const SideRequest& request,
                      std::vector<PlanePoint>& points) {
    points.clear();
    points.reserve(sidePointCount(request));
    // On the axis, left at -d and right at +d. A single row needs only the axis's own direction,
    // as transverseAxis works it out.
    const double cosA = std::cos(axisAzimuth_deg * kDegreeFactor);
    const double sinA = std::sin(axisAzimuth_deg * kDegreeFactor);
    const auto onAxis = [&](double d_m) -> PlanePoint {
        return {x_m + d_m * cosA, y_m + d_m * sinA};
    };
    if (!request.doubleRow) {
        for (double d : request.left_m)
            points.push_back(onAxis(-d));
        for (double d : request.right_m)
            points.push_back(onAxis(d));
        return;
    }
    // Double row: the front row ahead of the axis (a - 90), the back row behind it (a + 90); both
    // azimuths are used as they come.
    const TransverseAxis axis = transverseAxis(axisAzimuth_deg);
    const auto row = [&](double shiftCos, double shiftSin, double shift_m) {
        for (double d : request.left_m) {
            const PlanePoint p = onAxis(-d);
            points.push_back({p.x_m + shift_m * shiftCos, p.y_m + shift_m * shiftSin});
        }
        for (double d : request.right_m) {
            const PlanePoint p = onAxis(d);
            points.push_back({p.x_m + shift_m * shiftCos, p.y_m + shift_m * shiftSin});
        }
    };
    row(axis.cosFront, axis.sinFront, request.front_m);
    row(axis.cosBack, axis.sinBack, request.back_m);
}

PpqSetting preparePpq(const std::optional<std::string>& typed) {
    std::optional<double> dms = typed ? readNumber(*typed) : std::nullopt;
    if (!dms || *dms == 0)
        return {kPerpendicularText, 0.0};
    // A PPQ typed with an exponent is shown as the plain number it stands for: no field shows an
    // exponent.
    const bool exponent = typed->find_first_of("eE") != std::string::npos;
    return {" " + (exponent ? generalText(*dms) : *typed), dmsToDegrees(*dms)};
}

}  // namespace hcurve

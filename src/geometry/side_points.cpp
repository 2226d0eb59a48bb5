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

std::size_t tableSize(std::int16_t count) {
    return static_cast<std::size_t>(std::max<int>(count, 0)) + 1;
}

std::size_t rowTableSize(std::int16_t count) {
    return 2 * static_cast<std::size_t>(std::max<int>(count, 0)) + 1;
}

}  // namespace

TransverseAxis transverseAxis(double a, double f) {
    return {std::cos(a * f),
            std::sin(a * f),
            std::cos((a - kRightAngle_deg) * f),
            std::sin((a - kRightAngle_deg) * f),
            std::cos((a + kRightAngle_deg) * f),
            std::sin((a + kRightAngle_deg) * f)};
}

SideTables makeSideTables(std::int16_t dl_n, std::int16_t dr_n) {
    SideTables t;
    t.xlp.assign(tableSize(dl_n), 0.0);
    t.ylp.assign(tableSize(dl_n), 0.0);
    t.xrp.assign(tableSize(dr_n), 0.0);
    t.yrp.assign(tableSize(dr_n), 0.0);
    t.leftRowX.assign(rowTableSize(dl_n), 0.0);
    t.leftRowY.assign(rowTableSize(dl_n), 0.0);
    t.rightRowX.assign(rowTableSize(dr_n), 0.0);
    t.rightRowY.assign(rowTableSize(dr_n), 0.0);
    return t;
}

void computeSidePoints(SideTables& t, double x_m, double y_m, double axisAzimuth_deg,
                       const SideSetup& setup, double f) {
    const int nl = setup.dl_n;
    const int nr = setup.dr_n;
    assert(nl < 0 || (static_cast<std::size_t>(nl) < setup.dl.size() &&
                      t.leftRowX.size() >= rowTableSize(setup.dl_n)));
    assert(nr < 0 || (static_cast<std::size_t>(nr) < setup.dr.size() &&
                      t.rightRowX.size() >= rowTableSize(setup.dr_n)));

    // The distances are floats as entered; each is widened exactly before it is multiplied.
    const TransverseAxis axis = transverseAxis(axisAzimuth_deg, f);
    for (int j = 1; j <= nl; ++j) {
        const PlanePoint p = onAxis(x_m, y_m, axis, -static_cast<double>(setup.dl[j]));
        t.xlp[j] = p.x_m;
        t.ylp[j] = p.y_m;
    }
    for (int j = 1; j <= nr; ++j) {
        const PlanePoint p = onAxis(x_m, y_m, axis, static_cast<double>(setup.dr[j]));
        t.xrp[j] = p.x_m;
        t.yrp[j] = p.y_m;
    }

    if (setup.dd_n == kSingleRow) {
        for (int j = 1; j <= nl; ++j) {
            t.leftRowX[j] = t.xlp[j];
            t.leftRowY[j] = t.ylp[j];
        }
        for (int j = 1; j <= nr; ++j) {
            t.rightRowX[j] = t.xrp[j];
            t.rightRowY[j] = t.yrp[j];
        }
        return;
    }

    // Double row: the front row ds_l ahead of the axis (a - 90), the back row ds_r behind it
    // (a + 90); both azimuths are used as they come.
    const double front = static_cast<double>(setup.ds_l);
    const double back = static_cast<double>(setup.ds_r);
    const double cosFront = axis.cosFront, sinFront = axis.sinFront;
    const double cosBack = axis.cosBack, sinBack = axis.sinBack;
    for (int j = 1; j <= nl; ++j) {
        t.leftRowX[j] = t.xlp[j] + front * cosFront;
        t.leftRowY[j] = t.ylp[j] + front * sinFront;
    }
    for (int j = 1; j <= nr; ++j) {
        t.rightRowX[j] = t.xrp[j] + front * cosFront;
        t.rightRowY[j] = t.yrp[j] + front * sinFront;
    }
    for (int j = nl + 1; j <= 2 * nl; ++j) {
        t.leftRowX[j] = t.xlp[j - nl] + back * cosBack;
        t.leftRowY[j] = t.ylp[j - nl] + back * sinBack;
    }
    for (int j = nr + 1; j <= 2 * nr; ++j) {
        t.rightRowX[j] = t.xrp[j - nr] + back * cosBack;
        t.rightRowY[j] = t.yrp[j - nr] + back * sinBack;
    }
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

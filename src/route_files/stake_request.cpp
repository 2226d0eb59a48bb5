#include "route_files/stake_request.h"

#include <cmath>
#include <sstream>

#include "curve/angle.h"
#include "curve/number.h"
#include "curve/shown_text.h"
#include "route_files/route_file.h"

namespace hcurve {

Result<double> stakeInterval(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || *v <= 0)
        return Failure{"桩距“" + shownText(text) + "”必须是大于零的数值。"};
    return *v;
}

Result<double> skewDegrees(const std::string& text) {
    const Failure refused{"斜交角“" + shownText(text) + "”要按 度.分秒 输入，并小于 90 度。"};
    std::optional<double> v = readNumber(text);
    if (!v || !isValidDms(*v))
        return refused;
    // At a right angle the transverse axis runs along the centre line: a side point would stand
    // on the road ahead, not beside it.
    const double degrees = dmsToDegrees(*v);
    if (!(std::fabs(degrees) < kRightAngle_deg))
        return refused;
    return degrees;
}

Result<std::vector<double>> distanceList(const std::string& text) {
    const Failure refused{"要用逗号分开的距离（如 5,7.5），“" + shownText(text) + "”不对。"};
    std::vector<double> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        std::optional<double> v = readNumber(part);
        if (!v)
            return refused;
        out.push_back(*v);
    }
    if (out.empty())
        return refused;
    return out;
}

Result<double> stretchEnd(const Route& route, const std::string& text, bool first) {
    const std::string shown = shownText(text);
    if (!text.empty() && (text[0] == 'K' || text[0] == 'k')) {
        std::optional<double> broken = readChainage(text);
        if (!broken)
            return Failure{"桩号“" + shown + "”不对（应如 K12+500 或 K12+500.000）。"};
        std::vector<double> at = continuousChainages(route, *broken);
        if (at.empty())
            return Failure{"路线上没有桩号 " + shown +
                           "（它不在 BP 至 EP 之间，或落在断链的空缺里）。"};
        return first ? at.front() : at.back();
    }
    std::optional<double> v = readNumber(text);
    if (!v)
        return Failure{"里程“" + shown + "”不是数值。"};
    return *v;
}

}  // namespace hcurve

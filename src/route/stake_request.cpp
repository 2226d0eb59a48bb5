#include "route/stake_request.h"

#include <cmath>
#include <sstream>

#include "curve/angle.h"
#include "curve/number.h"
#include "route/route_file.h"

namespace hcurve {

std::optional<double> stakeInterval(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || *v <= 0)
        return std::nullopt;
    return v;
}

std::optional<double> skewDegrees(const std::string& text) {
    std::optional<double> v = readNumber(text);
    if (!v || !isValidDms(*v))
        return std::nullopt;
    // At a right angle the transverse axis runs along the centre line: a side point would stand
    // on the road ahead, not beside it.
    const double degrees = dmsToDegrees(*v);
    if (!(std::fabs(degrees) < kRightAngle_deg))
        return std::nullopt;
    return degrees;
}

std::optional<std::vector<double>> distanceList(const std::string& text) {
    std::vector<double> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        std::optional<double> v = readNumber(part);
        if (!v)
            return std::nullopt;
        out.push_back(*v);
    }
    if (out.empty())
        return std::nullopt;
    return out;
}

std::optional<double> stretchEnd(const Route& route, const std::string& text, bool first,
                                 std::string& fault) {
    if (!text.empty() && (text[0] == 'K' || text[0] == 'k')) {
        std::optional<double> broken = readChainage(text);
        if (!broken) {
            fault = "桩号“" + text + "”不对（应如 K12+500 或 K12+500.000）。";
            return std::nullopt;
        }
        std::vector<double> at = continuousChainages(route, *broken);
        if (at.empty()) {
            fault = "路线上没有桩号 " + text + "（它不在 BP 至 EP 之间，或落在断链的空缺里）。";
            return std::nullopt;
        }
        return first ? at.front() : at.back();
    }
    std::optional<double> v = readNumber(text);
    if (!v)
        fault = "里程“" + text + "”不是数值。";
    return v;
}

}  // namespace hcurve

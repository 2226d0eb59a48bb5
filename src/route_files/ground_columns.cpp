#include "route_files/ground_columns.h"

#include "curve/format.h"

namespace hcurve {

std::vector<std::string> groundColumnHeader() {
    return {"地面高程", "填挖高"};
}

std::vector<std::string> groundColumnFields(std::optional<double> design_m,
                                            std::optional<double> ground_m) {
    if (!ground_m)
        return {std::string(), std::string()};
    return {format(*ground_m, Pattern::Fixed4),
            design_m ? format(*design_m - *ground_m, Pattern::Fixed3) : std::string()};
}

}  // namespace hcurve

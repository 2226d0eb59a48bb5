// The position along a curve from its tangent angle, by a quadrature independent of the route's
// own series: what the route tests check the alignment against.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>

namespace hcurve::test {

// Composite 6-point Gauss-Legendre quadrature over panels of at most 2 m: for a tangent turning by
// at most a few radians per element its error is far below 1e-10 m.
inline double gauss(const std::function<double(double)>& g, double s) {
    static const double node[] = {0.2386191860831969, 0.6612093864662645, 0.9324695142031521};
    static const double weight[] = {0.4679139345726910, 0.3607615730481386, 0.1713244923791704};
    const int panels = std::max(1, static_cast<int>(std::ceil(s / 2)));
    const double h = s / panels;
    double sum = 0;
    for (int p = 0; p < panels; ++p) {
        const double mid = (p + 0.5) * h;
        for (int i = 0; i < 3; ++i)
            sum += weight[i] * (g(mid - node[i] * h / 2) + g(mid + node[i] * h / 2));
    }
    return sum * h / 2;
}

}  // namespace hcurve::test

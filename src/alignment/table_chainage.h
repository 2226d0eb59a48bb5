// The chainage of a table row as the file gives it, shared by every table placed on the route.
#pragma once

#include <string>

namespace hcurve {

/// The chainage of a grade-line, cross-fall or cross-section row as the file gives it.
struct TableChainage {
    std::string text;     // as written, for the messages
    double value_m = 0;   // read
    bool broken = false;  // a K-text with the chain breaks applied, else a continuous chainage
};

}  // namespace hcurve

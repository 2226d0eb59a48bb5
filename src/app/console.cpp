#include "app/console.h"

#include <istream>
#include <ostream>

namespace hcurve {

int runConsole(std::istream&, std::ostream&) { return 0; }

}  // namespace hcurve

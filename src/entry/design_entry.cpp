#include "entry/design_entry.h"

namespace hcurve {

void command1(CurveRecord&, UserPort&) {}

}  // namespace hcurve

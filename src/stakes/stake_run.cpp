#include "stakes/stake_run.h"

namespace hcurve {

void command2(CurveRecord&, UserPort&) {}

}  // namespace hcurve

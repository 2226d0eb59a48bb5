// The console's protocol names of what the commands show: "Text14" for the ZH chainage,
// "Label36" for the caption of a left side point's distance. Scripts read these names, so they
// are the window's control numbers and never change.
#pragma once

#include "port/controls.h"

namespace hcurve {

int protocolNumber(Field field);
int protocolNumber(Label label);

}  // namespace hcurve

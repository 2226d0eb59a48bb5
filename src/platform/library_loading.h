// Parts of the program that live in a shared library of their own and are loaded only when they
// are used: the window and the Qt drawing, so that the commands that need neither start without Qt.
#pragma once

#include <string>

#include "curve/result.h"

namespace hcurve::platform {

/// The address of `symbol` in the shared library `file`, loaded the first time it is asked for
/// and kept until the program ends; or, when the library cannot be loaded or has no such symbol,
/// the system's own words for why. A bare file name is looked
/// for where the program's own libraries are: on POSIX the program's run path (set when it is
/// built and installed), on Windows the program's folder and the system folder.
Result<void*> librarySymbol(const std::string& file, const char* symbol);

}  // namespace hcurve::platform

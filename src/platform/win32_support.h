// What the Windows realisations of the platform share: UTF-8 inside the program, UTF-16 at every
// Windows call, and the system's error codes as the errno values the rest of the program reads.
#pragma once

#include <string>
#include <string_view>

namespace hcurve::platform {

/// UTF-8 as UTF-16; a byte that is no UTF-8 becomes U+FFFD.
std::wstring wideText(std::string_view utf8);

/// Whether bytes are UTF-8 throughout, as a name must be to reach the system unchanged.
bool isUtf8(std::string_view bytes);

/// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8Text(std::wstring_view wide);

/// The errno value for a Windows error code (ERROR_ACCESS_DENIED is EACCES, a file another
/// program holds open is EBUSY, ...), or minus the code when no errno value says the same;
/// systemReason words both.
int errorFromWindows(unsigned long code);

}  // namespace hcurve::platform

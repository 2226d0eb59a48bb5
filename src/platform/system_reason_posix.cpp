// POSIX realisation of the system's own words for an error.
#include <system_error>

#include "platform/system_reason.h"

namespace hcurve::platform {

std::string otherSystemReason(int error) {
    return "系统错误（" + std::generic_category().message(error) + "）";
}

}  // namespace hcurve::platform

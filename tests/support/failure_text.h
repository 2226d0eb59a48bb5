// A result's failure as the user reads it, for comparing in tests: nothing when it succeeded.
#pragma once

#include <optional>
#include <string>

#include "curve/result.h"

namespace hcurve::testing {

template <class T>
std::optional<std::string> failureOf(const Result<T>& result) {
    if (result)
        return std::nullopt;
    return result.failure().message;
}

}  // namespace hcurve::testing

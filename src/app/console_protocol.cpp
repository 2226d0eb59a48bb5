#include "app/console_protocol.h"

#include <array>

namespace hcurve {

namespace {

// In the order of the enums.
// clang-format off
constexpr std::array<int, kFieldCount> kFieldNumbers{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 49}};
constexpr std::array<int, kLabelCount> kLabelNumbers{{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 31, 32, 33, 36, 38, 40, 37, 39, 41, 54, 10, 15, 28, 34, 35, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 55, 56, 57}};
// clang-format on

}  // namespace

int protocolNumber(Field field) {
    return kFieldNumbers[static_cast<std::size_t>(field)];
}

int protocolNumber(Label label) {
    return kLabelNumbers[static_cast<std::size_t>(label)];
}

}  // namespace hcurve

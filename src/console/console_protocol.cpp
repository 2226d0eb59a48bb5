#include "console/console_protocol.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace hcurve {

namespace {

// clang-format off
constexpr std::pair<Field, int> kFieldNumbers[] = {
    {Field::JdNumber, 1}, {Field::JdChainage, 2}, {Field::JdX, 3}, {Field::JdY, 4},
    {Field::Azimuth, 5}, {Field::Deflection, 6}, {Field::Radius, 7}, {Field::A1, 8},
    {Field::A2, 9}, {Field::Ls1, 10}, {Field::Ls2, 11}, {Field::EntryTangent, 12},
    {Field::ExitTangent, 13}, {Field::CentreX, 29}, {Field::CentreY, 30}, {Field::ZhChainage, 14},
    {Field::ZhX, 15}, {Field::ZhY, 16}, {Field::HyChainage, 17}, {Field::HyX, 18},
    {Field::HyY, 19}, {Field::YhChainage, 20}, {Field::YhX, 21}, {Field::YhY, 22},
    {Field::HzChainage, 23}, {Field::HzX, 24}, {Field::HzY, 25}, {Field::AxisAngle, 49},
    {Field::StakeChainage, 26}, {Field::StakeX, 27}, {Field::StakeY, 28}, {Field::LeftDistance, 31},
    {Field::LeftX, 32}, {Field::LeftY, 33}, {Field::RightDistance, 34}, {Field::RightX, 35},
    {Field::RightY, 36},
};
constexpr std::pair<Label, int> kLabelNumbers[] = {
    {Label::DesignHeading, 34}, {Label::JdNumber, 1}, {Label::JdChainage, 2}, {Label::JdX, 3},
    {Label::JdY, 4}, {Label::Azimuth, 5}, {Label::Deflection, 6}, {Label::Radius, 7},
    {Label::A1, 8}, {Label::A2, 9}, {Label::ElementsHeading, 10}, {Label::Ls1, 11},
    {Label::Ls2, 12}, {Label::EntryTangent, 13}, {Label::ExitTangent, 14}, {Label::CentreX, 32},
    {Label::CentreY, 33}, {Label::PointsHeading, 15}, {Label::ZhGroup, 45}, {Label::ZhChainage, 16},
    {Label::ZhX, 17}, {Label::ZhY, 18}, {Label::HyGroup, 46}, {Label::HyChainage, 19},
    {Label::HyX, 20}, {Label::HyY, 21}, {Label::YhGroup, 47}, {Label::YhChainage, 22},
    {Label::YhX, 23}, {Label::YhY, 24}, {Label::HzGroup, 48}, {Label::HzChainage, 25},
    {Label::HzX, 26}, {Label::HzY, 27}, {Label::ResultsHeading, 28}, {Label::AxisAngle, 54},
    {Label::StakeGroup, 44}, {Label::StakeChainage, 29}, {Label::StakeX, 30}, {Label::StakeY, 31},
    {Label::LeftGroup, 42}, {Label::LeftDistance, 36}, {Label::LeftX, 38}, {Label::LeftY, 40},
    {Label::RightGroup, 43}, {Label::RightDistance, 37}, {Label::RightX, 39}, {Label::RightY, 41},
    {Label::Title, 35}, {Label::DiagramTitle, 57}, {Label::DiagramUpperAxis, 50}, {Label::DiagramLowerAxis, 49},
    {Label::DiagramNormal, 51}, {Label::DiagramMinusQ, 53}, {Label::DiagramPlusQ, 52}, {Label::DiagramLeft, 55},
    {Label::DiagramRight, 56},
};
// clang-format on

// The numbers by control, looked up once a line of a stake run: 0 for a control without one.
template <std::size_t Count, typename Control, std::size_t N>
constexpr std::array<int, Count> numbersByControl(const std::pair<Control, int> (&table)[N]) {
    std::array<int, Count> numbers{};
    for (const std::pair<Control, int>& row : table)
        numbers[static_cast<std::size_t>(row.first)] = row.second;
    return numbers;
}
constexpr std::array<int, kFieldCount> kFieldNumberOf =
    numbersByControl<kFieldCount>(kFieldNumbers);
constexpr std::array<int, kLabelCount> kLabelNumberOf =
    numbersByControl<kLabelCount>(kLabelNumbers);

int checked(int number) {
    if (number == 0)
        throw std::logic_error("a control without a protocol name");
    return number;
}

}  // namespace

int protocolNumber(Field field) {
    return checked(kFieldNumberOf[static_cast<std::size_t>(field)]);
}

int protocolNumber(Label label) {
    return checked(kLabelNumberOf[static_cast<std::size_t>(label)]);
}

}  // namespace hcurve

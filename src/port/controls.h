// What the commands show, named for what it is: the output fields (the ZH chainage, the HY X, the
// stake being listed, a side point's distance) and the captions beside them and above their
// groups. The front ends place them; only they know the window's own control names.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>
#include <string>

// Each list is written once: the enum and the names are made from it.
// clang-format off
#define HCURVE_FIELDS(X) \
    X(JdNumber) X(JdChainage) X(JdX) X(JdY) X(Azimuth) X(Deflection) \
    X(Radius) X(A1) X(A2) \
    X(Ls1) X(Ls2) X(EntryTangent) X(ExitTangent) X(CentreX) X(CentreY) \
    X(ZhChainage) X(ZhX) X(ZhY) X(HyChainage) X(HyX) X(HyY) \
    X(YhChainage) X(YhX) X(YhY) X(HzChainage) X(HzX) X(HzY) \
    X(AxisAngle) X(StakeChainage) X(StakeX) X(StakeY) X(LeftDistance) X(LeftX) \
    X(LeftY) X(RightDistance) X(RightX) X(RightY)

#define HCURVE_LABELS(X) \
    X(DesignHeading) X(JdNumber) X(JdChainage) X(JdX) X(JdY) \
    X(Azimuth) X(Deflection) X(Radius) X(A1) X(A2) \
    X(ElementsHeading) X(Ls1) X(Ls2) X(EntryTangent) X(ExitTangent) \
    X(CentreX) X(CentreY) X(PointsHeading) X(ZhGroup) X(ZhChainage) \
    X(ZhX) X(ZhY) X(HyGroup) X(HyChainage) X(HyX) \
    X(HyY) X(YhGroup) X(YhChainage) X(YhX) X(YhY) \
    X(HzGroup) X(HzChainage) X(HzX) X(HzY) X(ResultsHeading) \
    X(AxisAngle) X(StakeGroup) X(StakeChainage) X(StakeX) X(StakeY) \
    X(LeftGroup) X(LeftDistance) X(LeftX) X(LeftY) X(RightGroup) \
    X(RightDistance) X(RightX) X(RightY) X(Title) X(DiagramTitle) \
    X(DiagramUpperAxis) X(DiagramLowerAxis) X(DiagramNormal) X(DiagramMinusQ) X(DiagramPlusQ) \
    X(DiagramLeft) X(DiagramRight)
// clang-format on

namespace hcurve {

#define HCURVE_ENUMERATOR(name) name,
#define HCURVE_NAME(name) #name,

/// The output fields: design data, curve elements and centre, the characteristic points, the
/// angle of the transverse axis, the centre stake and the side point being listed on each side.
enum class Field { HCURVE_FIELDS(HCURVE_ENUMERATOR) };

/// The captions: one beside each field, named like the field, and the headings of the groups and
/// of the sign diagram.
enum class Label { HCURVE_LABELS(HCURVE_ENUMERATOR) };

namespace detail {
inline constexpr const char* kFieldNames[] = {HCURVE_FIELDS(HCURVE_NAME)};
inline constexpr const char* kLabelNames[] = {HCURVE_LABELS(HCURVE_NAME)};
}  // namespace detail

#undef HCURVE_ENUMERATOR
#undef HCURVE_NAME

inline constexpr std::size_t kFieldCount = std::size(detail::kFieldNames);
inline constexpr std::size_t kLabelCount = std::size(detail::kLabelNames);

/// "ZhChainage": the name of what a field shows, as tests and messages for developers write it.
inline std::string fieldName(Field field) {
    return detail::kFieldNames[static_cast<std::size_t>(field)];
}
inline std::string labelName(Label label) {
    return detail::kLabelNames[static_cast<std::size_t>(label)];
}

}  // namespace hcurve

#include "curve/chainage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "curve/format.h"

namespace hcurve {
namespace {

constexpr double kMetresPerKilometre = 1000.0;
constexpr double kMillimetresPerMetre = 1000.0;
constexpr long long kMillimetresPerKilometre = 1000000;
// Kilometres below this are written from their integer; beyond it by the general text.
constexpr double kIntegerKilometres = 1e15;

// The metre part in whole millimetres when it is the double nearest to a whole number of them
// (a stake at a whole multiple of an interval of whole millimetres): that double lies within a
// ninth of a unit of its 15th significant digit from them (half its last bit is at most 2^-53 of
// it), so its 15-digit text is those millimetres exactly and both tie rules keep them. -1 for any
// other metre part, which is rounded from its text.
long long wholeMillimetres(double m) {
    const double mm = std::round(m * kMillimetresPerMetre);
    if (!(mm >= 0 && mm <= static_cast<double>(kMillimetresPerKilometre)) ||
        mm / kMillimetresPerMetre != m)
        return -1;
    return static_cast<long long>(mm);
}

// The chainage text from its parts: the form's prefix, the kilometres (a whole number), the
// joint and the metre part. In one piece: stake tables write chainages by the thousand.
std::string joined(const ChainageForm& form, double km, char joint, std::string_view metres) {
    char digits[24];
    std::string_view kilometres;
    std::string general;
    if (std::fabs(km) < kIntegerKilometres) {
        // As the general text writes a whole number (-0 reads 0), and Str() with its blank.
        const long long whole = static_cast<long long>(km);
        char* begin = digits + 1;
        char* end = std::to_chars(begin, digits + sizeof digits, whole).ptr;
        if (form.blankBeforeKilometres && whole >= 0)
            *--begin = ' ';
        kilometres = std::string_view(begin, static_cast<std::size_t>(end - begin));
    } else {
        general = form.blankBeforeKilometres ? strText(km) : format(km);
        kilometres = general;
    }
    const std::size_t prefix = std::strlen(form.prefix);
    const std::size_t size = prefix + kilometres.size() + 1 + metres.size();
    char room[64];
    if (size > sizeof room) {
        std::string text;
        text.reserve(size);
        text.append(form.prefix, prefix).append(kilometres).append(1, joint).append(metres);
        return text;
    }
    char* out = room;
    out = std::copy_n(form.prefix, prefix, out);
    out = std::copy(kilometres.begin(), kilometres.end(), out);
    *out++ = joint;
    out = std::copy(metres.begin(), metres.end(), out);
    return std::string(room, size);
}

}  // namespace

std::string chainageText(double chainage_m, const ChainageForm& form) {
    // Before zero as surveyors write it: the distance before zero, split as a chainage is.
    const bool before = form.beforeZero == BeforeZero::DistanceBefore && chainage_m < 0;
    const double distance_m = before ? -chainage_m : chainage_m;
    double km = std::floor(distance_m / kMetresPerKilometre);
    const double m = distance_m - km * kMetresPerKilometre;
    if (long long mm = wholeMillimetres(m); mm >= 0) {
        if (mm == kMillimetresPerKilometre) {
            km += 1;
            mm = 0;
        }
        const char joint = before && mm != 0 ? '-' : '+';
        if (before && km > 0)
            km = -km;
        // "000.000": three digits of metres, the point, three of millimetres.
        const int metresPart = static_cast<int>(mm / 1000),
                  millimetres = static_cast<int>(mm % 1000);
        const char metres[] = {static_cast<char>('0' + metresPart / 100),
                               static_cast<char>('0' + metresPart / 10 % 10),
                               static_cast<char>('0' + metresPart % 10),
                               '.',
                               static_cast<char>('0' + millimetres / 100),
                               static_cast<char>('0' + millimetres / 10 % 10),
                               static_cast<char>('0' + millimetres % 10)};
        return joined(form, km, joint, std::string_view(metres, sizeof metres));
    }
    std::string metres = form.halves == HalfMillimetre::ToEven
                             ? roundedText(m, Pattern::Padded3Fixed3)
                             : format(m, Pattern::Padded3Fixed3);
    if (metres == "1000.000") {
        km += 1;
        metres = "000.000";
    }
    // A distance that rounds to whole kilometres (or to nothing) keeps its "+".
    const char joint = before && metres != "000.000" ? '-' : '+';
    if (before && km > 0)
        km = -km;
    return joined(form, km, joint, metres);
}

}  // namespace hcurve

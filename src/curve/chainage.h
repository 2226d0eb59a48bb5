// Chainage texts: a kilometre part and a metre part with three decimals. All chainages are
// metres. One formatter writes every form; the form says what stands before the kilometres, how
// the kilometres are written and how a half millimetre is rounded.
//
// The kilometres are the chainage / 1000 rounded down in every form, so the metre part lies in
// [0, 1000). The metre part is rounded once to the millimetre; when it then reads 1000.000 it
// carries to the next kilometre.
//
//                      12345.678        -1.5            1999.9996       ties
//   kDesignForm        "K 12+345.678"   "K-1+998.500"   "K 2+000.000"   away from zero
//   kPointForm         "k 12+345.678"   "k-1+998.500"   "k 2+000.000"   to even
//   kPlainForm         "K12+345.678"    "K-1+998.500"   "K2+000.000"    to even
//   kListingForm       " k 12+345.678"  " k-1+998.500"  " k 2+000.000"  to even
//   kReportStakeForm   "K12+345.678"    "K-1+998.500"   "K2+000.000"    away from zero
#pragma once

#include <string>

namespace hcurve {

/// How a half millimetre goes: away from zero, or to even so that typed halves read as typed.
enum class HalfMillimetre { AwayFromZero, ToEven };

struct ChainageForm {
    const char* prefix;          // written before the kilometres
    bool blankBeforeKilometres;  // Str(): a blank before kilometres that are not negative
    HalfMillimetre halves;
};

/// The design data's JD chainage.
inline constexpr ChainageForm kDesignForm{"K", true, HalfMillimetre::AwayFromZero};
/// The ZH chainage of the display.
inline constexpr ChainageForm kPointForm{"k", true, HalfMillimetre::ToEven};
/// The other characteristic points, the printed report's, the plan view, the stake export and the
/// route's tables.
inline constexpr ChainageForm kPlainForm{"K", false, HalfMillimetre::ToEven};
/// The stake being listed.
inline constexpr ChainageForm kListingForm{" k", true, HalfMillimetre::ToEven};
/// The stakes of the printed report and the reverse calculation.
inline constexpr ChainageForm kReportStakeForm{"K", false, HalfMillimetre::AwayFromZero};

std::string chainageText(double chainage_m, const ChainageForm& form);

}  // namespace hcurve

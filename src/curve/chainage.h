// Chainage texts: a kilometre part and a metre part with three decimals. All chainages are
// metres. One formatter writes every form; the form says what stands before the kilometres, how
// the kilometres are written, how a half millimetre is rounded and how a chainage before zero
// reads.
//
// The kilometres of a chainage that is not negative are the chainage / 1000 rounded down, so the
// metre part lies in [0, 1000). The metre part is rounded once to the millimetre; when it then
// reads 1000.000 it carries to the next kilometre.
//
// Before zero the design and ZH forms keep the kilometres rounded down ("K-1+998.500" is -1000 m
// plus 998.5 m). The others read as surveyors write a stake before the start: the kilometres and
// the metres of the distance before zero, joined by "-" ("K0-001.500" is 1.5 m before K0+000,
// "K-1-846.900" 1846.9 m); a whole number of kilometres keeps its "+" ("K-1+000.000").
//
//                      12345.678        -1.5            -1846.9          1999.9996     ties
//   kDesignForm        "K 12+345.678"   "K-1+998.500"   "K-2+153.100"    "K 2+000.000" away
//   kPointForm         "k 12+345.678"   "k-1+998.500"   "k-2+153.100"    "k 2+000.000" even
//   kPlainForm         "K12+345.678"    "K0-001.500"    "K-1-846.900"    "K2+000.000"  even
//   kListingForm       " k 12+345.678"  " k 0-001.500"  " k-1-846.900"   " k 2+000.000" even
//   kReportStakeForm   "K12+345.678"    "K0-001.500"    "K-1-846.900"    "K2+000.000"  away
// (ties: a half millimetre away from zero, or to even)
#pragma once

#include <string>

namespace hcurve {

/// How a half millimetre goes: away from zero, or to even so that typed halves read as typed.
enum class HalfMillimetre { AwayFromZero, ToEven };

/// How a chainage before zero reads: kilometres rounded down and metres added ("K-1+998.500"), or
/// the distance before zero as surveyors write it ("K0-001.500").
enum class BeforeZero { KilometresDown, DistanceBefore };

struct ChainageForm {
    const char* prefix;          // written before the kilometres
    bool blankBeforeKilometres;  // Str(): a blank before kilometres that are not negative
    HalfMillimetre halves;
    BeforeZero beforeZero;
};

/// The design data's JD chainage.
inline constexpr ChainageForm kDesignForm{"K", true, HalfMillimetre::AwayFromZero,
                                          BeforeZero::KilometresDown};
/// The ZH chainage of the display.
inline constexpr ChainageForm kPointForm{"k", true, HalfMillimetre::ToEven,
                                         BeforeZero::KilometresDown};
/// The other characteristic points, the printed report's, the plan view, the stake export and the
/// route's tables.
inline constexpr ChainageForm kPlainForm{"K", false, HalfMillimetre::ToEven,
                                         BeforeZero::DistanceBefore};
/// The stake being listed.
inline constexpr ChainageForm kListingForm{" k", true, HalfMillimetre::ToEven,
                                           BeforeZero::DistanceBefore};
/// The stakes of the printed report and the reverse calculation.
inline constexpr ChainageForm kReportStakeForm{"K", false, HalfMillimetre::AwayFromZero,
                                               BeforeZero::DistanceBefore};

std::string chainageText(double chainage_m, const ChainageForm& form);

}  // namespace hcurve

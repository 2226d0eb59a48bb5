// Chainage texts: a kilometre part and a metre part with three decimals, in the forms the
// displays and the report use. All chainages are metres.
//
// The kilometres are the chainage / 1000 rounded down in every form, so the metre part lies in
// [0, 1000); a metre part that reads 1000.000 after its rounding carries to the next kilometre.
//
//                       metre part            12345.678        -1.5            1999.9996
//   strForm             ch - km*1000          "K 12+345.678"   "K-1+998.500"   "K 2+000.000"
//   lowerStrForm        round(.., 3)          "k 12+345.678"   "k-1+998.500"   "k 2+000.000"
//   plainForm           round(.., 3)          "K12+345.678"    "K-1+998.500"   "K2+000.000"
//   stakeListingForm    round(.., 3)          " k 12+345.678"  " k-1+998.500"  " k 2+000.000"
//   reportPointForm     round(.., 3)          "12+345.678"     "-1+998.500"    "2+000.000"
//   reportStakeForm     ch - km*1000          "K12+345.678"    "K-1+998.500"   "K2+000.000"
//
// "round" is roundTo (ties to even); the metre part is then written with format(m, "000.000").
#pragma once

#include <string>

namespace hcurve {

std::string strForm(double chainage_m);
std::string lowerStrForm(double chainage_m);
std::string plainForm(double chainage_m);
std::string stakeListingForm(double chainage_m);
std::string reportPointForm(double chainage_m);
std::string reportStakeForm(double chainage_m);

}  // namespace hcurve

// Chainage texts: a kilometre part and a metre part with three decimals, in the forms the
// displays and the report use. All chainages are metres.
//
//                       km part              metre part            12345.678        -1.5
//   strForm             floor(ch/1000)       ch - km*1000          "K 12+345.678"   "K-1+998.500"
//   lowerStrForm        floor(ch/1000)       round(.., 3)          "k 12+345.678"   "k-1+998.500"
//   plainForm           trunc(ch/1000)       round(.., 3)          "K12+345.678"    "K0+-001.500"
//   stakeListingForm    trunc(ch/1000)       round(.., 3)          " k 12+345.678"  " k 0+-001.500"
//   reportPointForm     trunc(ch/1000)       round(.., 3)          "12+345.678"     "0+-001.500"
//   reportStakeForm     trunc(ch/1000)       ch - km*1000          "K12+345.678"    "K0+-001.500"
//
// "round" is roundTo (ties to even); the metre part is then written with format(m, "000.000"),
// so a metre part that rounds up to 1000 shows four integer digits (1999.9996 plain: K1+1000.000).
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

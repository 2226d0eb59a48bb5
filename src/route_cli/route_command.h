// `hcurve route FILE ...`: the route's tables on standard output, for scripts.
//
//   hcurve route FILE --elements
//   hcurve route FILE --stakes --interval D [--from M] [--to M] [--left d1,d2,...]
//                     [--right d1,d2,...] [--skew A] [--out FILE.csv|FILE.dat]
//   hcurve route FILE --locate X Y
//
// M is a continuous chainage (里程) in metres, or a chainage text (桩号, K12+500) with the chain
// breaks applied; A is the turn of the transverse axis from the normal, DMS, clockwise positive.
// A fault is one message per line on the error stream and status 1; nothing is written to the
// output then.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace hcurve {

/// args: what follows "route" on the command line. Returns the exit status.
int runRouteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace hcurve

// The listing of a stake run: each stake and each of its side points shown in the same few fields,
// one after the other, each released by a pause prompt.
#pragma once

#include "port/user_port.h"
#include "stakes/stake_list.h"

namespace hcurve {

/// Shows a stake: its chainage and coordinates, then its side points one by one.
void listStake(const RunStake& stake, UserPort& port);

/// Empties the stake's fields and both side groups, and gives the side groups their captions of
/// the start back ("  路基宽度 DL", ...): what a new run begins with, so that no point of an
/// earlier run stands beside it.
void clearListing(UserPort& port);

/// clearListing, and the axis angle too: a new curve has no stake run yet.
void clearStakeResults(UserPort& port);

}  // namespace hcurve

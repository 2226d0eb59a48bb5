// The listing of a stake run: each stake and each of its side points shown in the same few fields,
// one after the other, each released by a pause prompt.
#pragma once

#include "port/user_port.h"
#include "stakes/stake_list.h"

namespace hcurve {

/// Shows a stake: its chainage and coordinates, then its side points one by one.
void listStake(const RunStake& stake, UserPort& port);

}  // namespace hcurve

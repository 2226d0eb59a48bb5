// The side-point questionnaire: how many points on each side, their distances from the centre
// line, one row or two, and the distances of the two rows. Design entry and the stake run ask it
// with prompt sets of their own; the order and the answers' rules are the same.
#pragma once

#include "curve/side_setup.h"
#include "port/answers.h"
#include "port/user_port.h"

namespace hcurve {

struct SideQuestions {
    Question leftCount, leftDistance, rightCount, rightDistance, rows, frontRow, backRow;
};

/// The counts and distances of both sides, then one row or two: dl_n, dl, dr_n, dr, dd_n.
void askSideWidths(SideSetup& sides, UserPort& port, const SideQuestions& q);

/// The distances of the front and back rows (ds_l, ds_r), asked only for two rows.
void askRowDistances(SideSetup& sides, UserPort& port, const SideQuestions& q);

}  // namespace hcurve

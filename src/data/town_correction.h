#pragma once
// Correction to GMT of a town at a local moment: the hours to add to local time to
// get GMT (Moscow in winter 2020: −3).
#include "data/popa_ctl.h"
#include "data/town_card.h"

namespace orbeta {

// moment is the Julian day of the local date and time. Without popa.ctl (nullptr) or
// its section PopTime the correction is 0, or −field 4 when the card has one.
double TownCorrection(double moment, const TownCard& card, const PopaCtl* popa);

// The same with popa.ctl of the working directory, read only when the card needs it.
double TownCorrection(double moment, const TownCard& card);

}  // namespace orbeta

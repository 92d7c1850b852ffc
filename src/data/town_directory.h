#pragma once
// The towns directory in the "abasa" store: the steps of looking a town up that
// touch the store, for the town choice dialog and for orbeta-cli.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/base_record.h"
#include "data/town_card.h"
#include "data/towns.h"

namespace orbeta {

TownCard TownCardOf(const BaseRecord& record);
BaseRecord TownRecordOf(const TownCard& card);

enum class TownSearch { Found, NoDirectory, NoTown };

// The towns whose keys begin as the typed text (CP1251) does, in key order, read in
// one opening of "abasa"; nothing is shown to the user.
TownSearch FindTownCards(std::string_view typed, std::vector<TownCard>& cards);

// The choice list of the dialog: lists the keys into town.tmp and returns the rows
// of their cards. A missing directory is the warning "Noab", no match "notown".
TownSearch ListTowns(std::string_view typed, std::vector<TownListRow>& rows);

// The town on line k of town.tmp, filled in for the local moment (0: none yet);
// nullopt when the line or its card cannot be had.
std::optional<TownChoice> ChooseTown(int k, double moment);

}  // namespace orbeta

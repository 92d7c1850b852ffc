#pragma once
// Menu 1000 of the frame: every popup, item, separator and command id, in order.
#include <string>
#include <vector>

#include "platform/command_ids.h"

namespace orbeta {

struct MenuEntry {
    enum Kind { Command, Popup, Separator };
    Kind kind = Command;
    std::string text;              // CP1251, exactly as shown (popup titles keep their blanks)
    int id = 0;                    // command id of a Command
    std::vector<MenuEntry> items;  // entries of a Popup
};

const std::vector<MenuEntry>& MainMenu();

}  // namespace orbeta

#pragma once
// Menu 1000 of the frame: every popup, item, separator and command id, in order.
#include <string>
#include <vector>

namespace orbeta {

struct MenuEntry {
    enum Kind { Command, Popup, Separator };
    Kind kind = Command;
    std::string text;              // CP1251, exactly as shown (popup titles keep their blanks)
    int id = 0;                    // command id of a Command
    std::vector<MenuEntry> items;  // entries of a Popup
};

const std::vector<MenuEntry>& MainMenu();

// Command ids of the frame's own commands.
enum FrameCommand : int {
    kCmdHoroscope = 200,
    kCmdHelp = 601,
    kCmdExit = 24310,
    kCmdCascade = 24361,
    kCmdTile = 24362,
    kCmdArrangeIcons = 24364,
    kCmdCloseAll = 24365,
};

}  // namespace orbeta

#pragma once
// The UI text file orbtw.t: window titles, menus, name lists and messages under short
// keys. The file is in the OEM code page (CP866); it is read once, its continued
// lines are joined and every line is converted to CP1251.
//
// File rules: a line beginning with '*' is a comment. While a line holds '@', the
// text from its first '@' on is replaced by the next line; a comment line, or one
// whose part after its first '#' holds 'D', is skipped in that search. An entry is a
// key, a blank and the text.
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

// Lines of a UI text file (OEM bytes) after joining, in CP1251.
std::vector<std::string> ParseUiTexts(std::string_view oemBytes);

// Makes the texts of a file the program's texts. A file that cannot be read leaves
// the program without texts (every lookup yields its key) and returns false.
bool LoadUiTexts(const std::string& path = "orbtw.t");
void SetUiTexts(std::vector<std::string> lines);
const std::vector<std::string>& UiTexts();

// Text under a key. The key itself when there are no texts, when the key is empty or
// holds a blank (so literal texts pass through), and when no entry has that key.
std::string LookupText(std::string_view key);

// Menu and list texts hold items separated by '/'. A menu item's command id is the
// integer after its '['; an item without one (or with id 0) is a separator.
struct MenuItem {
    std::string text;  // the item unchanged
    int id = 0;
};
// What a menu or list shows of an item: the text before its '[' (the command number
// is no part of the label), without the blanks before the bracket.
std::string MenuLabel(std::string_view item);
std::vector<MenuItem> SplitMenuText(std::string_view text);
std::vector<std::string> SplitListText(std::string_view text);

// Text (at most 78 characters) of the item with a command id in the menu under a
// key; empty when the menu has no such item.
std::string MenuItemText(std::string_view menuKey, int commandId);

// Item of a list under a key, counted from 0 (the text before the first '/');
// empty when the list is shorter.
std::string ListItem(std::string_view listKey, int index);

}  // namespace orbeta

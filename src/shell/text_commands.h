#pragma once
// The text windows in the program: reports open in text windows, help keys open help
// windows, and the main commands of printing, the editor, the notepad and help.
namespace orbeta {

class CommandMap;
class QtServices;

// 310 printer settings, 311 external editor, 402 notepad, 601 help; the report viewer
// and the help opener.
void InstallTextWindows(QtServices& services, CommandMap& commands);

// Command 311: the editor program chosen in a file dialog, stored as given.
void ChooseExternalEditor();

}  // namespace orbeta

#pragma once
// The text windows in the program: reports open in text windows, help keys open help
// windows; the editor program of command 311.
namespace orbeta {

class QtServices;

// The report viewer and the help opener.
void InstallTextWindows(QtServices& services);

// Command 311: the editor program chosen in a file dialog, stored as given.
void ChooseExternalEditor();

}  // namespace orbeta

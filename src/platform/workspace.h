#pragma once
// The working directory of the program: the per-user workspace, made from the data
// the build assembled, or one the user names.
#include <string>

namespace orbeta {

// $XDG_DATA_HOME/orbeta, or ~/.local/share/orbeta.
std::string DefaultWorkspaceDir();

// Creates dir if needed and copies into it every file of the template directory that
// it lacks (the user's own files are never overwritten). Returns false with a message
// when the directory cannot be made.
bool PrepareWorkspace(const std::string& dir, const std::string& templateDir, std::string& error);

// Prepares the workspace (default or given) and makes it the working directory.
bool EnterWorkspace(const std::string& requested, std::string& error);

}  // namespace orbeta

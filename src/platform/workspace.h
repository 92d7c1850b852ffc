#pragma once
// The working directory of the program: the per-user workspace, made from the data
// the build assembled, or one the user names.
#include <string>
#include <vector>

namespace orbeta {

// $XDG_DATA_HOME/orbeta, or ~/.local/share/orbeta.
std::string DefaultWorkspaceDir();

// Creates dir if needed and brings it up to date with the template directory:
// a file it lacks is copied; a file that still holds exactly what an earlier build
// installed is replaced by the newer version; a file the user changed (the profile,
// chart cards, edited orb, event and text files) is never touched. What was installed
// is remembered in the workspace file ".shipped". Names of the files copied because
// they were missing go to `fresh`. Returns false with a message when the directory
// cannot be made or a file cannot be installed.
bool PrepareWorkspace(const std::string& dir, const std::string& templateDir, std::string& error,
                      std::vector<std::string>* fresh = nullptr);

// The directory of the data the build assembled (ORBETA_TEMPLATE_DIR overrides it).
std::string TemplateDir();

// Prepares the workspace (default or given) and makes it the working directory.
bool EnterWorkspace(const std::string& requested, std::string& error,
                    std::vector<std::string>* fresh = nullptr);

// Name of the record of installed files inside a workspace.
inline constexpr const char* kShippedRecord = ".shipped";

}  // namespace orbeta

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
// is remembered in the workspace file ".shipped", with the size and time each file had
// then, and the template's manifest names what the build ships: when neither changed,
// the check reads no file but these two. Names of the files copied because they were
// missing go to `fresh`; the number of files read (template or workspace, the two
// records aside) to `filesRead`. Returns false with a message when the directory
// cannot be made or a file cannot be installed.
bool PrepareWorkspace(const std::string& dir, const std::string& templateDir, std::string& error,
                      std::vector<std::string>* fresh = nullptr, int* filesRead = nullptr);

// Writes the manifest of a template directory: the fingerprint of every file in it.
bool WriteWorkspaceManifest(const std::string& templateDir, std::string& error);

// The fingerprint the manifest holds for `name` (a path relative to the template),
// or "" when the manifest lacks it or cannot be read.
std::string ManifestFingerprint(const std::string& templateDir, const std::string& name);

// The directory of the data the build assembled (ORBETA_TEMPLATE_DIR overrides it).
std::string TemplateDir();

// Prepares the workspace (default or given) and makes it the working directory.
bool EnterWorkspace(const std::string& requested, std::string& error,
                    std::vector<std::string>* fresh = nullptr);

// Name of the record of installed files inside a workspace.
inline constexpr const char* kShippedRecord = ".shipped";
// Name of the manifest inside a template directory; it is never installed.
inline constexpr const char* kWorkspaceManifest = ".manifest";

}  // namespace orbeta

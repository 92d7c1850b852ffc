#include "platform/workspace.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace orbeta {

#ifndef ORBETA_TEMPLATE_DIR
#define ORBETA_TEMPLATE_DIR ""
#endif

std::string DefaultWorkspaceDir() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg) return std::string(xdg) + "/orbeta";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/orbeta";
}

bool PrepareWorkspace(const std::string& dir, const std::string& templateDir,
                      std::string& error) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) {
        error = "cannot create workspace " + dir;
        return false;
    }
    if (templateDir.empty() || !fs::is_directory(templateDir, ec)) return true;
    for (const auto& entry : fs::recursive_directory_iterator(templateDir, ec)) {
        fs::path rel = fs::relative(entry.path(), templateDir, ec);
        fs::path target = fs::path(dir) / rel;
        if (entry.is_directory()) {
            fs::create_directories(target, ec);
        } else if (!fs::exists(target, ec)) {
            fs::copy_file(entry.path(), target, ec);
            if (ec) {
                error = "cannot copy " + entry.path().string() + " to " + target.string();
                return false;
            }
        }
    }
    return true;
}

bool EnterWorkspace(const std::string& requested, std::string& error) {
    std::string dir = requested.empty() ? DefaultWorkspaceDir() : requested;
    const char* env = std::getenv("ORBETA_TEMPLATE_DIR");
    std::string templ = env && *env ? env : ORBETA_TEMPLATE_DIR;
    if (!PrepareWorkspace(dir, templ, error)) return false;
    if (::chdir(dir.c_str()) != 0) {
        error = "cannot enter workspace " + dir;
        return false;
    }
    return true;
}

}  // namespace orbeta

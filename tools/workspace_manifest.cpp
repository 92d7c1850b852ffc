// Writes the manifest of the workspace template: the fingerprints a start compares
// with the workspace's record instead of reading every shipped file.
#include <cstdio>
#include <string>

#include "platform/workspace.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orbeta-manifest TEMPLATE_DIR\n");
        return 2;
    }
    std::string error;
    if (!orbeta::WriteWorkspaceManifest(argv[1], error)) {
        std::fprintf(stderr, "orbeta-manifest: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// orbeta-check-layers ROOT TABLE [QT_INCLUDE]: lists every #include under ROOT/src,
// ROOT/cli and ROOT/app that the layer table does not allow; exit status 1 when any.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "layer_check.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: orbeta-check-layers ROOT TABLE [QT_INCLUDE]\n");
        return 2;
    }
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "orbeta-check-layers: cannot read %s\n", argv[2]);
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> problems;
    orbeta::LayerTable table = orbeta::ParseLayerTable(text.str(), problems);
    auto found = orbeta::CheckLayers(argv[1], table, argc == 4 ? argv[3] : "");
    problems.insert(problems.end(), found.begin(), found.end());
    for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
    return problems.empty() ? 0 : 1;
}

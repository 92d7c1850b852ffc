#pragma once
// The check of the layers: every #include of the sources against the table of
// tools/layers/layers.txt (which folder may include which, which Qt modules a folder
// may use, which outside headers only certain files may include).
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

struct LayerRow {
    std::string folder;                // relative to the root: "src/chart/ui", "cli"
    bool anyQt = false;                // "*"
    std::set<std::string> qt;          // Qt modules allowed ("QtGui")
    std::set<std::string> mayInclude;  // include prefixes: "core", "chart/ui"
};

struct LayerTable {
    std::vector<LayerRow> rows;                               // bottom up
    std::map<std::string, std::set<std::string>> restricted;  // header -> files allowed
};

// The table; problems of its text (unknown folder named, a folder named before its
// row, a malformed row) go to problems.
LayerTable ParseLayerTable(std::string_view text, std::vector<std::string>& problems);

// Every include under root/src, root/cli and root/app that the table does not allow,
// one message each ("src/core/x.cpp: includes <QString>: ..."). qtInclude is the folder
// holding Qt's module folders (QtCore, QtGui, ...), to tell a header's module.
std::vector<std::string> CheckLayers(const std::filesystem::path& root, const LayerTable& table,
                                     const std::filesystem::path& qtInclude);

}  // namespace orbeta

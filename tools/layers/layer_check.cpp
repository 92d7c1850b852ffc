#include "layer_check.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace orbeta {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::set<std::string> SplitComma(const std::string& word) {
    std::set<std::string> parts;
    std::istringstream in(word);
    for (std::string p; std::getline(in, p, ',');)
        if (!p.empty()) parts.insert(p);
    return parts;
}

// The name a folder has in an #include: the path below src/ ("chart/ui"); folders
// outside src/ are not included by path.
std::string IncludeName(const std::string& folder) {
    return folder.rfind("src/", 0) == 0 ? folder.substr(4) : "";
}

bool StartsWithFolder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// The row of the longest folder the path lies in; null when none.
const LayerRow* RowOf(const LayerTable& table, const std::string& path) {
    const LayerRow* best = nullptr;
    for (const auto& row : table.rows)
        if (StartsWithFolder(path, row.folder) &&
            (!best || row.folder.size() > best->folder.size()))
            best = &row;
    return best;
}

struct Include {
    int line = 0;
    bool angled = false;
    std::string name;
};

std::vector<Include> IncludesOf(const fs::path& file) {
    std::vector<Include> includes;
    std::ifstream in(file, std::ios::binary);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line[i] != '#') continue;
        i = line.find_first_not_of(" \t", i + 1);
        if (i == std::string::npos || line.compare(i, 7, "include") != 0) continue;
        i = line.find_first_not_of(" \t", i + 7);
        if (i == std::string::npos || (line[i] != '"' && line[i] != '<')) continue;
        char close = line[i] == '"' ? '"' : '>';
        size_t end = line.find(close, i + 1);
        if (end == std::string::npos) continue;
        includes.push_back({number, close == '>', line.substr(i + 1, end - i - 1)});
    }
    return includes;
}

bool IsSource(const fs::path& p) {
    std::string ext = p.extension().string();
    return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".cc";
}

// The Qt module holding a header ("QtGui"); empty when it cannot be told.
std::string QtModuleOf(const std::string& header, const fs::path& qtInclude) {
    size_t slash = header.find('/');
    if (slash != std::string::npos) return header.substr(0, slash);
    std::error_code ec;
    if (qtInclude.empty() || !fs::is_directory(qtInclude, ec)) return "";
    std::vector<std::string> modules;
    for (const auto& entry : fs::directory_iterator(qtInclude, ec))
        if (entry.is_directory() && fs::exists(entry.path() / header, ec))
            modules.push_back(entry.path().filename().string());
    std::sort(modules.begin(), modules.end());
    return modules.empty() ? "" : modules.front();
}

bool IsQtHeader(const std::string& header, const fs::path& qtInclude) {
    if (header.empty()) return false;
    if (header[0] == 'Q' || header.rfind("qt", 0) == 0) return true;
    return header[0] == 'q' && !QtModuleOf(header, qtInclude).empty();
}

}  // namespace

LayerTable ParseLayerTable(std::string_view text, std::vector<std::string>& problems) {
    LayerTable table;
    std::set<std::string> above;  // include names of the rows read so far
    std::istringstream in{std::string(text)};
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        auto words = Words(line);
        if (words.empty() || words[0][0] == '#') continue;
        auto problem = [&](const std::string& what) {
            problems.push_back("table line " + std::to_string(number) + ": " + what);
        };
        if (words[0] == "only") {
            if (words.size() < 3) {
                problem("\"only\" needs a header and the files allowed to include it");
                continue;
            }
            table.restricted[words[1]].insert(words.begin() + 2, words.end());
            continue;
        }
        if (words.size() < 3) {
            problem("a row needs a folder, its Qt modules and what it may include");
            continue;
        }
        LayerRow row;
        row.folder = words[0];
        for (const auto& r : table.rows)
            if (r.folder == row.folder) problem(row.folder + " twice");
        if (words[1] == "*")
            row.anyQt = true;
        else if (words[1] != "-")
            row.qt = SplitComma(words[1]);
        if (!(words.size() == 3 && words[2] == "-")) {
            for (size_t i = 2; i < words.size(); ++i) {
                if (!above.count(words[i]))
                    problem(row.folder + " names " + words[i] + ", which is no folder above it");
                row.mayInclude.insert(words[i]);
            }
        }
        std::string name = IncludeName(row.folder);
        if (!name.empty()) above.insert(name);
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::string> CheckLayers(const fs::path& root, const LayerTable& table,
                                     const fs::path& qtInclude) {
    std::vector<std::string> problems;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const char* top : {"src", "cli", "app"}) {
        if (!fs::is_directory(root / top, ec)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top, ec))
            if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());

    for (const auto& file : files) {
        std::string path = file.lexically_relative(root).generic_string();
        const LayerRow* row = RowOf(table, path);
        if (!row) {
            problems.push_back(path + ": its folder has no row in the layer table");
            continue;
        }
        for (const auto& inc : IncludesOf(file)) {
            std::string where = path + ":" + std::to_string(inc.line) + ": includes " +
                                (inc.angled ? "<" + inc.name + ">" : "\"" + inc.name + "\"");
            auto problem = [&](const std::string& what) {
                problems.push_back(where + ": " + what);
            };

            std::string base = fs::path(inc.name).filename().string();
            auto only = table.restricted.find(inc.name);
            if (only == table.restricted.end()) only = table.restricted.find(base);
            if (only != table.restricted.end()) {
                if (!only->second.count(path))
                    problem("only " + *only->second.begin() + " may include it");
                continue;
            }

            if (inc.angled) {
                if (!IsQtHeader(inc.name, qtInclude) || row->anyQt) continue;
                if (row->qt.empty()) {
                    problem(row->folder + " uses no Qt");
                    continue;
                }
                std::string module = QtModuleOf(inc.name, qtInclude);
                if (module.empty())
                    problem("a Qt header of no module known here");
                else if (!row->qt.count(module))
                    problem(row->folder + " may not use " + module);
                continue;
            }

            // A quoted include is the file's neighbour, or a path below src/.
            std::string target;
            if (fs::exists(file.parent_path() / inc.name, ec))
                target = (file.parent_path() / inc.name)
                             .lexically_normal()
                             .lexically_relative(root)
                             .generic_string();
            else
                target = "src/" + inc.name;
            const LayerRow* to = RowOf(table, target);
            if (!to) {
                problem("a header of no folder in the layer table");
                continue;
            }
            if (to == row) continue;
            std::string name = IncludeName(to->folder);
            if (name.empty() || !row->mayInclude.count(name))
                problem(row->folder + " may not include " + to->folder);
        }
    }
    return problems;
}

}  // namespace orbeta

#include "core/hypothetical.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/ephemeris_internal.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/program_state.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

double Number(const std::string& token) {
    double v = std::strtod(token.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

// A private directory for the library's element file, removed at exit. The name
// lives on the heap so that the exit handler can still read it.
const std::string& ElementsDir() {
    static const std::string* dir = [] {
        std::string templ = (std::filesystem::temp_directory_path() / "orbeta-XXXXXX").string();
        if (!::mkdtemp(templ.data())) return new std::string();
        auto* made = new std::string(templ);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ElementsDir(), ec);
        });
        return made;
    }();
    return *dir;
}

// What a reading of swurn.ctl saw: the file's identity and the set read from it.
struct FileStamp {
    std::filesystem::path path;
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const FileStamp&) const = default;
};

struct ElementsCache {
    std::optional<FileStamp> stamp;
    std::shared_ptr<const HypotheticalSet> set;
    // The set whose elements seorbel.txt holds now.
    std::shared_ptr<const HypotheticalSet> written;
};

ElementsCache& Cache() {
    static ElementsCache cache;
    return cache;
}
const StateReset kForgetElements{[] { Cache() = {}; }};

FileStamp StampOf(const std::filesystem::path& relative) {
    std::error_code ec;
    FileStamp s;
    s.path = std::filesystem::absolute(relative, ec);
    s.exists = std::filesystem::is_regular_file(s.path, ec);
    if (s.exists) {
        s.size = std::filesystem::file_size(s.path, ec);
        s.modified = std::filesystem::last_write_time(s.path, ec);
    }
    return s;
}

}  // namespace

std::vector<OrbitalElements> ParseHypotheticalElements(const std::string& text,
                                                       Diagnostics& diagnostics) {
    std::vector<OrbitalElements> out;
    for (const auto& line : SplitLines(text)) {
        if (!IsMeaningfulLine(line)) continue;
        auto tokens = SplitTokens(line);
        tokens.resize(std::max<size_t>(tokens.size(), 8), "0");
        int number = std::atoi(tokens[0].c_str());
        if (number < 1 || number > 8) continue;
        OrbitalElements e;
        e.number = number;
        e.meanAnomaly = Number(tokens[1]);
        e.semiMajorAxis = Number(tokens[2]);
        e.eccentricity = Number(tokens[3]);
        e.perihelion = Number(tokens[4]);
        e.node = Number(tokens[5]);
        e.inclination = Number(tokens[6]);
        if (!(e.semiMajorAxis > 0) || !(e.eccentricity >= 0 && e.eccentricity < 1)) {
            diagnostics.Add(
                DiagnosticKind::Warning,
                Format("Ошибочные элементы орбиты тела %d в файле %s"_cp, number, "swurn.ctl"));
            continue;
        }
        out.push_back(e);
    }
    return out;
}

std::shared_ptr<const HypotheticalSet> CurrentHypotheticalSet(Diagnostics& diagnostics) {
    auto& cache = Cache();
    FileStamp now = StampOf("swurn.ctl");
    if (cache.set && cache.stamp == now) return cache.set;
    auto set = std::make_shared<HypotheticalSet>();
    auto bytes = now.exists ? ReadFileBytes(now.path.string()) : std::nullopt;
    if (bytes)
        set->elements = ParseHypotheticalElements(*bytes, diagnostics);
    else
        diagnostics.Add(DiagnosticKind::Warning, Format("Не открывается файл %s"_cp, "swurn.ctl"));
    cache.stamp = now;
    cache.set = set;
    return set;
}

std::array<double, 8> HypotheticalLongitudes(Computation& c, double jdUT) {
    std::array<double, 8> lon;
    lon.fill(kNoHypotheticalLongitude);
    if (!c.context.hypothetical) c.context.hypothetical = CurrentHypotheticalSet(c.diagnostics);
    const auto& set = c.context.hypothetical;
    const auto& elements = set->elements;
    if (elements.empty() || ElementsDir().empty()) return lon;
    // The library reads the elements from its file: written again only for other elements.
    auto& cache = Cache();
    if (cache.written != set) {
        std::string file;
        for (const auto& e : elements)
            file += Format("2415020.0, 2415020.0, %.10f, %.10f, %.10f, %.10f, %.10f, %.10f, H%d\n",
                           e.meanAnomaly, e.semiMajorAxis, e.eccentricity, e.perihelion, e.node,
                           e.inclination, e.number);
        if (!WriteFileAtomically(ElementsDir() + "/seorbel.txt", file)) return lon;
        cache.written = set;
    }
    std::vector<double> values(elements.size());
    detail::FictitiousLongitudes(c.diagnostics, jdUT, ElementsDir(),
                                 static_cast<int>(elements.size()), values.data(),
                                 kNoHypotheticalLongitude);
    for (size_t i = 0; i < elements.size(); ++i) lon[elements[i].number - 1] = values[i];
    return lon;
}

}  // namespace orbeta

#include "core/hypothetical.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "core/ephemeris_internal.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"
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

}  // namespace

std::vector<OrbitalElements> ParseHypotheticalElements(const std::string& text) {
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
            Svc().Warning(Format("Ошибочные элементы орбиты тела %d в файле %s"_cp, number,
                                 "swurn.ctl"));
            continue;
        }
        out.push_back(e);
    }
    return out;
}

std::array<double, 8> HypotheticalLongitudes(double jdUT) {
    std::array<double, 8> lon{};
    auto bytes = ReadFileBytes("swurn.ctl");
    if (!bytes) {
        Svc().Warning(Format("Не открывается файл %s"_cp, "swurn.ctl"));
        return lon;
    }
    auto elements = ParseHypotheticalElements(*bytes);
    if (elements.empty() || ElementsDir().empty()) return lon;
    std::string file;
    for (const auto& e : elements)
        file += Format("2415020.0, 2415020.0, %.10f, %.10f, %.10f, %.10f, %.10f, %.10f, H%d\n",
                       e.meanAnomaly, e.semiMajorAxis, e.eccentricity, e.perihelion, e.node,
                       e.inclination, e.number);
    if (!WriteFileAtomically(ElementsDir() + "/seorbel.txt", file)) return lon;
    std::vector<double> values(elements.size());
    detail::FictitiousLongitudes(jdUT, ElementsDir(), static_cast<int>(elements.size()),
                                 values.data());
    for (size_t i = 0; i < elements.size(); ++i) lon[elements[i].number - 1] = values[i];
    return lon;
}

}  // namespace orbeta

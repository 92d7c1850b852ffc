#include "aspects/new_aspect.h"

#include <cmath>
#include <cstdlib>

namespace orbeta {

std::optional<AspectRecord> NewAspectFromText(std::string_view text) {
    std::string s(text);
    const char* begin = s.c_str();
    char* end = nullptr;
    double angle = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(angle)) return std::nullopt;
    double orb = 1.0;
    size_t paren = s.find('(');
    if (paren != std::string::npos) {
        const char* o = s.c_str() + paren + 1;
        char* oend = nullptr;
        double v = std::strtod(o, &oend);
        if (oend == o || !std::isfinite(v)) return std::nullopt;
        orb = v;
    }
    AspectRecord a;
    a.angle = static_cast<float>(angle);
    a.orbs.fill(static_cast<float>(orb));
    return a;
}

std::string NewOrbFileName(std::string_view typed) {
    std::string name(typed.substr(0, typed.find('.')));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) return "";
    return name + ".ao";
}

}  // namespace orbeta

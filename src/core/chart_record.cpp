#include "core/chart_record.h"

#include <algorithm>
#include <cstring>

#include "platform/codepage.h"

namespace orbeta {

ChartHeader HeaderOf(const ChartRecord& r) {
    ChartHeader h;
    h.jdLocal = r.jdLocal;
    h.jdUT = r.jdUT;
    h.jdCalc = r.jdCalc;
    h.gmtCorr = r.gmtCorr;
    h.longitude = r.longitude;
    h.latitude = r.latitude;
    std::memcpy(h.name, r.name, sizeof h.name);
    std::memcpy(h.comment, r.comment, sizeof h.comment);
    std::memcpy(h.place, r.place, sizeof h.place);
    h.houseSystem = r.houseSystem;
    h.calcMethod = r.calcMethod;
    h.harmonic = r.harmonic;
    return h;
}

void SetHeader(ChartRecord& r, const ChartHeader& h) {
    r.jdLocal = h.jdLocal;
    r.jdUT = h.jdUT;
    r.jdCalc = h.jdCalc;
    r.gmtCorr = h.gmtCorr;
    r.longitude = h.longitude;
    r.latitude = h.latitude;
    std::memcpy(r.name, h.name, sizeof r.name);
    std::memcpy(r.comment, h.comment, sizeof r.comment);
    std::memcpy(r.place, h.place, sizeof r.place);
    r.houseSystem = h.houseSystem;
    r.calcMethod = h.calcMethod;
    r.harmonic = h.harmonic;
}

void CopyText(char* field, std::size_t fieldSize, std::string_view text, std::size_t n) {
    if (fieldSize == 0) return;
    std::size_t len = std::min({text.size(), n, fieldSize - 1});
    // stop at an embedded terminator as a C copy would
    std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) len = std::min(len, zero);
    std::memcpy(field, text.data(), len);
    field[len] = 0;
}

double PointLongitude(const ChartRecord& r, int pointId) {
    if (pointId >= 1 && pointId <= kBodyCount) return r.lon[pointId];
    if (pointId > kBodyCount && pointId <= kPointCount) return r.cusp[CuspOfPoint(pointId)];
    return 0.0;
}

bool BodyAvailable(const ChartRecord& r, int bodyId) {
    if (bodyId < 1 || bodyId > kBodyCount) return false;
    if (bodyId == SEL || bodyId == PRZ) return true;
    return !(r.lon[bodyId] == 0.0 && r.lat[bodyId] == 0.0 && r.speed[bodyId] == 0.0);
}

const char* BodyAbbreviation(int bodyId) {
    static const char* const names[] = {"",    "SUN", "MON", "MER", "VEN", "MRS",
                                        "JUP", "SAT", "URN", "NEP", "PLT", "NDE",
                                        "SEL", "HIR", "PRZ", "LIL"};
    return bodyId >= 1 && bodyId <= kBodyCount ? names[bodyId] : "";
}

const char* BodyLabel(int bodyId) {
    static const char* const labels[] = {
        "",           "Солнце"_cp,  "Луна"_cp,    "Меркурий"_cp, "Венера"_cp,
        "Марс"_cp,    "Юпитер"_cp,  "Сатурн"_cp,  "Уран"_cp,     "Нептун"_cp,
        "Плутон"_cp,  "В.Узел"_cp,  "Селена"_cp,  "Хирон"_cp,    "Прозерпина"_cp,
        "Лилит"_cp};
    return bodyId >= 1 && bodyId <= kBodyCount ? labels[bodyId] : "";
}

}  // namespace orbeta

#include "chart/wheel_header.h"

#include <cstring>

#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/ui_names.h"

namespace orbeta {
namespace {

constexpr int kComposite = 13;
constexpr int kMidpointChart = 14;
constexpr int kHarmonic = 16;

// A text field of a record that may lack its terminator.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

std::string PlaceLine(double latitude, double longitude, const std::string& place) {
    return Format("%.2f %.2f %s", latitude, longitude, place.c_str());
}

void AddBase(std::vector<std::string>& out, const ChartHeader& h) {
    out.push_back(FieldText(h.name));
    out.push_back(Format("LT: %s", DateTimeText(h.jdLocal).c_str()));
    out.push_back(Format("GMT:%s", DateTimeText(h.jdUT).c_str()));
    out.push_back(PlaceLine(h.latitude, h.longitude, FieldText(h.place)));
}

bool OwnMoment(int m) {
    return m == 1 || (m >= 103 && m <= 106);
}

}  // namespace

std::vector<std::string> ChartHeaderLines(const ChartRecord& c, const ChartRecord& partner) {
    std::vector<std::string> out;
    int m = c.calcMethod;
    if (m == kComposite || m == kMidpointChart) {
        AddBase(out, c.eventHeader);
        AddBase(out, HeaderOf(partner));
        out.push_back(m == kComposite ? "Композит"_cp : "Средняя"_cp);
        out.push_back(PlaceLine(c.latitude, c.longitude, FieldText(c.place)));
        if (m == kMidpointChart) out.push_back(Format("GMT:%s", DateTimeText(c.jdUT).c_str()));
        return out;
    }
    out.push_back(FieldText(c.name));
    double local = c.baseJdLocal, ut = c.baseJdUT;
    if (OwnMoment(m)) {
        local = c.jdLocal;
        ut = c.jdUT;
    } else if (m == kHarmonic || (m >= 100 && m <= 102)) {
        local = c.eventHeader.jdLocal;
        ut = c.eventHeader.jdUT;
    }
    out.push_back(Format("LT: %s", DateTimeText(local).c_str()));
    out.push_back(Format("GMT:%s", DateTimeText(ut).c_str()));
    out.push_back(PlaceLine(c.latitude, c.longitude, FieldText(c.place)));
    if (m == kHarmonic) {
        out.push_back(Format("Гармоника %d"_cp, c.harmonic));
        return out;
    }
    out.push_back(HouseSystemName(c.houseSystem));
    if (m >= 100 && m <= 107) out.push_back(ReturnKindName(m - 100));
    if (std::string name = MethodName(m); !name.empty()) out.push_back(name);
    if (m != 1 && m != 15 && !(m >= 103 && m <= 106)) {
        if (m < 100) out.push_back(DateTimeText(c.jdLocal));
        out.push_back(Format("(%s)", DateTimeText(c.jdCalc).c_str()));
    }
    return out;
}

}  // namespace orbeta

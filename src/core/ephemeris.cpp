// The only file that includes the library's header: its macros stay here.
#include "core/ephemeris.h"

#include <swephexp.h>

#include <atomic>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/ephemeris_files.h"
#include "core/ephemeris_internal.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/services.h"

namespace orbeta {
namespace {

// The library's own state (its open files) is process-wide; so is the directory.
struct EphemerisState {
    std::string prefix;
    bool open = false;
};

EphemerisState& State() {
    static EphemerisState state;
    return state;
}

// Position calls to the library since the start, for measurements.
std::atomic<long> libraryCalls{0};

// The bodies of a chart or of a search's sample share their moment: ΔT once for
// them. Per thread, as the library keeps its state; forgotten when the library's
// files change.
struct DeltaTCache {
    double moment = -1;
    double value = 0;
};
thread_local DeltaTCache lastDeltaT;

std::string LibraryPath(const std::string& prefix) {
    if (prefix.empty()) return ".";
    std::string p = prefix;
    if (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

// The quoted *.se1 name in a library error text, if any.
std::string FileNamedIn(std::string_view serr) {
    size_t pos = 0;
    while ((pos = serr.find('\'', pos)) != std::string_view::npos) {
        size_t end = serr.find('\'', pos + 1);
        if (end == std::string_view::npos) break;
        std::string_view name = serr.substr(pos + 1, end - pos - 1);
        if (name.size() > 4 && name.substr(name.size() - 4) == ".se1") return std::string(name);
        pos = end + 1;
    }
    return {};
}

// A damaged data file ends the command's work (the command ends the program); other
// failures (a date outside the data) are journalled and leave the body empty.
void LibraryFailure(Diagnostics& d, std::string_view err, int ipl, double te) {
    if (err.find("damaged") != std::string_view::npos ||
        err.find("invalid format") != std::string_view::npos) {
        d.Add(DiagnosticKind::DamagedFile, "Файл эфемерид испорчен"_cp);
        return;
    }
    if (size_t at = err.find(" coefficients instead of "); at != std::string_view::npos) {
        size_t colon = err.rfind(':', at);
        int have = std::atoi(std::string(err.substr(colon + 1, at - colon - 1)).c_str());
        int declared = std::atoi(std::string(err.substr(at + 25)).c_str());
        d.Add(DiagnosticKind::DamagedFile,
              Format("Ошибка эфемерид: nco=%d > %d."_cp, have, declared));
        return;
    }
    Journal(Format("Err new_segm: ipli=%d tjd=%f tfstart=%f", ipl, te, 0.0));
}

// The moment in terrestrial time, with ΔT kept for the bodies of the same moment.
double TerrestrialTime(double jdUT) {
    if (jdUT != lastDeltaT.moment) {
        char serr[AS_MAXCH] = {};
        lastDeltaT.value = swe_deltat_ex(jdUT, SEFLG_SWIEPH, serr);
        lastDeltaT.moment = jdUT;
    }
    return jdUT + lastDeltaT.value;
}

// One library call; false leaves the outputs untouched.
bool LibraryPosition(Diagnostics& d, double jdUT, int ipl, int32 flags, double xx[6]) {
    auto& st = State();
    if (jdUT < 0) {
        // Dates before JD 0 never switch files.
        Journal(Format("Err Smena: ipl=%d tjd=%f", ipl, jdUT));
        return false;
    }
    libraryCalls.fetch_add(1, std::memory_order_relaxed);
    char serr[AS_MAXCH] = {};
    double te = TerrestrialTime(jdUT);
    for (int i = 0; i < 6; ++i) xx[i] = 0;
    int32 ret = swe_calc(te, ipl, flags, xx, serr);
    std::string_view err(serr);
    if (ret < 0) {
        if (err.find("not found") != std::string_view::npos) {
            std::string name = FileNamedIn(err);
            if (name.empty()) name = EphemerisFileName(ipl, jdUT, "");
            d.Add(DiagnosticKind::MissingFile, st.prefix + name);
        } else {
            LibraryFailure(d, err, ipl, te);
        }
        return false;
    }
    if (!(ret & SEFLG_SWIEPH) || err.find("Moshier") != std::string_view::npos) {
        // The library fell back to its own low-precision theory: a file is missing.
        // (For the Moon the flags still claim the file ephemeris; only the text tells.)
        std::string name = FileNamedIn(err);
        if (name.empty()) name = EphemerisFileName(ipl, jdUT, "");
        d.Add(DiagnosticKind::MissingFile, st.prefix + name);
        return false;
    }
    return true;
}

double DecimalYear(double jdUT) {
    DateParts p = DatePartsOf(jdUT);
    return p.year + ((DayOfYear(p) - 1) + (p.hour + p.minute / 60.0) / 24.0) / 365.25;
}

}  // namespace

void OpenEphemeris() {
    auto& st = State();
    std::string prefix;
    if (!FindEphemerisDirectory(prefix)) Svc().Fatal("Директория Эфемерид не найдена"_cp);
    for (const char* file : {"sepl_18.se1", "semo_18.se1", "seas_18.se1"}) {
        std::string path = prefix + file;
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) Svc().Fatal(Format("Файл %s (%s) не открывается"_cp, path.c_str(), "rb"));
        std::fclose(f);
    }
    // The environment variable would override the directory found here.
    ::unsetenv("SE_EPHE_PATH");
    swe_set_ephe_path(LibraryPath(prefix).c_str());
    lastDeltaT = {};
    st.prefix = prefix;
    st.open = true;
    ForgetAskedFiles();
    // Each start-up file must yield a position: a damaged header shows here.
    for (int ipl : {SE_SUN, SE_MOON, SE_CHIRON}) {
        double xx[6];
        char serr[AS_MAXCH] = {};
        int32 ret = swe_calc_ut(2451545.0, ipl, SEFLG_SWIEPH | SEFLG_SPEED, xx, serr);
        if (ret < 0 || !(ret & SEFLG_SWIEPH) || std::strstr(serr, "Moshier"))
            Svc().Fatal("Файл эфемерид испорчен"_cp);
    }
}

const std::string& EphemerisDirectory() {
    return State().prefix;
}

void CloseEphemeris() {
    swe_close();
    lastDeltaT = {};
    State().open = false;
}

int LibraryBody(const EphemerisOptions& o, int body) {
    switch (body) {
        case NDE:
            return o.trueNode ? SE_TRUE_NODE : SE_MEAN_NODE;
        case SEL:
        case PRZ:
            return -1;
        case HIR:
            return SE_CHIRON;
        case LIL:
            return o.trueLilith ? SE_OSCU_APOG : SE_MEAN_APOG;
        default:
            break;
    }
    if (body >= SUN && body <= PLT) return body - 1;
    if (body >= 16 && body <= 20) return body;  // Pholus, Ceres, Pallas, Juno, Vesta
    if (body > kAsteroidOffset) return body;
    assert(!"no such body");
    return -1;
}

namespace {

// A body's position. Without the speed the library skips its second nutation and the
// derivatives; a library body's speed is then 0. Without the nutation the longitude is
// on the mean equinox of date.
void CalcPosition(Computation& c, double jdUT, int body, bool withSpeed, double& lon, double& lat,
                  double& speed, bool withNutation = true) {
    lon = lat = speed = 0;
    const auto& o = c.Options();
    if (body == SEL || body == PRZ) {
        double t = DecimalYear(jdUT);
        int year = DatePartsOf(jdUT).year;
        double rate, x;
        if (body == SEL) {
            rate = 51.430952381;
            x = (t - 1900.0) * rate + 139.16666667;
        } else if (year > 1983) {
            rate = 0.4918032787;
            x = (t - 1983.109514) * rate + 210.0;
        } else if (year > 1918) {
            rate = 0.4617524046;
            x = (t - 1918.1396304) * rate + 180.0;
        } else {
            rate = 0.4918032787;
            x = (t - 1918.1396304) * rate + 180.0;
        }
        lon = Normalize(x);
        speed = rate / 365.25;
        return;
    }
    int ipl = LibraryBody(o, body);
    if (ipl < 0) return;
    int32 flags = SEFLG_SWIEPH | (withSpeed ? SEFLG_SPEED : 0) | (withNutation ? 0 : SEFLG_NONUT);
    bool helioBody = (ipl >= 2 && ipl <= 9) || (ipl >= 15 && ipl <= 20) || ipl > kAsteroidOffset;
    if (o.heliocentric && helioBody) flags |= SEFLG_HELCTR;
    if (ipl > kAsteroidOffset) ipl = SE_AST_OFFSET + (ipl - kAsteroidOffset);
    double xx[6];
    if (!LibraryPosition(c.diagnostics, jdUT, ipl, flags, xx)) return;
    lon = xx[0];
    lat = xx[1];
    speed = xx[3];
    if (o.heliocentric && body == SUN) lon = Normalize(lon + 180.0);
}

}  // namespace

void CalcBody(Computation& c, double jdUT, int body, double& lon, double& lat, double& speed) {
    CalcPosition(c, jdUT, body, true, lon, lat, speed);
}

double CalcLongitude(Computation& c, double jdUT, int body) {
    double lon, lat, speed;
    CalcPosition(c, jdUT, body, false, lon, lat, speed);
    return lon;
}

double NutationInLongitude(double jdUT) {
    libraryCalls.fetch_add(1, std::memory_order_relaxed);
    double xx[6] = {};
    char serr[AS_MAXCH] = {};
    swe_calc(TerrestrialTime(jdUT), SE_ECL_NUT, 0, xx, serr);
    return xx[2];
}

bool ScatteredPositions::Reducible(int body) const {
    const auto& o = c_.Options();
    // The formula bodies have no equinox to shift; the library reduces the osculating
    // apogee from its own nutated orbit, and the sum is off by up to 0.0002″ there.
    return body != SEL && body != PRZ && !(body == LIL && o.trueLilith);
}

void ScatteredPositions::Prime(double jdUT) {
    if (std::isnan(origin_)) origin_ = jdUT;
    double k = std::round((jdUT - origin_) / kGridStep);
    if (std::fabs(origin_ + k * kGridStep - jdUT) > 1e-9) return;
    long node = static_cast<long>(k);
    if (!grid_.count(node)) grid_.emplace(node, NutationInLongitude(jdUT));
}

double ScatteredPositions::GridNutation(long node) {
    auto it = grid_.find(node);
    if (it != grid_.end()) return it->second;
    double v = NutationInLongitude(origin_ + node * kGridStep);
    grid_.emplace(node, v);
    return v;
}

// The polynomial through the eight grid values around t, four of them before t
// (a search has taken those up to three days ahead), in Lagrange form, and its rate
// by a central difference (the rate is a correction of the body's speed only).
double ScatteredPositions::InterpolatedNutation(double jdUT, double& rate) {
    if (std::isnan(origin_)) origin_ = 0.5;  // midnights UT
    double u = (jdUT - origin_) / kGridStep;
    long k = static_cast<long>(std::floor(u));
    if (k != lastNode_) {
        for (int j = 0; j < kGridNodes; ++j) lastValues_[j] = GridNutation(k + j - kGridNodes / 2);
        lastNode_ = k;
    }
    const double* y = lastValues_;
    auto at = [y](double x) {
        double sum = 0;
        for (int j = 0; j < kGridNodes; ++j) {
            double w = 1;
            for (int m = 0; m < kGridNodes; ++m)
                if (m != j) w *= (x - m) / (j - m);
            sum += w * y[j];
        }
        return sum;
    };
    double x = u - k + kGridNodes / 2, e = 1e-3;
    rate = (at(x + e) - at(x - e)) / (2 * e * kGridStep);
    return at(x);
}

BodyPosition ScatteredPositions::At(double jdUT, int body, bool withSpeed) {
    BodyPosition p;
    if (!Reducible(body)) {
        CalcPosition(c_, jdUT, body, withSpeed, p.lon, p.lat, p.speed);
        return p;
    }
    CalcPosition(c_, jdUT, body, withSpeed, p.lon, p.lat, p.speed, false);
    if (p.lon == 0 && p.lat == 0 && p.speed == 0) return p;  // the library gave nothing
    double rate = 0, nut = InterpolatedNutation(jdUT, rate);
    // A slow body's crossing moment is the nutation's error over its rate: below the
    // threshold the exact nutation is worth its cost (the interpolation still gives
    // the nutation's rate).
    if (withSpeed && std::fabs(p.speed) < kSlowBody) nut = NutationInLongitude(jdUT);
    p.lon = Normalize(p.lon + nut);
    if (withSpeed) p.speed += rate;
    return p;
}

long EphemerisCalls() {
    return libraryCalls.load(std::memory_order_relaxed);
}

BodyPosition CalcBody(Computation& c, double jdUT, int body) {
    BodyPosition p;
    CalcBody(c, jdUT, body, p.lon, p.lat, p.speed);
    return p;
}

double BodyLongitude(Computation& c, double jdUT, int body) {
    return CalcBody(c, jdUT, body).lon;
}

void SunMoonLongitudes(Computation& c, double jdUT, double& sun, double& moon) {
    sun = BodyLongitude(c, jdUT, SUN);
    moon = BodyLongitude(c, jdUT, MON);
}

void CalcBodies(Computation& c, ChartRecord& chart) {
    for (int i = SUN; i <= LIL; ++i)
        CalcBody(c, chart.jdCalc, i, chart.lon[i], chart.lat[i], chart.speed[i]);
}

double DeltaT(double jdUT) {
    char serr[AS_MAXCH] = {};
    return swe_deltat_ex(jdUT, SEFLG_SWIEPH, serr);
}

int MotionKind(const EphemerisOptions& o, int body) {
    if (o.heliocentric) return body == NDE ? (o.trueNode ? 2 : 1) : 0;
    if (body == SUN || body == MON || body == SEL || body == PRZ || body > kBodyCount) return 0;
    if (body == NDE) return o.trueNode ? 2 : 1;
    if (body == LIL) return o.trueLilith ? 2 : 0;
    return 2;
}

namespace detail {

bool FictitiousLongitudes(Diagnostics& d, double jdUT, const std::string& elementsDir, int count,
                          double out[], double failed) {
    auto& st = State();
    std::string path = elementsDir + ":" + LibraryPath(st.prefix);
    swe_set_ephe_path(path.c_str());
    lastDeltaT = {};
    bool any = false;
    for (int i = 0; i < count; ++i) {
        double xx[6];
        out[i] = failed;
        if (LibraryPosition(d, jdUT, SE_FICT_OFFSET + i, SEFLG_SWIEPH | SEFLG_SPEED, xx)) {
            out[i] = Normalize(xx[0]);
            any = true;
        }
    }
    swe_set_ephe_path(LibraryPath(st.prefix).c_str());
    return any;
}

}  // namespace detail
}  // namespace orbeta

#include "data/settings.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "core/calendar.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/journal.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

constexpr double kDefaultJd = 2451545.0;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view SkipBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

// The leading number of a value as C's atol/atof read it; anything unreadable is 0.
long LeadingLong(std::string_view s) {
    s = SkipBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec == std::errc::result_out_of_range) return 0;
    return v;
}

double LeadingDouble(std::string_view s) {
    s = SkipBlanks(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return std::isfinite(v) ? v : 0.0;
}

std::vector<std::string_view> BlankSeparated(std::string_view s) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        size_t start = i;
        while (i < s.size() && !IsBlank(s[i])) ++i;
        if (i > start) words.push_back(s.substr(start, i - start));
    }
    return words;
}

std::string Cut(std::string_view s, size_t n) {
    return std::string(s.substr(0, n));
}

template <class T, std::size_t N>
void ReplaceLeading(std::array<T, N>& list, std::string_view value, T (*parse)(std::string_view)) {
    auto words = BlankSeparated(value);
    for (size_t i = 0; i < words.size() && i < N; ++i) list[i] = parse(words[i]);
}

using Reader = std::function<void(std::string_view, Settings&, ChartRecord&)>;

Reader Text(std::string Settings::*field, size_t n) {
    return [field, n](std::string_view v, Settings& s, ChartRecord&) { s.*field = Cut(v, n); };
}

// The chart's text fields keep what fits the record (29 characters): a name entered in
// the birth-data dialog must survive being saved and read back.
template <std::size_t N>
Reader ChartText(char (ChartRecord::*field)[N]) {
    return [field](std::string_view v, Settings&, ChartRecord& c) { CopyText(c.*field, v); };
}

Reader Real(double ChartRecord::*field) {
    return [field](std::string_view v, Settings&, ChartRecord& c) { c.*field = LeadingDouble(v); };
}

const std::map<std::string, Reader, std::less<>>& Readers() {
    static const std::map<std::string, Reader, std::less<>> readers = {
        {"JD",
         [](std::string_view v, Settings&, ChartRecord& c) {
             double jd = JulianDayOfDateTimeText(v);
             c.jdLocal = jd < 0 ? kDefaultJd : jd;
         }},
        {"GMTPOP", Real(&ChartRecord::gmtCorr)},
        {"LAT", Real(&ChartRecord::latitude)},
        {"LONG", Real(&ChartRecord::longitude)},
        {"NAME", ChartText(&ChartRecord::name)},
        {"COMMENT", ChartText(&ChartRecord::comment)},
        {"MESTO", ChartText(&ChartRecord::place)},
        {"MaskP", [](std::string_view v, Settings& s, ChartRecord&) { s.maskP = LeadingLong(v); }},
        {"MaskA", [](std::string_view v, Settings& s, ChartRecord&) { s.maskA = LeadingLong(v); }},
        {"Ov",
         [](std::string_view v, Settings& s, ChartRecord&) {
             s.ov.fill(0);
             auto words = BlankSeparated(v);
             for (size_t i = 0; i < words.size() && i < s.ov.size(); ++i)
                 s.ov[i] = static_cast<uint8_t>(LeadingLong(words[i]));
         }},
        {"HouseSet", [](std::string_view v, Settings& s,
                        ChartRecord&) { s.houseSet = static_cast<int16_t>(LeadingLong(v)); }},
        {"EgalHous",
         [](std::string_view v, Settings& s, ChartRecord&) { s.egalHous = LeadingLong(v); }},
        {"BeginCoord",
         [](std::string_view v, Settings& s, ChartRecord&) { s.beginCoord = LeadingLong(v); }},
        {"ObhodZod",
         [](std::string_view v, Settings& s, ChartRecord&) { s.obhodZod = LeadingLong(v); }},
        {"MaxW", [](std::string_view v, Settings& s,
                    ChartRecord&) { s.maxW = static_cast<uint8_t>(LeadingLong(v)); }},
        {"BASA", Text(&Settings::basa, 78)},
        {"ORBFILE",
         [](std::string_view v, Settings& s, ChartRecord&) {
             auto names = SplitTokens(v);
             if (names.empty()) names.emplace_back();
             for (int i = 0; i < kOrbFileCount; ++i)
                 s.orbFiles[i] = Cut(i < static_cast<int>(names.size()) ? names[i] : names[0], 78);
         }},
        {"BegG", Text(&Settings::begG, 28)},
        {"EndG", Text(&Settings::endG, 28)},
        {"BegRect", Text(&Settings::begRect, 28)},
        {"EndRect", Text(&Settings::endRect, 28)},
        {"StepRect", Text(&Settings::stepRect, 8)},
        {"PorRect", Text(&Settings::porRect, 8)},
        {"SbName", Text(&Settings::sbName, 28)},
        {"NamRed", Text(&Settings::namRed, 998)},
        {"AspAll", Text(&Settings::aspAll, 78)},
        {"InterV", Text(&Settings::interV, 38)},
        {"GEF", Text(&Settings::gef, 78)},
        {"GNZ", Text(&Settings::gnz, 78)},
        {"StepA", Text(&Settings::stepA, 11)},
        {"LP", [](std::string_view v, Settings& s,
                  ChartRecord&) { ReplaceLeading(s.lp, v, LeadingLong); }},
        {"ColrPE", [](std::string_view v, Settings& s,
                      ChartRecord&) { ReplaceLeading(s.colrPE, v, LeadingLong); }},
        {"ColGor", [](std::string_view v, Settings& s,
                      ChartRecord&) { ReplaceLeading(s.colGor, v, LeadingLong); }},
        {"DelT", [](std::string_view v, Settings& s,
                    ChartRecord&) { ReplaceLeading(s.delT, v, LeadingLong); }},
        // The rows are written under these keys; reading them back keeps saved orbs.
        {"OrbEclS", [](std::string_view v, Settings& s,
                       ChartRecord&) { ReplaceLeading(s.orbEclS, v, LeadingDouble); }},
        {"OrbEclM", [](std::string_view v, Settings& s,
                       ChartRecord&) { ReplaceLeading(s.orbEclM, v, LeadingDouble); }},
        {"VEcl",
         [](std::string_view v, Settings& s, ChartRecord&) {
             auto words = BlankSeparated(v);
             for (size_t i = 0; i < words.size() && i < s.vEcl.size(); ++i)
                 s.vEcl[i] = Cut(words[i], 8);
         }},
    };
    return readers;
}

void ReadLine(std::string_view raw, Settings& s, ChartRecord& c) {
    // A NUL or a lone CR inside a line is read as a blank: a value holding one could
    // not be written back as it was read.
    std::string copy(raw);
    for (auto& ch : copy)
        if (ch == '\0' || ch == '\r') ch = ' ';
    std::string_view line = copy;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    std::string_view key = line.substr(0, eq);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    std::string_view value = SkipBlanks(line.substr(eq + 1));
    if (key.starts_with("EclOrb")) {
        ReplaceLeading(key.size() > 6 && key[6] == 'S' ? s.orbEclS : s.orbEclM, value,
                       LeadingDouble);
        return;
    }
    auto& readers = Readers();
    if (auto it = readers.find(key); it != readers.end()) it->second(value, s, c);
}

// A value is written on one line; a line break inside it would split the entry.
std::string OneLine(std::string_view s) {
    std::string out(s);
    for (auto& ch : out)
        if (ch == '\n' || ch == '\r') ch = ' ';
    return out;
}

}  // namespace

ChartRecord DefaultProfileChart() {
    ChartRecord c;
    c.jdLocal = c.jdUT = c.jdCalc = kDefaultJd;
    c.houseSystem = 3;
    c.calcMethod = 1;
    return c;
}

void ReadProfileText(std::string_view text, Settings& settings, ChartRecord& current) {
    for (const auto& line : SplitLines(text))
        if (IsMeaningfulLine(line)) ReadLine(line, settings, current);
    settings.monoFont = settings.Option(kOptCourierFont) ? "Courier New" : "Tabula Mono";
    current.jdUT = current.jdCalc = current.jdLocal + current.gmtCorr;
    current.calcMethod = 1;
    current.houseSystem = static_cast<int16_t>(settings.houseSet);
}

std::string ProfileText(const Settings& s, const ChartRecord& c) {
    std::string out;
    out += Format("JD=%s\n", DateTimeText(c.jdLocal).c_str());
    out += Format("GMTPOP=%.8f\n", c.gmtCorr);
    out += Format("LAT=%.8f\n", c.latitude);
    out += Format("LONG=%.8f\n", c.longitude);
    out += Format("NAME=%s\n", OneLine(c.name).c_str());
    out += Format("COMMENT=%s\n", OneLine(c.comment).c_str());
    out += Format("MESTO=%s\n", OneLine(c.place).c_str());
    out += Format("MaskP=%ld\n", s.maskP);
    out += Format("MaskA=%ld\n", s.maskA);
    out += Format("%s=", "Ov");
    for (uint8_t v : s.ov) out += Format("%d ", static_cast<int>(v));
    out += '\n';
    out += Format("HouseSet=%d\n", s.houseSet);
    out += Format("EgalHous=%d\n", s.egalHous);
    out += Format("BeginCoord=%d\n", s.beginCoord);
    out += Format("ObhodZod=%d\n", s.obhodZod);
    out += Format("MaxW=%d\n", static_cast<int>(s.maxW));
    out += Format("BASA=%s\n", OneLine(s.basa).c_str());
    out += "ORBFILE=";
    for (const auto& name : s.orbFiles) {
        std::string plain = OneLine(name);
        std::erase(plain, '"');  // a quote inside would end the name early on reading
        out += Format("\"%s\" ", plain.c_str());
    }
    out += '\n';
    const std::pair<const char*, const std::string*> texts[] = {
        {"BegG", &s.begG},       {"EndG", &s.endG},         {"BegRect", &s.begRect},
        {"EndRect", &s.endRect}, {"StepRect", &s.stepRect}, {"PorRect", &s.porRect},
        {"SbName", &s.sbName},   {"NamRed", &s.namRed},     {"AspAll", &s.aspAll},
        {"InterV", &s.interV},   {"GEF", &s.gef},           {"GNZ", &s.gnz},
        {"StepA", &s.stepA}};
    for (const auto& [key, value] : texts) out += Format("%s=%s\n", key, OneLine(*value).c_str());
    auto list = [&out](const char* key, const auto& values) {
        out += Format("%s=", key);
        for (long v : values) out += Format(" %ld", v);
        out += '\n';
    };
    list("LP", s.lp);
    list("ColrPE", s.colrPE);
    list("ColGor", s.colGor);
    list("DelT", s.delT);
    auto orbs = [&out](const char* key, const auto& values) {
        out += Format("%s=", key);
        for (double v : values) out += Format(" %.1f", v);
        out += '\n';
    };
    orbs("OrbEclS", s.orbEclS);
    orbs("OrbEclM", s.orbEclM);
    out += Format("VEcl=%s %s %s %s\n", OneLine(s.vEcl[0]).c_str(), OneLine(s.vEcl[1]).c_str(),
                  OneLine(s.vEcl[2]).c_str(), OneLine(s.vEcl[3]).c_str());
    return out;
}

bool LoadProfile(const std::string& path, Settings& settings, ChartRecord& current) {
    settings = Settings{};
    current = DefaultProfileChart();
    auto bytes = ReadFileBytes(path);
    if (!bytes) Svc().Warning(Format("Не открывается файл %s"_cp, path.c_str()));
    ReadProfileText(bytes ? *bytes : std::string(), settings, current);
    TheJournal().SetDebug(settings.Option(kOptDebugJournal));
    return bytes.has_value();
}

bool SaveProfile(const std::string& path, const Settings& settings, const ChartRecord& current) {
    return WriteFileAtomically(path, ProfileText(settings, current));
}

}  // namespace orbeta

// orbeta-towns: builds the towns directory of the workspace, the town cards of the
// "abasa" store, from the committed sources data/towns/towns.txt and popa.ctl.
//   orbeta-towns TOWNS_TXT POPA_CTL OUTPUT_DIR
// The store is built under a temporary stem and renamed into place at the end, so
// that a failed run leaves no half-built directory.
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/open_base.h"
#include "data/town_directory.h"
#include "data/town_refresh.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"

namespace {

using namespace orbeta;

const std::set<std::string> kRussianWorld = {"RU", "UA", "BY", "KZ", "KG", "UZ", "TJ", "TM",
                                             "AZ", "AM", "GE", "MD", "LT", "LV", "EE"};

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

// The towns version: changes whenever either source does, so that workspaces whose
// store holds older towns get the new ones.
std::string TownsVersion(const std::string& towns, const std::string& popa) {
    unsigned long long h = 14695981039346656037ull;
    for (unsigned char c : towns + popa) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return Format("%016llx", h);
}

int Fail(const std::string& text) {
    std::string told;
    for (const auto& m : TakeBaseMessages()) told += " (" + AnsiToUtf8(m) + ")";
    std::fprintf(stderr, "orbeta-towns: %s%s\n", text.c_str(), told.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 4) return Fail("usage: orbeta-towns TOWNS_TXT POPA_CTL OUTPUT_DIR");
    auto text = ReadFileBytes(argv[1]);
    auto popaText = ReadFileBytes(argv[2]);
    auto popa = ReadPopaCtl(argv[2]);
    if (!text || !popaText || !popa) return Fail("cannot read the sources");
    const auto* zoneList = popa->Find("Zones");
    if (!zoneList) return Fail("popa.ctl has no section Zones");
    std::map<std::string, std::string> codeOfZone;
    for (const auto& line : *zoneList)
        if (line.size() == 2) codeOfZone[line[1]] = line[0];

    std::vector<TownSource> towns;
    for (const auto& line : SplitLines(*text)) {
        if (!IsMeaningfulLine(line)) continue;
        auto c = Cells(line);
        if (c.size() != 7) return Fail("bad line: " + line);
        auto zone = codeOfZone.find(c[5]);
        if (zone == codeOfZone.end()) return Fail("zone not in popa.ctl: " + c[5]);
        TownSource t;
        t.name = Utf8ToAnsi(c[0]);
        t.latin = Utf8ToAnsi(c[1]);
        t.russianWorld = kRussianWorld.count(c[2]) > 0;
        t.card.zoneCode = zone->second;
        t.card.latitude = c[3];
        t.card.longitude = c[4];
        t.card.name = t.name;
        if (popa->Find(c[5])) t.card.dstSection = c[5];
        t.card.where = Utf8ToAnsi(c[6]);
        towns.push_back(std::move(t));
    }

    fs::path out(argv[3]);
    fs::path temp = out / "abasa-building";
    const char* exts[] = {".btr", ".bod", ".bcr"};
    for (auto* e : exts) fs::remove(temp.string() + e);
    if (CreateBase(temp.string()) != 0 || OpenBase(temp.string()) != 0)
        return Fail("cannot create the store");
    // A store made under a temporary name: a build cut short is simply made again.
    OpenedBase()->SetBulk(true);
    size_t written = 0;
    for (const auto& k : AssignTownKeys(towns)) {
        TownCard card = towns[k.town].card;
        // Under its Latin name a town shows that name beside the Russian one.
        if (k.latin)
            card.where = towns[k.town].latin + (card.where.empty() ? "" : ", " + card.where);
        if (WriteRecord(k.key, TownRecordOf(card)) != 0) {
            CloseBase();
            return Fail("cannot write the card " + OemToUtf8(k.key));
        }
        ++written;
    }
    BaseRecord version;
    version.SetField(2, TownsVersion(*text, *popaText));
    if (WriteRecord(kTownsVersionKey, version) != 0) {
        CloseBase();
        return Fail("cannot write the towns version");
    }
    CloseBase();
    for (auto* e : exts) fs::rename(temp.string() + e, (out / "abasa").string() + e);
    std::printf("orbeta-towns: %zu towns under %zu keys\n", towns.size(), written);
    return 0;
}

// db: the keyed record store and its chart cards from the command line. Texts on the
// command line, in JSON and in CSV are UTF-8; the store keeps the OEM code page.
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "chart_args.h"
#include "commands.h"
#include "data/card_csv.h"
#include "data/chart_card.h"
#include "data/record_store.h"
#include "data/store_check.h"
#include "data/store_repair.h"
#include "platform/codepage.h"
#include "platform/format.h"
#include "platform/text_file.h"
#include "profile_stem.h"

namespace orbeta::cli {
namespace {

using nlohmann::json;

struct DbArgs {
    std::string base;
    std::string prefix, key, out, in, name, place, comment;
    std::vector<std::string> fields;
    bool json = false;
    bool reclaim = false;
    ChartArgs chart;
};

std::string Print(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

// A UTF-8 text in the store's code page; refused when it would not come back the same.
std::string StoreForm(const std::string& utf8, const char* what) {
    std::string oem = Utf8ToOem(utf8);
    if (OemToUtf8(oem) != utf8)
        throw CommandError(std::string(what) + " \"" + utf8 +
                           "\" cannot be stored in the DOS Cyrillic code page");
    return oem;
}

std::string CardTextArg(const std::string& utf8, const char* what) {
    std::string oem = StoreForm(utf8, what);
    if (oem.size() > static_cast<size_t>(kCardTextLength))
        throw CommandError(std::string(what) + " is longer than 29 characters");
    return OemToAnsi(oem);
}

std::string StemOf(const DbArgs& a) {
    return a.base.empty() ? ProfileBaseStem() : a.base;
}

std::unique_ptr<RecordStore> OpenStore(const DbArgs& a) {
    StoreOpenError error;
    auto store = RecordStore::Open(StemOf(a), error);
    if (!store) throw CommandError(AnsiToUtf8(error.text));
    return store;
}

// One fault, one message: what the store said about it (in Russian), or else the
// command's own text.
[[noreturn]] void Fail(RecordStore& store, const std::string& otherwise) {
    std::string text;
    for (const auto& m : store.TakeMessages()) text += (text.empty() ? "" : "\n") + AnsiToUtf8(m);
    throw CommandError(text.empty() ? otherwise : text);
}

// What the store had to say about work that still succeeded (a key cut to 20 bytes).
void TellNotes(RecordStore& store) {
    for (const auto& m : store.TakeMessages())
        std::fprintf(stderr, "orbeta-cli: %s\n", AnsiToUtf8(m).c_str());
}

void CloseStore(RecordStore& store) {
    if (!store.Close()) Fail(store, "the database could not be closed cleanly");
    TellNotes(store);
}

json RecordJson(const std::string& key, const BaseRecord& r) {
    json fields = json::object();
    for (int n = 2; n <= kLastField; ++n)
        if (r.Has(n)) fields[std::to_string(n)] = OemToUtf8(r.Field(n));
    return json{{"key", OemToUtf8(key)}, {"fields", fields}};
}

std::string RecordText(const std::string& key, const BaseRecord& r) {
    if (!key.empty() && key[0] == '.') return OemToUtf8(key) + "  " + AnsiToUtf8(CardListLine(r));
    std::string line = OemToUtf8(key);
    for (int n = 2; n <= kLastField; ++n)
        if (r.Has(n)) line += "  " + std::to_string(n) + "=" + OemToUtf8(r.Field(n));
    return line;
}

void RunCreate(const DbArgs& a) {
    std::string stem = StemOf(a);
    for (const char* ext : {".btr", ".bod", ".bcr"})
        if (FileExists(stem + ext)) throw CommandError("database " + stem + " exists already");
    if (CreateBase(stem, kDefaultPageSize) != 0)
        throw CommandError("database " + stem + " cannot be created");
}

void RunList(const DbArgs& a) {
    auto store = OpenStore(a);
    auto keys = store->ListKeys(StoreForm(a.prefix, "the prefix"));
    if (!keys) Fail(*store, "the index cannot be read");
    json list = json::array();
    std::string text;
    for (const auto& key : *keys) {
        BaseRecord r;
        if (!store->ReadRecord(key, r)) Fail(*store, "a record cannot be read");
        if (a.json)
            list.push_back(RecordJson(key, r));
        else
            text += RecordText(key, r) + "\n";
    }
    CloseStore(*store);
    std::fputs(a.json ? (Print(list) + "\n").c_str() : text.c_str(), stdout);
}

void RunGet(const DbArgs& a) {
    auto store = OpenStore(a);
    std::string key = StoreForm(a.key, "the key");
    BaseRecord r;
    if (!store->ReadRecord(key, r)) Fail(*store, "no record under the key " + a.key);
    CloseStore(*store);
    std::string k(KeyText(key));
    std::printf("%s\n", a.json ? Print(RecordJson(k, r)).c_str() : RecordText(k, r).c_str());
}

void CheckWrite(RecordStore& store, int result) {
    if (result == kWriteTooLarge) throw CommandError("the fields do not fit a page");
    if (result == kWriteBadKey) throw CommandError("a key has 1 to 20 characters");
    if (result != kWriteDone) Fail(store, "the record could not be written");
}

void RunPut(const DbArgs& a) {
    BaseRecord r;
    std::map<int, bool> given;
    for (const auto& f : a.fields) {
        size_t eq = f.find('=');
        int n = 0;
        try {
            n = eq == std::string::npos ? 0 : std::stoi(f.substr(0, eq));
        } catch (const std::exception&) {
        }
        if (n < kFirstField || n > kLastField || f.substr(0, eq) != std::to_string(n))
            throw CommandError("--field wants N=TEXT with N from 1 to 255: " + f);
        if (given[n]) throw CommandError("field " + std::to_string(n) + " is given twice");
        given[n] = true;
        r.SetField(n, StoreForm(f.substr(eq + 1), "the text"));
    }
    std::string key = StoreForm(a.key, "the key");
    auto store = OpenStore(a);
    CheckWrite(*store, store->WriteRecord(key, r));
    CloseStore(*store);
}

void RunDelete(const DbArgs& a) {
    auto store = OpenStore(a);
    if (store->DeleteRecord(StoreForm(a.key, "the key")) != 1)
        Fail(*store, "no record under the key " + a.key);
    CloseStore(*store);
}

void RunAddChart(const DbArgs& a) {
    ChartRecord chart = RecordOf(a.chart.chart, a.chart.house);
    CopyText(chart.name, CardTextArg(a.name, "the name"));
    CopyText(chart.place, CardTextArg(a.place, "the place"));
    CopyText(chart.comment, CardTextArg(a.comment, "the comment"));
    auto store = OpenStore(a);
    std::string key = store->NewKey(kCardPrefix);
    if (key.empty()) Fail(*store, "no free card key is left");
    CheckWrite(*store, store->WriteRecord(key, CardOfChart(chart)));
    CloseStore(*store);
    std::printf("%s\n", a.json ? Print(json{{"key", key}}).c_str() : key.c_str());
}

void RunExport(const DbArgs& a) {
    auto store = OpenStore(a);
    auto csv = ExportCardsCsv(*store);
    if (!csv) Fail(*store, "the cards cannot be read");
    CloseStore(*store);
    if (!WriteFileAtomically(a.out, *csv)) throw CommandError("cannot write " + a.out);
}

void RunImport(const DbArgs& a) {
    auto bytes = ReadFileBytes(a.in);
    if (!bytes) throw CommandError("cannot read " + a.in);
    CsvCards parsed = ParseCardsCsv(*bytes);
    if (!parsed.error.empty()) throw CommandError(a.in + ": " + parsed.error);
    auto store = OpenStore(a);
    store->SetBulk(true);
    auto keys = ImportCards(*store, parsed.cards);
    store->SetBulk(false);
    CloseStore(*store);
    if (keys.size() != parsed.cards.size())
        Fail(*store, "stored " + std::to_string(keys.size()) + " of " +
                         std::to_string(parsed.cards.size()) + " cards");
    std::printf("imported %zu cards\n", keys.size());
}

void RunCheck(const DbArgs& a) {
    StoreReport r;
    if (a.reclaim) {
        auto store = OpenStore(a);
        r = store->CheckAndReclaim();
        CloseStore(*store);
    } else {
        r = CheckStore(StemOf(a));
    }
    json unreachable = r.unreachable;
    json problems = json::array();
    for (const auto& p : r.problems) problems.push_back(AnsiToUtf8(p));
    if (a.json)
        std::printf("%s\n", Print(json{{"sound", r.Sound()},
                                       {"problems", problems},
                                       {"keys", r.keys},
                                       {"depth", r.depth},
                                       {"nodes", r.nodes},
                                       {"treeNodes", r.treeNodes},
                                       {"spareNodes", r.spareNodes},
                                       {"unreachableNodes", unreachable},
                                       {"reclaimed", a.reclaim && r.Sound()},
                                       {"pages", r.pages},
                                       {"strayRecords", r.strayRecords},
                                       {"staleFreeCounts", r.staleFreeCounts}})
                                .c_str());
    else
        std::printf("%s: %ld keys, depth %d, %d of %d nodes in the tree, %d spare, %d pages\n",
                    r.Sound() ? "sound" : "damaged", r.keys, r.depth, r.treeNodes, r.nodes,
                    r.spareNodes, r.pages);
    for (const auto& p : problems)
        if (!a.json) std::printf("  %s\n", p.get<std::string>().c_str());
    if (!a.json && !r.unreachable.empty()) {
        std::string list;
        for (int n : r.unreachable) list += " " + std::to_string(n);
        std::printf(
            "  %zu nodes no entry leads to%s:%s\n", r.unreachable.size(),
            a.reclaim && r.Sound() ? ", now spare" : " (db check --reclaim makes them spare)",
            list.c_str());
    }
    if (!r.Sound())
        throw CommandError(
            AnsiToUtf8(Format("База данных %s повреждена. Индекс восстанавливает команда "
                              "orbeta-cli db repair"_cp,
                              StemOf(a).c_str())));
}

void RunRepair(const DbArgs& a) {
    RepairReport r = RepairIndex(StemOf(a));
    if (!r.done) throw CommandError(AnsiToUtf8(r.problem));
    if (a.json)
        std::printf("%s\n", Print(json{{"keys", r.keys},
                                       {"duplicates", r.duplicates},
                                       {"brokenPages", r.brokenPages},
                                       {"pages", r.pages},
                                       {"depth", r.depth},
                                       {"nodes", r.nodes}})
                                .c_str());
    else
        std::printf(
            "index rebuilt: %ld keys, depth %d, %d nodes from %d pages (%ld keys on "
            "several pages, %d pages not readable to the end)\n",
            r.keys, r.depth, r.nodes, r.pages, r.duplicates, r.brokenPages);
}

// Paths of files to read or write are the caller's, not the workspace's.
std::string CallerPath(const std::string& path) {
    return std::filesystem::absolute(path).string();
}

}  // namespace

void AddDbCommand(CLI::App& app, Action& action) {
    auto* db = app.add_subcommand("db", "the chart database (keyed record store)");
    db->require_subcommand(1);
    auto a = std::make_shared<DbArgs>();
    db->add_option("--base", a->base,
                   "path stem of the database in the workspace (default: BASA of orbt.ini, "
                   "else abasa)");
    auto on = [&action, a](CLI::App* cmd, void (*run)(const DbArgs&)) {
        cmd->callback([&action, a, run] { action.run = [a, run] { run(*a); }; });
    };
    on(db->add_subcommand("create", "create an empty database"), RunCreate);

    auto* list = db->add_subcommand("list", "records in key order (keys with @ left out)");
    list->add_option("--prefix", a->prefix, "only keys beginning with this");
    list->add_flag("--json", a->json, "JSON output");
    on(list, RunList);

    auto* get = db->add_subcommand("get", "one record");
    get->add_option("--key", a->key, "key")->required();
    get->add_flag("--json", a->json, "JSON output");
    on(get, RunGet);

    auto* put = db->add_subcommand("put", "store a record with these fields only");
    put->add_option("--key", a->key, "key")->required();
    put->add_option("--field", a->fields, "N=TEXT, field N from 1 to 255 (repeat for more)")
        ->required();
    on(put, RunPut);

    auto* del = db->add_subcommand("delete", "remove a record");
    del->add_option("--key", a->key, "key")->required();
    on(del, RunDelete);

    auto* add = db->add_subcommand("add-chart", "store birth data as a new chart card");
    AddChartOptions(*add, a->chart);
    add->add_option("--name", a->name, "name")->required();
    add->add_option("--place", a->place, "place");
    add->add_option("--comment", a->comment, "comment");
    add->add_flag("--json", a->json, "JSON output");
    add->callback([&action, a, add] {
        FinishChartArgs(*add, a->chart);
        action.run = [a] { RunAddChart(*a); };
    });

    auto* exp = db->add_subcommand("export", "chart cards to UTF-8 CSV");
    exp->add_option("--out", a->out, "CSV file")->required();
    exp->callback([&action, a] {
        a->out = CallerPath(a->out);
        action.run = [a] { RunExport(*a); };
    });

    auto* imp = db->add_subcommand("import", "chart cards from UTF-8 CSV, under new keys");
    imp->add_option("--in", a->in, "CSV file")->required();
    imp->callback([&action, a] {
        a->in = CallerPath(a->in);
        action.run = [a] { RunImport(*a); };
    });

    auto* check = db->add_subcommand("check", "check every node and page of the database");
    check->add_flag("--json", a->json, "JSON output");
    check->add_flag("--reclaim", a->reclaim,
                    "make the nodes no entry leads to spare, to be used before the file grows");
    on(check, RunCheck);

    auto* repair =
        db->add_subcommand("repair",
                           "rebuild the index from the records in the pages (the old index is "
                           "replaced only once the new one is complete)");
    repair->add_flag("--json", a->json, "JSON output");
    on(repair, RunRepair);
}

}  // namespace orbeta::cli

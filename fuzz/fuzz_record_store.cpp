// The record store's files: any bytes are opened, checked, walked, read and written
// to without a crash, a hang or a read outside a buffer. Half the inputs patch and cut
// a sound store (so that deep paths are reached), the rest are whole files; every
// input is also taken as a node, a page and record data in memory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/record_store.h"
#include "data/store_check.h"
#include "platform/format.h"
#include "platform/services.h"
#include "platform/text_file.h"

namespace {

using namespace orbeta;

class QuietServices : public Services {
  public:
    void Warning(const std::string&) override {}
    [[noreturn]] void Fatal(const std::string&) override { std::abort(); }
    ContinueOrQuit AskMissingEphemerisFile(const std::string&) override {
        return ContinueOrQuit::Continue;
    }
    [[noreturn]] void Quit() override { std::abort(); }
};

// A directory of this run, in memory where the system has one.
struct TempDir {
    std::string path;
    TempDir() {
        std::string base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        path = base + "/orbeta-fuzz-XXXXXX";
        if (!::mkdtemp(path.data())) std::abort();
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

const std::string& Dir() {
    static const TempDir dir;
    return dir.path;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Seed {
    std::string files[3];
};

// A store of two levels with small pages, deleted keys and replaced records.
const Seed& TheSeed() {
    static const Seed seed = [] {
        std::string stem = Dir() + "/seed";
        if (CreateBase(stem, 256) != 0) std::abort();
        StoreOpenError error;
        auto s = RecordStore::Open(stem, error);
        // 20-byte keys: 120 of them make two levels.
        for (int i = 0; i < 120; ++i) {
            BaseRecord r;
            r.SetField(2, std::string(static_cast<size_t>(i % 50), 'v'));
            r.SetField(7, Format("card %d", i));
            s->WriteRecord(Format(".%019d", i * 7 % 120), r);
        }
        for (int i = 0; i < 120; i += 9) s->DeleteRecord(Format(".%019d", i));
        s->Close();
        Seed out;
        const char* ext[3] = {".btr", ".bod", ".bcr"};
        for (int f = 0; f < 3; ++f) out.files[f] = ReadFileBytes(stem + ext[f]).value_or("");
        return out;
    }();
    return seed;
}

void InMemory(const uint8_t* data, size_t size) {
    IndexNode node;
    std::copy(data, data + std::min(size, node.bytes.size()), node.bytes.begin());
    if (node.Problem(30000).empty()) {
        bool equal;
        node.Locate(".0000000000000000100", equal);
        for (int off = node.FirstEntry(); off < node.UsedEnd();) off = node.EntryAt(off).end;
        SplitNodes halves;
        SplitNode(node, halves);
    }
    std::vector<uint8_t> page(data, data + size);
    if (page.size() >= 16) PageRecords(page);
    BaseRecord record;
    DecodeFields(data, size, record);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietServices services;
    InstallServices(&services);
    InMemory(data, size);
    if (size == 0) return 0;
    const Seed& seed = TheSeed();
    std::string files[3] = {seed.files[0], seed.files[1], seed.files[2]};
    uint8_t mode = data[0];
    if (mode % 2 == 0) {
        // Whole files: the input cut in three at places its next bytes choose.
        size_t rest = size - 1, a = size > 1 ? data[1] * rest / 255 : 0;
        size_t b = size > 2 ? a + data[2] * (rest - a) / 255 : a;
        std::string in(reinterpret_cast<const char*>(data) + 1, rest);
        files[0] = in.substr(0, a);
        files[1] = in.substr(a, b - a);
        files[2] = in.substr(b);
    } else {
        // Patches of the sound store: {file, offset high, offset low, byte}; a file
        // byte of 3 mod 4 cuts the file at the offset instead.
        for (size_t i = 1; i + 4 <= size; i += 4) {
            std::string& f = files[data[i] % 3];
            size_t off = (static_cast<size_t>(data[i + 1]) << 8 | data[i + 2]) % (f.size() + 1);
            if (data[i] % 4 == 3)
                f.resize(off);
            else if (off < f.size())
                f[off] = static_cast<char>(data[i + 3]);
        }
    }
    if (mode & 4 && files[0].size() >= 18) files[0][16] = 1;  // an unfinished session
    std::string stem = Dir() + "/fz";
    const char* ext[3] = {".btr", ".bod", ".bcr"};
    for (int f = 0; f < 3; ++f) Write(stem + ext[f], files[f]);
    CheckStore(stem);
    StoreOpenError error;
    auto s = RecordStore::Open(stem, error);
    if (!s) return 0;
    if (auto keys = s->ListKeys("")) {
        int n = 0;
        for (const auto& key : *keys) {
            BaseRecord r;
            if (++n > 40) break;
            s->ReadRecord(key, r);
        }
    }
    s->ListKeys(".00000000000000001");
    BaseRecord r;
    s->ReadRecord(".0000000000000000050", r);
    if (mode & 8) {
        r.SetField(3, std::string(mode, 'w'));
        s->WriteRecord(".0000000000000000050", r);
        s->WriteRecord(".0000000000000000999", r);
        s->DeleteRecord(".0000000000000000100");
        s->NewKey(".");
    }
    s->Close();
    return 0;
}

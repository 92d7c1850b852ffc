#include "forecast/search_records.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace orbeta {
namespace {

void PutU64(unsigned char* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
uint64_t GetU64(const unsigned char* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
void PutF64(unsigned char* p, double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    PutU64(p, v);
}
double GetF64(const unsigned char* p) {
    uint64_t v = GetU64(p);
    double d;
    std::memcpy(&d, &v, 8);
    return d;
}

}  // namespace

void EncodeHit(const HitRecord& h, unsigned char out[kHitRecordSize]) {
    PutF64(out + 0, h.start);
    PutF64(out + 8, h.end);
    for (int i = 0; i < 3; ++i) PutF64(out + 16 + 8 * i, h.exact[i]);
    out[40] = h.exactCount;
    out[41] = h.flags;
    out[42] = h.calcMethod;
    out[43] = h.a;
    out[44] = h.b;
    out[45] = h.type;
    PutF64(out + 46, h.aspect);
    PutF64(out + 54, h.fixedLongitude);
    PutF64(out + 62, h.orb);
    auto pos = static_cast<uint32_t>(h.filePos);
    for (int i = 0; i < 4; ++i) out[70 + i] = static_cast<unsigned char>(pos >> (8 * i));
}

HitRecord DecodeHit(const unsigned char in[kHitRecordSize]) {
    HitRecord h;
    h.start = GetF64(in + 0);
    h.end = GetF64(in + 8);
    for (int i = 0; i < 3; ++i) h.exact[i] = GetF64(in + 16 + 8 * i);
    // A damaged count never reads beyond the three moments.
    h.exactCount = in[40] > 3 ? 3 : in[40];
    h.flags = in[41];
    h.calcMethod = in[42];
    h.a = in[43];
    h.b = in[44];
    h.type = in[45];
    h.aspect = GetF64(in + 46);
    h.fixedLongitude = GetF64(in + 54);
    h.orb = GetF64(in + 62);
    uint32_t pos = 0;
    for (int i = 3; i >= 0; --i) pos = (pos << 8) | in[70 + i];
    h.filePos = static_cast<int32_t>(pos);
    return h;
}

std::vector<HitRecord> ParseHits(std::string_view bytes) {
    std::vector<HitRecord> hits;
    hits.reserve(bytes.size() / kHitRecordSize);
    for (std::size_t p = 0; p + kHitRecordSize <= bytes.size(); p += kHitRecordSize)
        hits.push_back(DecodeHit(reinterpret_cast<const unsigned char*>(bytes.data() + p)));
    return hits;
}

std::vector<HitRecord> ReadHitFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseHits(bytes);
}

HitFileWriter::~HitFileWriter() {
    if (file_) {
        std::fclose(file_);
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
    }
}

bool HitFileWriter::Open(const std::filesystem::path& path) {
    if (file_) return false;
    path_ = path;
    temp_ = path;
    temp_ += ".part";
    file_ = std::fopen(temp_.c_str(), "w+b");
    size_ = 0;
    bytes_.clear();
    failed_ = file_ == nullptr;
    return file_ != nullptr;
}

bool HitFileWriter::Append(HitRecord& hit) {
    if (!file_ || failed_) return false;
    hit.filePos = size_;
    unsigned char buf[kHitRecordSize];
    EncodeHit(hit, buf);
    bytes_.append(reinterpret_cast<const char*>(buf), kHitRecordSize);
    size_ += static_cast<int32_t>(kHitRecordSize);
    return true;
}

bool HitFileWriter::Rewrite(const HitRecord& hit) {
    if (!file_ || failed_ || hit.filePos < 0 ||
        hit.filePos + static_cast<int32_t>(kHitRecordSize) > size_ ||
        hit.filePos % static_cast<int32_t>(kHitRecordSize) != 0)
        return false;
    unsigned char buf[kHitRecordSize];
    EncodeHit(hit, buf);
    bytes_.replace(static_cast<std::size_t>(hit.filePos), kHitRecordSize,
                   reinterpret_cast<const char*>(buf), kHitRecordSize);
    return true;
}

bool HitFileWriter::Close() {
    if (!file_) return false;
    bool ok = !failed_ && std::fwrite(bytes_.data(), 1, bytes_.size(), file_) == bytes_.size();
    bytes_.clear();
    ok = std::fflush(file_) == 0 && ok;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp_, path_, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp_, ec);
        return false;
    }
    return true;
}

}  // namespace orbeta

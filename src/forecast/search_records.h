#pragma once
// The records of the time searches: what is searched (request, pairs) and what is
// found (the 74-byte hit records of allob.tmp, shared by the tables, the forecast
// report and the graphic forecast).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "aspects/orb_file.h"

namespace orbeta {

constexpr int kMaxSearchAspects = 40;
constexpr int kMaxSearchPoints = 20;

// One watched pair: a moving point and its partner (a moving point, or a fixed
// longitude: a natal point, a sign boundary, a given point).
struct SearchPair {
    uint8_t a = 0;     // PointId of the moving point
    uint8_t b = 0;     // partner PointId, sign index + 1 or given-point index + 1
    uint8_t type = 0;  // 0 both moving, 1 and 2 fixed partner, 3..5 with their own orb
    double fixedLongitude = 0;
    double ownOrb = -1.0;
};

struct SearchRequest {
    double start = 0;  // JD UT
    double end = 0;
    double step = 1;              // days, positive
    double correction = 0;        // days; the forecast report's
    std::vector<double> aspects;  // at most kMaxSearchAspects angles
    int calcMethod = 1;
    uint8_t bothMoving = 1;  // 0 when the partner is the moving point b
    uint8_t exactMode = 1;   // 1 exact moments, 0 orb periods
    std::vector<SearchPair> pairs;
    const OrbTable* orbTable = nullptr;  // orbs of orb mode, aspect i = orbTable->aspects[i]
    uint32_t movingMask = 0;             // bit i: PointId i + 1
    uint32_t targetMask = 0;             // natal or partner points, or signs for ingresses
    int planet = 0;                      // loops: the BodyId; kind 4: the number of given points
    std::vector<double> points;          // kind 4: given longitudes
};

constexpr std::size_t kHitRecordSize = 74;
constexpr uint8_t kHitBeginsAtStep = 1;  // the period begins at its step's start
constexpr uint8_t kHitEndsAtStep = 2;    // it ends at its step's end

struct HitRecord {
    double start = 0;  // exact moment, or entry into the orb
    double end = 0;    // exit from the orb
    double exact[3] = {};
    uint8_t exactCount = 0;
    uint8_t flags = 0;
    uint8_t calcMethod = 0;  // low byte
    uint8_t a = 0;
    uint8_t b = 0;
    uint8_t type = 0;
    double aspect = 0;  // unsigned
    double fixedLongitude = 0;
    double orb = 0;
    int32_t filePos = 0;
};

// The record as stored: little-endian, no padding.
void EncodeHit(const HitRecord& hit, unsigned char out[kHitRecordSize]);
HitRecord DecodeHit(const unsigned char in[kHitRecordSize]);

// Every whole record of the bytes; a short tail is skipped.
std::vector<HitRecord> ParseHits(std::string_view bytes);
// The records of a file; none when it cannot be read.
std::vector<HitRecord> ReadHitFile(const std::filesystem::path& path);

// Writes a hit file: records are appended (their filePos set) or rewritten in place.
// The records go to a temporary file beside the target (made at Open), written and
// renamed over it at Close, so an interrupted search never leaves a damaged file.
class HitFileWriter {
  public:
    HitFileWriter() = default;
    HitFileWriter(const HitFileWriter&) = delete;
    HitFileWriter& operator=(const HitFileWriter&) = delete;
    ~HitFileWriter();

    bool Open(const std::filesystem::path& path);
    // Sets hit.filePos to the record's offset, then writes it at the end.
    bool Append(HitRecord& hit);
    // Writes the record again at its filePos.
    bool Rewrite(const HitRecord& hit);
    // Renames the written file into place; false when anything failed.
    bool Close();
    bool IsOpen() const { return file_ != nullptr; }
    int32_t Size() const { return size_; }

  private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_, temp_;
    int32_t size_ = 0;
    // The records are kept here and written at Close: a search rewrites its open
    // periods at every step, and a seek and a write each time cost more than the search.
    std::string bytes_;
    bool failed_ = false;
};

}  // namespace orbeta

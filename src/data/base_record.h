#pragma once
// A record of the keyed store in memory: 256 text slots, slot 0 unused, slot n the
// value of field n. Read from the store, slot 1 holds the record's key.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbeta {

constexpr int kFirstField = 1;
constexpr int kLastField = 255;

class BaseRecord {
  public:
    // Empty for a number outside 1..255.
    const std::string& Field(int n) const;
    // A slot holds zero-terminated text: the value ends at its first NUL. Numbers
    // outside 1..255 are ignored.
    void SetField(int n, std::string_view text);
    bool Has(int n) const { return !Field(n).empty(); }
    void Clear();
    bool operator==(const BaseRecord&) const = default;

  private:
    std::array<std::string, kLastField + 1> slots_;
};

// The stored form of fields 1..255 in ascending order: {uint8 number, int16 length,
// bytes}; values are cut at their last non-blank and empty ones are left out.
std::vector<uint8_t> EncodeFields(const BaseRecord& record);

// Fills the record's slots from stored fields; a slot that is already filled keeps its
// value, and a field whose length runs past the data ends the decoding.
void DecodeFields(const uint8_t* data, size_t size, BaseRecord& record);

}  // namespace orbeta

#pragma once
// Helpers of the record store tests: records from field lists, file bytes, patches.
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#include "data/base_record.h"
#include "platform/text_file.h"

namespace orbeta::test {

inline BaseRecord Fields(std::initializer_list<std::pair<int, std::string>> fields) {
    BaseRecord r;
    for (const auto& [n, text] : fields) r.SetField(n, text);
    return r;
}

inline std::string Bytes(const std::string& path) {
    return ReadFileBytes(path).value_or("");
}

inline int I16At(const std::string& bytes, size_t at) {
    return static_cast<int16_t>(static_cast<uint16_t>(
        static_cast<uint8_t>(bytes.at(at)) | (static_cast<uint8_t>(bytes.at(at + 1)) << 8)));
}

// Overwrites bytes of a file in place.
inline void Patch(const std::string& path, long offset, const std::string& bytes) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(offset);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string I16(int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

}  // namespace orbeta::test

#include "data/base_record.h"

#include "data/binary_file.h"
#include "data/store_layout.h"

namespace orbeta {

const std::string& BaseRecord::Field(int n) const {
    static const std::string none;
    return n >= kFirstField && n <= kLastField ? slots_[static_cast<size_t>(n)] : none;
}

void BaseRecord::SetField(int n, std::string_view text) {
    if (n < kFirstField || n > kLastField) return;
    slots_[static_cast<size_t>(n)] = std::string(text.substr(0, text.find('\0')));
}

void BaseRecord::Clear() {
    for (auto& s : slots_) s.clear();
}

std::vector<uint8_t> EncodeFields(const BaseRecord& record) {
    std::vector<uint8_t> out;
    for (int n = kFirstField; n <= kLastField; ++n) {
        // Longer values cannot fit any page; the caller's size check refuses them.
        std::string_view value = KeyText(record.Field(n)).substr(0, 32767);
        if (value.empty()) continue;
        size_t at = out.size();
        out.resize(at + 3 + value.size());
        out[at] = static_cast<uint8_t>(n);
        PutI16(&out[at + 1], static_cast<int>(value.size()));
        std::copy(value.begin(), value.end(), out.begin() + static_cast<long>(at + 3));
    }
    return out;
}

void DecodeFields(const uint8_t* data, size_t size, BaseRecord& record) {
    size_t pos = 0;
    while (pos + 3 <= size) {
        int n = data[pos];
        int length = GetI16(&data[pos + 1]);
        if (length < 0 || pos + 3 + static_cast<size_t>(length) > size) return;
        std::string_view value(reinterpret_cast<const char*>(&data[pos + 3]),
                               static_cast<size_t>(length));
        if (n != 0 && !record.Has(n)) record.SetField(n, value);
        pos += 3 + static_cast<size_t>(length);
    }
}

}  // namespace orbeta

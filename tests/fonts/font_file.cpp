#include "font_file.h"

#include <algorithm>
#include <map>

namespace orbeta::test {
namespace {

// Big-endian reads that give 0 past the end: a damaged table then reads as empty.
uint32_t U16(std::string_view d, size_t at) {
    if (at > d.size() || d.size() - at < 2) return 0;
    return static_cast<uint32_t>(static_cast<uint8_t>(d[at])) << 8 |
           static_cast<uint8_t>(d[at + 1]);
}
uint32_t U32(std::string_view d, size_t at) {
    return U16(d, at) << 16 | U16(d, at + 2);
}
int S16(std::string_view d, size_t at) {
    return static_cast<int16_t>(U16(d, at));
}

std::string_view Slice(std::string_view d, size_t at, size_t length) {
    if (at > d.size() || d.size() - at < length) return {};
    return d.substr(at, length);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

uint16_t LookupFormat4(std::string_view t, char32_t c) {
    if (c > 0xFFFF) return 0;
    size_t segments = U16(t, 6) / 2;
    size_t ends = 14, starts = ends + 2 * segments + 2, deltas = starts + 2 * segments,
           ranges = deltas + 2 * segments;
    for (size_t i = 0; i < segments; ++i) {
        if (c > U16(t, ends + 2 * i)) continue;
        uint32_t start = U16(t, starts + 2 * i);
        if (c < start) return 0;
        uint32_t delta = U16(t, deltas + 2 * i);
        uint32_t range = U16(t, ranges + 2 * i);
        if (range == 0) return static_cast<uint16_t>(c + delta);
        uint32_t glyph = U16(t, ranges + 2 * i + range + 2 * (c - start));
        return glyph == 0 ? 0 : static_cast<uint16_t>(glyph + delta);
    }
    return 0;
}

uint16_t LookupFormat12(std::string_view t, char32_t c) {
    size_t groups = U32(t, 12);
    for (size_t i = 0; i < groups && 16 + 12 * i + 12 <= t.size(); ++i) {
        size_t g = 16 + 12 * i;
        uint32_t first = U32(t, g), last = U32(t, g + 4);
        if (c >= first && c <= last) return static_cast<uint16_t>(U32(t, g + 8) + (c - first));
    }
    return 0;
}

}  // namespace

std::optional<FontFile> FontFile::Parse(std::string bytes) {
    FontFile font;
    font.bytes_ = std::make_shared<const std::string>(std::move(bytes));
    std::string_view d = *font.bytes_;
    std::map<std::string, std::string_view> tables;
    size_t count = U16(d, 4);
    for (size_t i = 0; i < count; ++i) {
        std::string_view record = Slice(d, 12 + 16 * i, 16);
        if (record.empty()) return std::nullopt;
        std::string_view table = Slice(d, U32(record, 8), U32(record, 12));
        if (table.empty()) return std::nullopt;
        tables[std::string(record.substr(0, 4))] = table;
    }
    for (const char* tag : {"head", "maxp", "hhea", "hmtx", "loca", "glyf", "cmap", "name"})
        if (!tables.count(tag)) return std::nullopt;
    std::string_view head = tables["head"], hhea = tables["hhea"];
    if (head.size() < 54 || hhea.size() < 36 || tables["maxp"].size() < 6) return std::nullopt;
    font.unitsPerEm_ = U16(head, 18);
    font.longLoca_ = U16(head, 50) == 1;
    font.glyphCount_ = U16(tables["maxp"], 4);
    font.ascender_ = S16(hhea, 4);
    font.descender_ = S16(hhea, 6);
    font.metricCount_ = U16(hhea, 34);
    font.cmap_ = tables["cmap"];
    font.glyf_ = tables["glyf"];
    font.loca_ = tables["loca"];
    font.hmtx_ = tables["hmtx"];
    font.name_ = tables["name"];
    if (font.metricCount_ == 0 || font.hmtx_.size() < 4u * font.metricCount_) return std::nullopt;
    if (font.loca_.size() < (font.glyphCount_ + 1u) * (font.longLoca_ ? 4 : 2)) return std::nullopt;

    // The Unicode map: the full-range subtable when there is one, else the BMP one.
    int best = 0;
    for (size_t i = 0; i < U16(font.cmap_, 2); ++i) {
        size_t r = 4 + 8 * i;
        uint32_t platform = U16(font.cmap_, r), encoding = U16(font.cmap_, r + 2);
        std::string_view sub =
            font.cmap_.substr(std::min<size_t>(U32(font.cmap_, r + 4), font.cmap_.size()));
        int format = static_cast<int>(U16(sub, 0));
        bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (!unicode || (format != 4 && format != 12) || format <= best) continue;
        size_t length = format == 4 ? U16(sub, 2) : U32(sub, 4);
        if (length > sub.size()) continue;
        font.charMap_ = sub.substr(0, length);
        font.charMapFormat_ = best = format;
    }
    if (best == 0) return std::nullopt;
    return font;
}

std::string FontFile::Family() const {
    size_t count = U16(name_, 2), strings = U16(name_, 4);
    for (size_t i = 0; i < count; ++i) {
        size_t r = 6 + 12 * i;
        uint32_t platform = U16(name_, r), language = U16(name_, r + 4), id = U16(name_, r + 6);
        if (id != 1 || platform != 3 || language != 0x409) continue;
        std::string_view text = Slice(name_, strings + U16(name_, r + 10), U16(name_, r + 8));
        std::string out;
        for (size_t k = 0; k + 1 < text.size(); k += 2) AppendUtf8(out, U16(text, k));
        return out;
    }
    return {};
}

uint16_t FontFile::GlyphIndex(char32_t c) const {
    uint16_t glyph =
        charMapFormat_ == 12 ? LookupFormat12(charMap_, c) : LookupFormat4(charMap_, c);
    return glyph < glyphCount_ ? glyph : 0;
}

std::string_view FontFile::Outline(uint16_t glyph) const {
    if (glyph >= glyphCount_) return {};
    uint32_t begin = longLoca_ ? U32(loca_, 4u * glyph) : 2 * U16(loca_, 2u * glyph);
    uint32_t end = longLoca_ ? U32(loca_, 4u * glyph + 4) : 2 * U16(loca_, 2u * glyph + 2);
    if (end < begin) return {};
    return Slice(glyf_, begin, end - begin);
}

std::optional<FontFile::Box> FontFile::Bounds(uint16_t glyph) const {
    std::string_view outline = Outline(glyph);
    if (outline.size() < 10) return std::nullopt;
    return Box{S16(outline, 2), S16(outline, 4), S16(outline, 6), S16(outline, 8)};
}

int FontFile::Advance(uint16_t glyph) const {
    int entry = glyph < metricCount_ ? glyph : metricCount_ - 1;
    return static_cast<int>(U16(hmtx_, 4u * entry));
}

}  // namespace orbeta::test

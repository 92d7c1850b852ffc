#pragma once
// Reads what the font tests check in a TrueType file: the family name, the character
// map, glyph outlines and advances. Every read is bounds-checked, so any bytes give
// either a font or nullopt, and lookups in a damaged table give "no glyph".
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orbeta::test {

class FontFile {
  public:
    static std::optional<FontFile> Parse(std::string bytes);

    // Family name (name ID 1) as UTF-8; empty when the file has none.
    std::string Family() const;
    // Glyph of a character; 0 (the missing-glyph box) when the font has none.
    uint16_t GlyphIndex(char32_t c) const;
    // The glyph's outline data; empty for a blank glyph such as the space.
    std::string_view Outline(uint16_t glyph) const;
    int Advance(uint16_t glyph) const;
    // The ink box that the outline records; nullopt for a blank glyph.
    struct Box {
        int xMin, yMin, xMax, yMax;
    };
    std::optional<Box> Bounds(uint16_t glyph) const;
    int GlyphCount() const { return glyphCount_; }
    int UnitsPerEm() const { return unitsPerEm_; }
    int Ascender() const { return ascender_; }
    int Descender() const { return descender_; }  // negative, below the baseline

  private:
    std::shared_ptr<const std::string> bytes_;  // shared, so that copies keep the views valid
    std::string_view cmap_, glyf_, loca_, hmtx_, name_;
    int glyphCount_ = 0;
    int unitsPerEm_ = 0;
    int ascender_ = 0;
    int descender_ = 0;
    int metricCount_ = 0;
    bool longLoca_ = false;
    std::string_view charMap_;  // the chosen Unicode subtable of cmap
    int charMapFormat_ = 0;
};

}  // namespace orbeta::test

// The two fonts that the build puts into the workspace: their families, a glyph for
// every code the program draws, and the metrics that the chart wheel and the tables
// rely on.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../support/test_support.h"
#include "font_file.h"
#include "platform/text_file.h"

namespace orbeta::test {
namespace {

// The glyph codes of Sigilum.
const std::string kBodies = "pqrstuvwxy\\_Z[^";
const std::string kAngles = "lmno";
const std::string kCusps = "abdeghjk";
const std::string kSigns = "NOPQRSTUVWXY";
const std::string kAspects = "ABCDEFGHIJKL";
const std::string kHouses = "123456789:;<";
const std::string kRetrograde = "~";
const std::string kSymbols = kBodies + kAngles + kCusps + kSigns + kAspects + kRetrograde;

FontFile LoadWorkspaceFont(const std::string& name) {
    auto bytes = ReadFileBytes(WorkspaceTemplate() + "/" + name);
    if (!bytes) throw std::runtime_error(name + " is not in the workspace");
    auto font = FontFile::Parse(*bytes);
    if (!font) throw std::runtime_error(name + " is not a readable TrueType file");
    return *font;
}

TEST(Fonts, SigilumHasItsFamilyAndOneDistinctGlyphPerCode) {
    FontFile font = LoadWorkspaceFont("sigilum.ttf");
    EXPECT_EQ(font.Family(), "Sigilum");
    std::map<std::string_view, char> owner;  // outline -> the code that drew it first
    for (char c : kSymbols + kHouses) {
        SCOPED_TRACE(std::string("code ") + c);
        uint16_t glyph = font.GlyphIndex(static_cast<unsigned char>(c));
        ASSERT_NE(glyph, 0);
        std::string_view outline = font.Outline(glyph);
        ASSERT_FALSE(outline.empty());
        auto [it, fresh] = owner.emplace(outline, c);
        EXPECT_TRUE(fresh) << "same outline as " << it->second;
    }
    // "%02d" of degrees is written in this font too, and so is the blank of "%c ".
    EXPECT_FALSE(font.Outline(font.GlyphIndex('0')).empty());
    EXPECT_NE(font.GlyphIndex(' '), 0);
    EXPECT_TRUE(font.Outline(font.GlyphIndex(' ')).empty());
}

// The wheel centres a glyph's cell (advance x font height) on its point, and the
// lists measure one sample glyph for a column: every symbol has the same advance and
// its ink centred in that cell.
TEST(Fonts, SigilumSymbolsAreCentredInCellsOfOneWidth) {
    FontFile font = LoadWorkspaceFont("sigilum.ttf");
    ASSERT_EQ(font.Ascender() - font.Descender(), font.UnitsPerEm());
    const int cell = font.Advance(font.GlyphIndex('e'));
    const double middle = (font.Ascender() + font.Descender()) / 2.0;
    const double tolerance = font.UnitsPerEm() / 50.0;
    for (char c : kSymbols) {
        SCOPED_TRACE(std::string("code ") + c);
        uint16_t glyph = font.GlyphIndex(static_cast<unsigned char>(c));
        EXPECT_EQ(font.Advance(glyph), cell);
        auto box = font.Bounds(glyph);
        ASSERT_TRUE(box);
        EXPECT_NEAR((box->xMin + box->xMax) / 2.0, cell / 2.0, tolerance);
        EXPECT_NEAR((box->yMin + box->yMax) / 2.0, middle, tolerance);
        EXPECT_GT(box->xMin, 0);
        EXPECT_LT(box->xMax, cell);
        EXPECT_GE(box->yMin, font.Descender());
        EXPECT_LE(box->yMax, font.Ascender());
        // Not a speck: at least half the font height or most of the cell width.
        EXPECT_TRUE(box->yMax - box->yMin >= font.UnitsPerEm() / 2 ||
                    box->xMax - box->xMin >= cell * 3 / 4);
    }
    const int digit = font.Advance(font.GlyphIndex('0'));
    for (char c = '1'; c <= '9'; ++c) EXPECT_EQ(font.Advance(font.GlyphIndex(c)), digit) << c;
}

TEST(Fonts, TabulaMonoIsMonospacedWithTheRussianAlphabet) {
    FontFile font = LoadWorkspaceFont("tabmono.ttf");
    EXPECT_EQ(font.Family(), "Tabula Mono");
    std::u32string text = U"ЁёЎў№";
    for (char32_t c = 0x20; c < 0x7F; ++c) text += c;
    for (char32_t c = U'А'; c <= U'я'; ++c) text += c;
    const int width = font.Advance(font.GlyphIndex('M'));
    ASSERT_GT(width, 0);
    for (char32_t c : text) {
        SCOPED_TRACE("U+" + std::to_string(static_cast<unsigned>(c)));
        uint16_t glyph = font.GlyphIndex(c);
        ASSERT_NE(glyph, 0);
        EXPECT_EQ(font.Advance(glyph), width);
        if (c != U' ') {
            EXPECT_FALSE(font.Outline(glyph).empty());
        }
    }
}

TEST(FontFile, RejectsTruncatedAndDamagedFiles) {
    auto bytes = ReadFileBytes(WorkspaceTemplate() + "/sigilum.ttf");
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(FontFile::Parse(*bytes));
    EXPECT_FALSE(FontFile::Parse(""));
    for (size_t keep :
         {size_t{5}, size_t{12}, size_t{100}, bytes->size() / 2, bytes->size() * 9 / 10})
        EXPECT_FALSE(FontFile::Parse(bytes->substr(0, keep))) << keep;
    std::string manyTables = *bytes;
    manyTables[4] = manyTables[5] = '\xff';
    EXPECT_FALSE(FontFile::Parse(manyTables));
    std::string noTags = *bytes;
    for (size_t i = 12; i < 12 + 16 * 4; i += 16) noTags[i] = '#';
    EXPECT_FALSE(FontFile::Parse(noTags));
}

}  // namespace
}  // namespace orbeta::test

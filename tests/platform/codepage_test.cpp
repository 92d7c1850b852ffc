#include "platform/codepage.h"

#include <gtest/gtest.h>

#include "platform/format.h"

namespace orbeta {
namespace {

TEST(CodePage, RoundTripsCyrillicThroughEveryPage) {
    const std::string utf8 = "Ёлка ёж № Москва ЯЩИК";
    std::string ansi = Utf8ToAnsi(utf8);
    EXPECT_EQ(AnsiToUtf8(ansi), utf8);
    std::string oem = AnsiToOem(ansi);
    EXPECT_EQ(OemToAnsi(oem), ansi);
    EXPECT_EQ(OemToUtf8(oem), utf8);
    EXPECT_EQ(Utf8ToOem(utf8), oem);
    // the letters that differ between the pages
    EXPECT_EQ(Utf8ToAnsi("ё"), "\xB8");
    EXPECT_EQ(Utf8ToOem("ё"), "\xF1");
    EXPECT_EQ(Utf8ToAnsi("Ё"), "\xA8");
    EXPECT_EQ(Utf8ToOem("Ё"), "\xF0");
    EXPECT_EQ(Utf8ToAnsi("№"), "\xB9");
    EXPECT_EQ(Utf8ToOem("№"), "\xFC");
    // CP866 has no dashes: a dash of a CP1251 text becomes '?'
    EXPECT_EQ(AnsiToOem("a\x97z"), "a?z");
}

TEST(CodePage, CompileTimeLiteralMatchesIconv) {
    EXPECT_STREQ("Не открывается файл эфемерид"_cp,
                 Utf8ToAnsi("Не открывается файл эфемерид").c_str());
    EXPECT_STREQ("Ёё№"_cp, "\xA8\xB8\xB9");
    EXPECT_STREQ("abc"_cp, "abc");
}

TEST(CodePage, BrokenInputNeverStopsConversion) {
    // a lone continuation byte and a character CP1251 lacks each become '?'
    EXPECT_EQ(Utf8ToAnsi("a\x80z"), "a?z");
    EXPECT_EQ(Utf8ToAnsi("a\xE2\x98\x83z"), "a?z");  // snowman
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    EXPECT_EQ(OemToAnsi(all).size(), 256u - 0u);  // every OEM byte has a CP1251 form or '?'
    EXPECT_FALSE(AnsiToUtf8(all).empty());
}

TEST(Format, ProducesPrintfBytesOfAnyLength) {
    EXPECT_EQ(Format("%02d.%02u.%04d", 5, 7u, 1945), "05.07.1945");
    std::string longText(1000, 'x');
    EXPECT_EQ(Format("[%s]", longText.c_str()).size(), 1002u);
    EXPECT_EQ(Format("%6.1f", 3.25), "   3.2");
}

}  // namespace
}  // namespace orbeta

#include "ui_text_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../support/test_support.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

std::string Shipped() {
    return ReadFileBytes(ORBETA_SOURCE_DIR "/data/orbtw.t").value_or("");
}

bool Reports(const std::vector<std::string>& problems, const std::string& part) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(part) != std::string::npos; });
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(UiTextCheck, ShippedTextsPass) {
    auto problems = CheckUiTextSource(Shipped());
    for (const auto& p : problems) ADD_FAILURE() << p;
}

TEST(UiTextCheck, FlagsWhatWouldBreakTheProgram) {
    std::string good = Shipped();
    EXPECT_TRUE(
        Reports(CheckUiTextSource(Replace(good, "\nUW Orbeta", "\nUW «Orbeta»")), "U+00AB"));
    EXPECT_TRUE(Reports(CheckUiTextSource(good + "UW again\n"), "key UW: twice"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "\nDND ", "\nDNX ")), "key DND: missing"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "/Суббота", "")), "6 items, expected 7"));
    EXPECT_TRUE(
        Reports(CheckUiTextSource(Replace(good, "PLH2 Сол/", "PLH2 Солнце/")), "wider than 4"));
    EXPECT_TRUE(
        Reports(CheckUiTextSource(Replace(good, "Кох [5]", "Кох [55]")), "id 55 is not a command"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "Кох [5]", "Кох")), "id 5 is missing"));
    // A window command the code has no name for would never reach a handler.
    EXPECT_TRUE(
        Reports(CheckUiTextSource(Replace(good, "Дуги [2053]/Отчеты", "Дуги [2007]/Отчеты")),
                "key K0t1: id 2007 has no name among the command ids"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "Сохранить в файл [2015]/Копировать",
                                                  "Сохранить в файл [2100]/Копировать")),
                        "key MTEXT: id 2100 has no name"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "Вход Солнца в %.2f°", "Вход %s")),
                        "key VsG: conversions"));
    EXPECT_TRUE(Reports(CheckUiTextSource(Replace(good, "\nMark Рассчитано", "\nMark #Рассчитано")),
                        "# inside"));
    EXPECT_TRUE(
        Reports(CheckUiTextSource(Replace(good, "\nMark Рассчитано", "\nMark a@b")), "@ inside"));
    EXPECT_TRUE(Reports(CheckUiTextSource(good + "\xD0\n"), "not UTF-8"));
}

}  // namespace
}  // namespace orbeta

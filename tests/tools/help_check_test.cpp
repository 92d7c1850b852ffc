#include "help_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text_file.h"

namespace orbeta {
namespace {

// Every help key the program asks for: F1 in windows, "Помощь" in dialogs and the
// help keys of the reports.
std::vector<std::string> HelpKeys() {
    std::vector<std::string> keys;
    auto text = ReadFileBytes(ORBETA_SOURCE_DIR "/tests/tools/help_keys.txt").value_or("");
    std::string key;
    for (char c : text + "\n") {
        if (c == ' ' || c == '\n') {
            if (!key.empty()) keys.push_back(key);
            key.clear();
        } else {
            key += c;
        }
    }
    return keys;
}

bool Reports(const std::vector<std::string>& problems, const std::string& part) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const std::string& p) { return p.find(part) != std::string::npos; });
}

const char* const kSmall =
    "@@ extra.lrn\n"
    "@A B\n"
    "Первая тема, см. <другую тему ref=C>.\n"
    "@C\n"
    "Вторая тема, 30° и № 5.\n";

TEST(HelpCheck, ShippedHelpFileAnswersEveryKey) {
    auto keys = HelpKeys();
    EXPECT_EQ(keys.size(), 74u);  // the checklist and the dialogs that got keys of their own
    auto source = ReadFileBytes(ORBETA_SOURCE_DIR "/data/orbtw.lrn");
    ASSERT_TRUE(source.has_value());
    for (const auto& p : CheckHelpSource(*source, keys)) ADD_FAILURE() << p;
}

TEST(HelpCheck, EveryKeyOfAHeadHasItsTopic) {
    EXPECT_TRUE(CheckHelpSource(kSmall, {"A", "B", "C"}).empty());
    auto problems = CheckHelpSource(kSmall, {"A", "D"});
    EXPECT_EQ(problems, std::vector<std::string>{"key D: no topic"});
    // "@" alone ends a topic without starting one, so its text is never shown.
    EXPECT_TRUE(Reports(CheckHelpSource("@\nтекст\n", {"текст"}), "key текст: no topic"));
    EXPECT_TRUE(Reports(CheckHelpSource(std::string(kSmall) + "@B\nеще\n", {}),
                        "key B already has a topic at line 2"));
    EXPECT_TRUE(Reports(CheckHelpSource("@A\n@B\nтекст\n", {}), "topic \"A\": no text"));
}

TEST(HelpCheck, LinksMustBeWellFormedAndLeadSomewhere) {
    auto check = [](const std::string& line) {
        return CheckHelpSource("@A\n" + line + "\n", {"A"});
    };
    EXPECT_TRUE(check("см. <тему ref=A> и дальше").empty());
    EXPECT_TRUE(Reports(check("см. <тему ref=Z>"), "link to Z, which has no topic"));
    EXPECT_TRUE(Reports(check("см. <тему ref=A"), "link without \">\""));
    EXPECT_TRUE(Reports(check("см. тему ref=A>"), "malformed link"));
    EXPECT_TRUE(Reports(check("см. <тему>"), "malformed link"));
    EXPECT_TRUE(Reports(check("см. <ref=A>"), "link without text"));
    EXPECT_TRUE(Reports(check("<a ref=A> и <b ref=A>"), "more than one link"));
    EXPECT_TRUE(Reports(check("<a ref=>"), "1..12 characters"));
    EXPECT_TRUE(Reports(check("<a ref=ABCDEFGHIJKLM>"), "1..12 characters"));
    EXPECT_TRUE(Reports(check("a > b"), "\">\" without a link"));
}

TEST(HelpCheck, LinesFitTheWindowAndTheCodePage) {
    auto check = [](const std::string& line) {
        return CheckHelpSource("@A\n" + line + "\n", {"A"});
    };
    // Width counts characters, not bytes: 70 Cyrillic letters fit, 71 do not.
    std::string seventy;
    for (int i = 0; i < 70; ++i) seventy += "ж";
    EXPECT_TRUE(check(seventy).empty());
    EXPECT_TRUE(Reports(check(seventy + "ж"), "line 2: 71 characters, more than 70"));
    EXPECT_TRUE(Reports(check("«кавычки»"), "U+00AB is not allowed"));
    EXPECT_TRUE(Reports(check("тире — нет"), "U+2014 is not allowed"));
    EXPECT_TRUE(Reports(check("многоточие…"), "U+2026 is not allowed"));
    EXPECT_TRUE(Reports(check("таб\tуляция"), "U+0009 is not allowed"));
    EXPECT_TRUE(Reports(check("обрыв \xD0"), "not UTF-8"));
    EXPECT_TRUE(check("Ёлка, ёж, № 5, 30°").empty());
}

}  // namespace
}  // namespace orbeta

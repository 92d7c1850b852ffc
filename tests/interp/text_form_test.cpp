// The form of shipped texts: each fault of form found on its own line, word floors by
// key pattern, equal texts within a base and against another, near-copies by 4-grams.
#include <gtest/gtest.h>

#include <algorithm>

#include "interp/text_form.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

SourceSet Parse(const std::string& utf8) {
    SourceSet set;
    ParseSource(Utf8ToOem(utf8), "t.csr", set);
    return set;
}

std::vector<std::string> Problems(const SourceSet& set, const char* floors = "",
                                  const SourceSet* other = nullptr) {
    TextBaseCheck check;
    CheckShippedForm(set, ParseWordFloors(floors), other, check);
    std::vector<std::string> out;
    for (const auto& p : check.problems) out.push_back(std::to_string(p.place.line) + " " + p.text);
    return out;
}

TEST(TextForm, KeyPatterns) {
    struct Case {
        const char* pattern;
        const char* key;
        bool matches;
    } cases[] = {
        {"p##z##", "p01z12", true},
        {"p##z##", "p01z1", false},
        {"p##z##", "p01z123", false},
        {"p##z##", "p0az12", false},
        {"L#", "L01", false},
        {"L##", "L01", true},
        {"p##p##a0[069]0", "p01p02a090", true},
        {"p##p##a0[069]0", "p01p02a030", false},
        {"Sev*", "SevA", true},
        {"Sev*", "Se", false},
        {"[ab", "a", false},
        {"0", "0", true},
        {"0", "000", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyMatches(c.pattern, c.key), c.matches) << c.pattern << " " << c.key;
    auto floors = ParseWordFloors("# comment\np##z##\t40\n\nbad\nL#   100\n");
    ASSERT_EQ(floors.size(), 2u);
    EXPECT_EQ(floors[1].pattern, "L#");
    EXPECT_EQ(floors[1].words, 100);
}

TEST(TextForm, EachFaultOnItsLine) {
    auto set = Parse(
        "@a\n"
        " Хороший абзац из шести слов здесь.\n"  // 2
        "Продолжение абзаца без отступа.\n"      // 3
        "  Два пробела в начале абзаца.\n"       // 4
        "\n"                                     // 5
        "=3\n"                                   // 6
        "Слово English и MC с IC.\n"             // 7
        "Хвост с пробелом \n"                    // 8
        " " +
        std::string(72, 'x') + "\n" +  // 9 (73 characters, Latin)
        "@b\n"
        "Без отступа.\n"  // 11
        "@c\n"
        " Хороший абзац из шести слов здесь.\n"  // 13: equal to a? no: a is longer
        "\n\n");                                 // trailing empties are fine
    auto problems = Problems(set);
    auto has = [&](const std::string& prefix) {
        return std::any_of(problems.begin(), problems.end(),
                           [&](const std::string& p) { return p.rfind(prefix, 0) == 0; });
    };
    EXPECT_TRUE(has("4 more than one blank"));
    EXPECT_TRUE(has("5 an empty line"));
    EXPECT_TRUE(has("6 a line beginning with a reserved"));
    EXPECT_TRUE(has("7 a Latin word \"English\""));
    EXPECT_TRUE(has("8 blanks at the end"));
    EXPECT_TRUE(has("9 a line of 73 characters"));
    EXPECT_TRUE(has("11 a text begins without its paragraph blank"));
    EXPECT_FALSE(has("2 ")) << "a good first line";
    EXPECT_FALSE(has("3 ")) << "a continuation line";
    EXPECT_FALSE(has("13 ")) << "trailing empty lines of the last block";
    EXPECT_EQ(std::count_if(problems.begin(), problems.end(),
                            [](const std::string& p) { return p.find("Latin") != p.npos; }),
              2);  // English and the x-line; MC and IC are allowed
}

TEST(TextForm, FloorsAndEqualTexts) {
    auto set = Parse(
        "@p01z01\n Три слова тут.\n"
        "@p01z02 p01z03\n Здесь ровно пять слов теперь.\n"
        "@L1\n Здесь ровно пять слов теперь.\n"
        "@x\n Один.\n");
    auto problems = Problems(set, "p##z##\t5\nL#\t3\n");
    ASSERT_EQ(problems.size(), 2u) << problems[0];
    EXPECT_EQ(problems[0], "1 the text of p01z01 has 3 words, under 5");
    EXPECT_EQ(problems[1], "5 the same text as p01z02");  // punctuation and blanks aside

    auto other = Parse("@q\n Три  слова тут!\n");
    problems = Problems(Parse("@p\n Три слова тут.\n"), "", &other);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "1 the same text as q of the other base");
}

TEST(TextForm, NearCopiesWithinAFamily) {
    auto set = Parse(
        "@a1\n Марс в этом знаке действует быстро и прямо, не зная сомнений.\n"
        "@a2\n Венера в этом знаке действует быстро и прямо, не зная сомнений.\n"
        "@b1\n Марс в этом знаке действует быстро и прямо, не зная сомнений.\n"
        "@a3\n Совсем другой текст о медленной и глубокой природе.\n");
    std::vector<RequiredKey> required = {
        {"a1", "A", true}, {"a2", "A", true}, {"a3", "A", true}, {"b1", "B", true}};
    auto similar = SimilarBlocks(set, required);
    ASSERT_EQ(similar.size(), 1u);  // b1 is in another family; a3 shares nothing
    EXPECT_EQ(similar[0], std::make_pair(std::string("a1"), std::string("a2")));
}

TEST(TextForm, SentencesSharedAcrossTexts) {
    // The eight-word sentence is shared whatever the case and punctuation around it; a
    // seven-word one and a sentence repeated inside one text are not.
    auto set = Parse(
        "@a\n Вы умеете ждать. Терпение здесь становится самым главным ресурсом Вашего роста!\n"
        "Короткая фраза из семи слов тут есть.\n"
        "@b\n Иначе. Терпение здесь становится самым главным ресурсом Вашего роста.\n"
        "Короткая фраза из семи слов тут есть.\n"
        "@c\n Терпение, здесь становится самым главным ресурсом Вашего роста? Терпение здесь\n"
        "становится самым главным ресурсом Вашего роста.\n");
    auto shared = SharedSentences(set, 8);
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(shared[0].words, "Терпение здесь становится самым главным ресурсом Вашего роста");
    EXPECT_EQ(shared[0].keys, (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace orbeta

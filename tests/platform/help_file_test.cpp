#include "platform/help_file.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

// The fixture files as the workspace holds them: CP866.
std::optional<std::string> Fixture(const std::string& name) {
    std::map<std::string, std::string> files = {{"orbtw.lrn", "help_topics.lrn"},
                                                {"orbtw2.lrn", "help_more.lrn"}};
    auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    auto bytes = ReadFileBytes(std::string(ORBETA_SOURCE_DIR) + "/tests/fixtures/" + it->second);
    if (!bytes) return std::nullopt;
    return Utf8ToOem(*bytes);
}

std::vector<std::string> Topic(const std::string& key) {
    return FindHelpTopic(key, kHelpFile, Fixture);
}

TEST(HelpFile, TopicIsFoundByEachOfItsKeysAndTheFirstMatchWins) {
    auto first = Topic("TwoK");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], " Выбор двух карт."_cp);
    EXPECT_EQ(Topic("TwoKS"), first);
    // The text runs up to the next line beginning with '@', in the program's code page.
    auto general = Topic("GenHelp");
    ASSERT_EQ(general.size(), 2u);
    EXPECT_EQ(general[0], " Общая справка."_cp);
}

TEST(HelpFile, LoneAtSignIsNoHeadAndKeysMatchWhole) {
    EXPECT_TRUE(Topic("").empty());
    EXPECT_TRUE(Topic("@").empty());
    EXPECT_TRUE(Topic("Two").empty());
    EXPECT_TRUE(Topic("Missing").empty());
}

TEST(HelpFile, SearchGoesOnInListedFilesEachOnce) {
    // The second file lists the first again: the search must still end.
    auto extra = Topic("Extra");
    ASSERT_EQ(extra.size(), 1u);
    EXPECT_EQ(extra[0], " Тема из второго файла."_cp);
    auto missing = FindHelpTopic("GenHelp", "absent.lrn", Fixture);
    EXPECT_TRUE(missing.empty());
}

TEST(HelpFile, TopicAtEndOfFileWithoutLineEnd) {
    HelpFileMatch m = FindTopicInText("@ A B\r\nline one\r\nline two", "B");
    ASSERT_TRUE(m.topic);
    EXPECT_EQ(*m.topic, (std::vector<std::string>{"line one", "line two"}));
}

TEST(HelpFile, LinkCutsTheLineIntoBlackRedBlack) {
    HelpLine l = ParseHelpLine("See <the printer ref=DPrintS> and more");
    EXPECT_EQ(l.before, "See ");
    EXPECT_EQ(l.link, "the printer");
    EXPECT_EQ(l.target, "DPrintS");
    EXPECT_EQ(l.after, " and more");
    // The target is at most 12 characters.
    EXPECT_EQ(ParseHelpLine("<x ref=ABCDEFGHIJKLMNOP>").target, "ABCDEFGHIJKL");
}

TEST(HelpFile, MalformedLinksStayPlainText) {
    for (const char* text : {"no link", "a < b", "<x ref=K", "x ref=K> y", "<x> ref=K"}) {
        HelpLine l = ParseHelpLine(text);
        EXPECT_EQ(l.before, text);
        EXPECT_TRUE(l.target.empty()) << text;
        EXPECT_TRUE(l.link.empty()) << text;
    }
}

}  // namespace
}  // namespace orbeta

// orbeta-cli db: the contract other tools rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "../support/test_support.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

using nlohmann::json;

class DbCli : public ::testing::Test {
  protected:
    test::CommandResult Db(const std::string& args) {
        return test::RunCommand("cd " + work.Path() + " && " + ORBETA_CLI + " --workspace " +
                                work.Path() + "/ws db " + base + " " + args + " 2>" + work.Path() +
                                "/stderr");
    }
    std::string Stderr() { return ReadFileBytes(work.Path() + "/stderr").value_or(""); }
    json Json(const std::string& args) {
        auto r = Db(args);
        EXPECT_EQ(r.status, 0) << args << ": " << Stderr();
        return r.status == 0 ? json::parse(r.out) : json();
    }
    test::TempWorkDir work;
    // The workspace's own store (the profile's BASA) holds the towns: these tests use
    // a database of their own.
    std::string base = "--base cards";
};

constexpr const char* kIvan =
    "add-chart --date \"16.05.1945 08:00:00\" --gmt -3 --lat 55.45 --lon 37.37 "
    "--name \"Иван Петров\" --place Москва --comment \"первая карта\" --json";

TEST_F(DbCli, CardsAreAddedListedReadWrittenAndDeleted) {
    EXPECT_NE(Db("list").status, 0) << "no database yet";
    EXPECT_NE(Stderr().find("cards.btr"), std::string::npos) << Stderr();
    ASSERT_EQ(Db("create").status, 0);
    EXPECT_NE(Db("create").status, 0) << "never made over an existing one";
    EXPECT_EQ(Json("list --json"), json::array());

    EXPECT_EQ(Json(kIvan), (json{{"key", ".000001"}}));
    auto r =
        Db("add-chart --date \"01.01.2000 00:00:00\" --gmt 5 --lat 40.43 --lon -73.59 "
           "--name \"John Smith\"");
    EXPECT_EQ(r.out, ".000002\n");
    json ivan = {{"key", ".000001"},
                 {"fields",
                  {{"2", "Иван Петров"},
                   {"3", "16.05.1945"},
                   {"4", "08:00:00"},
                   {"5", "55.45"},
                   {"6", "37.37"},
                   {"7", "Москва"},
                   {"8", "-3.00"},
                   {"9", "первая карта"}}}};
    EXPECT_EQ(Json("get --key .000001 --json"), ivan);
    EXPECT_EQ(Json("get --key .000002 --json")["fields"]["6"], "286.01");

    ASSERT_EQ(Db("put --key t.МОСКВА --field 7=Москва --field 5=55.45 --field \"11=a b\"").status,
              0)
        << Stderr();
    EXPECT_EQ(
        Json("get --key t.МОСКВА --json"),
        (json{{"key", "t.МОСКВА"}, {"fields", {{"5", "55.45"}, {"7", "Москва"}, {"11", "a b"}}}}));
    auto list = Json("list --json");
    ASSERT_EQ(list.size(), 3u) << "the counter record .@ is not listed";
    EXPECT_EQ(list[0], ivan);
    EXPECT_EQ(list[2]["key"], "t.МОСКВА");
    EXPECT_EQ(Json("list --prefix t. --json").size(), 1u);
    EXPECT_EQ(Db("list --prefix .").out,
              ".000001  Иван Петров  16.05.1945 08:00:00 Москва\n"
              ".000002  John Smith  01.01.2000 00:00:00 \n");

    ASSERT_EQ(Db("put --key .000002 --field 2=Replaced").status, 0);
    EXPECT_EQ(Json("get --key .000002 --json")["fields"], (json{{"2", "Replaced"}}));
    ASSERT_EQ(Db("delete --key .000002").status, 0);
    EXPECT_NE(Db("delete --key .000002").status, 0);
    EXPECT_NE(Db("get --key .000002").status, 0);
    EXPECT_EQ(Json(kIvan)["key"], ".000002") << "a deleted card's number is free again";
    EXPECT_EQ(Db("check").out.substr(0, 6), "sound:");
}

TEST_F(DbCli, DefaultBaseIsTheProfilesWithTheTowns) {
    base.clear();
    auto towns = Json("list --prefix t.МОСКВА --json");
    ASSERT_FALSE(towns.empty());
    EXPECT_EQ(towns[0]["key"], "t.МОСКВА");
}

TEST_F(DbCli, BadInputIsAMessageAndChangesNothing) {
    ASSERT_EQ(Db("create").status, 0);
    EXPECT_NE(Db("put --key k --field 2=€").status, 0);
    EXPECT_NE(Stderr().find("DOS Cyrillic"), std::string::npos);
    EXPECT_NE(Db("put --key k --field 0=x").status, 0);
    EXPECT_NE(Db("put --key k --field 2x=x").status, 0);
    EXPECT_NE(Db("put --key k --field 2=a --field 2=b").status, 0);
    EXPECT_NE(Db("put --key 123456789012345678901 --field 2=a").status, 0);
    EXPECT_NE(Stderr().find("1 to 20"), std::string::npos);
    EXPECT_NE(Db("put --key k --field 2=" + std::string(5000, 'x')).status, 0);
    EXPECT_NE(Stderr().find("do not fit"), std::string::npos);
    EXPECT_NE(
        Db("add-chart --date 01.01.2000 --gmt 0 --lat 0 --lon 0 --name " + std::string(30, 'n'))
            .status,
        0);
    EXPECT_NE(Db("add-chart --date 32 --gmt 0 --lat 0 --lon 0 --name n").status, 0);
    // A moment that cannot be is refused, not folded into 03.03.1985.
    EXPECT_NE(
        Db("add-chart --date \"31.02.1985 05:00:00\" --gmt 0 --lat 0 --lon 0 --name n").status, 0);
    EXPECT_NE(Stderr().find("31.02.1985"), std::string::npos) << Stderr();
    EXPECT_EQ(Json("list --json"), json::array());
}

TEST_F(DbCli, CardsGoToCsvAndBackAndTheProfileNamesTheDatabase) {
    base.clear();  // the stem comes from each call or from the profile
    ASSERT_EQ(Db("--base first create").status, 0);
    ASSERT_EQ(Db(std::string("--base first ") + kIvan).status, 0);
    // Files given on the command line are the caller's, not the workspace's.
    ASSERT_EQ(Db("--base first export --out cards.csv").status, 0) << Stderr();
    std::string csv = ReadFileBytes(work.Path() + "/cards.csv").value_or("");
    EXPECT_EQ(csv,
              "name,date,time,latitude,longitude,place,gmt,comment\n"
              "Иван Петров,16.05.1945,08:00:00,55.45,37.37,Москва,-3.00,первая карта\n");
    // The profile names the base in its own code page (CP1251); the file has it in UTF-8.
    ASSERT_TRUE(WriteFileAtomically(work.Path() + "/ws/orbt.ini",
                                    std::string("JD=01.01.2000\nBASA = второй"_cp) + "\n"));
    ASSERT_EQ(Db("create").status, 0);
    EXPECT_TRUE(FileExists(work.Path() + "/ws/второй.btr"));
    auto r = Db("import --in cards.csv");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out, "imported 1 cards\n");
    EXPECT_EQ(Json("list --json"), Json("--base first list --json"));
    ASSERT_TRUE(WriteFileAtomically(work.Path() + "/bad.csv", "name,date\nA,99.99.9999\n"));
    EXPECT_NE(Db("import --in bad.csv").status, 0);
    EXPECT_NE(Stderr().find("line 2, column date"), std::string::npos) << Stderr();
    EXPECT_EQ(Json("list --json").size(), 1u);
}

TEST_F(DbCli, ADamagedIndexIsToldOnceInRussianAndRepaired) {
    ASSERT_EQ(Db("create").status, 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(Db(kIvan).status, 0);
    std::string index = ReadFileBytes(work.Path() + "/ws/cards.btr").value_or("");
    ASSERT_GT(index.size(), 2048u);
    ASSERT_TRUE(WriteFileAtomically(work.Path() + "/ws/cards.btr",
                                    std::string(2048, '\0') + index.substr(2048)));
    EXPECT_EQ(Db("list").status, 1);
    std::string told = Stderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << "one fault, one message: " << told;
    EXPECT_NE(told.find("повреждена"), std::string::npos) << told;
    EXPECT_NE(told.find("db repair"), std::string::npos) << told;
    auto r = Db("repair");
    ASSERT_EQ(r.status, 0) << Stderr();
    EXPECT_EQ(r.out.substr(0, 28), "index rebuilt: 4 keys, depth") << "three cards and .@";
    EXPECT_EQ(Json("list --json").size(), 3u);
    auto check = Json("check --json");
    EXPECT_EQ(check["sound"], true);
    EXPECT_EQ(check["unreachableNodes"], json::array());
}

}  // namespace
}  // namespace orbeta

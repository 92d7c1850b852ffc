// orbeta-cli textbase lookup: what a report prints for each key, and the JSON form.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "../support/test_support.h"
#include "platform/codepage.h"

namespace orbeta {
namespace {

TEST(CliTextBase, LookupPrintsWhatReportsPrint) {
    test::TempWorkDir work;
    std::filesystem::create_directories(work.Path() + "/ws");
    work.WriteFile("ws/t.csr", Utf8ToOem("FILES=t2.csr\n@a b\nТекст.\n=4\n\n@c\n#x\n"));
    work.WriteFile("ws/t2.csr", Utf8ToOem("@b\nДругой.\n"));
    auto run = [&](const std::string& args) {
        return test::RunCommand(std::string(ORBETA_CLI) + " --workspace " + work.Path() +
                                "/ws textbase " + args + " 2>/dev/null");
    };
    auto r = run("lookup --base t --key a --key none --key b");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Текст.\n\nДругой.\n\n");
    r = run("lookup --base t --json --key a --key c --key none");
    ASSERT_EQ(r.status, 0);
    auto out = nlohmann::json::parse(r.out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0]["lines"], nlohmann::json({"Текст.", "=4", ""}));
    EXPECT_EQ(out[0]["value"], "4");
    EXPECT_EQ(out[1]["found"], true);
    EXPECT_EQ(out[1]["printed"], "");
    EXPECT_EQ(out[2]["found"], false);
    EXPECT_TRUE(out[2]["value"].is_null());
    EXPECT_EQ(run("compile --base t").out, "t.cta: up to date\n");
    EXPECT_EQ(run("check --base t").status, 1);  // "b" names two blocks
}

}  // namespace
}  // namespace orbeta

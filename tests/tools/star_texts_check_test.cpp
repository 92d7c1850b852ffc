// The checker of the star, degree, lot and asteroid texts on a small consistent set of
// files, then with one fault at a time: each is found, on its own line.
#include <gtest/gtest.h>

#include <string>

#include "star_texts_check.h"

namespace orbeta {
namespace {

std::string Words(int n, const std::string& seed) {
    std::string out = " ";
    for (int i = 0; i < n; ++i) out += seed + std::to_string(i) + (i % 9 == 8 ? "\n" : " ");
    return out.back() == '\n' ? out : out + "\n";
}

StarTextSources GoodSet() {
    StarTextSources s;
    auto set = [](NamedText& t, const std::string& name, std::string text) {
        t = {name, std::move(text), true};
    };
    const std::string regulus = "=Регул 10.139531 11.967209 -165.82 0.56 1.40 1 3";
    const std::string polaris = "=Полярная 2.530301 89.264109 3.97 -1.52 2.02 2 0";
    set(s.catalogue, "starbb.ctl", "* catalogue\n" + regulus + "\n" + polaris + "\n");
    set(s.uiTexts, "orbtw.t", "ASw Церера 17/Паллада 18\nSym SUN/MON/ASC/@\nH02/R10\n");
    set(s.starbb, "starbb.csr",
        "@0\n" + Words(70, "а") + "@000\n" + Words(160, "б") + "@g001\n" + Words(90, "в") +
            "@s001\n" + Words(70, "г") + "@s002\n" + Words(70, "д") + "@@ CTL\n=Введение$000\n");
    set(s.aster, "aster.csr",
        "@0\n" + Words(90, "е") + "@17\n" + Words(90, "ж") + "@18\n" + Words(90, "з"));
    std::string degrees = "* degrees\n";
    for (int d = 0; d < 360; ++d)
        degrees += "@" + std::to_string(d) + "\n" + Words(55, "x" + std::to_string(d) + "x");
    set(s.degrees, "grad_ch.ctl", degrees);
    set(s.stars, "star.ctl",
        regulus + "\n" + Words(70, "и") + "@\n" + polaris + "\n" + Words(70, "к") + "@\n");
    set(s.lots, "chreb.ctl", "* lots\n-D ASC+MON-SUN Жребий Фортуны\nM  ASC+H02-R10 Жребий\n");
    return s;
}

TEST(StarTextsCheck, GoodSetPassesAndEachFaultIsFound) {
    EXPECT_EQ(CheckStarTexts(GoodSet()), std::vector<std::string>{});

    struct Case {
        const char* what;
        void (*spoil)(StarTextSources&);
        const char* problem;
    };
    const Case cases[] = {
        {"missing s###",
         [](StarTextSources& s) { s.starbb.text.replace(s.starbb.text.find("@s002"), 5, "@s009"); },
         "starbb.csr:0: missing key s002"},
        {"a 361st degree", [](StarTextSources& s) { s.degrees.text += "@360\n" + Words(55, "y"); },
         "grad_ch.ctl:"},
        {"unknown lot symbol", [](StarTextSources& s) { s.lots.text += "-  ASC+XYZ-SUN Жребий\n"; },
         "chreb.ctl:4: unknown symbol XYZ"},
        {"a 73-character line",
         [](StarTextSources& s) { s.aster.text += std::string(73, 'a') + "\n"; }, "aster.csr:"},
        {"a shared run of twelve words",
         [](StarTextSources& s) {
             std::string run =
                 "один два три четыре пять шесть семь восемь девять десять одиннадцать двенадцать";
             s.starbb.text.insert(s.starbb.text.find("@s001") + 6, " " + run + "\n");
             s.aster.text.insert(s.aster.text.find("@18") + 4, " " + run + "\n");
         },
         "shares a run of 12 words with @s001"},
        {"star line differs",
         [](StarTextSources& s) { s.stars.text.replace(s.stars.text.find("1.40"), 4, "1.41"); },
         "star.ctl:1: star line differs from starbb.ctl"},
        {"key named twice", [](StarTextSources& s) { s.aster.text += "@17\n" + Words(90, "л"); },
         "key 17 also at line"},
    };
    for (const Case& c : cases) {
        auto s = GoodSet();
        c.spoil(s);
        auto problems = CheckStarTexts(s);
        bool found = false;
        for (const auto& p : problems) found = found || p.find(c.problem) != std::string::npos;
        EXPECT_TRUE(found) << c.what << ": " << (problems.empty() ? "no problem" : problems[0]);
    }
}

}  // namespace
}  // namespace orbeta

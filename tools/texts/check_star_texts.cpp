// Checks the texts on fixed stars, degrees, lots and asteroids of a data folder:
// orbeta-check-star-texts DATA-DIR [STAMP]; the stamp is written when they are good.
#include <cstdio>
#include <filesystem>

#include "platform/text_file.h"
#include "star_texts_check.h"

namespace {

orbeta::NamedText Read(const std::filesystem::path& dir, const std::string& name) {
    orbeta::NamedText t;
    t.name = "data/" + name;
    auto bytes = orbeta::ReadFileBytes((dir / name).string());
    t.present = bytes.has_value();
    if (bytes) t.text = std::move(*bytes);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orbeta-check-star-texts DATA-DIR [STAMP]\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    orbeta::StarTextSources s{Read(dir, "starbb.ctl"),       Read(dir, "orbtw.t"),
                              Read(dir, "texts/starbb.csr"), Read(dir, "texts/aster.csr"),
                              Read(dir, "grad_ch.ctl"),      Read(dir, "star.ctl"),
                              Read(dir, "chreb.ctl")};
    auto problems = orbeta::CheckStarTexts(s);
    for (const auto& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
    if (!problems.empty()) return 1;
    if (argc > 2 && !orbeta::WriteFileAtomically(argv[2], "checked\n")) return 1;
    return 0;
}

// Checks data/orbtw.t: orbeta-check-texts SOURCE [STAMP]; the stamp file is written
// when the source is good.
#include <cstdio>

#include "platform/text_file.h"
#include "ui_text_check.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orbeta-check-texts SOURCE [STAMP]\n");
        return 2;
    }
    auto bytes = orbeta::ReadFileBytes(argv[1]);
    if (!bytes) {
        std::fprintf(stderr, "orbeta-check-texts: cannot read %s\n", argv[1]);
        return 1;
    }
    auto problems = orbeta::CheckUiTextSource(*bytes);
    for (const auto& p : problems) std::fprintf(stderr, "%s: %s\n", argv[1], p.c_str());
    if (!problems.empty()) return 1;
    if (argc > 2 && !orbeta::WriteFileAtomically(argv[2], "checked\n")) return 1;
    return 0;
}

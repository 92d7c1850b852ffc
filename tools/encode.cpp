// Writes a UTF-8 data source in the code page its format requires; a character the code
// page cannot hold stops the build with its line, rather than shipping a '?'.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "platform/text_file.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: orbeta-encode CP866|CP1251 IN OUT\n");
        return 2;
    }
    std::string encoding = argv[1];
    auto bytes = orbeta::ReadFileBytes(argv[2]);
    if (!bytes) {
        std::fprintf(stderr, "orbeta-encode: cannot read %s\n", argv[2]);
        return 1;
    }
    std::string out;
    std::string back;
    if (encoding == "CP866") {
        out = orbeta::Utf8ToOem(*bytes);
        back = orbeta::OemToUtf8(out);
    } else if (encoding == "CP1251") {
        out = orbeta::Utf8ToAnsi(*bytes);
        back = orbeta::AnsiToUtf8(out);
    } else {
        std::fprintf(stderr, "orbeta-encode: unknown encoding %s\n", argv[1]);
        return 2;
    }
    if (back != *bytes) {
        size_t at = 0;
        while (at < back.size() && at < bytes->size() && back[at] == (*bytes)[at]) ++at;
        long line = 1 + std::count(bytes->begin(), bytes->begin() + static_cast<long>(at), '\n');
        std::fprintf(stderr, "%s:%ld: a character %s cannot hold\n", argv[2], line, argv[1]);
        return 1;
    }
    if (!orbeta::WriteFileAtomically(argv[3], out)) {
        std::fprintf(stderr, "orbeta-encode: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}

// Runs a fuzz target without libFuzzer: first every file of the corpus directory as it
// is (the seeds and the inputs of past findings), then random byte strings, strings
// built from the characters that the program's text formats give meaning to, and
// corpus files with bytes changed, cut or repeated.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string Mutated(std::string s, std::mt19937& rng) {
    for (int n = 1 + static_cast<int>(rng() % 8); n > 0; --n) {
        size_t at = s.empty() ? 0 : rng() % s.size();
        switch (rng() % 4) {
            case 0:
                if (!s.empty()) s[at] = static_cast<char>(rng());
                break;
            case 1:
                s.resize(at);
                break;
            case 2:
                s.insert(at, 1, static_cast<char>(rng()));
                break;
            default:
                s.insert(at, s.substr(at, rng() % 16));
                break;
        }
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    long runs = argc > 1 ? std::atol(argv[1]) : 10000;
    std::vector<std::string> corpus;
    if (argc > 2) {
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[2], ec))
            if (entry.is_regular_file()) files.push_back(entry.path());
        if (ec || files.empty()) {
            std::fprintf(stderr, "no corpus in %s\n", argv[2]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
            Run(corpus.back());
        }
    }
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789.:- \t\r\n\"*=/@#SAabcz\x01\xff\xd0\xb0";
    for (long i = 0; i < runs; ++i) {
        if (!corpus.empty() && i % 3 == 2) {
            Run(Mutated(corpus[rng() % corpus.size()], rng));
            continue;
        }
        size_t len = rng() % (i % 10 == 0 ? 4096 : 64);
        std::string input(len, '\0');
        bool structured = i % 2;
        for (auto& c : input)
            c = structured ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        Run(input);
    }
    std::printf("%zu corpus files and %ld inputs, no failure\n", corpus.size(), runs);
    return 0;
}

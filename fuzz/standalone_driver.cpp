// Runs a fuzz target without libFuzzer: random byte strings, then strings built from
// the characters that the program's text formats give meaning to.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    long runs = argc > 1 ? std::atol(argv[1]) : 10000;
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789.:- \t\r\n\"*=/@#SAabcz\x01\xff\xd0\xb0";
    for (long i = 0; i < runs; ++i) {
        size_t len = rng() % (i % 10 == 0 ? 4096 : 64);
        std::string input(len, '\0');
        bool structured = i % 2;
        for (auto& c : input)
            c = structured ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::printf("%ld inputs, no failure\n", runs);
    return 0;
}

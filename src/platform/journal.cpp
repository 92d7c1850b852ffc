#include "platform/journal.h"
#include "platform/program_state.h"

#include <cstdio>

namespace orbeta {

void JournalFile::Write(const std::string& line) {
    FILE* f = std::fopen(path_.c_str(), "a");
    if (!f) return;  // the journal never stops the program
    if (!started_) {
        std::fputs("*****\n", f);
        started_ = true;
    }
    std::fputs(line.c_str(), f);
    std::fputc('\n', f);
    std::fclose(f);
}

void JournalFile::SetDebug(bool on, bool clear) {
    debug_ = on;
    if (on && clear) std::remove(path_.c_str());
}

JournalFile& TheJournal() {
    static JournalFile journal;
    // A fresh start (a test) returns it to what it was at first.
    static const StateReset reset{[initial = journal] { journal = initial; }};
    return journal;
}

}  // namespace orbeta

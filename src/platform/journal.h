#pragma once
// The journal jur.jur of the working directory: opened, appended and closed for each
// line, "*****" before the first line of a run; debug traces only with the debug
// option, which also clears the journal at start-up.
#include <string>

namespace orbeta {

class JournalFile {
public:
    explicit JournalFile(std::string path = "jur.jur") : path_(std::move(path)) {}
    void Write(const std::string& line);
    void WriteDebug(const std::string& line) {
        if (debug_) Write(line);
    }
    // The debug option: at start-up, on deletes the journal so that it holds only this
    // run; switched on later, the lines already written stay.
    void SetDebug(bool on, bool clear = true);
    bool Debug() const { return debug_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool started_ = false;
    bool debug_ = false;
};

JournalFile& TheJournal();

}  // namespace orbeta

#pragma once
// Helpers of the tests: a temporary working directory per test, services that record
// instead of showing, running a command and reading its output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/services.h"

namespace orbeta::test {

// Makes a fresh temporary directory (empty, or a copy of the directory `copyOf`) the
// working directory for the life of the object and removes it afterwards.
class TempWorkDir {
  public:
    explicit TempWorkDir(const std::string& copyOf = "");
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;
    const std::string& Path() const { return path_; }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    void Remove(const std::string& name) const;
    // The bytes of a file of the directory; "<missing>" when it cannot be read.
    std::string Read(const std::string& name) const;

  private:
    std::string path_;
    std::string previous_;
};

// Services that record every message; Fatal throws FatalCalled.
struct FatalCalled {
    std::string text;
};
class RecordingServices : public Services {
  public:
    RecordingServices();
    ~RecordingServices() override;
    void Warning(const std::string& text) override { warnings.push_back(text); }
    [[noreturn]] void Fatal(const std::string& text) override { throw FatalCalled{text}; }
    ContinueOrQuit AskMissingEphemerisFile(const std::string& file) override {
        missingFiles.push_back(file);
        return answer;
    }
    [[noreturn]] void Quit() override { throw FatalCalled{"quit"}; }
    std::vector<std::string> warnings;
    std::vector<std::string> missingFiles;
    ContinueOrQuit answer = ContinueOrQuit::Continue;
};

// Output of a shell command (stdout), and its exit status.
struct CommandResult {
    int status = -1;
    std::string out;
};
CommandResult RunCommand(const std::string& command);
bool HaveProgram(const std::string& name);

// Directory of the workspace the build assembled, and the ephemeris directory.
std::string WorkspaceTemplate();
constexpr const char* kEpheDir = "/usr/share/libswe/ephe/";

}  // namespace orbeta::test

#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace orbeta::test {

TempWorkDir::TempWorkDir(const std::string& copyOf) {
    previous_ = fs::current_path().string();
    std::string templ = (fs::temp_directory_path() / "orbeta-test-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
    if (!copyOf.empty()) fs::copy(copyOf, path_, fs::copy_options::recursive);
    fs::current_path(path_);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

void TempWorkDir::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(fs::path(path_) / name, std::ios::binary);
    out << bytes;
}

void TempWorkDir::Remove(const std::string& name) const {
    fs::remove(fs::path(path_) / name);
}

std::string TempWorkDir::Read(const std::string& name) const {
    return ReadFileBytes((fs::path(path_) / name).string()).value_or("<missing>");
}

RecordingServices::RecordingServices() {
    InstallServices(this);
}
RecordingServices::~RecordingServices() {
    InstallServices(nullptr);
}

CommandResult RunCommand(const std::string& command) {
    CommandResult r;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null 2>&1 && echo yes").out == "yes\n";
}

std::string WorkspaceTemplate() {
    return ORBETA_TEST_WORKSPACE;
}

}  // namespace orbeta::test

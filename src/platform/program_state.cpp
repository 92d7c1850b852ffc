#include "platform/program_state.h"

#include <vector>

namespace orbeta {
namespace {

// Built on first use, so registrars of any translation unit may run first.
std::vector<std::function<void()>>& Resets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}

}  // namespace

void RegisterStateReset(std::function<void()> reset) {
    Resets().push_back(std::move(reset));
}

void ResetProgramWideState() {
    for (const auto& reset : Resets()) reset();
}

}  // namespace orbeta

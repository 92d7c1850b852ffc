#pragma once
// Program-wide state registers how to return to its start, so that a fresh start
// (a test, a new workspace) resets every piece of it, not only the pieces someone
// remembered to list.
#include <functional>

namespace orbeta {

// Adds a reset; called once per piece of state, usually from a static registrar next
// to the state itself.
void RegisterStateReset(std::function<void()> reset);

// Runs every registered reset, in the order of registration.
void ResetProgramWideState();

// For a static registrar: `const StateReset kReset{[] { ... }};`
struct StateReset {
    explicit StateReset(std::function<void()> reset) { RegisterStateReset(std::move(reset)); }
};

}  // namespace orbeta

#pragma once
// A computation with the default options for tests that check positions, not what the
// computation noted; tests of the notes make a Computation of their own.
#include "core/computation.h"

namespace orbeta::test {

inline Computation& Scratch() {
    static Computation c;
    c.diagnostics.Clear();
    return c;
}

}  // namespace orbeta::test

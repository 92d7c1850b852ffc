#include "core/computation.h"

#include <algorithm>
#include <set>

#include "platform/program_state.h"
#include "platform/services.h"
#include "platform/ui_text.h"

namespace orbeta {
namespace {

// Missing files the user chose to go on without: asked once each per run.
std::set<std::string>& AskedFiles() {
    static std::set<std::string> asked;
    return asked;
}
const StateReset kForgetAsked{[] { AskedFiles().clear(); }};

}  // namespace

void Diagnostics::Add(DiagnosticKind kind, std::string text) {
    Diagnostic d{kind, std::move(text)};
    if (std::find(items_.begin(), items_.end(), d) == items_.end()) items_.push_back(std::move(d));
}

bool Diagnostics::Has(DiagnosticKind kind) const {
    return std::any_of(items_.begin(), items_.end(),
                       [kind](const Diagnostic& d) { return d.kind == kind; });
}

void Diagnostics::Merge(Diagnostics& other) {
    for (Diagnostic& d : other.Take()) Add(d.kind, std::move(d.text));
}

void TellDiagnostics(Diagnostics& diagnostics) {
    // Cleared first: a fatal error or the user's "Завершить" does not come back here.
    for (const Diagnostic& d : diagnostics.Take()) {
        switch (d.kind) {
            case DiagnosticKind::PolarHouses:
                Svc().Warning(LookupText("virhous"));
                break;
            case DiagnosticKind::Warning:
                Svc().Warning(d.text);
                break;
            case DiagnosticKind::MissingFile:
                if (AskedFiles().count(d.text)) break;
                if (Svc().AskMissingEphemerisFile(d.text) == ContinueOrQuit::Quit) Svc().Quit();
                AskedFiles().insert(d.text);
                break;
            case DiagnosticKind::DamagedFile:
                Svc().Fatal(d.text);
        }
    }
}

void ForgetAskedFiles() {
    AskedFiles().clear();
}

}  // namespace orbeta

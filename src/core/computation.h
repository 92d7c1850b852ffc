#pragma once
// What a chart computation needs besides the chart, and what it has to say about its
// work. Options travel by value with each computation, so a command may compute with
// options of its own (geocentric rises, a chart of another profile) without touching
// anything shared. Computations never talk to the user: they note what happened in
// the diagnostics of the command that started them, and the command tells the user
// once (see TellDiagnostics).
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orbeta {

struct EphemerisOptions {
    bool trueNode = false;    // NDE: osculating instead of mean node
    bool trueLilith = false;  // LIL: osculating instead of mean apogee
    bool heliocentric = false;

    bool operator==(const EphemerisOptions&) const = default;
};

struct HypotheticalSet;

// Filled from the profile at start and whenever the profile changes; copied into each
// computation.
struct ChartContext {
    EphemerisOptions options;
    // The elements of swurn.ctl as read (see CurrentHypotheticalSet); null: not read.
    std::shared_ptr<const HypotheticalSet> hypothetical;
};

enum class DiagnosticKind {
    PolarHouses,  // a quadrant system above the polar latitude became zodiac houses
    MissingFile,  // an ephemeris file is missing: text is its name with the directory
    Warning,      // a warning whose text (CP1251) is shown as it stands
    DamagedFile,  // the ephemeris cannot go on: text (CP1251) ends the program
};

struct Diagnostic {
    DiagnosticKind kind;
    std::string text;
    bool operator==(const Diagnostic&) const = default;
};

// What the computations of one command noted, each distinct fault once, in order.
class Diagnostics {
  public:
    void Add(DiagnosticKind kind, std::string text = {});
    bool Has(DiagnosticKind kind) const;
    bool Empty() const { return items_.empty(); }
    const std::vector<Diagnostic>& Items() const { return items_; }
    void Clear() { items_.clear(); }
    // Adds what another list holds and empties it.
    void Merge(Diagnostics& other);
    // The items, leaving none behind.
    std::vector<Diagnostic> Take() { return std::exchange(items_, {}); }

  private:
    std::vector<Diagnostic> items_;
};

// One command's computations: the context by value and the diagnostics the command owns.
struct Computation {
    ChartContext context;
    Diagnostics diagnostics;

    Computation() = default;
    explicit Computation(ChartContext c) : context(std::move(c)) {}
    const EphemerisOptions& Options() const { return context.options; }
};

// Tells the user what the diagnostics hold, with the program's texts: the polar
// warning "virhous", each warning once, the missing-file question once per file per run
// (ending the program on "Завершить"), a damaged file as a fatal error. Empties them.
void TellDiagnostics(Diagnostics& diagnostics);

// Forgets which missing files were asked about (a new ephemeris, a test).
void ForgetAskedFiles();

}  // namespace orbeta

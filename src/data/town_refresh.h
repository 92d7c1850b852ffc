#pragma once
// New towns for a workspace that already has its "abasa" store: the store also holds
// the user's chart cards, so it is never replaced as a file; its town cards are
// replaced through the engine instead, whenever the towns version recorded in it
// differs from the shipped one.
#include <cstddef>
#include <functional>
#include <string>

namespace orbeta {

// The record that holds the towns version in field 2. Its key holds "@", so no
// listing shows it, and it lies outside the "t." keys of the towns.
inline constexpr const char* kTownsVersionKey = "t@version";

enum class TownRefresh { UpToDate, Refreshed, NoShipped, Failed };

// Told how far a refresh has come: records done of the total. Called first with 0 once
// the work is known to be needed (never when the towns are up to date), last with
// done == total.
using TownRefreshProgress = std::function<void(size_t done, size_t total)>;

// Replaces the town cards of the store `stem` by those of the shipped store
// `shippedStem` when their versions differ; every other record stays. The shipped
// store is read from a copy (it may lie in a read-only folder), made under workStem.
// Before the store changes, its three files are copied to stem.*.bak (replacing the
// copy of the last refresh) and a mark file stem.refresh is made; a refresh that fails
// puts the copy back, and one cut short (the mark still there at the next refresh) is
// undone from the copy before anything else. The version is written last.
TownRefresh RefreshTownCards(const std::string& shippedStem, const std::string& stem,
                             const std::string& workStem = "towns-shipped",
                             const TownRefreshProgress& progress = {});

}  // namespace orbeta

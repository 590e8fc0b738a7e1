// Accounting of what a module under test opens and closes: handles, keys,
// the clipboard, hooks, libraries, system-allocated buffers, item lists and
// activation contexts. Install it on an Imports before any model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "harness/imports.h"

namespace harness::ledger {

void Install(Imports& imports);

// Starts a fresh account.
void Forget();

// Descriptions of what was opened since Forget and is still open.
std::vector<std::string> Open();

// Releases whose resource was never opened (double closes, foreign values).
std::vector<std::string> StrayReleases();

// For models that hand the module resources of their own: `value` of `kind`
// ("find", "handle", ...) opened, or released, by the call `by`.
void Recorded(const char* kind, std::uintptr_t value, const char* by);
void Released(const char* kind, std::uintptr_t value, const char* by);

}  // namespace harness::ledger

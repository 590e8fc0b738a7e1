// Accounting of what a module under test opens and closes: handles, keys,
// the clipboard, hooks, libraries, system-allocated buffers, item lists and
// activation contexts. Install it on an Imports before any model.
#pragma once

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

}  // namespace harness::ledger

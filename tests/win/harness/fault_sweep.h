// Fault sweeps: fail every Win32 call an operation makes, one at a time, and
// check each run.
//
//   harness::ledger::Install(imports);           // then any model
//   harness::SweepFaults(imports,
//       [&] { return qm::CallAtBoundary([&] { Operation(); }); },
//       [&](const harness::Fault& fault, HRESULT status) { EXPECT_EQ(status, ...); });
//
// The operation runs once while the module's imports are recorded; then once
// per recorded call (the n-th call of a name counts as its own point), with
// that call failed. A sweep leaves alone plumbing (harness::IsPlumbing),
// calls that release a resource (a failed release leaves it open by
// definition) and calls that cannot fail. After each run it checks that the
// fault fired and, unless told otherwise, that the ledger shows nothing open
// and no stray release.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "harness/imports.h"

namespace harness {

struct Fault {
  std::string name;   // the import that failed
  std::uint64_t nth;  // which of its calls in the operation, from 1
  DWORD error;        // the last error the failed call left
};

// "CreateFileA #1 (error 1117)", for test messages.
std::string Describe(const Fault& fault);

struct FaultSweepOptions {
  // The last error a failed call leaves: distinctive, so that a test can tell
  // it from errors the platform produces on its own.
  DWORD error = ERROR_IO_DEVICE;
  // Runs before every run, the recording one included: puts the world back.
  std::function<void()> prepare;
  // Runs after every run, after its check.
  std::function<void()> cleanup;
  // More imports not to fail.
  std::vector<std::string> skip;
  bool check_ledger = true;
  // The operation must succeed when nothing fails (else the recording would
  // sweep a failure path).
  bool expect_clean_success = true;
};

// Releases and calls that report no failure; a sweep does not fail them.
bool IsReleaseOrInfallible(std::string_view name);

// Returns the faults tried, in call order, so that a test can check the sweep
// reached the calls it expects.
std::vector<Fault> SweepFaults(Imports& imports, const std::function<HRESULT()>& operation,
                               const std::function<void(const Fault&, HRESULT)>& check,
                               const FaultSweepOptions& options = {});

}  // namespace harness

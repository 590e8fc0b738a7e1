// Shared setup of the link service tests: the module's imports with the
// ledger and a fresh scratch directory on drive D:.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "harness/imports.h"
#include "harness/ntfs_model.h"
#include "harness/test_files.h"
#include "win/boundary.h"

namespace links_test {

// The status an operation ends with at an interface boundary.
template <class Body>
HRESULT StatusOf(Body&& body) {
  return qm::CallAtBoundary(std::forward<Body>(body));
}

using harness::Exists;
using harness::IsDirectory;
using harness::MakeDirectory;
using harness::MakeFile;
using harness::RemoveTree;

// On the plain platform: imports counted, ledger installed, scratch directory.
class PlainPlatform : public ::testing::Test {
 protected:
  PlainPlatform();
  ~PlainPlatform() override;
  void TearDown() override;

  std::string At(const std::string& name) const { return scratch + "\\" + name; }

  harness::Imports imports{GetModuleHandleA("qm_testable.dll")};
  std::string scratch;  // D:\<suite>.<test>, empty at the start
};

// The same with the NTFS model installed after the ledger.
class OnNtfs : public PlainPlatform {
 protected:
  harness::NtfsModel model{imports};
};

}  // namespace links_test

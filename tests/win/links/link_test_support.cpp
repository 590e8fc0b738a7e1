#include "link_test_support.h"

#include "harness/ledger.h"

namespace links_test {

PlainPlatform::PlainPlatform() {
  harness::ledger::Install(imports);
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  scratch = std::string("D:\\") + test->test_suite_name() + "." + test->name();
  RemoveTree(scratch);
  MakeDirectory(scratch);
  harness::ledger::Forget();
  imports.ResetCounts();
}

void PlainPlatform::TearDown() {
  for (const auto& open : harness::ledger::Open()) ADD_FAILURE() << "still open: " << open;
  for (const auto& stray : harness::ledger::StrayReleases()) ADD_FAILURE() << "stray release: " << stray;
}

PlainPlatform::~PlainPlatform() { RemoveTree(scratch); }

}  // namespace links_test

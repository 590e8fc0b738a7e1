// The interception machinery itself, on the test module's own imports.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness/imports.h"
#include "harness/ledger.h"
#include "core/status.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace {

HMODULE TestModule() { return GetModuleHandleA("qm_testable.dll"); }

TEST(Imports, CountsFailsAndReplacesCallsOfTheModuleUnderTest) {
  harness::Imports imports(TestModule());
  ASSERT_TRUE(imports.Has("GetLocaleInfoA"));
  imports.ResetCounts();
  EXPECT_EQ(qm::ToWide("abc"), L"abc");
  EXPECT_EQ(imports.Calls("GetLocaleInfoA"), 1u);

  // The second call fails with the chosen error; the code page falls back to the system's.
  imports.FailCall("MultiByteToWideChar", 2, ERROR_NO_UNICODE_TRANSLATION);
  try {
    qm::ToWide("abc");
    FAIL() << "no failure raised";
  } catch (const qm::CAtlException& e) {
    EXPECT_EQ(static_cast<std::uint32_t>(e.status()), 0x80070459u);
  }
  EXPECT_TRUE(imports.FaultFired());
  EXPECT_EQ(qm::ToWide("xyz"), L"xyz");  // one shot

  static UINT(WINAPI * real_acp)() = nullptr;
  real_acp = imports.Replace<UINT WINAPI()>("GetACP", []() WINAPI -> UINT { return 437; });
  imports.FailCall("GetLocaleInfoA", 1, ERROR_INVALID_PARAMETER);
  EXPECT_EQ(qm::ConversionCodePage(), 437u);
  imports.Restore("GetACP");
  EXPECT_NE(real_acp, nullptr);
}

TEST(Imports, RecordsCallsInOrderAndKeepsTheLastErrorOfPassedCalls) {
  harness::Imports imports(TestModule());
  SetLastError(1234);
  imports.StartRecording();
  qm::ConversionCodePage();
  const auto calls = imports.StopRecording();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "GetThreadLocale");
}

TEST(Ledger, ReportsWhatStaysOpenAndClearsWhenClosed) {
  harness::Imports imports(TestModule());
  harness::ledger::Install(imports);
  harness::ledger::Forget();
  {
    qm::ClipboardOpen clipboard;
    clipboard.Open(nullptr);
    EXPECT_EQ(harness::ledger::Open().size(), 1u);
  }
  EXPECT_TRUE(harness::ledger::Open().empty());
  EXPECT_TRUE(harness::ledger::StrayReleases().empty());
}

}  // namespace

#include "harness/fault_sweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "harness/ledger.h"

namespace harness {

std::string Describe(const Fault& fault) {
  return fault.name + " #" + std::to_string(fault.nth) + " (error " + std::to_string(fault.error) + ")";
}

bool IsReleaseOrInfallible(std::string_view name) {
  static const char* const names[] = {
      // Releases.
      "CloseHandle", "FindClose", "RegCloseKey", "CloseClipboard", "FreeLibrary", "LocalFree", "GlobalFree", "ILFree",
      "ReleaseActCtx", "DeactivateActCtx", "UnhookWindowsHookEx", "DestroyCursor", "DestroyIcon", "DestroyMenu",
      "DeleteObject", "ReleaseDC", "DeleteDC", "SysFreeString", "CoTaskMemFree", "ReleaseStgMedium", "GlobalUnlock",
      // No failure to report.
      "PathStripPathA", "PathStripPathW", "PathRemoveExtensionA", "PathRemoveExtensionW", "PathRemoveFileSpecA", "PathRemoveBlanksA",
      "PathRemoveBlanksW", "PathQuoteSpacesA", "PathUnquoteSpacesA", "GetThreadLocale", "GetACP", "GetOEMCP",
      "GetSystemDefaultLangID", "GetUserDefaultLangID", "GetUserDefaultUILanguage", "GetSystemDefaultUILanguage",
      "GetCurrentThreadId", "GetCurrentProcessId", "SetCursor", "SetErrorMode", "InitCommonControls",
      "SysStringLen", "SysStringByteLen", "VariantInit", "DragFinish"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

std::vector<Fault> SweepFaults(Imports& imports, const std::function<HRESULT()>& operation,
                               const std::function<void(const Fault&, HRESULT)>& check,
                               const FaultSweepOptions& options) {
  auto skipped = [&](const std::string& name) {
    return IsPlumbing(name) || IsReleaseOrInfallible(name) ||
           std::find(options.skip.begin(), options.skip.end(), name) != options.skip.end();
  };

  if (options.prepare) options.prepare();
  imports.ClearFaults();
  imports.StartRecording();
  const HRESULT clean = operation();
  const std::vector<std::string> calls = imports.StopRecording();
  if (options.expect_clean_success) EXPECT_TRUE(SUCCEEDED(clean)) << "fails without a fault: 0x" << std::hex << clean;
  if (options.cleanup) options.cleanup();

  std::vector<Fault> faults;
  std::map<std::string, std::uint64_t> seen;
  for (const std::string& name : calls) {
    const std::uint64_t nth = ++seen[name];
    if (!skipped(name)) faults.push_back({name, nth, options.error});
  }

  for (const Fault& fault : faults) {
    SCOPED_TRACE(Describe(fault));
    if (options.prepare) options.prepare();
    ledger::Forget();
    imports.FailCall(fault.name, fault.nth, fault.error);
    const HRESULT status = operation();
    EXPECT_TRUE(imports.FaultFired()) << "the call was not reached again";
    imports.ClearFaults();
    if (options.check_ledger) {
      for (const std::string& open : ledger::Open()) ADD_FAILURE() << "still open: " << open;
      for (const std::string& stray : ledger::StrayReleases()) ADD_FAILURE() << "stray release: " << stray;
    }
    check(fault, status);
    if (options.cleanup) options.cleanup();
  }
  return faults;
}

}  // namespace harness

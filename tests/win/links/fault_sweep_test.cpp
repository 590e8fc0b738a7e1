// Every Win32 call of the link services failed once in turn: the documented
// status (or empty result) comes back, nothing stays open, partial work is
// undone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "core/status.h"
#include "harness/fault_sweep.h"
#include "link_test_support.h"
#include "links/path_queries.h"
#include "links/reparse_point.h"
#include "links/soft_link.h"
#include "links/unique_name.h"
#include "links/volume_queries.h"

namespace links_test {
namespace {

constexpr HRESULT kInjected = HRESULT_FROM_WIN32(ERROR_IO_DEVICE);

std::set<std::string> Names(const std::vector<harness::Fault>& faults) {
  std::set<std::string> names;
  for (const auto& fault : faults) names.insert(fault.name);
  return names;
}

TEST_F(OnNtfs, CreateSoftLinkRaisesAndRemovesTheDirectoryWheneverACallFails) {
  const std::string link = At("link");
  const auto faults = harness::SweepFaults(
      imports, [&] { return StatusOf([&] { qm::CreateSoftLink(link, L"D:\\Data"); }); },
      [&](const harness::Fault& fault, HRESULT status) {
        EXPECT_EQ(status, kInjected);
        EXPECT_FALSE(Exists(link));
        EXPECT_FALSE(model.ReparseData(link));
      },
      {.prepare = [&] {
        RemoveDirectoryA(link.c_str());
        model.Forget(link);
      }});
  EXPECT_EQ(Names(faults), (std::set<std::string>{"CreateDirectoryA", "CreateFileA", "DeviceIoControl"}));
}

TEST_F(OnNtfs, ReadReparsePointLeavesTheRecordClearedWheneverACallFails) {
  MakeDirectory(At("junction"));
  model.Plant(At("junction"), harness::NtfsModel::MountPointData(u"\\??\\D:\\Data", u"D:\\Data"));
  qm::ReparsePointInfo info;
  const auto faults = harness::SweepFaults(
      imports,
      [&] {
        info.substitute_name = L"stale";
        return StatusOf([&] { qm::ReadReparsePoint(info, At("junction")); });
      },
      [&](const harness::Fault&, HRESULT status) {
        EXPECT_EQ(status, S_OK);
        EXPECT_EQ(qm::ReparseTag(info), 0u);
        EXPECT_TRUE(info.substitute_name.empty() && info.print_name.empty());
      });
  EXPECT_EQ(Names(faults), (std::set<std::string>{"CreateFileA", "DeviceIoControl"}));
}

TEST_F(OnNtfs, VolumeAndFileQueriesReportTheFailureOrTheZeroRecord) {
  const auto volume = harness::SweepFaults(
      imports, [] { return StatusOf([] { qm::IsNtfsVolume("D:\\Data"); }); },
      [](const harness::Fault&, HRESULT status) { EXPECT_EQ(status, kInjected); });
  EXPECT_EQ(Names(volume), (std::set<std::string>{"GetVolumeInformationA"}));

  MakeFile(At("file.txt"));
  BY_HANDLE_FILE_INFORMATION info{};
  const auto file = harness::SweepFaults(
      imports, [&] { return StatusOf([&] { info = qm::QueryFileInformation(At("file.txt")); }); },
      [&](const harness::Fault&, HRESULT status) {
        EXPECT_EQ(status, S_OK);
        const BY_HANDLE_FILE_INFORMATION zero{};
        EXPECT_EQ(std::memcmp(&info, &zero, sizeof info), 0);
      });
  EXPECT_EQ(Names(file), (std::set<std::string>{"CreateFileA", "GetFileInformationByHandle"}));

  const auto full = harness::SweepFaults(
      imports, [] { return StatusOf([] { qm::GetFullPath("relative\\name"); }); },
      [](const harness::Fault&, HRESULT status) { EXPECT_EQ(status, kInjected); });
  EXPECT_EQ(Names(full), (std::set<std::string>{"GetFullPathNameA"}));
}

TEST_F(OnNtfs, MakeUniqueDestinationPathRaisesInsteadOfGuessingAFreeName) {
  MakeDirectory(At("Music"));
  MakeDirectory(At("Soft Link to Music"));
  std::string chosen;
  const auto faults = harness::SweepFaults(
      imports,
      [&] {
        chosen.clear();
        return StatusOf([&] {
          chosen = qm::MakeUniqueDestinationPath("E:\\Music", scratch, false, "Soft Link to %s", "%s (%d)", 2);
        });
      },
      [&](const harness::Fault& fault, HRESULT status) {
        // A join that fails reads as a path too long; an existence test that
        // fails is reported, never taken as "free".
        EXPECT_EQ(status, fault.name == "PathCombineA" ? HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) : kInjected);
        EXPECT_TRUE(chosen.empty());
      });
  EXPECT_EQ(faults.size(), 6u);
  EXPECT_EQ(Names(faults), (std::set<std::string>{"PathCombineA", "GetFileAttributesA"}));
  EXPECT_EQ(qm::MakeUniqueDestinationPath("E:\\Music", scratch, false, "Soft Link to %s", "%s (%d)", 2),
            At("Soft Link to Music (2)"));
}

}  // namespace
}  // namespace links_test

#include "link_test_support.h"

#include "harness/ledger.h"

namespace links_test {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeDirectory(const std::string& path) {
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path << " error " << GetLastError();
}

void MakeFile(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path << " error " << GetLastError();
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else DeleteFileA(child.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

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

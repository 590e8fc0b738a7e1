// The clipboard's file list as Explorer's Copy and Cut leave it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/status.h"
#include "harness/imports.h"
#include "harness/ledger.h"
#include "harness/test_files.h"
#include "links/clipboard_file_list.h"
#include "win/boundary.h"

namespace {

void PutFileList(const std::vector<std::wstring>& names, DWORD effect = DROPEFFECT_COPY) {
  harness::PutFilesOnClipboard(names, effect == DROPEFFECT_MOVE);
}

void ClearClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    harness::ledger::Install(imports);
    harness::ledger::Forget();
  }
  void TearDown() override {
    EXPECT_TRUE(harness::ledger::Open().empty()) << harness::ledger::Open().front();
    // The clipboard is free again: this thread can open it.
    ASSERT_TRUE(OpenClipboard(nullptr));
    CloseClipboard();
  }
  harness::Imports imports{GetModuleHandleA("qm_testable.dll")};
};

TEST_F(Clipboard, AppendsCopiedAndCutNamesInDropOrderAfterWhatTheListHeld) {
  for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE}) {
    PutFileList({L"C:\\Docs\\b.txt", L"C:\\Docs\\a.txt", L"D:\\c"}, effect);
    qm::PathList list;
    list.Add("C:\\first");
    EXPECT_TRUE(qm::GetClipboardFileList(list));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "C:\\first");
    EXPECT_EQ(list[1], "C:\\Docs\\b.txt");
    EXPECT_EQ(list[2], "C:\\Docs\\a.txt");
    EXPECT_EQ(list[3], "D:\\c");
  }
}

TEST_F(Clipboard, WithoutFileListIsFalseAndAnEmptyDropListIsTrue) {
  qm::PathList list;
  ClearClipboard();
  EXPECT_FALSE(qm::GetClipboardFileList(list));
  harness::PutTextOnClipboard("C:\\Docs\\a.txt");
  EXPECT_FALSE(qm::GetClipboardFileList(list));
  EXPECT_TRUE(list.empty());
  PutFileList({});
  EXPECT_TRUE(qm::GetClipboardFileList(list));
  EXPECT_TRUE(list.empty());

  // An 8-bit list, in the ANSI code page.
  harness::PutDropBlockOnClipboard(std::string("\x14") + std::string(19, '\0') + "C:\\\xE9" + std::string(2, '\0'));
  EXPECT_TRUE(qm::GetClipboardFileList(list));
  EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()), std::vector<std::string>{"C:\\\xE9"});
}

TEST_F(Clipboard, NamesLongerThanMaxPathAreReadWhole) {
  const std::wstring long_name = L"C:\\" + std::wstring(300, L'x') + L"\\file.txt";
  PutFileList({long_name, L"C:\\short"});
  qm::PathList list;
  EXPECT_TRUE(qm::GetClipboardFileList(list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].size(), long_name.size());
  EXPECT_EQ(list[1], "C:\\short");
}

// Another window, on another thread, keeps the clipboard open.
DWORD WINAPI HoldClipboard(void* events) {
  auto* handles = static_cast<HANDLE*>(events);
  HWND window = CreateWindowA("STATIC", "holder", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  OpenClipboard(window);
  SetEvent(handles[0]);
  WaitForSingleObject(handles[1], 10000);
  CloseClipboard();
  DestroyWindow(window);
  return 0;
}

TEST_F(Clipboard, HeldByAnotherThreadRaisesAndLeavesTheListAlone) {
  PutFileList({L"C:\\Docs\\a.txt"});
  HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, events, 0, nullptr);
  WaitForSingleObject(events[0], 10000);
  qm::PathList list;
  try {
    qm::GetClipboardFileList(list);
    ADD_FAILURE() << "no failure raised";
  } catch (const qm::CAtlException& e) {
    EXPECT_EQ(e.status(), qm::StatusFromWin32(ERROR_ACCESS_DENIED));
  }
  EXPECT_TRUE(list.empty());
  SetEvent(events[1]);
  WaitForSingleObject(thread, 10000);
  for (HANDLE h : {events[0], events[1], thread}) CloseHandle(h);
}

TEST_F(Clipboard, AnOpenFailureWithoutLastErrorIsStillAFailure) {
  imports.FailCall("OpenClipboard", 1, ERROR_SUCCESS);
  qm::PathList list;
  try {
    qm::GetClipboardFileList(list);
    ADD_FAILURE() << "no failure raised";
  } catch (const qm::CAtlException& e) {
    EXPECT_EQ(e.status(), qm::status::Fail);
  }
}

TEST_F(Clipboard, FailuresWhileOpenCloseTheClipboard) {
  PutFileList({L"C:\\a", L"C:\\b", L"C:\\c"});

  // No drop handle: nothing appended, still true.
  imports.FailCall("GetClipboardData", 1, ERROR_INVALID_HANDLE);
  qm::PathList list;
  EXPECT_TRUE(qm::GetClipboardFileList(list));
  EXPECT_TRUE(list.empty());

  // A block that cannot be locked reads as no file list.
  imports.FailCall("GlobalLock", 1, ERROR_INVALID_HANDLE);
  EXPECT_FALSE(qm::GetClipboardFileList(list));
  EXPECT_TRUE(list.empty());

  // An error in the format walk reads as no file list.
  list.Clear();
  imports.FailCall("EnumClipboardFormats", 1, ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_FALSE(qm::GetClipboardFileList(list));

  // Memory runs out: E_OUTOFMEMORY, and the clipboard is closed.
  ASSERT_TRUE(imports.Has("malloc"));
  imports.FailCall("malloc", 1, ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(qm::CallAtBoundary([&] { qm::GetClipboardFileList(list); }), E_OUTOFMEMORY);
}

}  // namespace

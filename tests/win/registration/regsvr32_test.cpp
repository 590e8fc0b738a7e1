// The shipped DLL as Windows setups register it: Wine's own regsvr32 (64-bit)
// with /s and /u, the tree read back, and the classes created through the
// registry from another process, as Explorer does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module_test_support.h"
#include "registry_state.h"

namespace registration_tests {
namespace {

using module_tests::BinFolder;
using module_tests::Library;

// Interfaces Explorer asks the classes for.
constexpr char kContextMenu[] = "{000214E4-0000-0000-C000-000000000046}";
constexpr char kShellExtInit[] = "{000214E8-0000-0000-C000-000000000046}";
constexpr char kCopyHook[] = "{000214EF-0000-0000-C000-000000000046}";
constexpr char kOverlayIdentifier[] = "{0C6C4200-C589-11D0-999A-00C04FD655E1}";
constexpr char kColumnProvider[] = "{E8025004-1C42-11D2-BE2C-00A0C9A83DA1}";
constexpr char kObjectWithSite[] = "{FC4801A3-2BA9-11CF-A229-00AA003D7352}";
constexpr char kPropertySheet[] = "{000214E9-0000-0000-C000-000000000046}";

struct Finished {
  DWORD exit_code = ~0u;
  std::string output;
};

// Runs `command_line` and collects what it writes to its standard output
// (through a file: a pipe's write end can outlive the program in Wine).
Finished RunProgram(std::string command_line) {
  char folder[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "qmo", 0, file);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE output = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (output == INVALID_HANDLE_VALUE) return {};
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  Finished finished;
  if (CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, BinFolder().c_str(), &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &finished.exit_code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    SetFilePointer(output, 0, nullptr, FILE_BEGIN);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(output, buffer, sizeof buffer, &read, nullptr) && read) finished.output.append(buffer, read);
    std::erase(finished.output, '\r');
  }
  CloseHandle(output);
  return finished;
}

std::string SystemProgram(const char* name) {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  return std::string(directory, length) + "\\" + name;
}

class WineRegsvr32 : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetRegistration();
    WriteValue(HKEY_CLASSES_ROOT, "Directory", "InfoTip", {REG_SZ, std::string("prop:Foreign.Name;", 19)});
    WriteValue(HKEY_CLASSES_ROOT, "*", "InfoTip", {REG_SZ, std::string("prop:Type;Size", 15)});
  }
  void TearDown() override { ResetRegistration(); }

  DWORD RunRegsvr32(const char* switches) {
    return RunProgram("\"" + SystemProgram("regsvr32.exe") + "\" " + switches + " \"" + dll + "\"").exit_code;
  }

  InfoTipSnapshot infotips;
  const std::string dll = BinFolder() + "QuorvaneMarrowby.dll";
};

TEST_F(WineRegsvr32, RegistersOneTreeTwiceAndRemovesAllItWroteOnce) {
  const auto registered =
      ExpectedRegistration({.directory = true, .folder = true, .library = true}, dll,
                           {InfoTipLine("Directory", "prop:Foreign.Name;" + kFmtid + "1"),
                            InfoTipLine("*", "prop:Type;Size;" + kFmtid + "3")});
  ASSERT_EQ(RunRegsvr32("/s"), 0u);
  EXPECT_EQ(ReadRegistration(), registered);
  ASSERT_EQ(RunRegsvr32("/s"), 0u);
  EXPECT_EQ(ReadRegistration(), registered);

  // Another process creates both classes through the registry, as Explorer does.
  const std::vector directory_interfaces = {kContextMenu, kShellExtInit, kCopyHook, kOverlayIdentifier, kPropertySheet};
  for (const auto& [clsid, interfaces] :
       {std::pair{qm::testing::kDirectoryClass.clsid, directory_interfaces},
        std::pair{qm::testing::kFolderClass.clsid, std::vector{kColumnProvider, kObjectWithSite}}}) {
    std::string command = "\"" + BinFolder() + "registration_client.exe\" " + clsid;
    std::string expected = "create 0x00000000\n";
    for (const char* iid : interfaces) {
      command += std::string(" ") + iid;
      expected += std::string(iid) + " 0x00000000\n";
    }
    EXPECT_EQ(RunProgram(command).output, expected + "module " + dll + "\n");
  }

  ASSERT_EQ(RunRegsvr32("/u /s"), 0u);
  EXPECT_EQ(ReadRegistration(), ExpectedRegistration({}, dll,
                                                     {InfoTipLine("Directory", "prop:Foreign.Name"),
                                                      InfoTipLine("*", "prop:Type;Size")}));
  EXPECT_FALSE(ReadTree(HKEY_CLASSES_ROOT, "CLSID").empty());

  // A second unregistration finds the handler keys' parents without the handlers.
  EXPECT_NE(RunRegsvr32("/u /s"), 0u);
  Library library(dll);
  auto* unregister_server = library.Export<HRESULT WINAPI()>("DllUnregisterServer");
  ASSERT_NE(unregister_server, nullptr);
  const HRESULT second = unregister_server();
  EXPECT_EQ(second, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  RecordProperty("second_unregistration", std::to_string(static_cast<unsigned long>(second)));
}

TEST_F(WineRegsvr32, AModulePathTheCodePageCannotHoldIsNeverRegisteredAsALookAlike) {
  // "Łódź": the ANSI code page holds only the "ó", and best fit would make "Lódz".
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"\u0141\u00F3d\u017A";
  const std::wstring copy = folder + L"\\QuorvaneMarrowby.dll";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(std::wstring(dll.begin(), dll.end()).c_str(), copy.c_str(), FALSE));
  const std::vector<std::string> before = ReadRegistration();
  {
    const HMODULE module = LoadLibraryW(copy.c_str());
    ASSERT_NE(module, nullptr);
    auto* register_server = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllRegisterServer"));
    EXPECT_EQ(register_server(), HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
    FreeLibrary(module);
  }
  EXPECT_EQ(ReadRegistration(), before);
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace registration_tests

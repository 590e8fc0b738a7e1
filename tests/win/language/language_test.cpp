// Choice of the language module while the DLL loads: copies of the built
// main module sit in a temporary folder with the language modules a test
// puts beside them, and the registry holds the settings it makes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"
#include "harness/imports.h"
#include "harness/intercepted_library.h"
#include "harness/ledger.h"
#include "module/language_module.h"
#include "resources/resource_ids.h"
#include "win/module_instance.h"

namespace {

using namespace std::string_literals;

constexpr DWORD kUserLocaleInTests = 0x409;  // LANG=en_US.UTF-8

std::string BinFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

class TempFolder {
 public:
  TempFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    m_path = std::string(base) + "qm_language_" + std::to_string(GetCurrentProcessId()) + "_" +
             std::to_string(++counter) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((m_path + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((m_path + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(m_path.c_str());
  }

  // Copies a file of the build here under `name`; returns the new path.
  std::string Put(const std::string& built_file, const std::string& name) const {
    const std::string target = m_path + name;
    EXPECT_TRUE(CopyFileA((BinFolder() + built_file).c_str(), target.c_str(), FALSE)) << built_file;
    return target;
  }
  void Write(const std::string& name, const std::string& content) const {
    HANDLE file = CreateFileA((m_path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
  }
  std::string Language(const std::string& built_file, int language) const {
    return Put(built_file, "QuorvaneMarrowby.lang-" + std::to_string(language) + ".dll");
  }
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

// A value under the language setting key, removed again with the keys the
// test had to make for it.
class LocaleValue {
 public:
  LocaleValue(HKEY root, const char* name, DWORD type, const void* data, DWORD size) : m_root(root), m_name(name) {
    const char* parts[] = {"SOFTWARE\\Quorvane", "SOFTWARE\\Quorvane\\Marrowby", qm::kLanguageSettingKey};
    for (const char* part : parts) {
      HKEY key = nullptr;
      DWORD disposition = 0;
      EXPECT_EQ(RegCreateKeyExA(root, part, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition), ERROR_SUCCESS);
      if (disposition == REG_CREATED_NEW_KEY) m_created.insert(m_created.begin(), part);
      if (part == parts[2]) EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
      RegCloseKey(key);
    }
  }
  static LocaleValue Dword(HKEY root, const char* name, DWORD value) {
    return LocaleValue(root, name, REG_DWORD, &value, sizeof value);
  }
  static LocaleValue Text(HKEY root, const char* name, const std::string& text) {
    return LocaleValue(root, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  LocaleValue(LocaleValue&& other) noexcept
      : m_root(other.m_root), m_name(std::move(other.m_name)), m_created(std::move(other.m_created)) {
    other.m_root = nullptr;
  }
  ~LocaleValue() {
    if (!m_root) return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(m_root, qm::kLanguageSettingKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, m_name.c_str());
      RegCloseKey(key);
    }
    for (const std::string& made : m_created) RegDeleteKeyA(m_root, made.c_str());
  }

 private:
  HKEY m_root;
  std::string m_name;
  std::vector<std::string> m_created;  // innermost first
};

class Library {
 public:
  explicit Library(const std::string& path) : m_module(LoadLibraryA(path.c_str())) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (m_module) FreeLibrary(m_module);
  }
  HMODULE get() const { return m_module; }
  template <class F>
  F* Internal(const char* name) const {
    auto* found = reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

 private:
  HMODULE m_module;
};

bool IsLoaded(const std::string& path) { return GetModuleHandleA(path.c_str()) != nullptr; }

using GetClassObjectFunction = HRESULT WINAPI(REFCLSID, REFIID, void**);
using ServerFunction = HRESULT WINAPI();

template <class F>
F* Export(HMODULE module, const char* name) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// DllGetClassObject for a class the module does not have.
HRESULT RequestUnknownClass(HMODULE module) {
  constexpr CLSID kUnknownClsid = {0x3C0B9A5F, 0x7E2D, 0x4F18, {0x9A, 0x64, 0x21, 0x5D, 0x8C, 0x03, 0xB7, 0xE9}};
  void* out = &out;
  const HRESULT result = Export<GetClassObjectFunction>(module, "DllGetClassObject")(kUnknownClsid, IID_IClassFactory, &out);
  EXPECT_EQ(out, nullptr);
  return result;
}

bool HasSettings(HKEY root) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, qm::kLanguageSettingKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return values != 0;
}

class LanguageSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetUserDefaultLCID(), kUserLocaleInTests);
    ASSERT_FALSE(HasSettings(HKEY_CURRENT_USER) || HasSettings(HKEY_LOCAL_MACHINE)) << "language settings left over";
    m_main = m_folder.Put("QuorvaneMarrowby.dll", "QuorvaneMarrowby.dll");
    m_german = m_folder.Language("QuorvaneMarrowby.lang-1031.dll", 1031);
    m_english = m_folder.Language("QuorvaneMarrowby.lang-1031.dll", 1033);
    m_russian = m_folder.Language("QuorvaneMarrowby.lang-1031.dll", 1049);
  }

  // The language modules loaded now, by file name.
  std::vector<std::string> LoadedLanguageModules() const {
    std::vector<std::string> loaded;
    for (const std::string* path : {&m_german, &m_english, &m_russian})
      if (IsLoaded(*path)) loaded.push_back(path->substr(path->find_last_of('\\') + 1));
    return loaded;
  }

  // The language modules that a fresh load of the main module keeps loaded
  // once it has served its first entry point.
  std::vector<std::string> ChosenModules() const {
    Library main(m_main);
    EXPECT_NE(main.get(), nullptr);
    EXPECT_EQ(RequestUnknownClass(main.get()), CLASS_E_CLASSNOTAVAILABLE);
    return LoadedLanguageModules();
  }

  using Names = std::vector<std::string>;
  TempFolder m_folder;
  std::string m_main, m_german, m_english, m_russian;
};

TEST_F(LanguageSelection, WithoutSettingsTheUserLocaleNamesTheModuleAndUnloadReleasesIt) {
  EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1033.dll"});
  EXPECT_FALSE(IsLoaded(m_english));

  DeleteFileA(m_english.c_str());
  EXPECT_EQ(ChosenModules(), Names{});
}

// Run by the test below in a process of its own, which ends with the main
// module and the language module it chose loaded (exit status 0). A library
// freed while the process ends is written to QM_REPORT, save the reference
// to libgcc's DLL that the i686 C runtime's start-up code takes and gives
// back itself when the host has that DLL loaded.
BOOL WINAPI ReportFreeLibrary(HMODULE library) {
  if (library == GetModuleHandleA("libgcc_s_dw2-1.dll")) return FreeLibrary(library);
  std::FILE* report = std::fopen(std::getenv("QM_REPORT"), "a");
  std::fputs("FreeLibrary\n", report);
  return std::fclose(report) == 0;
}

TEST(ProcessEnd, DISABLED_WithTheLanguageModuleChosen) {
  auto* main = new harness::InterceptedLibrary(std::getenv("QM_MAIN_MODULE"));  // never freed
  EXPECT_EQ(RequestUnknownClass(main->get()), CLASS_E_CLASSNOTAVAILABLE);
  main->imports().Replace("FreeLibrary", &ReportFreeLibrary);
  ExitProcess(main->imports().Calls("LoadLibraryExA") == 1 ? 0 : 2);
}

TEST_F(LanguageSelection, WhenTheProcessEndsNothingIsFreed) {
  const std::string report = m_folder.path() + "report.txt";
  SetEnvironmentVariableA("QM_MAIN_MODULE", m_main.c_str());
  SetEnvironmentVariableA("QM_REPORT", report.c_str());
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  EXPECT_EQ(std::system((program + " --gtest_also_run_disabled_tests --gtest_filter=ProcessEnd.*"s).c_str()), 0);
  EXPECT_EQ(GetFileAttributesA(report.c_str()), INVALID_FILE_ATTRIBUTES) << "a library was freed";
}

TEST_F(LanguageSelection, TheUserKeyComesFirstAndEitherOfItsValuesEndsTheSearch) {
  const auto machine = LocaleValue::Dword(HKEY_LOCAL_MACHINE, "QuorvaneMarrowby", 1031);
  {
    const auto user_default = LocaleValue::Dword(HKEY_CURRENT_USER, "Default", 1049);
    EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1049.dll"});

    // Each load reads the setting afresh; the module's own value beats "Default".
    const auto user_own = LocaleValue::Dword(HKEY_CURRENT_USER, "QuorvaneMarrowby", 1033);
    EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1033.dll"});
  }
  EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1031.dll"});
}

TEST_F(LanguageSelection, OnlyDwordValuesCountAndOnlyTheirLanguagePart) {
  // Four bytes with the terminator, as long as a DWORD: only the type tells.
  const auto user_text = LocaleValue::Text(HKEY_CURRENT_USER, "QuorvaneMarrowby", "104");
  {
    const auto machine = LocaleValue::Dword(HKEY_LOCAL_MACHINE, "Default", 0x00010407);
    EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1031.dll"});
  }
  EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1033.dll"});
}

TEST_F(LanguageSelection, TheProductVersionMustMatchTheFileVersionNeedNot) {
  m_folder.Language("qm_test_lang_newer_product.dll", 1033);
  EXPECT_EQ(ChosenModules(), Names{});
  m_folder.Language("qm_test_lang_unversioned.dll", 1033);
  EXPECT_EQ(ChosenModules(), Names{});
  m_folder.Language("qm_test_lang_file_version.dll", 1033);
  EXPECT_EQ(ChosenModules(), Names{"QuorvaneMarrowby.lang-1033.dll"});
  m_folder.Write("QuorvaneMarrowby.lang-1033.dll", "MZ but not a module");
  EXPECT_EQ(ChosenModules(), Names{});
}

// An entry point of `module`; DllGetClassObject asks for a class it does not have.
HRESULT CallEntry(HMODULE module, const char* entry) {
  if (std::string_view(entry) == "DllGetClassObject") return RequestUnknownClass(module);
  return Export<ServerFunction>(module, entry)();
}

// Calls `entry` of `module` from several threads at once.
void CallFromThreads(HMODULE module, const char* entry) {
  struct Start {
    HANDLE go;
    HMODULE module;
    const char* entry;
  } start{CreateEventA(nullptr, TRUE, FALSE, nullptr), module, entry};
  auto run = [](void* parameter) WINAPI -> DWORD {
    const auto& start = *static_cast<Start*>(parameter);
    WaitForSingleObject(start.go, INFINITE);
    return static_cast<DWORD>(CallEntry(start.module, start.entry));
  };
  std::vector<HANDLE> threads;
  for (int i = 0; i < 4; ++i) threads.push_back(CreateThread(nullptr, 0, run, &start, 0, nullptr));
  SetEvent(start.go);
  WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
  for (HANDLE thread : threads) CloseHandle(thread);
  CloseHandle(start.go);
}

TEST_F(LanguageSelection, LoadingChoosesNothingAndTheFirstEntryPointsChooseOnce) {
  const auto user_default = LocaleValue::Dword(HKEY_CURRENT_USER, "Default", 1049);
  for (const char* first_entry : {"DllGetClassObject", "DllCanUnloadNow"}) {
    SCOPED_TRACE(first_entry);
    harness::InterceptedLibrary main(m_main);
    const harness::Imports& imports = main.imports();
    // DllMain ran through the intercepted imports and only made its locks.
    EXPECT_GE(imports.Calls("InitializeCriticalSectionAndSpinCount"), 3u);
    const char* const deferred[] = {"RegOpenKeyExA", "LoadLibraryExA", "CreateActCtxA", "GetFileVersionInfoSizeA"};
    for (const char* call : deferred) EXPECT_EQ(imports.Calls(call), 0u) << call;
    EXPECT_EQ(LoadedLanguageModules(), Names{});

    CallFromThreads(main.get(), first_entry);
    EXPECT_EQ(imports.Calls("RegOpenKeyExA"), 1u);  // the user's key holds the setting
    EXPECT_EQ(imports.Calls("LoadLibraryExA"), 1u);
    EXPECT_EQ(LoadedLanguageModules(), Names{"QuorvaneMarrowby.lang-1049.dll"});

    main.imports().ResetCounts();
    EXPECT_EQ(RequestUnknownClass(main.get()), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(Export<ServerFunction>(main.get(), "DllCanUnloadNow")(), S_OK);
    for (const char* call : deferred) EXPECT_EQ(imports.Calls(call), 0u) << call;
  }
  EXPECT_EQ(LoadedLanguageModules(), Names{});
}

// Refuses the choice while g_refuse_choice holds; counts the choices asked for.
bool g_refuse_choice = true;
int g_choices = 0;
HMODULE RefuseOrChooseMain(HMODULE main_module) {
  ++g_choices;
  if (g_refuse_choice) qm::RaiseStatus(E_OUTOFMEMORY);
  return main_module;
}

TEST_F(LanguageSelection, AChoiceThatCannotBeMadeAnswersTheEntryPointAndIsMadeLater) {
  // A copy of the test module, its choice handed to a chooser that raises.
  TempFolder folder;
  Library main(folder.Put("qm_testable.dll", "QuorvaneMarrowby.dll"));
  ASSERT_NE(main.get(), nullptr);
  using Chooser = HMODULE (*)(HMODULE);
  auto* attach = main.Internal<bool(HMODULE, Chooser)>("_ZN2qm20AttachModuleInstanceEP11HINSTANCE__PFS1_S1_E");
  ASSERT_TRUE(attach && attach(main.get(), &RefuseOrChooseMain));
  for (const char* entry : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
    EXPECT_EQ(CallEntry(main.get(), entry), E_OUTOFMEMORY) << entry;
  EXPECT_EQ(g_choices, 4);
  EXPECT_EQ(main.Internal<HMODULE()>("_ZN2qm10MainModuleEv")(), main.get());

  g_refuse_choice = false;
  EXPECT_EQ(RequestUnknownClass(main.get()), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(Export<ServerFunction>(main.get(), "DllCanUnloadNow")(), S_OK);
  EXPECT_EQ(g_choices, 5);
}

std::string Message(HMODULE module, DWORD id) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, module, id,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message(text ? text : "", length);
  LocalFree(text);
  return message;
}

TEST(LanguageModuleInUse, StringsComeOnlyFromItWhileMessagesComeFromTheMainModule) {
  // A copy of the test module exposes the module object of its own load.
  TempFolder folder;
  const std::string main_path = folder.Put("qm_testable.dll", "QuorvaneMarrowby.dll");
  const std::string language_path = folder.Language("qm_test_lang_missing_string.dll", 1033);
  Library main(main_path);
  ASSERT_NE(main.get(), nullptr);
  const HMODULE main_module = main.Internal<HMODULE()>("_ZN2qm10MainModuleEv")();
  const HMODULE resource_module = main.Internal<HMODULE()>("_ZN2qm14ResourceModuleEv")();
  auto* load_string = main.Internal<std::string(UINT)>("_ZN2qm18LoadResourceStringB5cxx11Ej");
  EXPECT_EQ(main_module, main.get());
  ASSERT_EQ(resource_module, GetModuleHandleA(language_path.c_str()));

  EXPECT_EQ(load_string(IDS_PROJNAME), "Quorvane Marrowby Testmodul");
  try {
    load_string(IDS_PASTE_SOFT_LINKS);
    ADD_FAILURE() << "string 105 loaded although the language module lacks it";
  } catch (const qm::CAtlException& e) {
    EXPECT_EQ(static_cast<std::uint32_t>(e.status()), 0x80070716u);  // ERROR_RESOURCE_NAME_NOT_FOUND
  }
  EXPECT_EQ(qm::LoadModuleString(main_module, IDS_PASTE_SOFT_LINKS), "Paste as Soft Link\nPaste as Soft Links\n");

  EXPECT_EQ(Message(main_module, 0x82010001), "Generic error\r\n");
  EXPECT_EQ(Message(resource_module, 0x82010001), "");
  auto* format_error_text = main.Internal<std::string(qm::Status, bool)>("_ZN2qm15FormatErrorTextB5cxx11Eib");
  EXPECT_EQ(format_error_text(static_cast<qm::Status>(0x82010001), true), "Generic error\r\n");
  EXPECT_EQ(format_error_text(static_cast<qm::Status>(0xA20101C4), true), "Fehler 0xa20101c4");
}

// The version block of the last module asked about: its size, and whether it
// is a language module's.
DWORD g_version_size = 0;
bool g_language_version = false;

DWORD WINAPI RememberVersionSize(LPCSTR path, LPDWORD handle) {
  g_language_version = std::string_view(path).find(".lang-") != std::string_view::npos;
  return g_version_size = GetFileVersionInfoSizeA(path, handle);
}

// A language module's fixed information moved to the end of its block: all
// but its last field inside, that one past the end.
BOOL WINAPI FixedInfoReachingPastTheEnd(LPCVOID block, LPCSTR sub_block, LPVOID* out, PUINT size) {
  if (!VerQueryValueA(block, sub_block, out, size)) return FALSE;
  if (!g_language_version || *size < sizeof(VS_FIXEDFILEINFO)) return TRUE;
  constexpr UINT kInside = sizeof(VS_FIXEDFILEINFO) - sizeof(DWORD);
  auto* end = static_cast<BYTE*>(const_cast<void*>(block)) + g_version_size;
  std::memmove(end - kInside, *out, kInside);
  *out = end - kInside;
  return TRUE;
}

// The load itself, seen from inside the module: the main module's manifest
// context is active around it and everything taken is given back.
TEST(LoadLanguageModule, LoadsInTheManifestContextAndKeepsOnlyAMatchingModule) {
  TempFolder folder;
  const std::string main_path = folder.Put("QuorvaneMarrowby.dll", "QuorvaneMarrowby.dll");
  const std::string language_path = folder.Language("qm_test_lang_newer_product.dll", 1033);
  const HMODULE main = LoadLibraryA(main_path.c_str());  // refuses the module itself while it loads
  ASSERT_NE(main, nullptr);
  ASSERT_FALSE(IsLoaded(language_path));
  harness::Imports imports(GetModuleHandleA("qm_testable.dll"));
  harness::ledger::Install(imports);

  harness::ledger::Forget();
  imports.StartRecording();
  EXPECT_FALSE(qm::LoadLanguageModule(main));
  std::vector<std::string> calls = imports.StopRecording();
  const std::vector<std::string> wanted = {"CreateActCtxA", "ActivateActCtx", "LoadLibraryExA", "DeactivateActCtx",
                                           "ReleaseActCtx", "GetFileVersionInfoSizeA", "FreeLibrary"};
  std::erase_if(calls, [&](const std::string& call) { return std::find(wanted.begin(), wanted.end(), call) == wanted.end(); });
  calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
  EXPECT_EQ(calls, wanted);
  EXPECT_EQ(harness::ledger::Open(), std::vector<std::string>{});
  EXPECT_FALSE(IsLoaded(language_path));

  folder.Language("qm_test_lang_file_version.dll", 1033);
  imports.FailCall("CreateActCtxA", 1, ERROR_OUTOFMEMORY);  // the load goes ahead without a context
  harness::ledger::Forget();
  qm::UniqueLibrary chosen = qm::LoadLanguageModule(main);
  EXPECT_TRUE(imports.FaultFired());
  EXPECT_EQ(chosen.get(), GetModuleHandleA(language_path.c_str()));
  EXPECT_EQ(harness::ledger::Open().size(), 1u);  // the module handed out
  chosen.reset();
  EXPECT_FALSE(IsLoaded(language_path));

  // Fixed version information that reaches past the version data is refused,
  // even when the part inside reads as the right version.
  imports.Replace("GetFileVersionInfoSizeA", &RememberVersionSize);
  imports.Replace("VerQueryValueA", &FixedInfoReachingPastTheEnd);
  EXPECT_FALSE(qm::LoadLanguageModule(main));
  FreeLibrary(main);
}

}  // namespace

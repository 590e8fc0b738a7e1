// The resources of the built main module and language modules, read the way
// the system reads them.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "module_test_support.h"
#include "resources/class_ids.h"
#include "resources/resource_ids.h"
#include "win/com_ptr.h"

namespace {

using module_tests::BinFolder;
using module_tests::Library;

constexpr DWORD kAsData = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;

std::wstring String(HMODULE module, UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : L"(missing)";
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  reinterpret_cast<std::set<ULONG_PTR>*>(names)->insert(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

// Identifiers of the module's resources of one type (all of ours are numbered).
std::set<ULONG_PTR> ResourceIds(HMODULE module, LPCWSTR type) {
  std::set<ULONG_PTR> names;
  EnumResourceNamesW(module, type, &CollectName, reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::set<UINT> StringIds(HMODULE module) {
  std::set<UINT> ids;
  for (ULONG_PTR block : ResourceIds(module, MAKEINTRESOURCEW(6) /* RT_STRING */))
    for (UINT id = static_cast<UINT>((block - 1) * 16); id < block * 16; ++id)
      if (String(module, id) != L"(missing)") ids.insert(id);
  return ids;
}

std::vector<std::string> LanguageModules() {
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((BinFolder() + "QuorvaneMarrowby.lang-*.dll").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do found.push_back(entry.cFileName);
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

TEST(MainModuleResources, MessageTableManifestAndVersion) {
  Library dll(BinFolder() + "QuorvaneMarrowby.dll", kAsData);
  ASSERT_NE(dll.get(), nullptr);
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, dll.get(),
      0x82010001, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  EXPECT_EQ(std::string(text ? text : "", length), "Generic error\r\n");
  LocalFree(text);

  // Resource 3: the loader does not make a context of it while loading the DLL.
  EXPECT_EQ(ResourceIds(dll.get(), MAKEINTRESOURCEW(24) /* RT_MANIFEST */), std::set<ULONG_PTR>{3});
  HRSRC found = FindResourceA(dll.get(), MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(dll.get(), found))),
                             SizeofResource(dll.get(), found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);

  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(dll.path().c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(dll.path().c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  void* entry = nullptr;
  EXPECT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\OLESelfRegister", &entry, &size));
}

TEST(MainModuleResources, TypeLibrary) {
  const std::string folder = BinFolder();
  const std::wstring path(folder.begin(), folder.end());
  qm::ComPtr<ITypeLib> library;
  ASSERT_EQ(LoadTypeLibEx((path + L"QuorvaneMarrowby.dll").c_str(), REGKIND_NONE, library.put()), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, qm::kModuleLibraryId));
  EXPECT_EQ(attributes->lcid, 0x409u);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  EXPECT_EQ(attributes->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  library->ReleaseTLibAttr(attributes);

  BSTR name = nullptr, help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"QuorvaneMarrowby");
  EXPECT_STREQ(help, L"Quorvane Marrowby Module 1.0 Type Library");
  SysFreeString(name);
  SysFreeString(help);

  EXPECT_EQ(library->GetTypeInfoCount(), 2u);
  const std::pair<const CLSID*, const wchar_t*> coclasses[] = {
      {&qm::kClsidDirectoryShellExtension, L"Quorvane Marrowby Directory Shell Extension Class"},
      {&qm::kClsidFolderShellExtension, L"Quorvane Marrowby Folder Shell Extension Class"}};
  for (const auto& [clsid, expected_help] : coclasses) {
    qm::ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*clsid, info.put()), S_OK);
    TYPEATTR* type = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
    EXPECT_EQ(type->typekind, TKIND_COCLASS);
    info->ReleaseTypeAttr(type);
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr), S_OK);
    EXPECT_STREQ(help, expected_help);
    SysFreeString(help);
  }
}

TEST(LanguageModuleResources, EachCarriesEveryStringAndDialogInItsLanguage) {
  Library dll(BinFolder() + "QuorvaneMarrowby.dll", kAsData);
  ASSERT_NE(dll.get(), nullptr);
  const std::set<UINT> strings = StringIds(dll.get());
  EXPECT_EQ(strings.size(), 24u);
  const std::set<ULONG_PTR> dialogs = ResourceIds(dll.get(), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  const std::vector<std::string> languages = LanguageModules();
  EXPECT_GE(languages.size(), 2u);
  for (const std::string& name : languages) {
    Library language(BinFolder() + name, kAsData);
    ASSERT_NE(language.get(), nullptr) << name;
    EXPECT_EQ(StringIds(language.get()), strings) << name;
    EXPECT_EQ(ResourceIds(language.get(), MAKEINTRESOURCEW(5)), dialogs) << name;
    // Verbs name commands for programs and are the same in every language.
    for (UINT id = IDS_VERB_CREATE_SOFT_LINKS; id <= IDS_VERB_PASTE_HARD_LINKS; ++id) {
      const std::wstring verb = String(language.get(), id);
      EXPECT_EQ(verb.substr(0, verb.find(L'\n')), String(dll.get(), id).substr(0, String(dll.get(), id).find(L'\n')))
          << name << " string " << id;
    }
  }

  Library german(BinFolder() + "QuorvaneMarrowby.lang-1031.dll", kAsData);
  EXPECT_EQ(String(german.get(), IDS_PASTE_SOFT_LINKS), L"Als Soft Link einf\u00FCgen\nAls Soft Links einf\u00FCgen\n");
  Library french(BinFolder() + "QuorvaneMarrowby.lang-1036.dll", kAsData);
  EXPECT_EQ(String(french.get(), IDS_CREATE_SOFT_LINKS_HERE),
            L"Cr\u00E9er un lien s&oft ici\nCr\u00E9er des liens s&oft ici\n");
}

}  // namespace

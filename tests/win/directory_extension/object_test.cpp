// The object itself: identity, site, class information, selection recorded by
// Initialize, and the command strings.
#include <oaidl.h>

#include <gtest/gtest.h>

#include <cstring>

#include "extension_fixture.h"

namespace extension_test {
namespace {

TEST_F(DirectoryExtension, AnswersItsInterfacesWithOneIdentity) {
  auto menu = Create();
  qm::ComPtr<IShellExtInit> init;
  ASSERT_EQ(menu.As(init), S_OK);
  qm::ComPtr<IUnknown> from_menu, from_init;
  ASSERT_EQ(menu.As(from_menu), S_OK);
  ASSERT_EQ(init.As(from_init), S_OK);
  EXPECT_EQ(from_menu.get(), from_init.get());
  EXPECT_EQ(static_cast<void*>(from_menu.get()), static_cast<void*>(menu.get()));
  for (const GUID& iid : {kIidCopyHookA, kIidCopyHookW, IID_IShellPropSheetExt}) {
    qm::ComPtr<IUnknown> copy_hook, from_copy_hook;
    ASSERT_EQ(menu->QueryInterface(iid, copy_hook.put_void()), S_OK);
    ASSERT_EQ(copy_hook.As(from_copy_hook), S_OK);
    EXPECT_EQ(from_copy_hook.get(), from_menu.get());
  }
  qm::ComPtr<IUnknown> other;
  EXPECT_EQ(menu->QueryInterface(IID_IDataObject, other.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(other);
}

TEST_F(DirectoryExtension, KeepsOneReferenceOnItsSite) {
  auto menu = Create();
  qm::ComPtr<IObjectWithSite> with_site;
  ASSERT_EQ(menu.As(with_site), S_OK);
  void* cleared = &cleared;
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, &cleared), E_FAIL);
  EXPECT_EQ(cleared, nullptr);
  qm::ComPtr<IUnknown> out;
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, nullptr), E_POINTER);

  fakes::DropDataObject site({});
  EXPECT_EQ(with_site->SetSite(&site), S_OK);
  EXPECT_EQ(site.references(), 2);
  EXPECT_EQ(with_site->GetSite(IID_IDataObject, out.put_void()), S_OK);
  EXPECT_EQ(static_cast<void*>(out.get()), static_cast<void*>(&site));
  out.reset();
  EXPECT_EQ(with_site->SetSite(nullptr), S_OK);
  EXPECT_EQ(site.references(), 1);
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, out.put_void()), E_FAIL);
}

TEST_F(DirectoryExtension, HandsOutTheTypeInformationOfItsCoclass) {
  auto menu = Create();
  qm::ComPtr<IProvideClassInfo> info;
  ASSERT_EQ(menu.As(info), S_OK);
  EXPECT_EQ(harness::CoclassOf(info.get()),
            (GUID{0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}}));
  EXPECT_EQ(info->GetClassInfo(nullptr), E_POINTER);
}

TEST_F(DirectoryExtension, InitializeRecordsTheSelectionAndStartsAfreshEachTime) {
  MakeDirectory(At("Links"));
  MakeDirectory(At("Music"));
  MakeFile(At("a.txt"));
  harness::PutFilesOnClipboard({Wide(At("a.txt"))});
  auto menu = Create();
  qm::ComPtr<IShellExtInit> init;
  ASSERT_EQ(menu.As(init), S_OK);

  // Relative names are made full against the current directory.
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(scratch.c_str());
  PIDLIST_ABSOLUTE links = ILCreateFromPathA(At("Links").c_str());
  fakes::DropDataObject relative({L"Music"});
  EXPECT_EQ(init->Initialize(links, &relative, nullptr), S_OK);
  SetCurrentDirectoryA(current);
  EXPECT_EQ(MenuOf(menu.get()), std::vector<std::string>{"100:Create S&oft Link Here"});

  // A second call with only a data object forgets the drop folder: now the paste branch.
  fakes::DropDataObject selection({Wide(At("Links"))});
  EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
  EXPECT_EQ(MenuOf(menu.get()), std::vector<std::string>{"103:Paste as Hard Link"});

  // A drop folder without a file-system path fails the call, and nothing is offered.
  PIDLIST_ABSOLUTE computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  EXPECT_EQ(init->Initialize(computer, &selection, nullptr), E_FAIL);
  EXPECT_EQ(MenuOf(menu.get()), std::vector<std::string>{});

  // A drop list in another medium (released) or reaching past its block is refused.
  fakes::DropDataObject streamed({Wide(At("Links"))}, true, {}, true), outside({}, true, std::string(20, '\x7F'));
  EXPECT_EQ(init->Initialize(nullptr, &streamed, nullptr), E_INVALIDARG);
  EXPECT_EQ(streamed.references(), 1);
  EXPECT_EQ(init->Initialize(nullptr, &outside, nullptr), E_INVALIDARG);

  // No data object, or one without a drop list: no items.
  EXPECT_EQ(init->Initialize(links, nullptr, nullptr), S_OK);
  EXPECT_EQ(MenuOf(menu.get()), std::vector<std::string>{});
  fakes::DropDataObject no_drop({L"x"}, false);
  EXPECT_EQ(init->Initialize(links, &no_drop, nullptr), S_OK);
  EXPECT_EQ(MenuOf(menu.get()), std::vector<std::string>{});
  EXPECT_EQ(no_drop.get_data_calls, 1);
  ILFree(computer);
  ILFree(links);
}

TEST_F(DirectoryExtension, InitializeFailsWithTheStatusOfAFullPathThatCannotBeMade) {
  auto menu = Create();
  qm::ComPtr<IShellExtInit> init;
  ASSERT_EQ(menu.As(init), S_OK);
  fakes::DropDataObject selection({Wide(At("a")), Wide(At("b"))});
  imports.FailCall("GetFullPathNameA", 2, ERROR_INVALID_NAME);
  EXPECT_EQ(init->Initialize(nullptr, &selection, nullptr), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
  EXPECT_EQ(selection.references(), 1);
}

TEST_F(DirectoryExtension, GivesVerbsAndHelpTextsInBothCharacterSets) {
  auto menu = Create();
  char text[64];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(menu->GetCommandString(2, GCS_HELPTEXTA, nullptr, text, sizeof text), S_OK);
  EXPECT_STREQ(text, "Create Hard Links");
  EXPECT_EQ(text[sizeof text - 1], 0);  // the rest is zero-filled
  EXPECT_EQ(menu->GetCommandString(1, GCS_VERBA, nullptr, text, sizeof text), S_OK);
  EXPECT_STREQ(text, "Paste as Soft Links");

  wchar_t wide[32];
  EXPECT_EQ(menu->GetCommandString(3, GCS_VERBW, nullptr, reinterpret_cast<char*>(wide), 32), S_OK);
  EXPECT_STREQ(wide, L"Paste as Hard Links");
  EXPECT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 32), S_OK);
  EXPECT_STREQ(wide, L"Create Soft Links");

  // A small buffer gets what fits, still terminated.
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, text, 7), S_OK);
  EXPECT_STREQ(text, "Create");

  EXPECT_EQ(menu->GetCommandString(3, GCS_VALIDATEA, nullptr, text, sizeof text), S_OK);
  EXPECT_EQ(menu->GetCommandString(7, GCS_VALIDATEW, nullptr, text, sizeof text), S_FALSE);
  EXPECT_EQ(menu->GetCommandString(7, GCS_VERBA, nullptr, text, sizeof text), S_OK);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(menu->GetCommandString(0, 3, nullptr, text, sizeof text), E_INVALIDARG);
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA | 0x100, nullptr, text, sizeof text), E_INVALIDARG);
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, nullptr, 10), E_POINTER);
}

TEST_F(DirectoryExtension, CanBeAggregated) {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(dll.module, "DllGetClassObject"));
  qm::ComPtr<IClassFactory> factory;
  ASSERT_EQ(get({0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}}, IID_IClassFactory,
                factory.put_void()),
            S_OK);
  fakes::DropDataObject outer({});
  qm::ComPtr<IUnknown> inner;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IContextMenu, inner.put_void()), CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.put_void()), S_OK);
  qm::ComPtr<IContextMenu> menu;
  ASSERT_EQ(inner.As(menu), S_OK);
  const LONG before = outer.references();
  qm::ComPtr<IUnknown> identity;
  ASSERT_EQ(menu.As(identity), S_OK);  // forwarded to the outer object
  EXPECT_EQ(static_cast<void*>(identity.get()), static_cast<void*>(&outer));
  EXPECT_GT(outer.references(), before);
}

}  // namespace
}  // namespace extension_test

// The object itself: identity, interfaces, aggregation, site and class
// information.
#include <oaidl.h>

#include <gtest/gtest.h>

#include "folder_fixture.h"

namespace folder_test {
namespace {

// A stand-in for an aggregating or siting object: counts its references.
class Counted : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = InlineIsEqualGUID(iid, IID_IUnknown) ? this : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  ULONG references = 1;
};

TEST_F(FolderExtension, AnswersItsThreeInterfacesWithOneIdentity) {
  auto columns = Create();
  qm::ComPtr<IUnknown> identity;
  ASSERT_EQ(columns.As(identity), S_OK);
  EXPECT_EQ(static_cast<void*>(identity.get()), static_cast<void*>(columns.get()));
  qm::ComPtr<IObjectWithSite> with_site;
  ASSERT_EQ(columns.As(with_site), S_OK);
  qm::ComPtr<IProvideClassInfo> class_info;
  ASSERT_EQ(with_site.As(class_info), S_OK);
  qm::ComPtr<IUnknown> back;
  ASSERT_EQ(class_info.As(back), S_OK);
  EXPECT_EQ(back.get(), identity.get());
  qm::ComPtr<IShellExtInit> other;
  EXPECT_EQ(columns.As(other), E_NOINTERFACE);

  // Site: kept with one reference, handed back, released.
  Counted site;
  qm::ComPtr<IUnknown> got;
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, got.put_void()), E_FAIL);
  EXPECT_FALSE(got);
  EXPECT_EQ(with_site->SetSite(&site), S_OK);
  EXPECT_EQ(site.references, 2u);
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, got.put_void()), S_OK);
  EXPECT_EQ(got.get(), &site);
  got.reset();
  EXPECT_EQ(with_site->SetSite(nullptr), S_OK);
  EXPECT_EQ(site.references, 1u);

  // Class information: the coclass from the type library, loaded once.
  qm::ComPtr<ITypeInfo> first, second;
  ASSERT_EQ(class_info->GetClassInfo(first.put()), S_OK);
  ASSERT_EQ(class_info->GetClassInfo(second.put()), S_OK);
  EXPECT_EQ(first.get(), second.get());
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(first->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
  EXPECT_EQ(attributes->guid, kFolderClass);
  first->ReleaseTypeAttr(attributes);
  EXPECT_EQ(class_info->GetClassInfo(nullptr), E_POINTER);

  // Initialize keeps the folder and answers S_OK, whatever the folder.
  SHCOLUMNINIT init{};
  wcscpy(init.wszFolder, Wide(scratch).c_str());
  EXPECT_EQ(columns->Initialize(&init), S_OK);
  init.wszFolder[0] = L'\0';
  EXPECT_EQ(columns->Initialize(&init), S_OK);
}

TEST_F(FolderExtension, CanBeAggregated) {
  auto factory = dll.ClassObject(kFolderClass);
  ASSERT_TRUE(factory);
  Counted outer;
  qm::ComPtr<IUnknown> inner;
  EXPECT_EQ(factory->CreateInstance(&outer, __uuidof(IColumnProvider), inner.put_void()), CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, inner.put_void()), S_OK);
  qm::ComPtr<IColumnProvider> columns;
  ASSERT_EQ(inner.As(columns), S_OK);
  qm::ComPtr<IUnknown> identity;
  ASSERT_EQ(columns.As(identity), S_OK);  // forwarded to the outer object
  EXPECT_EQ(static_cast<void*>(identity.get()), static_cast<void*>(&outer));
  SHCOLUMNINFO info;
  EXPECT_EQ(columns->GetColumnInfo(2, &info), S_OK);
  EXPECT_EQ(std::wstring(info.wszTitle), L"Hard Links");
}

}  // namespace
}  // namespace folder_test

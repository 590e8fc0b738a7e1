// The object itself: identity, interfaces and class information (aggregation
// comes from the templates every class shares).
#include <gtest/gtest.h>

#include "folder_fixture.h"

namespace folder_test {
namespace {

TEST_F(FolderExtension, IsOneObjectBehindItsThreeInterfaces) {
  auto columns = Create();
  qm::ComPtr<IObjectWithSite> with_site;
  qm::ComPtr<IProvideClassInfo> class_info;
  qm::ComPtr<IUnknown> identity;
  ASSERT_EQ(columns.As(with_site), S_OK);
  ASSERT_EQ(with_site.As(class_info), S_OK);
  ASSERT_EQ(class_info.As(identity), S_OK);
  EXPECT_EQ(static_cast<void*>(identity.get()), static_cast<void*>(columns.get()));
  qm::ComPtr<IShellExtInit> other;
  EXPECT_EQ(columns.As(other), E_NOINTERFACE);
  EXPECT_EQ(harness::CoclassOf(class_info.get()), kFolderClass);
}

}  // namespace
}  // namespace folder_test

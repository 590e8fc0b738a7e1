// The object map, class objects and COM object templates, with a class of
// the test's own in a map of the test's own.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/status.h"
#include "module/object_map.h"
#include "module/product_classes.h"
#include "win/boundary.h"
#include "win/com_object.h"
#include "win/com_ptr.h"

namespace {

constexpr CLSID kTestClsid = {0x3C0B9A51, 0x7E2D, 0x4F18, {0x9A, 0x64, 0x21, 0x5D, 0x8C, 0x03, 0xB7, 0xE9}};
constexpr CLSID kOtherClsid = {0x3C0B9A52, 0x7E2D, 0x4F18, {0x9A, 0x64, 0x21, 0x5D, 0x8C, 0x03, 0xB7, 0xE9}};
constexpr CATID kTestCategory = {0x3C0B9A53, 0x7E2D, 0x4F18, {0x9A, 0x64, 0x21, 0x5D, 0x8C, 0x03, 0xB7, 0xE9}};

LONG g_constructed = 0;
LONG g_destroyed = 0;
bool g_fail_construction = false;
LONG g_class_objects_made = 0;

class CTestObject : public qm::ComClass<IPersist, IOleWindow> {
 public:
  CTestObject() {
    if (g_fail_construction) qm::RaiseStatus(E_FAIL);
    ++g_constructed;
  }
  STDMETHODIMP GetClassID(CLSID* id) override {
    return qm::CallAtBoundary([&] {
      if (!id) qm::RaiseStatus(E_POINTER);
      *id = kTestClsid;
    });
  }
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = nullptr;
    return E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 protected:
  ~CTestObject() { ++g_destroyed; }
};

// Counts the class objects made; slow enough for a second request to arrive
// while the first is still making one.
HRESULT SlowCountingClassObject(qm::ObjectCreator creator, REFIID iid, void** out) {
  InterlockedIncrement(&g_class_objects_made);
  Sleep(100);
  return qm::ClassFactory::Create(creator, iid, out);
}

HRESULT CanUnloadNow() {
  static auto* can_unload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("qm_testable.dll"), "DllCanUnloadNow")));
  return can_unload();
}

class ObjectMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CanUnloadNow(), S_OK);
    ASSERT_TRUE(m_map.Initialize());
    g_constructed = g_destroyed = g_class_objects_made = 0;
    g_fail_construction = false;
  }
  void TearDown() override {
    m_map.Terminate();
    EXPECT_EQ(g_constructed, g_destroyed);
    EXPECT_EQ(CanUnloadNow(), S_OK);
  }

  qm::ComPtr<IClassFactory> Factory() {
    qm::ComPtr<IClassFactory> factory;
    EXPECT_EQ(m_map.GetClassObject(kTestClsid, IID_IClassFactory, factory.put_void()), S_OK);
    return factory;
  }

  qm::ObjectMapEntry m_rows[2] = {qm::ClassRow<CTestObject>(kTestClsid, nullptr, "Test Object"),
                                  qm::EndOfObjectMap()};
  qm::ObjectMap m_map{m_rows};
};

struct Request {
  qm::ObjectMap* map;
  HANDLE start;
  IClassFactory* factory = nullptr;
  HRESULT result = E_FAIL;
};

DWORD WINAPI RequestClassObject(void* parameter) {
  auto* request = static_cast<Request*>(parameter);
  WaitForSingleObject(request->start, INFINITE);
  request->result = request->map->GetClassObject(kTestClsid, IID_IClassFactory, reinterpret_cast<void**>(&request->factory));
  return 0;
}

TEST_F(ObjectMapTest, TwoThreadsAskingAtOnceShareOneClassObject) {
  m_rows[0].create_class_object = &SlowCountingClassObject;
  HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Request requests[2] = {{&m_map, start}, {&m_map, start}};
  HANDLE threads[2];
  for (int i = 0; i < 2; ++i) threads[i] = CreateThread(nullptr, 0, &RequestClassObject, &requests[i], 0, nullptr);
  SetEvent(start);
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  for (HANDLE handle : threads) CloseHandle(handle);
  CloseHandle(start);

  EXPECT_EQ(g_class_objects_made, 1);
  EXPECT_EQ(requests[0].result, S_OK);
  EXPECT_EQ(requests[1].result, S_OK);
  EXPECT_EQ(requests[0].factory, requests[1].factory);
  for (Request& request : requests)
    if (request.factory) request.factory->Release();
}

TEST_F(ObjectMapTest, AnswersOnlyItsClassesAndNothingOnceTerminated) {
  void* out = &out;
  EXPECT_EQ(m_map.GetClassObject(kOtherClsid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(m_map.GetClassObject(kTestClsid, IID_IClassFactory, nullptr), E_POINTER);
  out = &out;
  EXPECT_EQ(m_map.GetClassObject(kTestClsid, IID_IStream, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);

  m_map.Terminate();
  EXPECT_EQ(m_map.GetClassObject(kTestClsid, IID_IClassFactory, &out), E_UNEXPECTED);
}

TEST_F(ObjectMapTest, ClientsOfClassObjectsAndInstancesAndServerLocksKeepTheModule) {
  qm::ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // a reference beyond the map's
  qm::ComPtr<IClassFactory> second = Factory();
  EXPECT_EQ(second.get(), factory.get());
  second.reset();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  IClassFactory* raw = factory.get();
  factory.reset();
  EXPECT_EQ(CanUnloadNow(), S_OK);  // the map's own reference keeps no lock

  qm::ComPtr<IPersist> instance;
  ASSERT_EQ(raw->CreateInstance(nullptr, IID_IPersist, instance.put_void()), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  qm::ComPtr<IOleWindow> window;
  EXPECT_EQ(instance.As(window), S_OK);
  qm::ComPtr<IUnknown> identity_a, identity_b;
  instance.As(identity_a);
  window.As(identity_b);
  EXPECT_EQ(identity_a.get(), identity_b.get());
  instance.reset();
  window.reset();
  identity_a.reset();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  identity_b.reset();
  EXPECT_EQ(g_destroyed, 1);
  EXPECT_EQ(CanUnloadNow(), S_OK);

  EXPECT_EQ(raw->LockServer(TRUE), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  EXPECT_EQ(raw->LockServer(FALSE), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

// An aggregating object: answers IUnknown itself, everything else through
// the inner unknown it holds.
class Outer final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }

  IUnknown* inner = nullptr;
  ULONG references = 1;
};

TEST_F(ObjectMapTest, AggregatedObjectsDelegateInwardAndForwardOutward) {
  qm::ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  Outer outer;
  void* out = &out;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IPersist, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(g_constructed, 0);

  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
  EXPECT_EQ(outer.references, 1u);
  IUnknown* inner_again = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&inner_again)), S_OK);
  EXPECT_EQ(inner_again, outer.inner);  // the inner unknown answers for itself
  inner_again->Release();

  IPersist* persist = nullptr;
  ASSERT_EQ(outer.inner->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
  EXPECT_EQ(outer.references, 2u);  // references to its interfaces count on the outer object
  IUnknown* identity = nullptr;
  ASSERT_EQ(persist->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, &outer);
  identity->Release();
  IOleWindow* window = nullptr;
  ASSERT_EQ(persist->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)), S_OK);
  EXPECT_EQ(outer.references, 3u);
  window->Release();
  persist->Release();
  EXPECT_EQ(outer.references, 1u);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);

  EXPECT_EQ(g_destroyed, 0);
  outer.inner->Release();
  EXPECT_EQ(g_destroyed, 1);
}

TEST_F(ObjectMapTest, FailedConstructionIsOutOfMemoryAndAFailedQueryDestroysTheObject) {
  qm::ComPtr<IClassFactory> factory = Factory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersist, nullptr), E_POINTER);

  g_fail_construction = true;
  void* out = &out;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersist, &out), E_OUTOFMEMORY);
  EXPECT_EQ(out, nullptr);
  Outer outer;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &out), E_OUTOFMEMORY);
  factory.reset();
  EXPECT_EQ(CanUnloadNow(), S_OK);  // the lock taken before the constructor raised is back

  g_fail_construction = false;
  out = &out;
  EXPECT_EQ(qm::CreateComObject<CTestObject>(nullptr, IID_IStream, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(g_constructed, 1);
  EXPECT_EQ(g_destroyed, 1);
}

std::vector<std::string> g_registration_calls;
HRESULT g_first_result = S_OK;

HRESULT UpdateFirst(bool register_server) {
  g_registration_calls.push_back(register_server ? "register first" : "unregister first");
  return g_first_result;
}
HRESULT UpdateSecond(bool register_server) {
  g_registration_calls.push_back(register_server ? "register second" : "unregister second");
  return S_OK;
}

bool CategoryRegistered() {
  HKEY key = nullptr;
  const LSTATUS opened = RegOpenKeyExA(
      HKEY_CLASSES_ROOT,
      "CLSID\\{3C0B9A52-7E2D-4F18-9A64-215D8C03B7E9}\\Implemented Categories\\{3C0B9A53-7E2D-4F18-9A64-215D8C03B7E9}",
      0, KEY_READ, &key);
  if (opened == ERROR_SUCCESS) RegCloseKey(key);
  return opened == ERROR_SUCCESS;
}

TEST(ObjectMapRegistration, RunsEachRowInMapOrderAndStopsAtTheFirstFailure) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  qm::ObjectMapEntry rows[] = {
      qm::ClassRow<CTestObject>(kTestClsid, &UpdateFirst, "First"),
      qm::ClassRow<CTestObject>(kOtherClsid, &UpdateSecond, "Second", std::span(&kTestCategory, 1)),
      qm::EndOfObjectMap()};
  qm::ObjectMap map(rows);
  ASSERT_EQ(map.entries().size(), 2u);

  g_registration_calls.clear();
  EXPECT_EQ(map.RegisterClasses(), S_OK);
  EXPECT_TRUE(CategoryRegistered());
  EXPECT_EQ(map.UnregisterClasses(), S_OK);
  EXPECT_FALSE(CategoryRegistered());
  EXPECT_EQ(g_registration_calls,
            (std::vector<std::string>{"register first", "register second", "unregister first", "unregister second"}));

  g_registration_calls.clear();
  g_first_result = E_ACCESSDENIED;
  EXPECT_EQ(map.RegisterClasses(), E_ACCESSDENIED);
  EXPECT_EQ(map.UnregisterClasses(), E_ACCESSDENIED);
  EXPECT_EQ(g_registration_calls, (std::vector<std::string>{"register first", "unregister first"}));
  // An item the first row found gone stops nothing, and is reported.
  g_registration_calls.clear();
  g_first_result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(map.UnregisterClasses(), g_first_result);
  EXPECT_EQ(g_registration_calls, (std::vector<std::string>{"unregister first", "unregister second"}));
  g_first_result = S_OK;

  // A class without its routine yet has not been registered: no success.
  rows[1].update_registration = nullptr;
  EXPECT_EQ(map.RegisterClasses(), E_NOTIMPL);
  EXPECT_EQ(map.UnregisterClasses(), E_NOTIMPL);

  RegDeleteTreeA(HKEY_CLASSES_ROOT, "CLSID\\{3C0B9A52-7E2D-4F18-9A64-215D8C03B7E9}");
  CoUninitialize();
}

// Registration walks the product's map in this order.
TEST(ProductObjectMap, ListsTheFolderClassBeforeTheDirectoryClass) {
  const auto entries = qm::ProductObjectMap().entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_STREQ(entries[0].description, "Quorvane Marrowby Folder Shell Extension");
  EXPECT_STREQ(entries[1].description, "Quorvane Marrowby Directory Shell Extension");
}

}  // namespace

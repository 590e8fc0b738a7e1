// registration_client CLSID IID...: creates the class through the registry,
// as Explorer does, and prints for each interface "IID 0xSTATUS", then the
// path of the module that serves the class. Exit status 0 when all answered.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

namespace {

bool ParseGuid(const char* text, GUID& guid) {
  wchar_t wide[64];
  if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64)) return false;
  return SUCCEEDED(CLSIDFromString(wide, &guid));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  int result = 0;
  GUID clsid;
  IUnknown* object = nullptr;
  HRESULT created = ParseGuid(argv[1], clsid) ? CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                                                 reinterpret_cast<void**>(&object))
                                              : E_INVALIDARG;
  std::printf("create 0x%08lX\n", static_cast<unsigned long>(created));
  if (FAILED(created)) result = 1;
  for (int i = 2; object && i < argc; ++i) {
    GUID iid;
    void* answer = nullptr;
    const HRESULT status = ParseGuid(argv[i], iid) ? object->QueryInterface(iid, &answer) : E_INVALIDARG;
    std::printf("%s 0x%08lX\n", argv[i], static_cast<unsigned long>(status));
    if (answer) static_cast<IUnknown*>(answer)->Release();
    if (FAILED(status)) result = 1;
  }
  if (object) {
    char path[MAX_PATH] = "(none)";
    if (HMODULE module = GetModuleHandleA("QuorvaneMarrowby.dll")) GetModuleFileNameA(module, path, MAX_PATH);
    std::printf("module %s\n", path);
    object->Release();
  }
  CoUninitialize();
  return result;
}

#include "harness/intercepted_library.h"

#include <winternl.h>

#include <stdexcept>
#include <string_view>

namespace harness {
namespace {

constexpr ULONG kReasonLoaded = 1;

struct LoadNotification {
  ULONG flags;
  const UNICODE_STRING* full_name;
  const UNICODE_STRING* base_name;
  void* base;
  ULONG size;
};
using NotificationFunction = void(CALLBACK*)(ULONG reason, const LoadNotification* data, void* context);
using RegisterFunction = LONG NTAPI(ULONG flags, NotificationFunction function, void* context, void** cookie);
using UnregisterFunction = LONG NTAPI(void* cookie);

struct Awaited {
  std::wstring name;  // file name of the module
  std::unique_ptr<Imports>* imports;
};

std::wstring FileName(const std::string& path) {
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  return std::wstring(name.begin(), name.end());
}

// Runs under the loader's lock, before the module's entry point.
void CALLBACK OnLoad(ULONG reason, const LoadNotification* data, void* context) {
  auto& awaited = *static_cast<Awaited*>(context);
  if (reason != kReasonLoaded || *awaited.imports || !data->base_name) return;
  const std::wstring_view name(data->base_name->Buffer, data->base_name->Length / sizeof(wchar_t));
  if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), awaited.name.data(),
                           static_cast<int>(awaited.name.size()), TRUE) != CSTR_EQUAL)
    return;
  try {
    *awaited.imports = std::make_unique<Imports>(static_cast<HMODULE>(data->base));
  } catch (...) {
  }
}

template <class F>
F* NtdllFunction(const char* name) {
  auto* found = reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
  if (!found) throw std::runtime_error(std::string("ntdll lacks ") + name);
  return found;
}

}  // namespace

InterceptedLibrary::InterceptedLibrary(const std::string& path) {
  auto* register_notification = NtdllFunction<RegisterFunction>("LdrRegisterDllNotification");
  auto* unregister_notification = NtdllFunction<UnregisterFunction>("LdrUnregisterDllNotification");
  Awaited awaited{FileName(path), &m_imports};
  void* cookie = nullptr;
  if (register_notification(0, &OnLoad, &awaited, &cookie) != 0) throw std::runtime_error("no load notification");
  m_module = LoadLibraryA(path.c_str());
  unregister_notification(cookie);
  if (!m_module) throw std::runtime_error("cannot load " + path);
  if (!m_imports) {
    FreeLibrary(m_module);
    throw std::runtime_error("the load of " + path + " was not seen");
  }
}

InterceptedLibrary::~InterceptedLibrary() {
  m_imports.reset();
  FreeLibrary(m_module);
}

}  // namespace harness

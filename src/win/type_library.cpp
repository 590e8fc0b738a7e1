#include "win/type_library.h"

#include <oleauto.h>

#include <string>

#include "core/module_names.h"
#include "win/boundary.h"
#include "win/com_ptr.h"
#include "win/errors.h"
#include "win/module_file_name.h"
#include "win/text.h"

namespace qm {
namespace {

struct LoadedTypeLibrary {
  ComPtr<ITypeLib> library;
  std::string path;  // where it was loaded from
};

// From the module itself, else from "<title>.tlb" beside it.
LoadedTypeLibrary LoadModuleTypeLibrary(HMODULE module) {
  LoadedTypeLibrary loaded{{}, ModuleFileName(module)};
  if (SUCCEEDED(LoadTypeLibEx(PathToWide(loaded.path).c_str(), REGKIND_NONE, loaded.library.put()))) return loaded;
  loaded.path = PathWithExtension(SplitModulePath(loaded.path, IsAnsiLeadByte), ".tlb");
  RaiseIfFailed(LoadTypeLibEx(PathToWide(loaded.path).c_str(), REGKIND_NONE, loaded.library.put()));
  return loaded;
}

}  // namespace

HRESULT RegisterTypeLibrary(HMODULE module) {
  const LoadedTypeLibrary loaded = LoadModuleTypeLibrary(module);
  std::wstring path = PathToWide(loaded.path);
  std::wstring help_directory = PathToWide(HelpDirectoryOf(loaded.path, IsAnsiLeadByte));
  const HRESULT result = RegisterTypeLib(loaded.library.get(), path.data(), help_directory.data());
  RaiseIfFailed(result);
  return result;
}

HRESULT UnregisterTypeLibrary(HMODULE module) {
  const LoadedTypeLibrary loaded = LoadModuleTypeLibrary(module);
  TLIBATTR* attributes = nullptr;
  RaiseIfFailed(loaded.library->GetLibAttr(&attributes));
  const TLIBATTR identity = *attributes;
  loaded.library->ReleaseTLibAttr(attributes);
  const HRESULT result =
      UnRegisterTypeLib(identity.guid, identity.wMajorVerNum, identity.wMinorVerNum, identity.lcid, identity.syskind);
  RaiseIfFailed(result);
  return result;
}

HRESULT GetClassTypeInfo(HMODULE module, REFCLSID clsid, ITypeInfo** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return CallAtBoundary([&] { return LoadModuleTypeLibrary(module).library->GetTypeInfoOfGuid(clsid, out); });
}

}  // namespace qm

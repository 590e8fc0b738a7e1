// A module loaded with its imports intercepted from the start: the loader's
// notification that the module is mapped and bound comes before its entry
// point runs, and the imports are patched then, so that what DllMain calls
// is counted too.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "harness/imports.h"

namespace harness {

class InterceptedLibrary {
 public:
  // LoadLibraryA(path); throws when the module cannot be loaded or its load
  // was not seen.
  explicit InterceptedLibrary(const std::string& path);
  // Puts the imports back, then frees the module.
  ~InterceptedLibrary();
  InterceptedLibrary(const InterceptedLibrary&) = delete;
  InterceptedLibrary& operator=(const InterceptedLibrary&) = delete;

  HMODULE get() const { return m_module; }
  Imports& imports() const { return *m_imports; }

  template <class F>
  F* Export(const char* name) const {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
  }

 private:
  std::unique_ptr<Imports> m_imports;
  HMODULE m_module = nullptr;
};

}  // namespace harness

// Locating and loading the built modules beside the test program.
#pragma once

#include <windows.h>

#include <string>

namespace module_tests {

// The folder of the test program, with a trailing backslash.
inline std::string BinFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1);
}

class Library {
 public:
  explicit Library(const std::string& path, DWORD flags = 0)
      : m_path(path), m_module(LoadLibraryExA(path.c_str(), nullptr, flags)) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() {
    if (m_module) FreeLibrary(m_module);
  }
  HMODULE get() const { return m_module; }
  const std::string& path() const { return m_path; }
  template <class F>
  F* Export(const char* name) const {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(m_module, name)));
  }

 private:
  std::string m_path;
  HMODULE m_module;
};

}  // namespace module_tests

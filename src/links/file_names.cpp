#include "links/file_names.h"

#include <windows.h>

#include <cwchar>

#include "win/errors.h"
#include "win/proc_address.h"
#include "win/text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

using FindFirstFileNameFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, LPDWORD, PWSTR);
using FindNextFileNameFunction = BOOL(WINAPI*)(HANDLE, LPDWORD, PWSTR);

template <class Function>
Function KernelFunction(const char* name) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? ProcAddress<Function>(kernel, name) : nullptr;
}

// Runs `read(length, buffer)` with a buffer grown to the length it asks for;
// false when it fails for another reason (the last error tells).
template <class Read>
bool ReadName(std::wstring& name, Read&& read) {
  DWORD capacity = MAX_PATH;
  for (;;) {
    name.assign(capacity, L'\0');
    DWORD length = capacity;
    if (read(&length, name.data())) {
      name.resize(std::wcslen(name.c_str()));
      return true;
    }
    if (GetLastError() != ERROR_MORE_DATA || length <= capacity) return false;
    capacity = length;
  }
}

}  // namespace

std::optional<std::vector<std::wstring>> ListOtherFileNames(const Path& path) {
  const auto find_first = KernelFunction<FindFirstFileNameFunction>("FindFirstFileNameW");
  const auto find_next = KernelFunction<FindNextFileNameFunction>("FindNextFileNameW");
  if (!find_first || !find_next) return std::nullopt;
  const std::wstring wide = PathToWide(path);
  // The names come without the volume: "\Docs\copy.txt".
  wchar_t volume[MAX_PATH] = {};
  if (!GetVolumePathNameW(wide.c_str(), volume, MAX_PATH)) RaiseLastError();
  std::wstring root(volume);
  if (!root.empty() && root.back() == L'\\') root.pop_back();

  std::vector<std::wstring> names;
  std::wstring name;
  UniqueFindHandle find;
  if (!ReadName(name, [&](DWORD* length, wchar_t* buffer) {
        find.reset(find_first(wide.c_str(), 0, length, buffer));
        return static_cast<bool>(find);
      }))
    RaiseLastError();
  do {
    std::wstring full = root + name;
    if (lstrcmpiW(full.c_str(), wide.c_str()) != 0) names.push_back(std::move(full));
  } while (ReadName(name, [&](DWORD* length, wchar_t* buffer) { return find_next(find.get(), length, buffer) != FALSE; }));
  if (GetLastError() != ERROR_HANDLE_EOF) RaiseLastError();
  return names;
}

}  // namespace qm

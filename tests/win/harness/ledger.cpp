#include "harness/ledger.h"

#include <shlobj.h>

#include <cstdio>
#include <map>
#include <utility>

#include "win/unique_resource.h"

namespace harness::ledger {
namespace {

qm::CriticalSection g_lock;

// Kind of resource and its value -> what opened it.
std::map<std::pair<std::string, std::uintptr_t>, std::string> g_open;
std::vector<std::string> g_stray;

template <class T>
std::uintptr_t Value(T v) {
  return (std::uintptr_t)(v);
}

void Opened(const char* kind, std::uintptr_t value, const char* by) {
  qm::CriticalSectionLock lock(g_lock);
  g_open[{kind, value}] = by;
}

void Closed(const char* kind, std::uintptr_t value, const char* by) {
  qm::CriticalSectionLock lock(g_lock);
  if (g_open.erase({kind, value}) == 0) {
    char text[128];
    std::snprintf(text, sizeof text, "%s of %s %p", by, kind, (void*)value);
    g_stray.push_back(text);
  }
}

HANDLE WINAPI MyCreateFileA(LPCSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g) {
  HANDLE h = CreateFileA(a, b, c, d, e, f, g);
  if (h != INVALID_HANDLE_VALUE) Opened("handle", Value(h), "CreateFileA");
  return h;
}
HANDLE WINAPI MyCreateFileW(LPCWSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g) {
  HANDLE h = CreateFileW(a, b, c, d, e, f, g);
  if (h != INVALID_HANDLE_VALUE) Opened("handle", Value(h), "CreateFileW");
  return h;
}
BOOL WINAPI MyCloseHandle(HANDLE h) {
  const BOOL ok = CloseHandle(h);
  if (ok) Closed("handle", Value(h), "CloseHandle");
  return ok;
}
HANDLE WINAPI MyFindFirstFileA(LPCSTR a, LPWIN32_FIND_DATAA b) {
  HANDLE h = FindFirstFileA(a, b);
  if (h != INVALID_HANDLE_VALUE) Opened("find", Value(h), "FindFirstFileA");
  return h;
}
BOOL WINAPI MyFindClose(HANDLE h) {
  const BOOL ok = FindClose(h);
  if (ok) Closed("find", Value(h), "FindClose");
  return ok;
}

LSTATUS WINAPI MyRegOpenKeyExA(HKEY a, LPCSTR b, DWORD c, REGSAM d, PHKEY e) {
  const LSTATUS s = RegOpenKeyExA(a, b, c, d, e);
  if (s == ERROR_SUCCESS && e) Opened("key", Value(*e), "RegOpenKeyExA");
  return s;
}
LSTATUS WINAPI MyRegOpenKeyExW(HKEY a, LPCWSTR b, DWORD c, REGSAM d, PHKEY e) {
  const LSTATUS s = RegOpenKeyExW(a, b, c, d, e);
  if (s == ERROR_SUCCESS && e) Opened("key", Value(*e), "RegOpenKeyExW");
  return s;
}
LSTATUS WINAPI MyRegCreateKeyExA(HKEY a, LPCSTR b, DWORD c, LPSTR d, DWORD e, REGSAM f, LPSECURITY_ATTRIBUTES g,
                                 PHKEY h, LPDWORD i) {
  const LSTATUS s = RegCreateKeyExA(a, b, c, d, e, f, g, h, i);
  if (s == ERROR_SUCCESS && h) Opened("key", Value(*h), "RegCreateKeyExA");
  return s;
}
LSTATUS WINAPI MyRegCreateKeyExW(HKEY a, LPCWSTR b, DWORD c, LPWSTR d, DWORD e, REGSAM f, LPSECURITY_ATTRIBUTES g,
                                 PHKEY h, LPDWORD i) {
  const LSTATUS s = RegCreateKeyExW(a, b, c, d, e, f, g, h, i);
  if (s == ERROR_SUCCESS && h) Opened("key", Value(*h), "RegCreateKeyExW");
  return s;
}
LSTATUS WINAPI MyRegCloseKey(HKEY k) {
  const LSTATUS s = RegCloseKey(k);
  if (s == ERROR_SUCCESS) Closed("key", Value(k), "RegCloseKey");
  return s;
}

BOOL WINAPI MyOpenClipboard(HWND w) {
  const BOOL ok = OpenClipboard(w);
  if (ok) Opened("clipboard", 0, "OpenClipboard");
  return ok;
}
BOOL WINAPI MyCloseClipboard() {
  const BOOL ok = CloseClipboard();
  if (ok) Closed("clipboard", 0, "CloseClipboard");
  return ok;
}

HHOOK WINAPI MySetWindowsHookExA(int a, HOOKPROC b, HINSTANCE c, DWORD d) {
  HHOOK h = SetWindowsHookExA(a, b, c, d);
  if (h) Opened("hook", Value(h), "SetWindowsHookExA");
  return h;
}
HHOOK WINAPI MySetWindowsHookExW(int a, HOOKPROC b, HINSTANCE c, DWORD d) {
  HHOOK h = SetWindowsHookExW(a, b, c, d);
  if (h) Opened("hook", Value(h), "SetWindowsHookExW");
  return h;
}
BOOL WINAPI MyUnhookWindowsHookEx(HHOOK h) {
  const BOOL ok = UnhookWindowsHookEx(h);
  if (ok) Closed("hook", Value(h), "UnhookWindowsHookEx");
  return ok;
}

HMODULE WINAPI MyLoadLibraryExA(LPCSTR a, HANDLE b, DWORD c) {
  HMODULE m = LoadLibraryExA(a, b, c);
  if (m) Opened("library", Value(m), "LoadLibraryExA");
  return m;
}
HMODULE WINAPI MyLoadLibraryExW(LPCWSTR a, HANDLE b, DWORD c) {
  HMODULE m = LoadLibraryExW(a, b, c);
  if (m) Opened("library", Value(m), "LoadLibraryExW");
  return m;
}
BOOL WINAPI MyFreeLibrary(HMODULE m) {
  const BOOL ok = FreeLibrary(m);
  if (ok) Closed("library", Value(m), "FreeLibrary");
  return ok;
}

DWORD WINAPI MyFormatMessageA(DWORD flags, LPCVOID source, DWORD id, DWORD lang, LPSTR buffer, DWORD size,
                              va_list* args) {
  const DWORD n = FormatMessageA(flags, source, id, lang, buffer, size, args);
  if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) && buffer && *reinterpret_cast<LPSTR*>(buffer))
    Opened("local", Value(*reinterpret_cast<LPSTR*>(buffer)), "FormatMessageA");
  return n;
}
DWORD WINAPI MyFormatMessageW(DWORD flags, LPCVOID source, DWORD id, DWORD lang, LPWSTR buffer, DWORD size,
                              va_list* args) {
  const DWORD n = FormatMessageW(flags, source, id, lang, buffer, size, args);
  if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) && buffer && *reinterpret_cast<LPWSTR*>(buffer))
    Opened("local", Value(*reinterpret_cast<LPWSTR*>(buffer)), "FormatMessageW");
  return n;
}
HLOCAL WINAPI MyLocalAlloc(UINT a, SIZE_T b) {
  HLOCAL m = LocalAlloc(a, b);
  if (m) Opened("local", Value(m), "LocalAlloc");
  return m;
}
HLOCAL WINAPI MyLocalFree(HLOCAL m) {
  HLOCAL r = LocalFree(m);
  if (!r && m) Closed("local", Value(m), "LocalFree");
  return r;
}

PIDLIST_ABSOLUTE WINAPI MyILCreateFromPathA(PCSTR path) {
  PIDLIST_ABSOLUTE p = ILCreateFromPathA(path);
  if (p) Opened("idlist", Value(p), "ILCreateFromPathA");
  return p;
}
PIDLIST_ABSOLUTE WINAPI MyILCreateFromPathW(PCWSTR path) {
  PIDLIST_ABSOLUTE p = ILCreateFromPathW(path);
  if (p) Opened("idlist", Value(p), "ILCreateFromPathW");
  return p;
}
void WINAPI MyILFree(PIDLIST_RELATIVE p) {
  ILFree(p);
  if (p) Closed("idlist", Value(p), "ILFree");
}

HANDLE WINAPI MyCreateActCtxA(PCACTCTXA a) {
  HANDLE h = CreateActCtxA(a);
  if (h != INVALID_HANDLE_VALUE) Opened("actctx", Value(h), "CreateActCtxA");
  return h;
}
HANDLE WINAPI MyCreateActCtxW(PCACTCTXW a) {
  HANDLE h = CreateActCtxW(a);
  if (h != INVALID_HANDLE_VALUE) Opened("actctx", Value(h), "CreateActCtxW");
  return h;
}
void WINAPI MyReleaseActCtx(HANDLE h) {
  ReleaseActCtx(h);
  Closed("actctx", Value(h), "ReleaseActCtx");
}
BOOL WINAPI MyActivateActCtx(HANDLE h, ULONG_PTR* cookie) {
  const BOOL ok = ActivateActCtx(h, cookie);
  if (ok && cookie) Opened("activation", *cookie, "ActivateActCtx");
  return ok;
}
BOOL WINAPI MyDeactivateActCtx(DWORD flags, ULONG_PTR cookie) {
  const BOOL ok = DeactivateActCtx(flags, cookie);
  if (ok) Closed("activation", cookie, "DeactivateActCtx");
  return ok;
}

template <class F>
void Hook(Imports& imports, const char* name, F* fn) {
  if (imports.Has(name)) imports.Replace(name, fn);
}

}  // namespace

void Install(Imports& imports) {
  Hook(imports, "CreateFileA", &MyCreateFileA);
  Hook(imports, "CreateFileW", &MyCreateFileW);
  Hook(imports, "CloseHandle", &MyCloseHandle);
  Hook(imports, "FindFirstFileA", &MyFindFirstFileA);
  Hook(imports, "FindClose", &MyFindClose);
  Hook(imports, "RegOpenKeyExA", &MyRegOpenKeyExA);
  Hook(imports, "RegOpenKeyExW", &MyRegOpenKeyExW);
  Hook(imports, "RegCreateKeyExA", &MyRegCreateKeyExA);
  Hook(imports, "RegCreateKeyExW", &MyRegCreateKeyExW);
  Hook(imports, "RegCloseKey", &MyRegCloseKey);
  Hook(imports, "OpenClipboard", &MyOpenClipboard);
  Hook(imports, "CloseClipboard", &MyCloseClipboard);
  Hook(imports, "SetWindowsHookExA", &MySetWindowsHookExA);
  Hook(imports, "SetWindowsHookExW", &MySetWindowsHookExW);
  Hook(imports, "UnhookWindowsHookEx", &MyUnhookWindowsHookEx);
  Hook(imports, "LoadLibraryExA", &MyLoadLibraryExA);
  Hook(imports, "LoadLibraryExW", &MyLoadLibraryExW);
  Hook(imports, "FreeLibrary", &MyFreeLibrary);
  Hook(imports, "FormatMessageA", &MyFormatMessageA);
  Hook(imports, "FormatMessageW", &MyFormatMessageW);
  Hook(imports, "LocalAlloc", &MyLocalAlloc);
  Hook(imports, "LocalFree", &MyLocalFree);
  Hook(imports, "ILCreateFromPathA", &MyILCreateFromPathA);
  Hook(imports, "ILCreateFromPathW", &MyILCreateFromPathW);
  Hook(imports, "ILFree", &MyILFree);
  Hook(imports, "CreateActCtxA", &MyCreateActCtxA);
  Hook(imports, "CreateActCtxW", &MyCreateActCtxW);
  Hook(imports, "ReleaseActCtx", &MyReleaseActCtx);
  Hook(imports, "ActivateActCtx", &MyActivateActCtx);
  Hook(imports, "DeactivateActCtx", &MyDeactivateActCtx);
}

void Recorded(const char* kind, std::uintptr_t value, const char* by) { Opened(kind, value, by); }
void Released(const char* kind, std::uintptr_t value, const char* by) { Closed(kind, value, by); }

void Forget() {
  qm::CriticalSectionLock lock(g_lock);
  g_open.clear();
  g_stray.clear();
}

std::vector<std::string> Open() {
  qm::CriticalSectionLock lock(g_lock);
  std::vector<std::string> result;
  for (const auto& [key, by] : g_open) {
    char text[160];
    std::snprintf(text, sizeof text, "%s %p from %s", key.first.c_str(), (void*)key.second, by.c_str());
    result.push_back(text);
  }
  return result;
}

std::vector<std::string> StrayReleases() {
  qm::CriticalSectionLock lock(g_lock);
  return g_stray;
}

}  // namespace harness::ledger

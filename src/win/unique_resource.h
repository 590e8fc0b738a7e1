// Owning types for Win32 resources: one small type per kind, each built from a
// traits policy naming the invalid value and the release call.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <span>
#include <utility>

namespace qm {

template <class Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() noexcept = default;
  explicit UniqueResource(Value value) noexcept : m_value(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  Value get() const noexcept { return m_value; }
  explicit operator bool() const noexcept { return m_value != Traits::Invalid(); }

  Value release() noexcept { return std::exchange(m_value, Traits::Invalid()); }
  void reset(Value value = Traits::Invalid()) noexcept {
    const Value old = std::exchange(m_value, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // For calls that hand out the resource through an out pointer.
  Value* put() noexcept {
    reset();
    return &m_value;
  }

 private:
  Value m_value = Traits::Invalid();
};

struct FileHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Value v) noexcept { CloseHandle(v); }
};
using UniqueFileHandle = UniqueResource<FileHandleTraits>;

struct FindHandleTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Value v) noexcept { FindClose(v); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct RegKeyTraits {
  using Value = HKEY;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { RegCloseKey(v); }
};
using UniqueRegKey = UniqueResource<RegKeyTraits>;

struct LibraryTraits {
  using Value = HMODULE;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { FreeLibrary(v); }
};
using UniqueLibrary = UniqueResource<LibraryTraits>;

struct LocalMemoryTraits {
  using Value = HLOCAL;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { LocalFree(v); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

struct HookTraits {
  using Value = HHOOK;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { UnhookWindowsHookEx(v); }
};
using UniqueHook = UniqueResource<HookTraits>;

struct ItemIdListTraits {
  using Value = PIDLIST_ABSOLUTE;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { ILFree(v); }
};
using UniqueItemIdList = UniqueResource<ItemIdListTraits>;

struct ActivationContextTraits {
  using Value = HANDLE;
  static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Value v) noexcept { ReleaseActCtx(v); }
};
using UniqueActivationContext = UniqueResource<ActivationContextTraits>;

struct BstrTraits {
  using Value = BSTR;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { SysFreeString(v); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

struct GdiObjectTraits {
  using Value = HGDIOBJ;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { DeleteObject(v); }
};
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;

struct MemoryDCTraits {
  using Value = HDC;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { DeleteDC(v); }
};
using UniqueMemoryDC = UniqueResource<MemoryDCTraits>;

struct MenuTraits {
  using Value = HMENU;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { DestroyMenu(v); }
};
using UniqueMenu = UniqueResource<MenuTraits>;

struct WindowTraits {
  using Value = HWND;
  static Value Invalid() noexcept { return nullptr; }
  static void Close(Value v) noexcept { DestroyWindow(v); }
};
using UniqueWindow = UniqueResource<WindowTraits>;

// The device context of a window (GetDC); released when the owner goes.
class WindowDC {
 public:
  explicit WindowDC(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (m_dc) ReleaseDC(m_window, m_dc);
  }
  HDC get() const noexcept { return m_dc; }
  explicit operator bool() const noexcept { return m_dc != nullptr; }

 private:
  HWND m_window;
  HDC m_dc;
};

// A window's painting between BeginPaint and EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : m_window(window) { BeginPaint(window, &m_paint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(m_window, &m_paint); }
  HDC dc() const noexcept { return m_paint.hdc; }

 private:
  HWND m_window;
  PAINTSTRUCT m_paint{};
};

// An object selected into a device context; the previous one is put back
// when the owner goes. A null object selects nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
  }

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A device context's state, put back (RestoreDC) when the owner goes.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) noexcept : m_dc(dc), m_saved(SaveDC(dc)) {}
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;
  ~SavedDC() {
    if (m_saved) RestoreDC(m_dc, m_saved);
  }

 private:
  HDC m_dc;
  int m_saved;
};

// A storage medium filled by IDataObject::GetData; released when the owner goes.
class StorageMedium {
 public:
  StorageMedium() noexcept = default;
  StorageMedium(const StorageMedium&) = delete;
  StorageMedium& operator=(const StorageMedium&) = delete;
  ~StorageMedium() { ReleaseStgMedium(&m_medium); }
  STGMEDIUM* put() noexcept {
    ReleaseStgMedium(&m_medium);
    m_medium = STGMEDIUM{};
    return &m_medium;
  }
  const STGMEDIUM& get() const noexcept { return m_medium; }

 private:
  STGMEDIUM m_medium{};
};

// A global memory block locked for reading; unlocked when the owner goes.
class GlobalMemoryLock {
 public:
  explicit GlobalMemoryLock(HGLOBAL memory) noexcept
      : m_memory(memory), m_data(memory ? static_cast<const std::uint8_t*>(GlobalLock(memory)) : nullptr) {}
  GlobalMemoryLock(const GlobalMemoryLock&) = delete;
  GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;
  ~GlobalMemoryLock() {
    if (m_data) GlobalUnlock(m_memory);
  }
  // The whole block as the system allocated it; empty when it cannot be locked.
  std::span<const std::uint8_t> bytes() const noexcept {
    return m_data ? std::span(m_data, GlobalSize(m_memory)) : std::span<const std::uint8_t>();
  }

 private:
  HGLOBAL m_memory;
  const std::uint8_t* m_data;
};

// An open clipboard; closed when the owner goes.
class ClipboardOpen {
 public:
  ClipboardOpen() noexcept = default;
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  ~ClipboardOpen();
  // Raises the last error when the clipboard cannot be opened.
  void Open(HWND owner);

 private:
  bool m_open = false;
};

// Shows a cursor and puts the previous one back when it goes.
class CursorChange {
 public:
  explicit CursorChange(HCURSOR cursor) noexcept : m_previous(SetCursor(cursor)) {}
  CursorChange(const CursorChange&) = delete;
  CursorChange& operator=(const CursorChange&) = delete;
  ~CursorChange() { SetCursor(m_previous); }

 private:
  HCURSOR m_previous;
};

// A critical section that lives as long as its owner.
class CriticalSection {
 public:
  CriticalSection() noexcept { m_ok = InitializeCriticalSectionAndSpinCount(&m_section, 0) != FALSE; }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  ~CriticalSection() {
    if (m_ok) DeleteCriticalSection(&m_section);
  }
  bool ok() const noexcept { return m_ok; }
  void Enter() noexcept { EnterCriticalSection(&m_section); }
  void Leave() noexcept { LeaveCriticalSection(&m_section); }

 private:
  CRITICAL_SECTION m_section{};
  bool m_ok = false;
};

class CriticalSectionLock {
 public:
  explicit CriticalSectionLock(CriticalSection& section) noexcept : m_section(section) { m_section.Enter(); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;
  ~CriticalSectionLock() { m_section.Leave(); }

 private:
  CriticalSection& m_section;
};

}  // namespace qm

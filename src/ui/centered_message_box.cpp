#include "ui/centered_message_box.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "ui/center_window.h"
#include "ui/window_object.h"
#include "ui/window_object_registry.h"
#include "win/module_instance.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

// Attached to the message box window: centres it once the box has laid
// itself out.
class MessageBoxWindow final : public CWindowObject {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    const LRESULT result = CallPreviousProcedure(message, wparam, lparam);
    if (message == WM_INITDIALOG) CenterWindow(window());
    return result;
  }
};

// One per centred message box being shown, on the stack of its thread: the
// thread's hook and the window object waiting for the box. The list is
// guarded by the window object registry's lock.
struct CentringSlot {
  DWORD thread = GetCurrentThreadId();
  HHOOK hook = nullptr;
  CWindowObject* pending = nullptr;
  CentringSlot* next = nullptr;
};
CentringSlot* g_slots = nullptr;

// Keeps a slot in the list while in scope. Raises when the registry is not
// initialised.
class SlotEntry {
 public:
  explicit SlotEntry(CentringSlot& slot) : m_slot(slot) {
    WindowObjectRegistryLock lock;
    slot.next = g_slots;
    g_slots = &slot;
  }
  SlotEntry(const SlotEntry&) = delete;
  SlotEntry& operator=(const SlotEntry&) = delete;
  ~SlotEntry() {
    WindowObjectRegistryLock lock;
    for (CentringSlot** link = &g_slots; *link; link = &(*link)->next)
      if (*link == &m_slot) {
        *link = m_slot.next;
        break;
      }
  }

 private:
  CentringSlot& m_slot;
};

// The newest slot of the current thread; call under the registry's lock.
CentringSlot* ThreadSlot() {
  const DWORD thread = GetCurrentThreadId();
  for (CentringSlot* slot = g_slots; slot; slot = slot->next)
    if (slot->thread == thread) return slot;
  return nullptr;
}

bool IsDialogWindow(HWND window) {
  char name[8] = {};
  return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0;
}

// Sees each message before its window procedure: the first dialog window
// that gets WM_INITDIALOG takes the waiting object.
LRESULT CALLBACK CentringHookProc(int code, WPARAM wparam, LPARAM lparam) {
  HHOOK hook = nullptr;
  CWindowObject* object = nullptr;
  HWND target = nullptr;
  try {
    WindowObjectRegistryLock lock;
    if (CentringSlot* slot = ThreadSlot()) {
      hook = slot->hook;
      const auto* message = reinterpret_cast<const CWPSTRUCT*>(lparam);
      if (code == HC_ACTION && slot->pending && message->message == WM_INITDIALOG && IsDialogWindow(message->hwnd)) {
        object = std::exchange(slot->pending, nullptr);
        target = message->hwnd;
      }
    }
  } catch (...) {
  }
  if (object) {
    try {
      object->Attach(target);
    } catch (...) {
    }
  }
  return CallNextHookEx(hook, code, wparam, lparam);
}

std::string TextOrResource(const char* text) {
  if (!IS_INTRESOURCE(text)) return text;
  try {
    return LoadResourceString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
  } catch (...) {
    return {};
  }
}

}  // namespace

int CenteredMessageBox(HWND owner, const char* text, const char* caption, UINT style) noexcept {
  MessageBoxWindow box;
  CentringSlot slot;
  std::optional<SlotEntry> entry;
  UniqueHook hook;
  try {
    entry.emplace(slot);
    hook.reset(SetWindowsHookExA(WH_CALLWNDPROC, &CentringHookProc, MainModule(), slot.thread));
    if (hook) {
      WindowObjectRegistryLock lock;
      slot.hook = hook.get();
      slot.pending = &box;
    }
  } catch (...) {
    // Without the registry the box is shown uncentred.
  }
  std::string shown_text, shown_caption;
  try {
    shown_text = TextOrResource(text);
    shown_caption = TextOrResource(caption);
  } catch (...) {
  }
  return MessageBoxA(owner, shown_text.c_str(), shown_caption.c_str(), style);
}

}  // namespace qm

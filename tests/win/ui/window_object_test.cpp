// Window objects: attaching through the registry, subclassing, last message.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/status.h"
#include "ui/window_object.h"
#include "ui/window_object_registry.h"

namespace {

using qm::CWindowObject;

// Records the messages it sees and what happened when.
class Recorder : public CWindowObject {
 public:
  std::vector<UINT> messages;
  std::vector<std::string>* log = nullptr;
  int finals = 0;
  bool delete_at_end = false;
  INT_PTR end_dialog_with = 0;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    messages.push_back(message);
    if (message == WM_INITDIALOG && end_dialog_with) {
      PostMessageA(window(), WM_COMMAND, IDOK, 0);
      return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK && end_dialog_with) {
      EndDialog(window(), end_dialog_with);
      return 0;
    }
    const LRESULT result = CallPreviousProcedure(message, wparam, lparam);
    if (message == WM_CLOSE && log) log->push_back("close handled");
    return result;
  }
  void OnFinalMessage() override {
    ++finals;
    if (log) log->push_back("final");
    if (delete_at_end) delete this;
  }
};

bool Seen(const Recorder& r, UINT message) {
  for (UINT m : r.messages)
    if (m == message) return true;
  return false;
}

const char* StartClass() {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CWindowObject::StartWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QmStartWindowTest";
    return RegisterClassA(&wc);
  }();
  EXPECT_NE(atom, 0);
  return "QmStartWindowTest";
}

HWND MakeStartWindow() {
  return CreateWindowExA(0, StartClass(), "start", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

class WindowObject : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(qm::InitializeWindowObjectRegistry()); }
  void TearDown() override { EXPECT_EQ(qm::TakePendingWindowObject(), nullptr); }
};

TEST_F(WindowObject, FirstMessageAttachesTheNewestPendingObjectOfTheThreadUntilTheLastMessage) {
  Recorder older, newer;
  qm::PendingWindowObject pending_older(older);
  qm::PendingWindowObject pending_newer(newer);
  HWND window = MakeStartWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(newer.window(), window);
  EXPECT_EQ(CWindowObject::FromWindow(window), &newer);
  EXPECT_EQ(older.window(), nullptr);
  // Creation messages, the very first included, reached the object.
  ASSERT_FALSE(newer.messages.empty());
  EXPECT_TRUE(Seen(newer, WM_NCCREATE));
  EXPECT_TRUE(Seen(newer, WM_CREATE));
  // Unhandled messages get the default handling.
  EXPECT_TRUE(SetWindowTextA(window, "changed"));
  char text[16] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "changed");
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(newer.finals, 1);
  EXPECT_EQ(newer.window(), nullptr);
  EXPECT_EQ(newer.messages.back(), static_cast<UINT>(WM_NCDESTROY));
  // The older entry is still pending and goes to the next window.
  HWND second = MakeStartWindow();
  EXPECT_EQ(older.window(), second);
  DestroyWindow(second);
  EXPECT_EQ(older.finals, 1);
}

DWORD WINAPI PendOnOtherThread(void* arg) {
  auto* events = static_cast<HANDLE*>(arg);
  Recorder other;
  qm::PendingWindowObject pending(other);
  SetEvent(events[0]);
  WaitForSingleObject(events[1], 10000);
  return other.window() == nullptr ? 0 : 1;
}

TEST_F(WindowObject, AnotherThreadsPendingObjectIsNotTaken) {
  HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, &PendOnOtherThread, events, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(events[0], 10000), WAIT_OBJECT_0);
  HWND window = MakeStartWindow();
  EXPECT_EQ(CWindowObject::FromWindow(window), nullptr);
  DestroyWindow(window);
  SetEvent(events[1]);
  WaitForSingleObject(thread, 10000);
  DWORD code = 2;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 0u);
  for (HANDLE h : {events[0], events[1], thread}) CloseHandle(h);
}

TEST_F(WindowObject, WindowDestroyedInsideAMessageEndsTheObjectAfterThatMessage) {
  std::vector<std::string> log;
  auto* object = new Recorder;
  object->log = &log;
  object->delete_at_end = true;
  {
    qm::PendingWindowObject pending(*object);
    ASSERT_NE(MakeStartWindow(), nullptr);
  }
  HWND window = object->window();
  ASSERT_NE(window, nullptr);
  // The default handling of WM_CLOSE destroys the window inside the message.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(log, (std::vector<std::string>{"close handled", "final"}));
}

// The procedure of a window class of its own, to be subclassed.
LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER + 1) return 41;
  return DefWindowProcA(window, message, wparam, lparam);
}
LRESULT CALLBACK OverlayProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(WindowObject, AttachAndDetachSubclassAnExistingWindow) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &OriginalProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QmOriginalTest";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "QmOriginalTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    Recorder object;
    object.Attach(window);
    EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 41);  // through the previous procedure
    EXPECT_TRUE(Seen(object, WM_USER + 1));
    // One object per window, one window per object.
    Recorder second;
    EXPECT_THROW(second.Attach(window), qm::CAtlException);
    EXPECT_THROW(object.Attach(window), qm::CAtlException);
    EXPECT_TRUE(object.Detach());
    EXPECT_EQ(object.window(), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
    EXPECT_EQ(CWindowObject::FromWindow(window), nullptr);
    // A procedure installed over the object's keeps it attached.
    object.Attach(window);
    const LONG_PTR under = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverlayProc));
    EXPECT_FALSE(object.Detach());
    EXPECT_EQ(object.window(), window);
    SetWindowLongPtrA(window, GWLP_WNDPROC, under);
  }
  // The object's end detached it.
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OriginalProc));
  DestroyWindow(window);
}

// An in-memory dialog template: no controls, with or without a font.
std::vector<WORD> DialogTemplate(bool with_font) {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = WS_POPUP | WS_CAPTION | (with_font ? DS_SETFONT : 0);
  d->cx = 100;
  d->cy = 50;
  t.insert(t.end(), {0, 0, 0});  // menu, class, title
  if (with_font) {
    t.push_back(8);
    for (const char* c = "MS Shell Dlg"; *c; ++c) t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
  }
  return t;
}

TEST_F(WindowObject, ModalDialogsAttachThroughTheStartDialogProcedure) {
  for (bool with_font : {true, false}) {
    SCOPED_TRACE(with_font ? "with font" : "without font");
    const std::vector<WORD> t = DialogTemplate(with_font);
    Recorder object;
    object.end_dialog_with = 42;
    {
      qm::PendingWindowObject pending(object);
      const INT_PTR result = DialogBoxIndirectParamA(
          GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()), nullptr,
          &CWindowObject::StartDialogProc, 0);
      EXPECT_EQ(result, 42);
    }
    ASSERT_FALSE(object.messages.empty());
    // The message that reached the dialog procedure first was handed over.
    EXPECT_EQ(object.messages.front(), static_cast<UINT>(with_font ? WM_SETFONT : WM_INITDIALOG));
    EXPECT_TRUE(Seen(object, WM_INITDIALOG));
    EXPECT_EQ(object.finals, 1);
    EXPECT_EQ(object.window(), nullptr);
  }
}

}  // namespace

// dialog_gallery.exe FOLDER LANGUAGE: shows the four option dialogs one after
// another (LANGUAGE "en": the main module's templates, "de": the German
// module's) so that scripts/screenshots.sh can take their pictures. For each
// dialog it writes FOLDER\<language>-<name>.rect ("x y width height" on the
// screen) once the dialog is drawn, and closes it when
// FOLDER\<language>-<name>.png appears.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "resources/resource_ids.h"
#include "ui/option_dialogs.h"

namespace {

struct Shot {
  std::string rect_file, picture_file;
  DWORD thread;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

BOOL CALLBACK FindOptionDialog(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && GetDlgItem(window, IDC_HOME_PAGE_LINK)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI Photograph(void* arg) {
  const auto* shot = static_cast<const Shot*>(arg);
  HWND dialog = nullptr;
  for (int i = 0; i < 500 && !dialog; ++i) {
    EnumThreadWindows(shot->thread, &FindOptionDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) Sleep(20);
  }
  if (!dialog) return 1;
  Sleep(500);  // drawn
  RECT rect{};
  GetWindowRect(dialog, &rect);
  if (FILE* file = std::fopen(shot->rect_file.c_str(), "w")) {
    std::fprintf(file, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fclose(file);
  }
  for (int i = 0; i < 600 && !Exists(shot->picture_file); ++i) Sleep(100);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dialog_gallery.exe FOLDER en|de\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "\\", language = argv[2];
  const HMODULE resources = language == "de"
                                ? LoadLibraryExA("QuorvaneMarrowby.lang-1031.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES)
                                : GetModuleHandleA("qm_testable.dll");
  if (!resources) return 1;
  const qm::Path source = "D:\\Music\\Live Recordings";
  const std::wstring target = L"E:\\Archive\\Music\\Live Recordings";
  const qm::Path destination = "F:\\Backup\\Live Recordings";
  const std::pair<const char*, std::function<std::unique_ptr<qm::OptionDialog>()>> dialogs[] = {
      {"copy-directory", [&] { return std::make_unique<qm::CopyDirectoryDialog>(resources, source, destination); }},
      {"copy-soft-link",
       [&] { return std::make_unique<qm::CopySoftLinkDialog>(resources, source, target, destination, true); }},
      {"move-soft-link",
       [&] { return std::make_unique<qm::MoveSoftLinkDialog>(resources, source, target, destination, true); }},
      {"delete-soft-link", [&] { return std::make_unique<qm::DeleteSoftLinkDialog>(resources, source, target, true); }},
  };
  int failures = 0;
  for (const auto& [name, make] : dialogs) {
    const std::string base = folder + language + "-" + name;
    Shot shot{base + ".rect", base + ".png", GetCurrentThreadId()};
    HANDLE photographer = CreateThread(nullptr, 0, &Photograph, &shot, 0, nullptr);
    try {
      make()->AskChoice(nullptr);
    } catch (...) {
      ++failures;
    }
    WaitForSingleObject(photographer, INFINITE);
    CloseHandle(photographer);
  }
  return failures;
}

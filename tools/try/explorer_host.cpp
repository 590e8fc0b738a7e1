// explorer_host.exe: a small stand-in for Explorer. It creates the
// extension's classes through the registry, as Explorer does, hands them
// right-drags, context menus, file operations, folders and items, and prints
// what a user would see. Dialogs and message boxes are real windows; a second
// thread plays the user who reads and answers them, and saves their pictures.
//
//   explorer_host tour DEMO PICTURES        every feature, in the demo folder DEMO
//   explorer_host ask-copy SOURCE INTO PICTURE
//                                           the copy hook's dialog for copying SOURCE into INTO,
//                                           shown with Control held, photographed, cancelled
//   explorer_host properties ITEM PICTURE [TARGET]
//                                           the Properties of ITEM with the extension's Link page,
//                                           photographed, closed; with TARGET, ITEM is made a junction to it first
//   explorer_host drag FOLDER ITEM...       right-drag ITEMs onto FOLDER, pick the extension's entry, and
//                                           name the DLL that served it
//   explorer_host copy ITEM...              Explorer's Copy of ITEMs
//   explorer_host paste FOLDER              context menu of FOLDER with the copied ITEMs
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell.h"
#include "tour.h"
#include "transcript.h"
#include "user.h"

namespace {

std::wstring FullPath(const wchar_t* path) {
  wchar_t full[MAX_PATH] = {};
  return GetFullPathNameW(path, MAX_PATH, full, nullptr) ? full : path;
}

int Usage() {
  std::printf(
      "usage: explorer_host tour DEMO PICTURES | ask-copy SOURCE INTO PICTURE | properties ITEM PICTURE [TARGET] | "
      "drag FOLDER ITEM... | copy ITEM... "
      "| paste FOLDER\n");
  return 2;
}

int Run(const std::wstring& command, const std::vector<std::wstring>& paths) {
  if (command == L"tour" && paths.size() == 2) {
    tour::SetPictureFolder(paths[1]);
    return tour::RunTour(paths[0]);
  }
  if (command == L"ask-copy" && paths.size() == 3) {
    const std::wstring picture = paths[2].substr(paths[2].find_last_of(L'\\') + 1);
    tour::SetPictureFolder(paths[2].substr(0, paths[2].size() - picture.size() - 1));
    return tour::AskAboutCopy(paths[0], paths[1], tour::Utf8(picture));
  }
  if (command == L"properties" && (paths.size() == 2 || paths.size() == 3)) {
    const std::wstring picture = paths[1].substr(paths[1].find_last_of(L'\\') + 1);
    tour::SetPictureFolder(paths[1].substr(0, paths[1].size() - picture.size() - 1));
    return tour::ShowLinkPage(paths[0], paths.size() == 3 ? paths[2] : L"", tour::Utf8(picture));
  }
  if (command == L"drag" && paths.size() >= 2) {
    const HRESULT status = tour::RightDrag(paths[0], std::vector<std::wstring>(paths.begin() + 1, paths.end()));
    wchar_t dll[MAX_PATH] = {};
    if (const HMODULE served = GetModuleHandleW(L"QuorvaneMarrowby.dll"); served && GetModuleFileNameW(served, dll, MAX_PATH))
      tour::Say(L"(the extension ran from " + std::wstring(dll) + L")");
    return FAILED(status);
  }
  if (command == L"copy" && !paths.empty()) return tour::CopyToClipboard(paths) ? 0 : 1;
  if (command == L"paste" && paths.size() == 1) return FAILED(tour::ContextMenu(paths[0]));
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  std::vector<std::wstring> paths;
  for (int i = 2; i < argc; ++i) paths.push_back(FullPath(argv[i]));
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const int result = Run(argv[1], paths);
  CoUninitialize();
  return result;
}

// The link commands and the link menu of the directory extension, timed
// against the raw Win32 calls their rules prescribe: 1000 hard links and
// 1000 soft links made by one command, the menu of a folder while 10,000
// copied files are on the clipboard, and the menu of a 10-file drop. Prints
// figures, the blocks the DLL allocates per link and the calls it makes;
// judges nothing.
//
//   link_commands_benchmark.exe [rounds, default 11]
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <winioctl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/dll_objects.h"
#include "common/figures.h"
#include "directory_extension/shell_fakes.h"
#include "harness/drop_list.h"
#include "harness/heap_account.h"
#include "harness/imports.h"
#include "harness/ntfs_model.h"
#include "resources/resource_ids.h"

namespace {

const CLSID kDirectoryClass = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
constexpr int kLinks = 1000;
constexpr int kCopied = 10000;
constexpr int kDropped = 10;
const std::string kRoot = "D:\\LinkCommandsBenchmark";

[[noreturn]] void Stop(const std::string& what) {
  std::fprintf(stderr, "link_commands_benchmark: %s (error %lu)\n", what.c_str(), GetLastError());
  std::exit(1);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Numbered(const char* format, int n) {
  char name[64];
  std::snprintf(name, sizeof name, format, n);
  return name;
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

void MakeFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Stop("cannot make " + path);
  CloseHandle(file);
}

// `count` files or directories named by `format` in `folder`, made once.
std::vector<std::string> Sources(const std::string& folder, const char* format, int count, bool directories) {
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<std::string> paths;
  for (int n = 1; n <= count; ++n) {
    paths.push_back(folder + "\\" + Numbered(format, n));
    if (GetFileAttributesA(paths.back().c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    if (directories ? !CreateDirectoryA(paths.back().c_str(), nullptr) : (MakeFile(paths.back()), false))
      Stop("cannot make " + paths.back());
  }
  return paths;
}

// Empties `folder`, removing directories with `remove_directory`; returns
// how many items it held.
int Empty(const std::string& folder, BOOL(WINAPI* remove_directory)(LPCSTR) = &RemoveDirectoryA) {
  int removed = 0;
  WIN32_FIND_DATAA data;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!std::strcmp(data.cFileName, ".") || !std::strcmp(data.cFileName, "..")) continue;
    const std::string path = folder + "\\" + data.cFileName;
    if (!((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? remove_directory(path.c_str()) : DeleteFileA(path.c_str())))
      Stop("cannot remove " + path);
    ++removed;
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return removed;
}

// A directory extension object as the shell initialises it: a drop folder
// (empty for a context menu) and the selected or dragged items.
qm::ComPtr<IContextMenu> Selection(HMODULE dll, const std::string& folder, const std::vector<std::string>& items) {
  auto menu = figures::Create<IContextMenu>(dll, kDirectoryClass);
  qm::ComPtr<IShellExtInit> init;
  std::vector<std::wstring> names;
  for (const std::string& item : items) names.push_back(Wide(item));
  fakes::DropDataObject data(names);
  PIDLIST_ABSOLUTE folder_list = folder.empty() ? nullptr : ILCreateFromPathW(Wide(folder).c_str());
  if (FAILED(menu.As(init)) || FAILED(init->Initialize(folder_list, &data, nullptr))) Stop("no initialised object");
  ILFree(folder_list);
  return menu;
}

void Invoke(IContextMenu* menu, UINT offset) {
  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = CMIC_MASK_FLAG_NO_UI;
  info.lpVerb = MAKEINTRESOURCEA(offset);
  info.nShow = SW_SHOWNORMAL;
  if (menu->InvokeCommand(&info) != S_OK) Stop("the command failed");
}

// The entries QueryContextMenu inserts into an empty menu, "<offset>:<text>".
std::string MenuOf(IContextMenu* menu) {
  const HMENU popup = CreatePopupMenu();
  if (menu->QueryContextMenu(popup, 0, 0, 99, CMF_NORMAL) != 4) Stop("QueryContextMenu failed");
  std::string entries;
  for (int position = 0; position < GetMenuItemCount(popup); ++position) {
    char text[128] = {};
    GetMenuStringA(popup, position, text, sizeof text, MF_BYPOSITION);
    entries += std::to_string(GetMenuItemID(popup, position)) + ":" + text + " ";
  }
  DestroyMenu(popup);
  return entries;
}

// The module's calls of one run, per unit, by name.
template <class Operation>
void PrintCalls(harness::Imports& imports, double units, Operation&& operation) {
  imports.StartRecording();
  operation();
  std::map<std::string, int> calls;
  for (const std::string& name : imports.StopRecording()) ++calls[name];
  std::printf("  calls per %s:", units == 1 ? "request" : "link");
  for (const auto& [name, count] : calls) std::printf(" %s %.2f", name.c_str(), count / units);
  std::printf("\n");
}

void PrintAllocations(const harness::HeapAccount& heap) {
  std::printf("  blocks allocated by the DLL: %.2f per link (%llu for %d links)\n",
              static_cast<double>(heap.Allocations()) / kLinks, static_cast<unsigned long long>(heap.Allocations()),
              kLinks);
}

// The call of `name` as the DLL makes it (through the model where it takes
// the call over) when `imports` patch the DLL and it imports `name`.
template <class F>
F* Through(const harness::Imports* imports, const char* name, F* direct) {
  return imports && imports->Has(name) ? imports->Entry<F>(name) : direct;
}

struct RawCalls {
  explicit RawCalls(const harness::Imports* imports = nullptr)
      : create_directory(Through(imports, "CreateDirectoryA", &CreateDirectoryA)),
        create_file(Through(imports, "CreateFileA", &CreateFileA)),
        device_io_control(Through(imports, "DeviceIoControl", &DeviceIoControl)),
        close_handle(Through(imports, "CloseHandle", &CloseHandle)),
        remove_directory(Through(imports, "RemoveDirectoryA", &RemoveDirectoryA)) {}
  decltype(&CreateDirectoryA) create_directory;
  decltype(&CreateFileA) create_file;
  decltype(&DeviceIoControl) device_io_control;
  decltype(&CloseHandle) close_handle;
  decltype(&RemoveDirectoryA) remove_directory;
};

// A junction `link` to `target` as a plain program makes it: the directory,
// then the mount point with the NT path and an empty print name.
void RawSoftLink(const RawCalls& calls, const std::string& link, const std::wstring& target) {
  const std::wstring substitute = L"\\??\\" + target;
  alignas(8) std::array<std::uint8_t, 2048> request{};
  const auto bytes = static_cast<WORD>(substitute.size() * 2);
  const WORD header[] = {0x0003, 0xA000, static_cast<WORD>(bytes + 12), 0, 0, bytes, static_cast<WORD>(bytes + 2), 0};
  std::memcpy(request.data(), header, sizeof header);
  std::memcpy(request.data() + sizeof header, substitute.data(), bytes);
  PathFileExistsA(link.c_str());
  if (!calls.create_directory(link.c_str(), nullptr)) Stop("cannot make " + link);
  const HANDLE handle = calls.create_file(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  DWORD returned = 0;
  if (!calls.device_io_control(handle, FSCTL_SET_REPARSE_POINT, request.data(), bytes + 20u, nullptr, 0, &returned,
                               nullptr))
    Stop("cannot set the mount point of " + link);
  calls.close_handle(handle);
}

void RawHardLink(const std::string& link, const std::string& source) {
  PathFileExistsA(link.c_str());
  if (!CreateHardLinkA(link.c_str(), source.c_str(), nullptr)) Stop("cannot link " + link);
}

// What a menu's rules ask of the sources after the destination passed: each
// source's directory test at most once and only while it can change the
// entry, the first's UNC and same-root tests, the host's item, the text.
void RawEntryTests(HMENU menu, const std::string& destination, const std::vector<const char*>& sources, UINT text) {
  const bool first = PathIsDirectoryA(sources[0]) != FALSE;
  bool soft = first && !PathIsUNCA(sources[0]);
  bool hard = !first && PathIsSameRootA(destination.c_str(), sources[0]);
  for (std::size_t i = 1; i < sources.size() && (soft || hard); ++i) (PathIsDirectoryA(sources[i]) ? hard : soft) = false;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count && GetMenuItemID(menu, position) != 31003; ++position) {
  }
  if (!soft && !hard) return;
  wchar_t* texts = nullptr;
  const int length = LoadStringW(GetModuleHandleA("QuorvaneMarrowby.dll"), text, reinterpret_cast<LPWSTR>(&texts), 0);
  char entry[64] = {};
  WideCharToMultiByte(CP_ACP, 0, texts, std::min(length, static_cast<int>(std::wcscspn(texts, L"\n"))), entry,
                      sizeof entry - 1, nullptr, nullptr);
  InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, 3, entry);
}

// The destination's tests: a local NTFS directory.
bool RawDestinationTests(const std::string& destination) {
  if (!PathIsDirectoryA(destination.c_str()) || PathIsUNCA(destination.c_str())) return false;
  const char root[] = {destination[0], ':', '\\', '\0'};
  char file_system[MAX_PATH + 1] = {};
  GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, file_system, sizeof file_system);
  return lstrcmpiA(file_system, "NTFS") == 0;
}

// A context menu on `item` with the clipboard's file list: the block's
// names read in one pass into buffers of MAX_PATH, then the tests.
void RawPasteMenu(const std::string& item, std::vector<std::array<char, MAX_PATH>>& names,
                  std::vector<const char*>& sources) {
  const HMENU menu = CreatePopupMenu();
  if (RawDestinationTests(item) && OpenClipboard(nullptr)) {
    UINT format = EnumClipboardFormats(0);
    while (format != 0 && format != CF_HDROP) format = EnumClipboardFormats(format);
    const HANDLE block = format ? GetClipboardData(CF_HDROP) : nullptr;
    sources.clear();
    if (const auto* drop = block ? static_cast<const DROPFILES*>(GlobalLock(block)) : nullptr) {
      const auto* name = reinterpret_cast<const wchar_t*>(reinterpret_cast<const char*>(drop) + drop->pFiles);
      for (std::size_t i = 0; *name && i < names.size(); ++i, name += std::wcslen(name) + 1) {
        WideCharToMultiByte(CP_ACP, 0, name, -1, names[i].data(), MAX_PATH, nullptr, nullptr);
        sources.push_back(names[i].data());
      }
      GlobalUnlock(block);
    }
    CloseClipboard();
    if (!sources.empty()) RawEntryTests(menu, item, sources, IDS_PASTE_HARD_LINKS);
  }
  DestroyMenu(menu);
}

void RawDropMenu(const std::string& folder, const std::vector<const char*>& sources) {
  const HMENU menu = CreatePopupMenu();
  if (RawDestinationTests(folder)) RawEntryTests(menu, folder, sources, IDS_CREATE_HARD_LINKS_HERE);
  DestroyMenu(menu);
}

std::vector<const char*> Pointers(const std::vector<std::string>& paths) {
  std::vector<const char*> pointers;
  for (const std::string& path : paths) pointers.push_back(path.c_str());
  return pointers;
}

void HardLinks(HMODULE dll, int rounds, const std::vector<std::string>& files) {
  const std::string ours_folder = kRoot + "\\HardOurs", raw_folder = kRoot + "\\HardRaw";
  CreateDirectoryA(ours_folder.c_str(), nullptr);
  CreateDirectoryA(raw_folder.c_str(), nullptr);
  auto menu = Selection(dll, ours_folder, files);
  auto reset = [&] {
    if (Empty(ours_folder) % kLinks || Empty(raw_folder) % kLinks) Stop("a run made too few links");
  };
  const auto figure = figures::Compare(
      rounds, kLinks, reset, [&] { Invoke(menu.get(), 2); },
      [&] {
        for (const std::string& file : files) RawHardLink(raw_folder + "\\" + NameOf(file), file);
      });
  figures::Print("1000 hard links, one command (InvokeCommand offset 2, 1000 dropped files), per link",
                 "PathFileExistsA + CreateHardLinkA", figure);
  reset();
  harness::Imports imports(dll);
  PrintCalls(imports, kLinks, [&] { Invoke(menu.get(), 2); });
  reset();
  {
    harness::HeapAccount heap(imports);
    Invoke(menu.get(), 2);
    PrintAllocations(heap);
  }
  reset();
}

void SoftLinks(HMODULE dll, int rounds, const std::vector<std::string>& directories) {
  const std::string ours_folder = kRoot + "\\SoftOurs", raw_folder = kRoot + "\\SoftRaw";
  CreateDirectoryA(ours_folder.c_str(), nullptr);
  CreateDirectoryA(raw_folder.c_str(), nullptr);
  auto menu = Selection(dll, ours_folder, directories);
  std::vector<std::wstring> targets;
  for (const std::string& directory : directories) targets.push_back(Wide(directory));
  {
    harness::Imports imports(dll);
    harness::NtfsModel model(imports);
    const RawCalls raw(&imports);
    auto reset = [&] {
      if (Empty(ours_folder, raw.remove_directory) % kLinks || Empty(raw_folder, raw.remove_directory) % kLinks)
        Stop("a run made too few links");
    };
    const auto figure = figures::Compare(
        rounds, kLinks, reset, [&] { Invoke(menu.get(), 0); },
        [&] {
          for (std::size_t i = 0; i < directories.size(); ++i)
            RawSoftLink(raw, raw_folder + "\\" + NameOf(directories[i]), targets[i]);
        });
    figures::Print("1000 soft links, one command (InvokeCommand offset 0, 1000 dropped directories), per link",
                   "PathFileExistsA + CreateDirectoryA + CreateFileA + FSCTL_SET_REPARSE_POINT + CloseHandle", figure);
    reset();
    PrintCalls(imports, kLinks, [&] { Invoke(menu.get(), 0); });
    reset();
    {
      harness::HeapAccount heap(imports);
      Invoke(menu.get(), 0);
      PrintAllocations(heap);
    }
    reset();
  }
}

BOOL(WINAPI* g_real_is_directory)(LPCSTR) = nullptr;
int g_server_waits = 0;

// A server named "server" answers that its names are directories; any other
// does not answer at all (the shell would wait for it, then give up).
BOOL WINAPI ServerIsDirectory(LPCSTR path) {
  if (!PathIsUNCA(path)) return g_real_is_directory(path);
  ++g_server_waits;
  return std::strncmp(path, "\\\\server\\", 9) == 0;
}

void PasteMenu(HMODULE dll, int rounds, const std::vector<std::string>& copied) {
  const std::string target = kRoot + "\\Target";
  CreateDirectoryA(target.c_str(), nullptr);
  std::vector<std::wstring> names;
  for (const std::string& path : copied) names.push_back(Wide(path));
  if (!harness::PlaceFilesOnClipboard(names)) Stop("cannot place the files on the clipboard");
  auto menu = Selection(dll, "", {target});
  if (MenuOf(menu.get()) != "3:Paste as Hard Links ") Stop("the paste entry is missing: " + MenuOf(menu.get()));
  std::vector<std::array<char, MAX_PATH>> buffers(copied.size());
  std::vector<const char*> sources;
  sources.reserve(copied.size());
  const auto figure = figures::Compare(
      rounds, 1, [] {}, [&] { MenuOf(menu.get()); }, [&] { RawPasteMenu(target, buffers, sources); });
  figures::Print("QueryContextMenu of a folder, 10,000 copied files on the clipboard",
                 "the clipboard read and 10,000 PathIsDirectoryA", figure);
  harness::Imports imports(dll);
  PrintCalls(imports, 1, [&] { MenuOf(menu.get()); });

  // Names whose tests decide the entry early, on servers modelled by the
  // DLL's PathIsDirectoryA: no entry can be offered when the first name is on
  // a server, and a missing second name ends the walk.
  g_real_is_directory = imports.Replace("PathIsDirectoryA", &ServerIsDirectory);
  const std::wstring album = Wide(kRoot + "\\Albums\\Album ");
  const struct {
    const char* what;
    std::wstring first, second, rest;  // the rest numbered
  } early[] = {
      {"10,000 directories on a server that answers", L"\\\\server\\share\\Album 0", L"", L"\\\\server\\share\\Album "},
      {"the first of 10,000 on a server that does not answer", L"\\\\silent\\share\\Music", L"", album},
      {"the second of 10,000 directories missing", album + L"0001", Wide(kRoot + "\\missing"), album},
  };
  for (const auto& row : early) {
    std::vector<std::wstring> list = {row.first};
    if (!row.second.empty()) list.push_back(row.second);
    while (list.size() < static_cast<std::size_t>(kCopied))
      list.push_back(row.rest + Wide(Numbered("%04d", static_cast<int>(list.size() % kLinks) + 1)));
    harness::PlaceFilesOnClipboard(list);
    imports.ResetCounts();
    g_server_waits = 0;
    const std::string entries = MenuOf(menu.get());
    std::printf("  %s: %llu PathIsDirectoryA (%d on a server), entries \"%s\"\n", row.what,
                static_cast<unsigned long long>(imports.Calls("PathIsDirectoryA")), g_server_waits, entries.c_str());
  }
  harness::PlaceFilesOnClipboard({});
}

void DropMenu(HMODULE dll, int rounds, const std::vector<std::string>& files) {
  const std::string folder = kRoot + "\\HardOurs";
  const std::vector<std::string> dropped(files.begin(), files.begin() + kDropped);
  auto menu = Selection(dll, folder, dropped);
  const std::vector<const char*> sources = Pointers(dropped);
  const int batch = 10;
  const auto figure = figures::Compare(
      rounds * 10, batch, [] {},
      [&] {
        for (int i = 0; i < batch; ++i) MenuOf(menu.get());
      },
      [&] {
        for (int i = 0; i < batch; ++i) RawDropMenu(folder, sources);
      });
  figures::Print("QueryContextMenu of a 10-file drop", "the folder's 3 tests and 10 PathIsDirectoryA", figure);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  HMODULE dll = LoadLibraryA("QuorvaneMarrowby.dll");
  if (!dll) Stop("cannot load QuorvaneMarrowby.dll");
  CreateDirectoryA(kRoot.c_str(), nullptr);
  std::printf("medians of %d rounds, ours and raw taking turns; noise: quartiles of the rounds' ratios\n", rounds);
  const auto files = Sources(kRoot + "\\Files", "Report %04d.txt", kLinks, false);
  const auto directories = Sources(kRoot + "\\Albums", "Album %04d", kLinks, true);
  const auto copied = Sources(kRoot + "\\Copied", "Copied file %05d.txt", kCopied, false);
  HardLinks(dll, rounds, files);
  SoftLinks(dll, rounds, directories);
  PasteMenu(dll, rounds, copied);
  DropMenu(dll, rounds, files);
  return 0;
}

// The folder extension's column values, the soft link overlay and the
// Properties page request of an item that is no link, timed against the raw
// Win32 calls each request cannot avoid, and the heap the column maps hold
// against plain maps of the same records. Prints figures; judges nothing.
//
//   column_provider_benchmark.exe [requests timed per operation, default 2000]
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "directory_extension/shell_fakes.h"
#include "harness/heap_account.h"
#include "harness/imports.h"
#include "links/reparse_point.h"
#include "win/com_ptr.h"
#include "win/shell_interface_ids.h"

namespace {

const CLSID kFolderClass = {0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};
const CLSID kDirectoryClass = {0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
constexpr int kOverlayBatch = 10000;
constexpr int kDistinctPaths = 10000;

[[noreturn]] void Stop(const char* what) {
  std::fprintf(stderr, "column_provider_benchmark: %s (error %lu)\n", what, GetLastError());
  std::exit(1);
}

template <class Interface>
qm::ComPtr<Interface> Create(HMODULE dll, const CLSID& clsid) {
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(dll, "DllGetClassObject"));
  qm::ComPtr<IClassFactory> factory;
  qm::ComPtr<Interface> object;
  if (!get || FAILED(get(clsid, IID_IClassFactory, factory.put_void())) ||
      FAILED(factory->CreateInstance(nullptr, __uuidof(Interface), object.put_void())))
    Stop("no object from the DLL");
  return object;
}

// The least an overlay identifier can be: the same decision, nothing else.
class TrivialOverlay final : public IShellIconOverlayIdentifier {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  __attribute__((noinline)) STDMETHODIMP IsMemberOf(LPCWSTR path, DWORD attributes) override {
    if (!path) return E_INVALIDARG;
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? S_OK : S_FALSE;
  }
  STDMETHODIMP GetOverlayInfo(LPWSTR, int, int*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPriority(int*) override { return E_NOTIMPL; }
};

double Now() {
  static const double ticks_per_second = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticks_per_second;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// Times `samples` batches of `batch` calls of each, the two taking turns
// (and turns at going first), and prints the medians per call, their ratio
// and their difference. Medians keep a preempted batch out of the figures.
template <class Ours, class Raw>
void Compare(const char* what, const char* raw_name, int samples, int batch, Ours&& ours, Raw&& raw) {
  std::vector<double> ours_ns, raw_ns;
  auto time = [batch](auto& operation, std::vector<double>& into) {
    const double start = Now();
    for (int i = 0; i < batch; ++i) operation();
    into.push_back((Now() - start) * 1e9 / batch);
  };
  for (int sample = 0; sample < samples; ++sample) {
    if (sample % 2 == 0) {
      time(ours, ours_ns);
      time(raw, raw_ns);
    } else {
      time(raw, raw_ns);
      time(ours, ours_ns);
    }
  }
  const double o = Median(ours_ns), r = Median(raw_ns);
  std::printf("%s\n  ours %10.1f ns   %-54s %10.1f ns   ratio %.2fx   ours - raw %+.2f us\n", what, o, raw_name, r,
              o / r, (o - r) / 1000);
}

HRESULT ItemData(IColumnProvider* columns, DWORD pid, const std::wstring& file) {
  SHCOLUMNID id{kFolderClass, pid};
  SHCOLUMNDATA item{};
  wcsncpy(item.wszFile, file.c_str(), MAX_PATH - 1);
  VARIANT value;
  VariantInit(&value);
  const HRESULT status = columns->GetItemData(&id, &item, &value);
  VariantClear(&value);
  return status;
}

void ReadReparseDataRaw(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) Stop("cannot open the directory");
  alignas(8) static unsigned char buffer[17000];
  DWORD returned = 0;
  DeviceIoControl(file, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, sizeof buffer, &returned, nullptr);
  CloseHandle(file);
}

void ReadFileInformationRaw(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Stop("cannot open the file");
  BY_HANDLE_FILE_INFORMATION information;
  GetFileInformationByHandle(file, &information);
  CloseHandle(file);
}

// Plain maps, their blocks counted as the account counts the DLL's.
std::int64_t g_plain_held = 0;
template <class T>
struct CountingAllocator {
  using value_type = T;
  CountingAllocator() = default;
  template <class U>
  CountingAllocator(const CountingAllocator<U>&) {}
  T* allocate(std::size_t n) {
    void* block = std::malloc(n * sizeof(T));
    if (!block) throw std::bad_alloc();
    g_plain_held += harness::BlockSize(block);
    return static_cast<T*>(block);
  }
  void deallocate(T* block, std::size_t) {
    g_plain_held -= harness::BlockSize(block);
    std::free(block);
  }
  template <class U>
  bool operator==(const CountingAllocator<U>&) const {
    return true;
  }
};
using PlainKey = std::basic_string<char, std::char_traits<char>, CountingAllocator<char>>;
// std::hash of the characters; not noexcept, so that nodes cache the hash
// as they do for std::string keys.
struct PlainHash {
  std::size_t operator()(const PlainKey& key) const { return std::hash<std::string_view>()(key); }
};
template <class Record>
using PlainMap = std::unordered_map<PlainKey, Record, PlainHash, std::equal_to<PlainKey>,
                                    CountingAllocator<std::pair<const PlainKey, Record>>>;

HANDLE WINAPI OpenNothing(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return INVALID_HANDLE_VALUE;
}

// Blocks the DLL allocates while counted.
std::uint64_t g_allocations = 0;
void* (*g_malloc)(size_t) = nullptr;
void* (*g_calloc)(size_t, size_t) = nullptr;
void* CountedMalloc(size_t size) {
  ++g_allocations;
  return g_malloc(size);
}
void* CountedCalloc(size_t count, size_t size) {
  ++g_allocations;
  return g_calloc(count, size);
}

BOOL CALLBACK AddNoPage(HPROPSHEETPAGE, LPARAM) { return FALSE; }

// The directory class as the shell asks it for the Properties pages of `item`.
qm::ComPtr<IShellPropSheetExt> PropertiesOf(HMODULE dll, const std::string& item) {
  auto init = Create<IShellExtInit>(dll, kDirectoryClass);
  fakes::DropDataObject selection({std::wstring(item.begin(), item.end())});
  qm::ComPtr<IShellPropSheetExt> pages;
  if (FAILED(init->Initialize(nullptr, &selection, nullptr)) || FAILED(init.As(pages))) Stop("no property sheet handler");
  return pages;
}

std::string DistinctPath(const std::string& folder, int n) { return folder + "\\item-" + std::to_string(n) + ".txt"; }

}  // namespace

int main(int argc, char** argv) {
  const int requests = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  HMODULE dll = LoadLibraryA("QuorvaneMarrowby.dll");
  if (!dll) Stop("cannot load QuorvaneMarrowby.dll");

  const std::string folder = "D:\\ColumnProviderBenchmark";
  const std::string directory = folder + "\\Directory", file = folder + "\\three.txt";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA(directory.c_str(), nullptr);
  HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) Stop("cannot make the file");
  CloseHandle(made);
  for (const char* name : {".2", ".3"}) {
    DeleteFileA((file + name).c_str());
    if (!CreateHardLinkA((file + name).c_str(), file.c_str(), nullptr)) Stop("cannot make a hard link");
  }
  const std::wstring wide_directory(directory.begin(), directory.end()), wide_file(file.begin(), file.end());

  std::printf("medians of %d requests each (IsMemberOf: of %d batches of %d calls)\n", requests, requests / 10,
              kOverlayBatch);
  {
    auto overlay = Create<IShellIconOverlayIdentifier>(dll, kDirectoryClass);
    TrivialOverlay trivial_object;
    IShellIconOverlayIdentifier* volatile ours = overlay.get();
    IShellIconOverlayIdentifier* volatile trivial = &trivial_object;
    volatile HRESULT sink = S_OK;
    Compare("IsMemberOf", "the same call on a trivial COM object", requests / 10, kOverlayBatch,
            [&] { sink = ours->IsMemberOf(L"D:\\Links\\Music", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT); },
            [&] { sink = trivial->IsMemberOf(L"D:\\Links\\Music", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT); });
  }
  {
    auto columns = Create<IColumnProvider>(dll, kFolderClass);
    Compare("GetItemData PID 0, a directory", "CreateFile + FSCTL_GET_REPARSE_POINT + CloseHandle", requests, 1,
            [&] { ItemData(columns.get(), 0, wide_directory); }, [&] { ReadReparseDataRaw(directory); });
    Compare("GetItemData PID 2, a file of 3 names", "CreateFile + GetFileInformationByHandle + CloseHandle", requests, 1,
            [&] { ItemData(columns.get(), 2, wide_file); }, [&] { ReadFileInformationRaw(file); });
  }
  {
    // The Properties of an item that is no link: its attributes and, for a
    // file, its number of names; no allocation, no resource.
    const std::string single = folder + "\\single.txt";
    CloseHandle(CreateFileA(single.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    auto file_pages = PropertiesOf(dll, single), directory_pages = PropertiesOf(dll, directory);
    Compare("AddPages, a file of one name", "GetFileAttributes, then the three calls of PID 2",
            requests, 1, [&] { file_pages->AddPages(&AddNoPage, 0); },
            [&] {
              GetFileAttributesA(single.c_str());
              ReadFileInformationRaw(single);
            });
    Compare("AddPages, a directory", "GetFileAttributes", requests, 1, [&] { directory_pages->AddPages(&AddNoPage, 0); },
            [&] { GetFileAttributesA(directory.c_str()); });
    harness::Imports imports(dll);
    g_malloc = imports.Replace<void*(size_t)>("malloc", &CountedMalloc);
    g_calloc = imports.Replace<void*(size_t, size_t)>("calloc", &CountedCalloc);
    for (int i = 0; i < requests; ++i) {
      file_pages->AddPages(&AddNoPage, 0);
      directory_pages->AddPages(&AddNoPage, 0);
    }
    std::printf("AddPages of a file and of a directory, %d times each: %llu blocks allocated\n", requests,
                static_cast<unsigned long long>(g_allocations));
    DeleteFileA(single.c_str());
  }
  {
    // What is left of a request when the file system answers at once: the
    // path conversion, the map and the value.
    harness::Imports imports(dll);
    imports.Replace("CreateFileA", &OpenNothing);
    auto columns = Create<IColumnProvider>(dll, kFolderClass);
    for (const DWORD pid : {0ul, 2ul}) {
      const int calls = requests * 50;
      const double start = Now();
      for (int i = 0; i < calls; ++i) ItemData(columns.get(), pid, wide_file);
      std::printf("GetItemData PID %lu with the file opened by a stub failing at once: %.3f us per request\n", pid,
                  (Now() - start) * 1e6 / calls);
    }
  }
  std::int64_t ours = 0;
  {
    harness::Imports imports(dll);
    harness::HeapAccount heap(imports);
    auto columns = Create<IColumnProvider>(dll, kFolderClass);
    const auto before = heap.Held();
    for (int n = 0; n < kDistinctPaths; ++n) {
      const std::string path = DistinctPath(folder, n);
      const std::wstring wide(path.begin(), path.end());
      ItemData(columns.get(), 0, wide);
      ItemData(columns.get(), 2, wide);
    }
    ours = heap.Held() - before;
  }
  std::int64_t plain = 0;
  {
    PlainMap<qm::ReparsePointInfo> soft_links;
    PlainMap<BY_HANDLE_FILE_INFORMATION> file_information;
    for (int n = 0; n < kDistinctPaths; ++n) {
      const std::string path = DistinctPath(folder, n);
      soft_links.try_emplace(PlainKey(path.begin(), path.end()));
      file_information.try_emplace(PlainKey(path.begin(), path.end()), BY_HANDLE_FILE_INFORMATION{});
    }
    plain = g_plain_held;
  }
  std::printf("heap held after %d distinct paths (PIDs 0 and 2): ours %lld bytes, plain maps %lld bytes, ratio %.2fx\n",
              kDistinctPaths, static_cast<long long>(ours), static_cast<long long>(plain),
              static_cast<double>(ours) / static_cast<double>(plain));

  DeleteFileA((file + ".2").c_str());
  DeleteFileA((file + ".3").c_str());
  DeleteFileA(file.c_str());
  RemoveDirectoryA(directory.c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}

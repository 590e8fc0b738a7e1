#include "harness/ntfs_model.h"

#include <winioctl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <stdexcept>

#include "harness/ledger.h"
#include "win/unique_resource.h"

namespace harness {
namespace {

using CreateFileAFn = decltype(&CreateFileA);
using CreateFileWFn = decltype(&CreateFileW);
using CloseHandleFn = decltype(&CloseHandle);
using DeviceIoControlFn = decltype(&DeviceIoControl);
using RemoveDirectoryAFn = decltype(&RemoveDirectoryA);
using GetFileAttributesAFn = decltype(&GetFileAttributesA);
using GetFileAttributesExAFn = decltype(&GetFileAttributesExA);
using FindFirstFileAFn = decltype(&FindFirstFileA);
using FindNextFileAFn = decltype(&FindNextFileA);
using FindCloseFn = decltype(&FindClose);
using GetVolumeInformationAFn = decltype(&GetVolumeInformationA);
using GetProcAddressFn = decltype(&GetProcAddress);

struct OpenFile {
  std::string key;
  DWORD access;
  DWORD flags;
  bool directory;
  bool empty;  // as the directory was when opened: an exclusive open keeps it from being listed later
};

struct State {
  std::map<std::string, std::vector<std::uint8_t>> reparse;  // by Key
  std::map<HANDLE, OpenFile> files;
  std::map<HANDLE, std::string> finds;  // find handle -> searched directory
  std::map<char, std::optional<std::string>> drives;  // no value: no medium
  std::vector<NtfsModel::SetRequest> requests;
  std::map<HANDLE, std::vector<std::wstring>> name_finds;  // names still to come
  std::uintptr_t next_name_find = 0x51A70000;

  CreateFileAFn create_file_a = &CreateFileA;
  CreateFileWFn create_file_w = &CreateFileW;
  CloseHandleFn close_handle = &CloseHandle;
  DeviceIoControlFn device_io_control = &DeviceIoControl;
  RemoveDirectoryAFn remove_directory_a = &RemoveDirectoryA;
  GetFileAttributesAFn get_file_attributes_a = &GetFileAttributesA;
  GetFileAttributesExAFn get_file_attributes_ex_a = &GetFileAttributesExA;
  FindFirstFileAFn find_first_file_a = &FindFirstFileA;
  FindNextFileAFn find_next_file_a = &FindNextFileA;
  FindCloseFn find_close = &FindClose;
  GetVolumeInformationAFn get_volume_information_a = &GetVolumeInformationA;
  GetProcAddressFn get_proc_address = &GetProcAddress;
};

State* g_state = nullptr;
qm::CriticalSection g_lock;

// The model's bookkeeping must not disturb the last error a call leaves.
struct KeepLastError {
  DWORD error = GetLastError();
  ~KeepLastError() { SetLastError(error); }
};

BOOL Refuse(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::uint32_t Read32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
bool IsMicrosoftTag(std::uint32_t tag) { return (tag & 0x80000000u) != 0; }
std::size_t HeaderSize(std::uint32_t tag) { return IsMicrosoftTag(tag) ? 8 : 24; }

bool IsEmptyDirectory(const std::string& key) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((key + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool empty = true;
  do {
    if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) empty = false;
  } while (empty && FindNextFileA(find, &data));
  FindClose(find);
  return empty;
}

// The checks NTFS makes on the data of FSCTL_SET_REPARSE_POINT; 0 when valid.
DWORD CheckReparseData(const std::uint8_t* data, DWORD size, bool directory) {
  if (!data || size < 8 || size > 16 * 1024) return ERROR_INVALID_REPARSE_DATA;
  const std::uint32_t tag = Read32(data);
  if (tag == IO_REPARSE_TAG_RESERVED_ZERO || tag == IO_REPARSE_TAG_RESERVED_ONE) return ERROR_INVALID_REPARSE_DATA;
  if (size < HeaderSize(tag) || Read16(data + 4) + HeaderSize(tag) != size) return ERROR_INVALID_REPARSE_DATA;
  if (tag != IO_REPARSE_TAG_MOUNT_POINT) return 0;
  if (!directory) return ERROR_DIRECTORY;
  if (size < 16) return ERROR_INVALID_REPARSE_DATA;
  const std::size_t names = size - 16;  // path buffer bytes
  for (std::size_t field : {8, 12})
    if (std::size_t{Read16(data + field)} + Read16(data + field + 2) > names) return ERROR_INVALID_REPARSE_DATA;
  return 0;
}

bool CanWrite(const OpenFile& file) {
  return (file.access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_WRITE_ATTRIBUTES)) != 0;
}

// Only NTFS stores reparse points; a drive described otherwise refuses them.
bool OnNtfs(const std::string& key) {
  const auto found = g_state->drives.find(key.empty() ? '\0' : key[0]);
  return found == g_state->drives.end() || (found->second && _stricmp(found->second->c_str(), "NTFS") == 0);
}

BOOL SetReparsePoint(const OpenFile& file, const std::uint8_t* data, DWORD size) {
  g_state->requests.push_back({file.key, data ? std::vector<std::uint8_t>(data, data + size) : std::vector<std::uint8_t>{},
                               0});
  DWORD& error = g_state->requests.back().error;
  if (!OnNtfs(file.key)) error = ERROR_INVALID_FUNCTION;
  else if (!CanWrite(file)) error = ERROR_ACCESS_DENIED;
  else error = CheckReparseData(data, size, file.directory);
  if (!error && file.directory && !file.empty) error = ERROR_DIR_NOT_EMPTY;
  const auto existing = g_state->reparse.find(file.key);
  if (!error && existing != g_state->reparse.end() && Read32(existing->second.data()) != Read32(data))
    error = ERROR_REPARSE_TAG_MISMATCH;
  if (error) return Refuse(error);
  g_state->reparse[file.key].assign(data, data + size);
  return TRUE;
}

BOOL GetReparsePoint(const OpenFile& file, void* out, DWORD out_size, DWORD* returned) {
  // Opened without FILE_FLAG_OPEN_REPARSE_POINT, the handle is the junction's
  // target, which carries no reparse point.
  if (!(file.flags & FILE_FLAG_OPEN_REPARSE_POINT)) return Refuse(ERROR_NOT_A_REPARSE_POINT);
  const auto found = g_state->reparse.find(file.key);
  if (found == g_state->reparse.end()) return Refuse(ERROR_NOT_A_REPARSE_POINT);
  const auto& data = found->second;
  if (!out || out_size < HeaderSize(Read32(data.data()))) return Refuse(ERROR_INSUFFICIENT_BUFFER);
  // Fills what fits, as NTFS does, and says there was more.
  const DWORD copied = static_cast<DWORD>(std::min<std::size_t>(out_size, data.size()));
  std::memcpy(out, data.data(), copied);
  if (returned) *returned = copied;
  if (copied < data.size()) return Refuse(ERROR_MORE_DATA);
  return TRUE;
}

BOOL DeleteReparsePoint(const OpenFile& file, const std::uint8_t* data, DWORD size) {
  if (!CanWrite(file)) return Refuse(ERROR_ACCESS_DENIED);
  if (!data || size < 8 || size != HeaderSize(Read32(data)) || Read16(data + 4) != 0)
    return Refuse(ERROR_INVALID_REPARSE_DATA);
  const auto found = g_state->reparse.find(file.key);
  if (found == g_state->reparse.end()) return Refuse(ERROR_NOT_A_REPARSE_POINT);
  if (Read32(found->second.data()) != Read32(data)) return Refuse(ERROR_REPARSE_TAG_MISMATCH);
  g_state->reparse.erase(found);
  return TRUE;
}

// What the model needs to know of a file before it is opened.
OpenFile Inspect(const std::string& path, DWORD access, DWORD flags) {
  KeepLastError keep;
  const std::string key = NtfsModel::Key(path);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  return {key, access, flags, directory, directory && IsEmptyDirectory(key)};
}

void Track(HANDLE handle, OpenFile file) {
  qm::CriticalSectionLock lock(g_lock);
  if (g_state) g_state->files[handle] = std::move(file);
}

// A wide name as the 8-bit file functions would take it, exactly (no best
// fit), or nothing when their code page cannot hold it.
std::optional<std::string> Narrow(LPCWSTR text) {
  const UINT code_page = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  BOOL used_default = FALSE;
  const int size = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr, &used_default);
  if (size <= 0 || used_default) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(size - 1));
  return out;
}

HANDLE WINAPI ModelCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templ) {
  OpenFile file = name ? Inspect(name, access, flags) : OpenFile{};
  HANDLE handle = g_state->create_file_a(name, access, share, security, disposition, flags, templ);
  if (handle != INVALID_HANDLE_VALUE && name) Track(handle, std::move(file));
  return handle;
}

std::string WideKey(LPCWSTR name) {
  std::string key(std::size_t(WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, name, -1, key.data(), static_cast<int>(key.size()), nullptr, nullptr);
  return "wide:" + key;
}

HANDLE WINAPI ModelCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templ) {
  // A name without an 8-bit form cannot carry a modelled reparse point.
  OpenFile file{};
  if (name) {
    KeepLastError keep;
    if (const auto narrow = Narrow(name)) file = Inspect(*narrow, access, flags);
    else file = {WideKey(name), access, flags, false, false};
  }
  HANDLE handle = g_state->create_file_w(name, access, share, security, disposition, flags, templ);
  if (handle != INVALID_HANDLE_VALUE && name) Track(handle, std::move(file));
  return handle;
}

BOOL WINAPI ModelCloseHandle(HANDLE handle) {
  {
    qm::CriticalSectionLock lock(g_lock);
    g_state->files.erase(handle);
  }
  return g_state->close_handle(handle);
}

BOOL WINAPI ModelDeviceIoControl(HANDLE handle, DWORD code, LPVOID in, DWORD in_size, LPVOID out, DWORD out_size,
                                 LPDWORD returned, LPOVERLAPPED overlapped) {
  if (code == FSCTL_SET_REPARSE_POINT || code == FSCTL_GET_REPARSE_POINT || code == FSCTL_DELETE_REPARSE_POINT) {
    qm::CriticalSectionLock lock(g_lock);
    const auto file = g_state->files.find(handle);
    if (file != g_state->files.end()) {
      if (returned) *returned = 0;
      const auto* data = static_cast<const std::uint8_t*>(in);
      if (code == FSCTL_SET_REPARSE_POINT) return SetReparsePoint(file->second, data, in_size);
      if (code == FSCTL_DELETE_REPARSE_POINT) return DeleteReparsePoint(file->second, data, in_size);
      return GetReparsePoint(file->second, out, out_size, returned);
    }
  }
  return g_state->device_io_control(handle, code, in, in_size, out, out_size, returned, overlapped);
}

// A junction is an empty directory here, so removing it removes only the link.
BOOL WINAPI ModelRemoveDirectoryA(LPCSTR path) {
  const std::string key = path ? NtfsModel::Key(path) : std::string();
  const BOOL removed = g_state->remove_directory_a(path);
  if (removed) {
    qm::CriticalSectionLock lock(g_lock);
    g_state->reparse.erase(key);
  }
  return removed;
}

DWORD ReparseAttribute(const std::string& path, DWORD* tag = nullptr) {
  const std::string key = NtfsModel::Key(path);
  qm::CriticalSectionLock lock(g_lock);
  const auto found = g_state->reparse.find(key);
  if (found == g_state->reparse.end()) return 0;
  if (tag) *tag = Read32(found->second.data());
  return FILE_ATTRIBUTE_REPARSE_POINT;
}

DWORD WINAPI ModelGetFileAttributesA(LPCSTR path) {
  DWORD attributes = g_state->get_file_attributes_a(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && path) {
    KeepLastError keep;
    attributes |= ReparseAttribute(path);
  }
  return attributes;
}

BOOL WINAPI ModelGetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID info) {
  const BOOL ok = g_state->get_file_attributes_ex_a(path, level, info);
  if (ok && path && info && level == GetFileExInfoStandard) {
    KeepLastError keep;
    static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(info)->dwFileAttributes |= ReparseAttribute(path);
  }
  return ok;
}

void MarkFound(const std::string& directory, WIN32_FIND_DATAA* data) {
  if (!std::strcmp(data->cFileName, ".") || !std::strcmp(data->cFileName, "..")) return;
  DWORD tag = 0;
  if (ReparseAttribute(directory + "\\" + data->cFileName, &tag)) {
    data->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    data->dwReserved0 = tag;
  }
}

HANDLE WINAPI ModelFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  HANDLE find = g_state->find_first_file_a(pattern, data);
  if (find != INVALID_HANDLE_VALUE && pattern && data) {
    KeepLastError keep;
    std::string directory = NtfsModel::Key(pattern);
    directory.resize(directory.find_last_of('\\') == std::string::npos ? 0 : directory.find_last_of('\\'));
    MarkFound(directory, data);
    qm::CriticalSectionLock lock(g_lock);
    g_state->finds[find] = directory;
  }
  return find;
}

BOOL WINAPI ModelFindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
  const BOOL ok = g_state->find_next_file_a(find, data);
  if (ok && data) {
    KeepLastError keep;
    std::string directory;
    {
      qm::CriticalSectionLock lock(g_lock);
      const auto found = g_state->finds.find(find);
      if (found == g_state->finds.end()) return ok;
      directory = found->second;
    }
    MarkFound(directory, data);
  }
  return ok;
}

BOOL WINAPI ModelFindClose(HANDLE find) {
  {
    qm::CriticalSectionLock lock(g_lock);
    g_state->finds.erase(find);
    if (g_state->name_finds.erase(find)) {
      ledger::Released("find", reinterpret_cast<std::uintptr_t>(find), "FindClose");
      return TRUE;
    }
  }
  return g_state->find_close(find);
}

// The file's identity, or nothing when it cannot be opened.
using FileId = std::pair<DWORD, std::uint64_t>;
std::optional<FileId> FileIdentity(const std::wstring& path) {
  const qm::UniqueFileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return std::pair{info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

void CollectNames(const std::wstring& folder, const FileId& identity, std::vector<std::wstring>& names) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName, path = folder + L"\\" + name;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CollectNames(path, identity, names);
    else if (FileIdentity(path) == identity)
      names.push_back(path.substr(2));  // as NTFS names them: without the drive
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

BOOL WINAPI ModelFindNextFileNameW(HANDLE find, LPDWORD length, PWSTR buffer) {
  qm::CriticalSectionLock lock(g_lock);
  const auto found = g_state->name_finds.find(find);
  if (found == g_state->name_finds.end()) return Refuse(ERROR_INVALID_HANDLE);
  std::vector<std::wstring>& names = found->second;
  if (names.empty()) return Refuse(ERROR_HANDLE_EOF);
  const DWORD needed = static_cast<DWORD>(names.front().size() + 1), room = length ? *length : 0;
  if (length) *length = needed;
  if (room < needed || !buffer) return Refuse(ERROR_MORE_DATA);
  std::copy(names.front().c_str(), names.front().c_str() + needed, buffer);
  names.erase(names.begin());
  return TRUE;
}

// Windows lists a file's names from Vista on; Wine 8 has no such calls. The
// names are the file's hard links below the top folder of its path (a
// test's scratch folder), found by file identity.
HANDLE WINAPI ModelFindFirstFileNameW(LPCWSTR path, DWORD, LPDWORD length, PWSTR buffer) {
  const std::wstring file = path ? path : L"";
  const auto identity = FileIdentity(file);
  if (!identity || file.size() < 3 || file[1] != L':') return SetLastError(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
  std::vector<std::wstring> names;
  CollectNames(file.substr(0, file.find(L'\\', 3)), *identity, names);
  std::sort(names.begin(), names.end());
  qm::CriticalSectionLock lock(g_lock);
  const auto find = reinterpret_cast<HANDLE>(g_state->next_name_find++);
  g_state->name_finds[find] = std::move(names);
  if (!ModelFindNextFileNameW(find, length, buffer)) {
    g_state->name_finds.erase(find);
    return INVALID_HANDLE_VALUE;
  }
  ledger::Recorded("find", reinterpret_cast<std::uintptr_t>(find), "FindFirstFileNameW");
  return find;
}

FARPROC WINAPI ModelGetProcAddress(HMODULE module, LPCSTR name) {
  if (module == GetModuleHandleA("kernel32.dll") && HIWORD(name)) {
    if (std::strcmp(name, "FindFirstFileNameW") == 0) return reinterpret_cast<FARPROC>(&ModelFindFirstFileNameW);
    if (std::strcmp(name, "FindNextFileNameW") == 0) return reinterpret_cast<FARPROC>(&ModelFindNextFileNameW);
  }
  return g_state->get_proc_address(module, name);
}

BOOL WINAPI ModelGetVolumeInformationA(LPCSTR root, LPSTR volume_name, DWORD volume_name_size, LPDWORD serial,
                                       LPDWORD max_component, LPDWORD flags, LPSTR file_system, DWORD file_system_size) {
  const bool lettered = root && std::isalpha(static_cast<unsigned char>(root[0])) && root[1] == ':';
  std::optional<std::optional<std::string>> described;
  if (lettered) {
    qm::CriticalSectionLock lock(g_lock);
    const auto found = g_state->drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
    if (found != g_state->drives.end()) described = found->second;
  }
  if (!described) {
    const BOOL ok = g_state->get_volume_information_a(root, volume_name, volume_name_size, serial, max_component,
                                                      flags, file_system, file_system_size);
    if (ok && lettered && file_system && file_system_size > 4) std::strcpy(file_system, "NTFS");
    return ok;
  }
  if (!described->has_value()) return Refuse(ERROR_NOT_READY);
  const std::string& name = **described;
  if (file_system && file_system_size <= name.size()) return Refuse(ERROR_BAD_LENGTH);
  const bool ntfs = _stricmp(name.c_str(), "NTFS") == 0;
  if (volume_name && volume_name_size) volume_name[0] = '\0';
  if (serial) *serial = 0x51A70000u | static_cast<unsigned char>(root[0]);
  if (max_component) *max_component = 255;
  if (flags)
    *flags = ntfs ? FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK |
                        FILE_PERSISTENT_ACLS | FILE_SUPPORTS_REPARSE_POINTS | FILE_SUPPORTS_HARD_LINKS
                  : FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;
  if (file_system) std::strcpy(file_system, name.c_str());
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A Microsoft reparse buffer with the substitute name first, then the print
// name, each terminated; `extra` bytes of fields sit before the path buffer.
std::vector<std::uint8_t> NamedReparseData(std::uint32_t tag, std::size_t extra, std::u16string_view substitute,
                                           std::u16string_view print) {
  const std::size_t sub = 2 * substitute.size(), prn = 2 * print.size(), buffer = 16 + extra;
  std::vector<std::uint8_t> b(buffer + sub + 2 + prn + 2, 0);
  Put16(b, 0, tag & 0xFFFF);
  Put16(b, 2, tag >> 16);
  Put16(b, 4, static_cast<std::uint32_t>(b.size() - 8));
  Put16(b, 10, static_cast<std::uint32_t>(sub));
  Put16(b, 12, static_cast<std::uint32_t>(sub + 2));
  Put16(b, 14, static_cast<std::uint32_t>(prn));
  for (std::size_t i = 0; i < substitute.size(); ++i) Put16(b, buffer + 2 * i, substitute[i]);
  for (std::size_t i = 0; i < print.size(); ++i) Put16(b, buffer + sub + 2 + 2 * i, print[i]);
  return b;
}

}  // namespace

std::string NtfsModel::Key(std::string_view path) {
  const std::string text(path);
  std::string full(MAX_PATH, '\0');
  DWORD length = GetFullPathNameA(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length >= full.size()) {
    full.resize(length);
    length = GetFullPathNameA(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  full.resize(length < full.size() && length > 0 ? length : 0);
  if (full.empty()) full = text;
  CharUpperBuffA(full.data(), static_cast<DWORD>(full.size()));
  while (full.size() > 3 && full.back() == '\\') full.pop_back();
  return full;
}

NtfsModel::NtfsModel(Imports& imports) : m_imports(imports) {
  {
    qm::CriticalSectionLock lock(g_lock);
    if (g_state) throw std::logic_error("NtfsModel: one model at a time");
    g_state = new State();
  }
  auto hook = [&](const char* name, auto replacement, auto& previous) {
    if (!imports.Has(name)) return;
    void* old = reinterpret_cast<void*>(imports.Replace(name, replacement));
    previous = reinterpret_cast<std::remove_reference_t<decltype(previous)>>(old);
    m_previous.emplace_back(name, old);
  };
  State& s = *g_state;
  hook("CreateFileA", &ModelCreateFileA, s.create_file_a);
  hook("CreateFileW", &ModelCreateFileW, s.create_file_w);
  hook("CloseHandle", &ModelCloseHandle, s.close_handle);
  hook("DeviceIoControl", &ModelDeviceIoControl, s.device_io_control);
  hook("RemoveDirectoryA", &ModelRemoveDirectoryA, s.remove_directory_a);
  hook("GetFileAttributesA", &ModelGetFileAttributesA, s.get_file_attributes_a);
  hook("GetFileAttributesExA", &ModelGetFileAttributesExA, s.get_file_attributes_ex_a);
  hook("FindFirstFileA", &ModelFindFirstFileA, s.find_first_file_a);
  hook("FindNextFileA", &ModelFindNextFileA, s.find_next_file_a);
  hook("FindClose", &ModelFindClose, s.find_close);
  hook("GetVolumeInformationA", &ModelGetVolumeInformationA, s.get_volume_information_a);
  hook("GetProcAddress", &ModelGetProcAddress, s.get_proc_address);
}

NtfsModel::~NtfsModel() {
  for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it) m_imports.ReplaceRaw(it->first, it->second);
  qm::CriticalSectionLock lock(g_lock);
  delete g_state;
  g_state = nullptr;
}

void NtfsModel::DescribeDrive(char letter, std::string file_system_name) {
  qm::CriticalSectionLock lock(g_lock);
  g_state->drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = std::move(file_system_name);
}

void NtfsModel::RemoveMedium(char letter) {
  qm::CriticalSectionLock lock(g_lock);
  g_state->drives[static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))] = std::nullopt;
}

void NtfsModel::Plant(const std::string& path, std::vector<std::uint8_t> data) {
  const std::string key = Key(path);
  const DWORD attributes = GetFileAttributesA(key.c_str());
  if (data.size() < 8) throw std::runtime_error("NtfsModel::Plant: no reparse header");
  const bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  const bool file = attributes != INVALID_FILE_ATTRIBUTES && !directory;  // for a symbolic link only
  const DWORD tag = Read32(data.data());
  if (directory ? tag == IO_REPARSE_TAG_MOUNT_POINT && !IsEmptyDirectory(key) : !file || tag != IO_REPARSE_TAG_SYMLINK)
    throw std::runtime_error("NtfsModel::Plant needs an existing empty directory: " + path);
  qm::CriticalSectionLock lock(g_lock);
  g_state->reparse[key] = std::move(data);
}

void NtfsModel::Plant(const std::wstring& path, std::vector<std::uint8_t> data) {
  qm::CriticalSectionLock lock(g_lock);
  g_state->reparse[WideKey(path.c_str())] = std::move(data);
}

void NtfsModel::Forget(const std::string& path) {
  const std::string key = Key(path);
  qm::CriticalSectionLock lock(g_lock);
  g_state->reparse.erase(key);
}

std::optional<std::vector<std::uint8_t>> NtfsModel::ReparseData(const std::string& path) const {
  const std::string key = Key(path);
  qm::CriticalSectionLock lock(g_lock);
  const auto found = g_state->reparse.find(key);
  if (found == g_state->reparse.end()) return std::nullopt;
  return found->second;
}

std::vector<NtfsModel::SetRequest> NtfsModel::SetRequests() const {
  qm::CriticalSectionLock lock(g_lock);
  return g_state->requests;
}

std::vector<std::uint8_t> NtfsModel::MountPointData(std::u16string_view substitute_name,
                                                    std::u16string_view print_name) {
  return NamedReparseData(IO_REPARSE_TAG_MOUNT_POINT, 0, substitute_name, print_name);
}

std::vector<std::uint8_t> NtfsModel::SymbolicLinkData(std::u16string_view substitute_name,
                                                      std::u16string_view print_name, bool relative) {
  auto data = NamedReparseData(IO_REPARSE_TAG_SYMLINK, 4, substitute_name, print_name);
  Put16(data, 16, relative ? 1 : 0);  // SYMLINK_FLAG_RELATIVE
  return data;
}

std::vector<std::uint8_t> NtfsModel::TaggedData(std::uint32_t tag) {
  std::vector<std::uint8_t> data{0, 0, 0, 0, 4, 0, 0, 0, 0x5A, 0x5A, 0x5A, 0x5A};
  for (int i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(tag >> (8 * i));
  return data;
}

}  // namespace harness

#include "disk.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>

#include "harness/imports.h"
#include "harness/ntfs_model.h"
#include "transcript.h"
#include "win/unique_resource.h"

namespace tour {
namespace {

bool WriteText(const std::wstring& path, const char* text) {
  qm::UniqueFileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

void RemoveTree(const std::wstring& path) {
  for (const auto& name : Disk::Names(path)) {
    const std::wstring child = path + L"\\" + name;
    if (GetFileAttributesW(child.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(child);
    } else {
      DeleteFileW(child.c_str());
    }
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

Disk::Disk() = default;

Disk::~Disk() {
  m_model.reset();  // before the imports it patched
  m_imports.reset();
}

bool Disk::MakeDemo(const std::wstring& root) {
  RemoveTree(root);
  bool made = CreateDirectoryW(root.c_str(), nullptr);
  for (const wchar_t* folder : {L"Docs", L"Music", L"Links", L"Backup", L"Desk", L"Shared", L"Archive"})
    made = made && CreateDirectoryW((root + L"\\" + folder).c_str(), nullptr);
  return made && WriteText(root + L"\\Docs\\report.txt", "quarterly figures\r\n") &&
         WriteText(root + L"\\Docs\\notes.txt", "meeting notes\r\n") &&
         WriteText(root + L"\\Music\\01 Overture.ogg", "la la la\r\n") &&
         WriteText(root + L"\\Music\\02 Finale.ogg", "tra la la\r\n");
}

void Disk::UseNtfsModel(HMODULE dll) {
  m_imports = std::make_unique<harness::Imports>(dll);
  m_model = std::make_unique<harness::NtfsModel>(*m_imports);
}

bool Disk::MakeJunction(const std::wstring& link, const std::wstring& target) {
  if (!m_model || (!CreateDirectoryW(link.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) return false;
  const std::wstring name = L"\\??\\" + target;
  try {
    m_model->Plant(Ansi(link), harness::NtfsModel::MountPointData(std::u16string(name.begin(), name.end()), u""));
  } catch (const std::exception&) {
    return false;  // a directory that is not empty
  }
  return true;
}

DWORD Disk::Attributes(const std::wstring& path) const {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && m_model && m_model->ReparseData(Ansi(path)))
    attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  return attributes;
}

std::wstring Disk::SoftLinkTarget(const std::wstring& path) const {
  if (!m_model) return L"";
  const auto data = m_model->ReparseData(Ansi(path));
  // REPARSE_DATA_BUFFER of a mount point: the names follow a 16-byte head.
  if (!data || data->size() < 16) return L"";
  const auto at = [&](std::size_t i) { return static_cast<std::size_t>((*data)[i] | ((*data)[i + 1] << 8)); };
  const std::size_t offset = 16 + at(8), length = at(10);
  if (offset + length > data->size()) return L"";
  std::wstring name;
  for (std::size_t i = 0; i + 1 < length; i += 2) name += static_cast<wchar_t>(at(offset + i));
  return name.rfind(L"\\??\\", 0) == 0 ? name.substr(4) : name;
}

std::wstring Disk::Describe(const std::wstring& path) const {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return NameOf(path) + L"  (not there)";
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return NameOf(path) + L"  soft link to " + SoftLinkTarget(path);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    const auto names = Names(path);
    return NameOf(path) + L"  directory, " + (names.empty() ? L"empty" : std::to_wstring(names.size()) + L" items");
  }
  const DWORD links = LinkCount(path);
  return NameOf(path) + L"  file" + (links > 1 ? L", " + std::to_wstring(links) + L" names" : L"");
}

void Disk::List(const std::wstring& folder) const {
  Say(folder + L":");
  const auto names = Names(folder);
  if (names.empty()) Say("  (empty)");
  for (const auto& name : names) Say(L"  " + Describe(folder + L"\\" + name));
}

std::vector<std::wstring> Disk::Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

DWORD Disk::LinkCount(const std::wstring& path) {
  qm::UniqueFileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  return file && GetFileInformationByHandle(file.get(), &info) ? info.nNumberOfLinks : 0;
}

}  // namespace tour

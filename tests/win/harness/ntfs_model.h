// A file-system model that behaves as NTFS where Wine does not: junctions and
// other reparse points, and volumes that are NTFS, FAT32 or without medium.
//
// Install it on an Imports after the ledger; it passes every call it does not
// change on to the previous target, so the ledger keeps its account. Reparse
// points live in the model, keyed by the normalized full path (case does not
// matter); the directories that carry them are real, empty directories.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harness/imports.h"

namespace harness {

class NtfsModel {
 public:
  // Takes over CreateFileA/W, CloseHandle, DeviceIoControl, RemoveDirectoryA,
  // GetFileAttributesA, GetFileAttributesExA, FindFirstFileA, FindNextFileA,
  // FindClose and GetVolumeInformationA where the module imports them, and
  // answers GetProcAddress for kernel32's FindFirstFileNameW and
  // FindNextFileNameW (a file's names: its hard links below the top folder of
  // its path). One model at a time; `imports` must outlive it.
  explicit NtfsModel(Imports& imports);
  ~NtfsModel();  // puts the previous targets back
  NtfsModel(const NtfsModel&) = delete;
  NtfsModel& operator=(const NtfsModel&) = delete;

  // Volumes. A drive not described is NTFS when it exists; a described one is
  // answered by the model alone, and refuses reparse points unless NTFS.
  void DescribeDrive(char letter, std::string file_system_name);  // "FAT32", "ntfs", ...
  void RemoveMedium(char letter);  // GetVolumeInformationA fails with ERROR_NOT_READY

  // Plants reparse data on an existing directory (a symbolic link's also on a
  // file) as another tool would have written it. Throws std::runtime_error
  // when the item is missing, or the directory is not empty for a mount
  // point. A wide name the 8-bit file functions cannot take is keyed as
  // spelled, for CreateFileW alone; it is not checked.
  void Plant(const std::string& path, std::vector<std::uint8_t> data);
  void Plant(const std::wstring& path, std::vector<std::uint8_t> data);
  // Forgets the reparse point of `path` (for a test that removed it itself).
  void Forget(const std::string& path);

  // The reparse data stored for `path`, if it carries any.
  std::optional<std::vector<std::uint8_t>> ReparseData(const std::string& path) const;

  // Every FSCTL_SET_REPARSE_POINT the module sent, with the error the model
  // answered (0 when it stored the data).
  struct SetRequest {
    std::string path;
    std::vector<std::uint8_t> bytes;
    DWORD error;
  };
  std::vector<SetRequest> SetRequests() const;

  // Reparse buffers as other tools write them.
  static std::vector<std::uint8_t> MountPointData(std::u16string_view substitute_name, std::u16string_view print_name);
  static std::vector<std::uint8_t> SymbolicLinkData(std::u16string_view substitute_name,
                                                    std::u16string_view print_name, bool relative = false);
  // Another kind of reparse point (a cloud placeholder, deduplication): the
  // tag and four bytes of its own.
  static std::vector<std::uint8_t> TaggedData(std::uint32_t tag);

  // The model's key for a path: full path, upper case, no trailing backslash
  // except on a drive root.
  static std::string Key(std::string_view path);

 private:
  Imports& m_imports;
  std::vector<std::pair<std::string, void*>> m_previous;
};

}  // namespace harness

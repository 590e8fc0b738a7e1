// The registry as the registration tests read and prepare it, with the
// platform's own calls (never through the module under test).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "expected_class_tree.h"

namespace registration_tests {

inline constexpr char kApprovedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr char kOverlayKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers";
inline constexpr char kDirectoryName[] = "Quorvane Marrowby Directory Shell Extension";
inline constexpr char kFolderName[] = "Quorvane Marrowby Folder Shell Extension";
inline const std::string kFmtid = qm::testing::kFolderClass.clsid;

struct RawValue {
  DWORD type;
  std::string bytes;
  bool operator==(const RawValue&) const = default;
};

// "HKCR" or "HKLM".
const char* RootName(HKEY root);

// The key and everything below it, one line per key and per value in name
// order, as the native tests' registry dumps them; empty when it is missing.
// `view` may name a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY).
std::vector<std::string> ReadTree(HKEY root, const std::string& path, REGSAM view = 0);
std::optional<RawValue> ReadValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0);
void WriteValue(HKEY root, const std::string& path, const char* name, const RawValue& value);
void DeleteValue(HKEY root, const std::string& path, const char* name);
void CreateKey(HKEY root, const std::string& path);
void DeleteTree(HKEY root, const std::string& path);

// Which classes' registration a state holds.
struct Registered {
  bool directory = false;
  bool folder = false;
  bool library = false;
};

// Everything the module writes, read back: each class's keys, handler keys,
// overlay identifier and approval, the "InfoTip" values of "Directory" and
// "*" (the "InfoTip" lines), and whether the type library is registered.
std::vector<std::string> ReadRegistration(REGSAM view = 0);
// The same for a module at `module_path`, with the "InfoTip" lines given.
std::vector<std::string> ExpectedRegistration(const Registered& registered, const std::string& module_path,
                                              const std::vector<std::string>& infotip_lines);
// "HKCR\<class> InfoTip = <text>" for a REG_SZ list.
std::string InfoTipLine(const char* class_key, const std::string& text);

// Removes all of it (not the "InfoTip" values) and makes the class keys that
// Windows always has ("Directory", "Drive", "*", "Folder").
void ResetRegistration();

// Puts the "InfoTip" values of "Directory" and "*" back when it goes.
class InfoTipSnapshot {
 public:
  InfoTipSnapshot();
  ~InfoTipSnapshot();
  InfoTipSnapshot(const InfoTipSnapshot&) = delete;
  InfoTipSnapshot& operator=(const InfoTipSnapshot&) = delete;

 private:
  std::optional<RawValue> m_directory, m_files;
};

}  // namespace registration_tests

#include "installed_state.h"

#include <msi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "win/unique_resource.h"

namespace installer_checks {
namespace {

constexpr char kDirectoryClsid[] = "{5E2B7C40-1D93-4A6F-9C21-7B4E0A8D3F16}";
constexpr char kFolderClsid[] = "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}";
constexpr char kDirectoryName[] = "Quorvane Marrowby Directory Shell Extension";
constexpr char kFolderName[] = "Quorvane Marrowby Folder Shell Extension";
constexpr char kUpgradeCode[] = "{5E0B6337-40C0-4352-B392-CF0639F1A908}";

std::string ProgramFiles(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "(no folder)";
  return std::string(path) + "\\Quorvane Marrowby\\";
}

// The COM class keys of one class (its script's tree) in the 64-bit view.
void AddClassEntries(std::vector<RegistryEntry>& entries, const std::string& clsid, const std::string& object,
                     const std::string& progid) {
  const std::string dll = Folder64() + "QuorvaneMarrowby.dll";
  const std::string versioned = progid + ".1";
  const std::string key = "CLSID\\" + clsid;
  entries.insert(entries.end(),
                 {
                     {HKEY_CLASSES_ROOT, versioned, "", object},
                     {HKEY_CLASSES_ROOT, versioned + "\\CLSID", "", clsid},
                     {HKEY_CLASSES_ROOT, progid, "", object},
                     {HKEY_CLASSES_ROOT, progid + "\\CLSID", "", clsid},
                     {HKEY_CLASSES_ROOT, progid + "\\CurVer", "", versioned},
                     {HKEY_CLASSES_ROOT, key, "", object},
                     {HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", dll},
                     {HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel", "apartment"},
                     {HKEY_CLASSES_ROOT, key + "\\ProgID", "", versioned},
                     {HKEY_CLASSES_ROOT, key + "\\VersionIndependentProgID", "", progid},
                     {HKEY_CLASSES_ROOT, key + "\\Programmable", "", "", true},
                     {HKEY_CLASSES_ROOT, key + "\\TypeLib", "", "{D7C1A5E2-3B84-4F60-B2D9-6E0F4A91C358}"},
                 });
}

}  // namespace

std::string Folder64() { return ProgramFiles(CSIDL_PROGRAM_FILES); }
std::string Folder32() { return ProgramFiles(CSIDL_PROGRAM_FILESX86); }

std::string BinFolder64() {
  char path[MAX_PATH];
  const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return program.substr(0, program.find_last_of('\\') + 1);
}

std::string BinFolder32() {
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("QM_BIN32", path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::vector<std::string> PackagedModules(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "QuorvaneMarrowby*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name == "QuorvaneMarrowby.dll" || name.rfind("QuorvaneMarrowby.lang-", 0) == 0) names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::string> FileContent(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string ProductVersion(const std::string& path) {
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (block.empty() || !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &size) || size < sizeof *fixed) {
    return "(no version)";
  }
  std::ostringstream text;
  text << HIWORD(fixed->dwProductVersionMS) << '.' << LOWORD(fixed->dwProductVersionMS) << '.'
       << HIWORD(fixed->dwProductVersionLS) << '.' << LOWORD(fixed->dwProductVersionLS);
  return text.str();
}

std::vector<RegistryEntry> RegisteredEntries() {
  std::vector<RegistryEntry> entries;
  AddClassEntries(entries, kDirectoryClsid, "CDirectoryShellExtension Object", "CDirectoryShellExtension.CDirectorySh");
  AddClassEntries(entries, kFolderClsid, "CFolderShellExtension Object", "CFolderShellExtension.CFolderShellExt");
  for (const char* key : {"Directory\\shellex\\ContextMenuHandlers\\", "Drive\\shellex\\ContextMenuHandlers\\",
                          "Directory\\shellex\\CopyHookHandlers\\", "Directory\\shellex\\DragDropHandlers\\",
                          "Drive\\shellex\\DragDropHandlers\\"}) {
    entries.push_back({HKEY_CLASSES_ROOT, key + std::string(kDirectoryName), "", kDirectoryClsid});
  }
  entries.push_back({HKEY_CLASSES_ROOT, std::string("Folder\\shellex\\ColumnHandlers\\") + kFolderClsid, "", "", true});
  const std::string approved = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
  entries.push_back({HKEY_LOCAL_MACHINE, approved, kDirectoryClsid, kDirectoryName});
  entries.push_back({HKEY_LOCAL_MACHINE, approved, kFolderClsid, kFolderName});
  entries.push_back(
      {HKEY_LOCAL_MACHINE,
       std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellIconOverlayIdentifiers\\") +
           kDirectoryName,
       "", kDirectoryClsid});
  entries.push_back({HKEY_CLASSES_ROOT, "TypeLib\\{D7C1A5E2-3B84-4F60-B2D9-6E0F4A91C358}\\1.0\\409\\win64", "",
                     Folder64() + "QuorvaneMarrowby.dll"});
  return entries;
}

std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& value, REGSAM view) {
  qm::UniqueRegKey opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, opened.put()) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(opened.get(), value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::string data(size, '\0');
  if (RegQueryValueExA(opened.get(), value.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(std::min<std::size_t>(size, data.size()));
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

bool KeyExists(HKEY root, const std::string& key, REGSAM view) {
  qm::UniqueRegKey opened;
  return RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, opened.put()) == ERROR_SUCCESS;
}

bool Has32BitSubsystem() {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemWow64DirectoryA(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH &&
         GetFileAttributesA((std::string(folder) + "\\regsvr32.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
}

const std::vector<ForeignList>& ForeignInfoTipLists() {
  static const std::vector<ForeignList> lists = {
      {"Directory", "prop:System.ItemType;{F29F85E0-4FF9-1068-AB91-08002B27B3D9}4",
       "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}1"},
      {"*", "prop:Type;Size", "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}3"},
  };
  return lists;
}

bool PlantForeignInfoTipLists() {
  for (const ForeignList& list : ForeignInfoTipLists()) {
    qm::UniqueRegKey key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, list.class_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        RegSetValueExA(key.get(), "InfoTip", 0, REG_SZ, reinterpret_cast<const BYTE*>(list.text),
                       static_cast<DWORD>(strlen(list.text) + 1)) != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> InstalledProducts() {
  std::vector<std::string> products;
  char product[39];
  for (DWORD index = 0; MsiEnumRelatedProductsA(kUpgradeCode, 0, index, product) == ERROR_SUCCESS; ++index) {
    products.emplace_back(product);
  }
  return products;
}

std::optional<std::string> PerMachineVersion(const std::string& product) {
  char text[64] = {};
  DWORD length = sizeof text;
  if (MsiGetProductInfoExA(product.c_str(), nullptr, MSIINSTALLCONTEXT_MACHINE, INSTALLPROPERTY_VERSIONSTRING, text,
                           &length) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(text, length);
}

}  // namespace installer_checks

#include "installed_state.h"

#include <windows.h>
#include <msi.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace installer_checks {
namespace {

std::string ProgramFiles(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "(no folder)";
  return std::string(path) + "\\Quorvane Marrowby\\";
}

}  // namespace

std::string OwnFolder() { return ProgramFiles(CSIDL_PROGRAM_FILES); }
std::string Folder32() { return ProgramFiles(CSIDL_PROGRAM_FILESX86); }

std::string OwnBinFolder() {
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

std::vector<std::pair<std::string, std::string>> PackagedModules(const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> modules;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "QuorvaneMarrowby*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return modules;
  do {
    const std::string name = found.cFileName;
    if (name != "QuorvaneMarrowby.dll" && name.rfind("QuorvaneMarrowby.lang-", 0) != 0) continue;
    std::ifstream file(folder + name, std::ios::binary);
    modules.emplace_back(name, std::string(std::istreambuf_iterator<char>(file), {}));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(modules.begin(), modules.end());
  return modules;
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

std::vector<std::string> InstalledProducts() {
  std::vector<std::string> products;
  char product[39];
  for (DWORD index = 0;
       MsiEnumRelatedProductsA("{5E0B6337-40C0-4352-B392-CF0639F1A908}", 0, index, product) == ERROR_SUCCESS; ++index) {
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

// What the package leaves on a machine, read with the platform's own calls:
// the installed folders and files, the registry entries that registration
// writes, and the product as Windows Installer lists it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace installer_checks {

// "<Program Files>\Quorvane Marrowby\" of the 64-bit and the 32-bit DLL.
std::string Folder64();
std::string Folder32();
// The folder of this program (the 64-bit build's output), with a backslash.
std::string BinFolder64();
// The 32-bit build's output folder, from QM_BIN32 (a Windows path).
std::string BinFolder32();

// QuorvaneMarrowby.dll and its language modules, by name, found in a folder.
std::vector<std::string> PackagedModules(const std::string& folder);
std::optional<std::string> FileContent(const std::string& path);
// "a.b.c.d" from a module's version resource.
std::string ProductVersion(const std::string& path);

// A registry value (empty name: the default value) or, with `key_only`, a key.
struct RegistryEntry {
  HKEY root;
  std::string key;
  std::string value;
  std::string data;
  bool key_only = false;
};
// The entries registration writes for both classes in the 64-bit view.
std::vector<RegistryEntry> RegisteredEntries();
std::optional<std::string> ReadString(HKEY root, const std::string& key, const std::string& value, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& key, REGSAM view = 0);
bool Has32BitSubsystem();

// InfoTip lists another program wrote before the installation, by class key.
struct ForeignList {
  const char* class_key;
  const char* text;
  const char* added_entry;
};
const std::vector<ForeignList>& ForeignInfoTipLists();
// False when the registry refuses.
bool PlantForeignInfoTipLists();

// The product codes installed with the package's upgrade code.
std::vector<std::string> InstalledProducts();
// The version of a product installed for all users, if it is.
std::optional<std::string> PerMachineVersion(const std::string& product);

}  // namespace installer_checks

// What the package leaves on a machine, read with the platform's own calls:
// the installed folders and files and the product as Windows Installer lists
// it. The registry side is the registration tests' (registry_state.h).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace installer_checks {

// "<Program Files>\Quorvane Marrowby\" of the DLL of this program's bitness
// (it runs in both), and of the 32-bit DLL.
std::string OwnFolder();
std::string Folder32();
// The folder of this program (its build's output), with a backslash.
std::string OwnBinFolder();
// The 32-bit build's output folder, from QM_BIN32 (a Windows path).
std::string BinFolder32();

// QuorvaneMarrowby.dll and its language modules in a folder, by name, with
// their content.
std::vector<std::pair<std::string, std::string>> PackagedModules(const std::string& folder);
// "a.b.c.d" from a module's version resource.
std::string ProductVersion(const std::string& path);

// The product codes installed with the package's upgrade code.
std::vector<std::string> InstalledProducts();
// The version of a product installed for all users, if it is.
std::optional<std::string> PerMachineVersion(const std::string& product);

}  // namespace installer_checks

// The COM class keys that a class's registration script writes, as the
// registry dumps of the tests list them. Shared by the native and the
// Windows tests.
#pragma once

#include <string>
#include <vector>

namespace qm::testing {

struct ClassNames {
  const char* friendly_name;  // the script's "FriendlyName"
  std::string versioned, prog_id, clsid;
};

inline const ClassNames kDirectoryClass{"CDirectoryShellExtension Object", "CDirectoryShellExtension.CDirectorySh.1",
                                        "CDirectoryShellExtension.CDirectorySh",
                                        "{5E2B7C40-1D93-4A6F-9C21-7B4E0A8D3F16}"};
inline const ClassNames kFolderClass{"CFolderShellExtension Object", "CFolderShellExtension.CFolderShellExt.1",
                                     "CFolderShellExtension.CFolderShellExt",
                                     "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}"};
inline const std::string kLibraryId = "{D7C1A5E2-3B84-4F60-B2D9-6E0F4A91C358}";

// The keys of the versioned ProgID, the ProgID and CLSID\<clsid>, in that
// order, each with its values and then its subkeys in name order.
inline std::vector<std::string> ExpectedClassTree(const ClassNames& names, const std::string& module_path) {
  const std::string p1 = "HKCR\\" + names.versioned, p = "HKCR\\" + names.prog_id, g = "HKCR\\CLSID\\" + names.clsid;
  const std::string name = names.friendly_name;
  return {p1,
          p1 + " @ = " + name,
          p1 + "\\CLSID",
          p1 + "\\CLSID @ = " + names.clsid,
          p,
          p + " @ = " + name,
          p + "\\CLSID",
          p + "\\CLSID @ = " + names.clsid,
          p + "\\CurVer",
          p + "\\CurVer @ = " + names.versioned,
          g,
          g + " @ = " + name,
          g + " AppID = ",
          g + "\\InprocServer32",
          g + "\\InprocServer32 @ = " + module_path,
          g + "\\InprocServer32 ThreadingModel = apartment",
          g + "\\ProgID",
          g + "\\ProgID @ = " + names.versioned,
          g + "\\Programmable",
          g + "\\TypeLib",
          g + "\\TypeLib @ = " + kLibraryId,
          g + "\\VersionIndependentProgID",
          g + "\\VersionIndependentProgID @ = " + names.prog_id};
}

}  // namespace qm::testing

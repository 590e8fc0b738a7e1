// The registration scripts of the two COM classes: the same tokens, with
// strings that name the class. Run with the module's replacements
// ("Module", "MODULETYPE", "MODULEGUID", "APPID") and "FriendlyName".
//
//   HKCR\<versioned ProgID> = %FriendlyName%      HKCR\CLSID (never removed)
//     CLSID = <clsid>                                 <clsid> (replaced) = %FriendlyName%
//   HKCR\<ProgID> = %FriendlyName%                      ProgID = <versioned ProgID>
//     CLSID = <clsid>                                   VersionIndependentProgID = <ProgID>
//     CurVer = <versioned ProgID>                       Programmable (replaced)
//                                                       %MODULETYPE% = %MODULE%, ThreadingModel = apartment
//                                                       AppID = %APPID% (value)
//                                                       TypeLib = %MODULEGUID%
#pragma once

#include <array>
#include <cstdint>

#include "core/registration_script.h"

namespace qm {

inline constexpr std::uint32_t kClassScriptTokens[] = {
    0x70000000, 0x30004000, 0x80000002, 0x50000000, 0x3000C000, 0x80000004, 0x60000000, 0x30014000,
    0x80000002, 0x50000000, 0x3000C000, 0x80000004, 0x30018000, 0x80000001, 0x60000000, 0x1000C000,
    0x3000C000, 0x50000000, 0x20010000, 0x30010000, 0x80000002, 0x50000000, 0x3001C000, 0x80000001,
    0x30020000, 0x80000005, 0x20024000, 0x30024000, 0x30028000, 0x8000000B, 0x50000000, 0x8003000D,
    0x60000000, 0x8003800F, 0x30040000, 0x80000011, 0x60000000, 0x60000000, 0x60000000, 0x00000000,
};

constexpr std::array<ScriptString, 18> ClassScriptStrings(const char* versioned_prog_id, const char* prog_id,
                                                          const char* clsid) {
  return {{{"", 0},
           {versioned_prog_id, 0},
           {"%FriendlyName%", kExpandMarkers},
           {"CLSID", 0},
           {clsid, 0},
           {prog_id, 0},
           {"CurVer", 0},
           {"ProgID", 0},
           {"VersionIndependentProgID", 0},
           {"Programmable", 0},
           {"%MODULETYPE%", kExpandMarkers},
           {"%MODULE%", kExpandMarkers},
           {"ThreadingModel", 0},
           {"apartment", 0},
           {"AppID", 0},
           {"%APPID%", kExpandMarkers},
           {"TypeLib", 0},
           {"%MODULEGUID%", kExpandMarkers}}};
}

inline constexpr auto kDirectoryClassStrings =
    ClassScriptStrings("CDirectoryShellExtension.CDirectorySh.1", "CDirectoryShellExtension.CDirectorySh",
                       "{5E2B7C40-1D93-4A6F-9C21-7B4E0A8D3F16}");
inline constexpr auto kFolderClassStrings =
    ClassScriptStrings("CFolderShellExtension.CFolderShellExt.1", "CFolderShellExtension.CFolderShellExt",
                       "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}");

inline constexpr RegistrationScript kDirectoryClassScript{kClassScriptTokens, kDirectoryClassStrings, {}, {}};
inline constexpr RegistrationScript kFolderClassScript{kClassScriptTokens, kFolderClassStrings, {}, {}};

}  // namespace qm

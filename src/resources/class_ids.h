// Identifiers of the module's COM classes and of its type library.
#pragma once

#include <windows.h>

namespace qm {

// CFolderShellExtension; also the format identifier of its column properties.
inline constexpr CLSID kClsidFolderShellExtension = {
    0xA3D4F871, 0x62C5, 0x4B09, {0x8E, 0x7A, 0x15, 0xC9, 0xD2, 0xB0, 0xE4, 0x47}};
// CDirectoryShellExtension.
inline constexpr CLSID kClsidDirectoryShellExtension = {
    0x5E2B7C40, 0x1D93, 0x4A6F, {0x9C, 0x21, 0x7B, 0x4E, 0x0A, 0x8D, 0x3F, 0x16}};
// The type library (TYPELIB 1 of the main module).
inline constexpr GUID kModuleLibraryId = {
    0xD7C1A5E2, 0x3B84, 0x4F60, {0xB2, 0xD9, 0x6E, 0x0F, 0x4A, 0x91, 0xC3, 0x58}};

}  // namespace qm

// The keys outside the COM class tree through which the shell finds an
// extension: the approved list, the handlers under a file class's "shellex"
// key, and the icon overlay identifiers. Each raises its failure.
//
// Removal is strict about the item itself (a missing handler key or approval
// value fails with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)); only a missing
// parent key counts as nothing to remove.
#pragma once

#include <windows.h>

#include <string>

namespace qm {

struct ShellExtensionIdentity {
  std::string clsid;          // registry form
  std::string friendly_name;  // the name of its handler keys and its approval
};

ShellExtensionIdentity IdentityOf(REFCLSID clsid, const char* friendly_name);

// HKLM "...\Shell Extensions\Approved": value CLSID = friendly name.
void RegisterApproval(const ShellExtensionIdentity& extension);
void UnregisterApproval(const ShellExtensionIdentity& extension);

// HKCR "<file class>\shellex\<kind>Handlers\<friendly name>" = CLSID.
void RegisterContextMenuHandler(const ShellExtensionIdentity& extension, const char* file_class);
void UnregisterContextMenuHandler(const ShellExtensionIdentity& extension, const char* file_class);
void RegisterCopyHookHandler(const ShellExtensionIdentity& extension, const char* file_class);
void UnregisterCopyHookHandler(const ShellExtensionIdentity& extension, const char* file_class);
void RegisterDragDropHandler(const ShellExtensionIdentity& extension, const char* file_class);
void UnregisterDragDropHandler(const ShellExtensionIdentity& extension, const char* file_class);
void RegisterPropertySheetHandler(const ShellExtensionIdentity& extension, const char* file_class);
void UnregisterPropertySheetHandler(const ShellExtensionIdentity& extension, const char* file_class);

// HKLM "...\Explorer\ShellIconOverlayIdentifiers\<friendly name>" = CLSID.
void RegisterOverlayIdentifier(const ShellExtensionIdentity& extension);
void UnregisterOverlayIdentifier(const ShellExtensionIdentity& extension);

// HKCR "<file class>\shellex\ColumnHandlers\<CLSID>", without values.
void RegisterColumnHandler(const ShellExtensionIdentity& extension, const char* file_class);
void UnregisterColumnHandler(const ShellExtensionIdentity& extension, const char* file_class);

}  // namespace qm

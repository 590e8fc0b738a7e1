// Per-user settings of the option dialogs: REG_DWORD values under
// HKEY_CURRENT_USER\SOFTWARE\Quorvane\Marrowby.
#pragma once

#include <windows.h>

namespace qm {

inline constexpr char kSettingsKey[] = "SOFTWARE\\Quorvane\\Marrowby";

// Visibility values: 1 shows the dialog only while Control is down; anything
// else (2 once the user cleared the box, missing, another type) always shows it.
inline constexpr char kMoveSoftLinkVisibility[] = "Move Directory Soft Link Options Visibility";
inline constexpr char kCopyDirectoryVisibility[] = "Copy Directory Options Visibility";
inline constexpr char kCopySoftLinkVisibility[] = "Copy Directory Soft Link Options Visibility";
inline constexpr char kDeleteSoftLinkVisibility[] = "Delete Directory Soft Link Options Visibility";
inline constexpr DWORD kShownOnlyWithControl = 1;
inline constexpr DWORD kAlwaysShown = 2;

// The value `name`, or `fallback` when the key or value is missing,
// unreadable or not a 4-byte REG_DWORD.
DWORD ReadSettingDword(const char* name, DWORD fallback) noexcept;
// Creates the key when needed and stores `value`; false, with the failure as
// the thread's last error, when either step fails.
bool WriteSettingDword(const char* name, DWORD value) noexcept;

}  // namespace qm

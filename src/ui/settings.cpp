#include "ui/settings.h"

#include "win/unique_resource.h"

namespace qm {

DWORD ReadSettingDword(const char* name, DWORD fallback) noexcept {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return fallback;
  DWORD value = 0, type = REG_NONE, size = sizeof value;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    return fallback;
  // A shorter REG_DWORD would leave part of the buffer unread.
  return type == REG_DWORD && size == sizeof value ? value : fallback;
}

bool WriteSettingDword(const char* name, DWORD value) noexcept {
  UniqueRegKey key;
  LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, key.put(), nullptr);
  if (error == ERROR_SUCCESS)
    error = RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  key.reset();
  if (error == ERROR_SUCCESS) return true;
  SetLastError(static_cast<DWORD>(error));
  return false;
}

}  // namespace qm

// The option dialogs' settings, read and written with the platform's own
// calls; every test starts and ends without them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "ui/settings.h"

class SettingsFixture : public ::testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void TearDown() override { ClearSettings(); }

  static void ClearSettings() {
    for (const char* name : {qm::kMoveSoftLinkVisibility, qm::kCopyDirectoryVisibility, qm::kCopySoftLinkVisibility,
                             qm::kDeleteSoftLinkVisibility})
      RegDeleteKeyValueA(HKEY_CURRENT_USER, qm::kSettingsKey, name);
  }

  // The value as a DWORD when it is one.
  static std::optional<DWORD> ReadSetting(const char* name) {
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, qm::kSettingsKey, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return std::nullopt;
    return value;
  }

  static void WriteSetting(const char* name, DWORD type, const std::vector<BYTE>& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, qm::kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void WriteSetting(const char* name, DWORD value) {
    WriteSetting(name, REG_DWORD, {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                                   static_cast<BYTE>(value >> 24)});
  }
};

#include "folder_extension/infotip_registration.h"

#include <optional>
#include <string>

#include "core/infotip_list.h"
#include "registration/system_registry.h"
#include "win/errors.h"
#include "win/guid_text.h"
#include "win/unique_resource.h"

namespace qm {
namespace {

constexpr char kValueName[] = "InfoTip";

// HKCR\<name>, or an empty owner when it does not exist or may not be
// changed; other failures are raised.
UniqueRegKey OpenClassKey(const char* name) {
  UniqueRegKey key;
  const LONG error = RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, kRegistrationAccess, key.put());
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_ACCESS_DENIED) return {};
  RaiseIfWin32Error(error);
  return key;
}

// The list text; nothing when the value is missing or not a string.
std::optional<std::string> ReadInfoTip(HKEY key) {
  DWORD type = 0;
  DWORD size = 0;
  LONG error = RegQueryValueExA(key, kValueName, nullptr, &type, nullptr, &size);
  if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
  RaiseIfWin32Error(error);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string data(size, '\0');
  DWORD read = size;
  error = RegQueryValueExA(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &read);
  RaiseIfWin32Error(error);
  if (read > size || (type != REG_SZ && type != REG_EXPAND_SZ)) RaiseStatus(StatusFromWin32(ERROR_INVALID_DATA));
  data.resize(read);
  if (!data.empty() && data.back() != '\0') RaiseStatus(StatusFromWin32(ERROR_INVALID_DATA));
  return std::string(data.c_str());
}

void WriteInfoTip(HKEY key, const std::string& text) {
  RaiseIfWin32Error(RegSetValueExA(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>(text.size() + 1)));
}

}  // namespace

void AddInfoTipProperties(const char* class_key, REFGUID fmtid, std::span<const int> pids) {
  const UniqueRegKey key = OpenClassKey(class_key);
  if (!key) return;
  std::string text = ReadInfoTip(key.get()).value_or(std::string());
  MergeInfoTipPropertyList(text, GuidText(fmtid), pids);
  WriteInfoTip(key.get(), text);
}

void RemoveInfoTipProperties(const char* class_key, REFGUID fmtid) {
  const UniqueRegKey key = OpenClassKey(class_key);
  if (!key) return;
  std::optional<std::string> text = ReadInfoTip(key.get());
  if (!text) return;
  StripInfoTipPropertyList(*text, GuidText(fmtid));
  if (text->empty())
    RaiseIfWin32Error(RegDeleteValueA(key.get(), kValueName));
  else
    WriteInfoTip(key.get(), *text);
}

}  // namespace qm

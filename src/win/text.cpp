#include "win/text.h"

#include <limits>

#include "win/errors.h"

namespace qm {
namespace {

std::wstring Widen(UINT code_page, DWORD flags, std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) RaiseStatus(status::InvalidArg);
  const int narrow_length = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), narrow_length, nullptr, 0);
  if (length <= 0) RaiseLastError();
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(code_page, flags, text.data(), narrow_length, result.data(), length) <= 0) RaiseLastError();
  return result;
}

}  // namespace

UINT ConversionCodePage() {
  char digits[8] = {};
  const int length = GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits);
  if (length > 0) {
    UINT code_page = 0;
    for (const char* c = digits; *c >= '0' && *c <= '9'; ++c) code_page = code_page * 10 + static_cast<UINT>(*c - '0');
    if (code_page != 0) return code_page;
  }
  return GetACP();
}

std::string ToNarrow(std::wstring_view text) {
  if (text.empty()) return {};
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) RaiseStatus(status::InvalidArg);
  const UINT code_page = ConversionCodePage();
  const int wide_length = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(code_page, 0, text.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (length <= 0) RaiseLastError();
  std::string result(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(code_page, 0, text.data(), wide_length, result.data(), length, nullptr, nullptr) <= 0)
    RaiseLastError();
  return result;
}

std::wstring ToWide(std::string_view text) { return Widen(ConversionCodePage(), 0, text); }

std::wstring PathToWide(std::string_view path) {
  return Widen(AreFileApisANSI() ? CP_ACP : CP_OEMCP, MB_ERR_INVALID_CHARS, path);
}

}  // namespace qm

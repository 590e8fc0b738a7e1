#include "win/text.h"

#include <limits>

#include "win/errors.h"

namespace qm {
namespace {

int CheckedLength(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) RaiseStatus(status::InvalidArg);
  return static_cast<int>(size);
}

std::string Narrow(std::wstring_view text, UINT code_page, DWORD flags, BOOL* used_default) {
  if (text.empty()) return {};
  const int wide_length = CheckedLength(text.size());
  if (text.size() <= MAX_PATH) {
    // At most three bytes a character: a path's text converts in one call.
    char local[3 * MAX_PATH];
    const int length =
        WideCharToMultiByte(code_page, flags, text.data(), wide_length, local, sizeof local, nullptr, used_default);
    if (length <= 0) RaiseLastError();
    return std::string(local, static_cast<std::size_t>(length));
  }
  const int length = WideCharToMultiByte(code_page, flags, text.data(), wide_length, nullptr, 0, nullptr, used_default);
  if (length <= 0) RaiseLastError();
  std::string result(static_cast<std::size_t>(length), '\0');
  if (WideCharToMultiByte(code_page, flags, text.data(), wide_length, result.data(), length, nullptr, used_default) <= 0)
    RaiseLastError();
  return result;
}

std::wstring Widen(std::string_view text, UINT code_page, DWORD flags) {
  if (text.empty()) return {};
  const int narrow_length = CheckedLength(text.size());
  const int length = MultiByteToWideChar(code_page, flags, text.data(), narrow_length, nullptr, 0);
  if (length <= 0) RaiseLastError();
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(code_page, flags, text.data(), narrow_length, result.data(), length) <= 0) RaiseLastError();
  return result;
}

// Whether `narrow` reads back as `wide` in `code_page`; a path's length needs
// no block of its own.
bool ReadsBackAs(std::string_view narrow, UINT code_page, std::wstring_view wide) {
  wchar_t local[MAX_PATH];
  if (narrow.empty() || narrow.size() > MAX_PATH) return Widen(narrow, code_page, 0) == wide;
  // A character takes at least one byte: the 8-bit length is room enough.
  const int length = MultiByteToWideChar(code_page, 0, narrow.data(), CheckedLength(narrow.size()), local, MAX_PATH);
  if (length <= 0) RaiseLastError();
  return std::wstring_view(local, static_cast<std::size_t>(length)) == wide;
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

std::string ToNarrow(std::wstring_view text) { return Narrow(text, ConversionCodePage(), 0, nullptr); }

std::wstring ToWide(std::string_view text) { return Widen(text, ConversionCodePage(), 0); }

UINT FileApiCodePage() { return AreFileApisANSI() ? GetACP() : GetOEMCP(); }

std::string PathToNarrow(std::wstring_view path) {
  // WC_ERR_INVALID_CHARS, which the 32-bit build's (XP) headers lack; the
  // file functions use UTF-8 only on Windows versions that have it.
  constexpr DWORD kRefuseLoneSurrogates = 0x80;
  const UINT code_page = FileApiCodePage();
  // UTF-8 takes neither flag nor default character; it refuses lone surrogates.
  const bool utf8 = code_page == CP_UTF8;
  BOOL used_default = FALSE;
  const std::string narrow =
      Narrow(path, code_page, utf8 ? kRefuseLoneSurrogates : WC_NO_BEST_FIT_CHARS, utf8 ? nullptr : &used_default);
  // The round trip catches what a code page maps without the default
  // character but not back to the same name.
  if (used_default || !ReadsBackAs(narrow, code_page, path))
    RaiseStatus(StatusFromWin32(status::Win32NoUnicodeTranslation));
  return narrow;
}

std::wstring PathToWide(std::string_view path) { return Widen(path, FileApiCodePage(), MB_ERR_INVALID_CHARS); }

void PathToWide(std::string_view path, std::wstring& wide) {
  wide.clear();
  if (path.empty()) return;
  // A character takes at least one byte: the 8-bit length is room enough.
  wide.resize(path.size());
  const int length = MultiByteToWideChar(FileApiCodePage(), MB_ERR_INVALID_CHARS, path.data(),
                                         CheckedLength(path.size()), wide.data(), CheckedLength(wide.size()));
  if (length <= 0) RaiseLastError();
  wide.resize(static_cast<std::size_t>(length));
}

std::string PathFromAnsi(std::string_view name) { return PathToNarrow(Widen(name, GetACP(), MB_ERR_INVALID_CHARS)); }

}  // namespace qm

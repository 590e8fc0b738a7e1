#include "transcript.h"

#include <cstdio>

namespace tour {

std::string Utf8(std::wstring_view text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string result(size > 0 ? size : 0, '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring Wide(std::string_view utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring result(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(), size);
  return result;
}

std::string Ansi(std::wstring_view path) {
  const UINT code_page = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
  const int size = WideCharToMultiByte(code_page, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string result(size > 0 ? size : 0, '\0');
  if (size > 0)
    WideCharToMultiByte(code_page, 0, path.data(), static_cast<int>(path.size()), result.data(), size, nullptr,
                        nullptr);
  return result;
}

std::wstring Shown(std::wstring_view menu_text) {
  std::wstring shown;
  for (std::size_t i = 0; i < menu_text.size(); ++i) {
    if (menu_text[i] == L'&' && i + 1 < menu_text.size()) ++i;  // "&&" shows one
    shown += menu_text[i];
  }
  return shown;
}

std::string StatusText(HRESULT status) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = text ? text : L"";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(status));
  return message.empty() ? code : std::string(code) + " " + Utf8(message);
}

void Heading(std::string_view title) {
  std::printf("\n== %.*s\n", static_cast<int>(title.size()), title.data());
  std::fflush(stdout);
}

void Say(std::string_view text) {
  std::printf("   %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stdout);
}

void Say(std::wstring_view text) { Say(Utf8(text)); }

void Note(std::string_view text) {
  std::printf("   (%.*s)\n", static_cast<int>(text.size()), text.data());
  std::fflush(stdout);
}

}  // namespace tour

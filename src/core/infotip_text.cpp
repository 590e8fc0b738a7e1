#include "core/infotip_text.h"

namespace qm {
namespace {

template <class Char>
bool StartsWith(std::basic_string_view<Char> text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (text[i] != static_cast<Char>(prefix[i])) return false;
  return true;
}

}  // namespace

template <class Char>
std::basic_string<Char> FillInfoTipFormat(std::basic_string_view<Char> format, std::basic_string_view<Char> text,
                                          std::optional<std::uint32_t> number) {
  std::basic_string<Char> out;
  out.reserve(format.size() + text.size());
  for (std::size_t i = 0; i < format.size(); ++i) {
    const std::basic_string_view<Char> rest = format.substr(i);
    if (StartsWith(rest, "%ls")) {
      out += text;
      i += 2;
    } else if (StartsWith(rest, "%%")) {
      out += static_cast<Char>('%');
      ++i;
    } else if (number && StartsWith(rest, "%d")) {
      for (const char digit : std::to_string(*number)) out += static_cast<Char>(digit);
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

template std::u16string FillInfoTipFormat(std::u16string_view, std::u16string_view, std::optional<std::uint32_t>);
template std::wstring FillInfoTipFormat(std::wstring_view, std::wstring_view, std::optional<std::uint32_t>);

}  // namespace qm

// Infotip lines from format texts that a language module supplies
// ("Soft Link Target: %ls", "Hard Link Count: %d"). The formats are foreign
// text: never handed to printf.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Each "%ls" becomes `text`, each "%d" becomes `number` in decimal when one
// is given, and "%%" becomes "%". Everything else, including any other
// conversion and a "%d" without a number, is copied as written. For
// char16_t and wchar_t.
template <class Char>
std::basic_string<Char> FillInfoTipFormat(std::basic_string_view<Char> format, std::basic_string_view<Char> text,
                                          std::optional<std::uint32_t> number = std::nullopt);

}  // namespace qm

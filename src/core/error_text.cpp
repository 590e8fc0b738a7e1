#include "core/error_text.h"

namespace qm {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of a placeholder starting at `format[at]` (a '%'), or 0.
std::size_t PlaceholderLength(std::string_view format, std::size_t at) {
  std::size_t i = at + 1;
  while (i < format.size() && IsDigit(format[i])) ++i;
  if (i < format.size() && (format[i] == 'x' || format[i] == 'X')) return i + 1 - at;
  return 0;
}

std::string Hex8(std::uint32_t value, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = digits[value & 0xF];
  return text;
}

}  // namespace

std::string FormatFallbackErrorText(std::string_view format, std::uint32_t status) {
  std::string text;
  text.reserve(format.size() + 8);
  bool filled = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      text += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      text += '%';
      ++i;
      continue;
    }
    const std::size_t length = filled ? 0 : PlaceholderLength(format, i);
    if (length == 0) {
      text += '%';
      continue;
    }
    text += Hex8(status, format[i + length - 1] == 'X');
    filled = true;
    i += length - 1;
  }
  return text;
}

bool NeedsInsertArguments(std::string_view message) {
  for (std::size_t i = 0; i + 1 < message.size(); ++i) {
    if (message[i] != '%') continue;
    if (message[i + 1] == '%') {
      ++i;
      continue;
    }
    if (message[i + 1] >= '1' && message[i + 1] <= '9') return true;
  }
  return false;
}

}  // namespace qm

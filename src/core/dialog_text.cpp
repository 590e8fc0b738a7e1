#include "core/dialog_text.h"

namespace qm {

std::u16string FillTextPieces(std::u16string_view format, std::initializer_list<std::u16string_view> pieces) {
  std::u16string out;
  auto next_piece = pieces.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char16_t next = i + 1 < format.size() ? format[i + 1] : u'\0';
    if (format[i] != u'%' || (next != u's' && next != u'%')) {
      out += format[i];
      continue;
    }
    if (next == u'%') {
      out += u'%';
    } else if (next_piece != pieces.end()) {
      out += *next_piece++;
    }
    ++i;
  }
  return out;
}

std::u16string ShowAmpersands(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    out += c;
    if (c == u'&') out += u'&';
  }
  return out;
}

std::u16string CutPathToLength(std::u16string_view path, std::size_t max_length) {
  constexpr std::u16string_view kEllipsis = u"...";
  if (path.size() <= max_length) return std::u16string(path);
  if (max_length <= kEllipsis.size()) return std::u16string(kEllipsis.substr(0, max_length));
  const std::size_t room = max_length - kEllipsis.size();
  const std::size_t last_separator = path.find_last_of(u'\\');
  const std::u16string_view tail =
      last_separator == std::u16string_view::npos ? std::u16string_view() : path.substr(last_separator);
  if (tail.empty() || tail.size() >= room) return std::u16string(kEllipsis) + std::u16string(path.substr(path.size() - room));
  return std::u16string(path.substr(0, room - tail.size())) + std::u16string(kEllipsis) + std::u16string(tail);
}

}  // namespace qm

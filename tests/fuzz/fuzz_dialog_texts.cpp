// Foreign texts of the option dialogs and the hyperlink control: message
// formats from language modules and colours from the registry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/anchor_colour.h"
#include "core/dialog_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// Input: the format as UTF-16 code units; the same bytes as a colour.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string format(reinterpret_cast<const char16_t*>(data),
                              reinterpret_cast<const char16_t*>(data) + size / 2);
  const std::u16string_view first = u"C:\\first", second = u"D:\\second";
  const std::u16string text = qm::FillTextPieces(format, {first, second});
  // Each placeholder (two units) grows by at most the longer piece.
  Check(text.size() <= format.size() + (format.size() / 2) * second.size());
  if (format.find(u'%') == std::u16string::npos) Check(text == format);

  for (std::size_t limit : {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{259}}) {
    const std::u16string cut = qm::CutPathToLength(format, limit);
    Check(cut.size() <= limit);
    if (format.size() <= limit) Check(cut == format);
  }

  if (const auto colour = qm::ParseAnchorColour(std::string_view(reinterpret_cast<const char*>(data), size)))
    Check(std::string_view(reinterpret_cast<const char*>(data), size).find(',') != std::string_view::npos);
  return 0;
}

// Link colours as the browser settings store them: "red,green,blue" in
// decimal, such as "0,0,255".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qm {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour `text` names, read up to its first zero character: three
// numbers from 0 to 255 separated by commas, blanks allowed around each.
// Anything else names none.
std::optional<Rgb> ParseAnchorColour(std::string_view text);

}  // namespace qm

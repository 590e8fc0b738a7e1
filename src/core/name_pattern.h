// Name patterns from string resources ("Soft Link to %s", "%s (%d)").
// A language module supplies them, so they are foreign text: never handed to
// printf.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Each "%s" becomes `text`, each "%d" becomes `number` in decimal when one is
// given, and "%%" becomes "%". Everything else, including any other
// conversion and a "%d" without a number, is copied literally.
std::string FormatNamePattern(std::string_view pattern, std::string_view text,
                              std::optional<int> number = std::nullopt);
// The same appended to `out`, whose buffer is reused.
void AppendNamePattern(std::string& out, std::string_view pattern, std::string_view text,
                       std::optional<int> number = std::nullopt);

}  // namespace qm

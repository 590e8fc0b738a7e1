// Comparing names that are ASCII by contract (file system names, verbs,
// window class names) the same way in every locale.
#pragma once

#include <string_view>

namespace qm {

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace qm

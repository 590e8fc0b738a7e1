// String resources that hold several texts, each followed by a line feed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// Text `index` of `entry`: what follows the index-th line feed up to the next
// line feed or the end. Past the last line feed the text is empty.
std::string_view PickText(std::string_view entry, std::size_t index);

}  // namespace qm

// Pieces of the error text that need no Windows calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Fills the fallback format (foreign text from a language module) with
// `status` as 8 hexadecimal digits. Only the first placeholder of the form
// %x, %08x or %X (optional zero flag and width) is filled, lower-case for x
// and upper-case for X; "%%" gives "%"; every other character, later
// placeholders included, is copied as written.
std::string FormatFallbackErrorText(std::string_view format, std::uint32_t status);

// True when a message read without its insert arguments still holds an
// insert (%1 to %99): its text could not be formed.
bool NeedsInsertArguments(std::string_view message);

}  // namespace qm

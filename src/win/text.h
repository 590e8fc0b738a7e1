// Conversions between 8-bit text in the conversion code page and UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// The ANSI code page of the calling thread's locale, or the system's when
// that lookup fails or gives 0.
UINT ConversionCodePage();

// Characters the code page cannot hold become the default character.
std::string ToNarrow(std::wstring_view text);
std::wstring ToWide(std::string_view text);

}  // namespace qm

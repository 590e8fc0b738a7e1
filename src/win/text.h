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

// A path of the 8-bit file functions as UTF-16, converted exactly with their
// code page (AreFileApisANSI: ANSI, else OEM). Bytes that are no character
// there raise HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION).
std::wstring PathToWide(std::string_view path);

}  // namespace qm

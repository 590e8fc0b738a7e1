// Conversions between 8-bit text and UTF-16: display text in the conversion
// code page, paths in the code page of the 8-bit file functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// The ANSI code page of the calling thread's locale, or the system's when
// that lookup fails or gives 0.
UINT ConversionCodePage();

// Display text. Characters the code page cannot hold become the default
// character.
std::string ToNarrow(std::wstring_view text);
std::wstring ToWide(std::string_view text);

// The code page the 8-bit file functions use: the ANSI code page, or the OEM
// code page after SetFileApisToOEM.
UINT FileApiCodePage();

// Paths, converted exactly with FileApiCodePage(): a name the code page
// cannot hold (no best fit, no default character) or bytes that are not
// valid in it raise HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION), so a
// look-alike never reaches a file call.
std::string PathToNarrow(std::wstring_view path);
std::wstring PathToWide(std::string_view path);
// A name in the ANSI code page (as 8-bit drop lists carry names) as a path
// for the 8-bit file functions, exactly as above.
std::string PathFromAnsi(std::string_view name);

}  // namespace qm

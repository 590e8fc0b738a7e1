// Window texts as UTF-16, the form in which the system keeps control texts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm {

// Raises the last error when the text cannot be read.
std::wstring WindowText(HWND window);

// Raises the last error when the text cannot be set.
void ReplaceWindowText(HWND window, std::wstring_view text);

// The same texts in the forms the portable core works with.
inline std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }
inline std::wstring FromU16(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace qm

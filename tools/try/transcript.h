// What explorer_host prints: a transcript a newcomer can follow. Text is
// written as UTF-8; accelerator ampersands are dropped as a menu shows them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tour {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);
// A path in the code page of the 8-bit file functions (the demo's are ASCII).
std::string Ansi(std::wstring_view path);
// "Create &Hard Link" as the menu shows it: "Create Hard Link".
std::wstring Shown(std::wstring_view menu_text);
// "0x80070032 The request is not supported."
std::string StatusText(HRESULT status);

// A section of the tour.
void Heading(std::string_view title);
// A line of the transcript, indented under the current heading.
void Say(std::string_view text);
void Say(std::wstring_view text);
// A remark about how a step is shown, set apart from what the user sees.
void Note(std::string_view text);

}  // namespace tour

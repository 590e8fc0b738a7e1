// Texts of the option dialogs. Their formats come from language modules, so
// they are foreign text: filled here, never handed to printf.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qm {

// Each "%s" receives the next of `pieces` (an empty text once they run out)
// and "%%" becomes "%"; everything else is copied as written.
std::u16string FillTextPieces(std::u16string_view format, std::initializer_list<std::u16string_view> pieces);

// `text` for a static control that reads "&" as a mnemonic marker: every "&"
// doubled, so that it shows as itself.
std::u16string ShowAmpersands(std::u16string_view text);

// `path` cut to at most `max_length` characters for a fixed buffer: when it
// is longer, its start and its last component are kept around "...", or only
// the end of a last component that is too long by itself.
std::u16string CutPathToLength(std::u16string_view path, std::size_t max_length);

}  // namespace qm

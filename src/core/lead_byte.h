// Multibyte awareness of 8-bit text.
#pragma once

namespace qm {

// Tells whether a byte of 8-bit text starts a double-byte character in the
// code page of the text; null for single-byte text.
using LeadBytePredicate = bool (*)(unsigned char byte);

}  // namespace qm

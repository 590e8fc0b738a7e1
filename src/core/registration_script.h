// Registration scripts in their compiled form: 32-bit tokens over a string
// table, run forwards to write keys and values and backwards to remove them.
//
// A token holds the opcode in bits 28-31, operand A in bits 14-27 and operand
// B in bits 0-13; both operands index the string table unless said otherwise.
//   0 end of script
//   1 A  key that is never removed; the next token names it again
//   2 A  key that is replaced (deleted with all subkeys, then created);
//        the next token names it again
//   3 A  key: opened or created, it becomes the current key
//   5    block: the tokens up to the matching 6 run under the current key;
//        when removing, the key is deleted after its block
//   6    end of block
//   7 A  root (first token only): the predefined key 0x80000000 | A
//   8 A B  REG_SZ value named A (0: the current key's default value) = B
//   9 A B  REG_MULTI_SZ value: B with each "\0" a terminator
//  10 A B  REG_DWORD value from DWORD-table entry B
//  11 A B  REG_BINARY value from binary-table entry B
#pragma once

#include <cstdint>
#include <span>

#include "core/lead_byte.h"
#include "core/registry.h"
#include "core/replacement_map.h"

namespace qm {

struct ScriptString {
  const char* text;
  std::uint32_t flags;  // kExpandMarkers: replacement markers are expanded before use
};
inline constexpr std::uint32_t kExpandMarkers = 1;

struct ScriptDword {
  std::uint32_t value;  // with kExpandMarkers: the string-table index of a decimal text
  std::uint32_t flags;
};

struct ScriptBinary {
  const std::uint8_t* bytes;
  std::uint32_t length;
  std::uint32_t flags;       // with kExpandMarkers: the data is the hexadecimal text below
  std::uint32_t text_index;  // string-table index of that text
};

struct RegistrationScript {
  std::span<const std::uint32_t> tokens;
  std::span<const ScriptString> strings;
  std::span<const ScriptDword> dwords;
  std::span<const ScriptBinary> binaries;
};

// Runs `script` forwards (`register_keys`) or backwards. Raises E_INVALIDARG
// without tokens or strings, E_FAIL for a malformed script or a marker that
// does not expand, and HRESULT_FROM_WIN32 of a registry error. Backwards, a
// key that does not exist is skipped with its block. Every key the run opens
// is closed before it returns.
void RunRegistrationScript(Registry& registry, const ReplacementMap& replacements, const RegistrationScript& script,
                           bool register_keys, LeadBytePredicate is_lead_byte = nullptr);

}  // namespace qm

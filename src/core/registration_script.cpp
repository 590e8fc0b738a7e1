#include "core/registration_script.h"

#include <optional>
#include <string>
#include <vector>

#include "core/status.h"

namespace qm {
namespace {

enum Opcode : std::uint32_t {
  kEnd = 0,
  kNoRemove = 1,
  kForceRemove = 2,
  kKey = 3,
  kBlock = 5,
  kEndBlock = 6,
  kRoot = 7,
  kStringValue = 8,
  kMultiStringValue = 9,
  kDwordValue = 10,
  kBinaryValue = 11,
};

std::uint32_t OpcodeOf(std::uint32_t token) { return token >> 28; }
std::uint32_t OperandA(std::uint32_t token) { return (token >> 14) & 0x3FFF; }
std::uint32_t OperandB(std::uint32_t token) { return token & 0x3FFF; }

bool IsMissing(std::uint32_t error) { return error == registry::kFileNotFound || error == registry::kPathNotFound; }

void RaiseIfError(std::uint32_t error) {
  if (error) RaiseStatus(StatusFromWin32(error));
}

template <class T>
const T& Entry(std::span<const T> table, std::uint32_t index) {
  if (index >= table.size()) RaiseStatus(status::Fail);
  return table[index];
}

std::uint32_t ParseDecimal(const std::string& text) {
  if (text.empty()) RaiseStatus(status::Fail);
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') RaiseStatus(status::Fail);
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
    if (value > 0xFFFFFFFFu) RaiseStatus(status::Fail);
  }
  return static_cast<std::uint32_t>(value);
}

std::uint8_t HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  RaiseStatus(status::Fail);
}

std::vector<std::uint8_t> ParseHex(const std::string& text) {
  if (text.size() % 2) RaiseStatus(status::Fail);
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(HexDigit(text[i]) << 4 | HexDigit(text[i + 1])));
  return bytes;
}

// REG_SZ and REG_MULTI_SZ data: the text and its terminator.
std::vector<std::uint8_t> StringData(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

struct Level {
  Level(Registry& registry, RegistryKey own) : key(own), current(registry) {}
  RegistryKey key;                          // the block's own key; 0 for a missing key when removing
  OwnedRegistryKey current;                 // the key named last at this level
  bool named = false;
  std::string name;                         // removing: deleted after its block unless kept
  bool kept = false;
  std::optional<std::uint32_t> keep_next;   // removing: the operand of a preceding opcode 1
  std::string remove_after;                 // removing: this block's key under the outer level's key

  // Where a default value goes and what a block runs under.
  RegistryKey Target() const { return named ? current.get() : key; }
};

class ScriptRun {
 public:
  ScriptRun(Registry& registry, const ReplacementMap& replacements, const RegistrationScript& script,
            bool register_keys, LeadBytePredicate is_lead_byte)
      : m_registry(registry),
        m_replacements(replacements),
        m_script(script),
        m_register(register_keys),
        m_is_lead_byte(is_lead_byte) {}

  void Run() {
    const auto tokens = m_script.tokens;
    if (tokens.empty() || m_script.strings.empty()) RaiseStatus(status::InvalidArg);
    if (OpcodeOf(tokens[0]) != kRoot) RaiseStatus(status::Fail);
    m_levels.emplace_back(m_registry, m_registry.PredefinedKey(OperandA(tokens[0])));
    for (std::size_t i = 1; i < tokens.size() && OpcodeOf(tokens[i]) != kEnd; ++i) {
      if (m_levels.empty()) RaiseStatus(status::Fail);
      Step(tokens[i]);
    }
  }

 private:
  std::string Text(std::uint32_t index) const {
    const ScriptString& entry = Entry(m_script.strings, index);
    if (!entry.text) RaiseStatus(status::Fail);
    if (entry.flags & kExpandMarkers) return ExpandMarkers(entry.text, m_replacements, m_is_lead_byte);
    return entry.text;
  }

  void Step(std::uint32_t token) {
    Level& level = m_levels.back();
    const std::uint32_t a = OperandA(token);
    switch (OpcodeOf(token)) {
      case kNoRemove:
        if (m_register)
          OpenOrCreate(level, a);
        else
          level.keep_next = a;
        break;
      case kForceRemove:
        if (m_register) {
          const std::uint32_t error = DeleteKeyTree(m_registry, level.key, Text(a));
          if (!IsMissing(error)) RaiseIfError(error);
          Create(level, a);
        } else {
          OpenExisting(level, a);
        }
        break;
      case kKey:
        if (m_register)
          OpenOrCreate(level, a);
        else
          OpenExisting(level, a);
        break;
      case kBlock:
        BeginBlock(level);
        break;
      case kEndBlock:
        EndBlock();
        break;
      case kStringValue:
      case kMultiStringValue:
      case kDwordValue:
      case kBinaryValue:
        if (m_register) WriteValue(level, token);
        break;
      default:  // a second root, and opcodes without a meaning
        RaiseStatus(status::Fail);
    }
  }

  void OpenOrCreate(Level& level, std::uint32_t name_index) {
    const std::string name = Text(name_index);
    if (m_registry.OpenKey(level.key, name, level.current.put()) != 0)
      RaiseIfError(m_registry.CreateKey(level.key, name, level.current.put()));
    level.named = true;
  }

  void Create(Level& level, std::uint32_t name_index) {
    RaiseIfError(m_registry.CreateKey(level.key, Text(name_index), level.current.put()));
    level.named = true;
  }

  void OpenExisting(Level& level, std::uint32_t name_index) {
    level.current.reset();
    level.named = true;
    level.name = Text(name_index);
    level.kept = level.keep_next == name_index;
    level.keep_next.reset();
    if (!level.key) return;
    const std::uint32_t error = m_registry.OpenKey(level.key, level.name, level.current.put());
    if (!IsMissing(error)) RaiseIfError(error);
  }

  void BeginBlock(const Level& level) {
    const RegistryKey key = level.Target();
    std::string remove_after = !m_register && level.named && level.current && !level.kept ? level.name : "";
    m_levels.emplace_back(m_registry, key);  // `level` is not used past this point
    m_levels.back().remove_after = std::move(remove_after);
  }

  void EndBlock() {
    const std::string remove = std::move(m_levels.back().remove_after);
    m_levels.pop_back();
    if (remove.empty()) return;
    Level& outer = m_levels.back();
    outer.current.reset();
    const std::uint32_t error = DeleteKeyTree(m_registry, outer.key, remove);
    if (!IsMissing(error)) RaiseIfError(error);
  }

  void WriteValue(const Level& level, std::uint32_t token) {
    const std::uint32_t a = OperandA(token);
    const std::uint32_t b = OperandB(token);
    // A named value goes to the block's key, the default value to the current key.
    const RegistryKey target = a ? level.key : level.Target();
    const std::string name = a ? Text(a) : std::string();
    std::uint32_t type = registry::kString;
    std::vector<std::uint8_t> data;
    switch (OpcodeOf(token)) {
      case kStringValue:
        data = StringData(Text(b));
        break;
      case kMultiStringValue: {
        std::string text = Text(b);
        for (std::size_t at = text.find("\\0"); at != std::string::npos; at = text.find("\\0", at + 1))
          text.replace(at, 2, 1, '\0');
        data = StringData(text);
        type = registry::kMultiString;
        break;
      }
      case kDwordValue: {
        const ScriptDword& entry = Entry(m_script.dwords, b);
        const std::uint32_t value = entry.flags & kExpandMarkers ? ParseDecimal(Text(entry.value)) : entry.value;
        for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<std::uint8_t>(value >> shift));
        type = registry::kDword;
        break;
      }
      default: {
        const ScriptBinary& entry = Entry(m_script.binaries, b);
        if (entry.flags & kExpandMarkers) {
          data = ParseHex(Text(entry.text_index));
        } else {
          if (!entry.bytes && entry.length) RaiseStatus(status::Fail);
          data.assign(entry.bytes, entry.bytes + entry.length);
        }
        type = registry::kBinary;
        break;
      }
    }
    RaiseIfError(m_registry.SetValue(target, name, type, data));
  }

  Registry& m_registry;
  const ReplacementMap& m_replacements;
  const RegistrationScript& m_script;
  const bool m_register;
  const LeadBytePredicate m_is_lead_byte;
  std::vector<Level> m_levels;
};

}  // namespace

void RunRegistrationScript(Registry& registry, const ReplacementMap& replacements, const RegistrationScript& script,
                           bool register_keys, LeadBytePredicate is_lead_byte) {
  ScriptRun(registry, replacements, script, register_keys, is_lead_byte).Run();
}

}  // namespace qm

#include "core/module_names.h"

#include <cstring>

#include "core/status.h"

namespace qm {
namespace {

constexpr std::size_t kMaxPath = 260;  // characters, terminator included

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Calls `visit(index)` for the first byte of every character of `text`.
template <class Visit>
void ForEachCharacter(std::string_view text, LeadBytePredicate is_lead_byte, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    visit(i);
    if (is_lead_byte && is_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
}

std::string CheckedPath(std::string path) {
  if (path.size() >= kMaxPath) RaiseStatus(StatusFromWin32(status::Win32FilenameExceedsRange));
  return path;
}

std::uint32_t ReadLittleEndian32(std::span<const std::byte> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

}  // namespace

ModulePathParts SplitModulePath(std::string_view path, LeadBytePredicate is_lead_byte) {
  std::size_t name_start = 0;
  std::size_t last_dot = std::string_view::npos;
  ForEachCharacter(path, is_lead_byte, [&](std::size_t i) {
    if (IsSeparator(path[i])) {
      name_start = i + 1;
      last_dot = std::string_view::npos;
    } else if (path[i] == '.') {
      last_dot = i;
    }
  });
  const std::size_t extension_start = last_dot == std::string_view::npos ? path.size() : last_dot;
  return {std::string(path.substr(0, name_start)), std::string(path.substr(name_start, extension_start - name_start)),
          std::string(path.substr(extension_start))};
}

std::string LanguageModulePath(const ModulePathParts& parts, std::uint16_t language) {
  return CheckedPath(parts.directory + parts.title + ".lang-" + std::to_string(language) + parts.extension);
}

std::string PathWithExtension(const ModulePathParts& parts, std::string_view extension) {
  return CheckedPath(parts.directory + parts.title + std::string(extension));
}

std::string HelpDirectoryOf(std::string_view path, LeadBytePredicate is_lead_byte) {
  path = path.substr(0, kMaxPath - 1);
  std::size_t end = 0;
  ForEachCharacter(path, is_lead_byte, [&](std::size_t i) {
    if (IsSeparator(path[i]) || path[i] == ':') end = i + 1;
  });
  return std::string(path.substr(0, end));
}

std::optional<std::uint64_t> ProductVersionFromFixedInfo(std::span<const std::byte> fixed_info) {
  constexpr std::size_t kFixedInfoSize = 13 * 4;
  constexpr std::uint32_t kSignature = 0xFEEF04BD;
  if (fixed_info.size() < kFixedInfoSize || ReadLittleEndian32(fixed_info, 0) != kSignature) return std::nullopt;
  const std::uint64_t high = ReadLittleEndian32(fixed_info, 16);
  const std::uint64_t low = ReadLittleEndian32(fixed_info, 20);
  return high << 32 | low;
}

}  // namespace qm

#include "core/link_names.h"

#include <utility>

#include "core/name_pattern.h"

namespace qm {

std::string_view FileNameExtension(std::string_view name) {
  std::size_t period = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '.') period = i;
    else if (name[i] == ' ') period = std::string_view::npos;
  }
  return period == std::string_view::npos ? std::string_view() : name.substr(period);
}

LinkNameCandidates::LinkNameCandidates(std::string name, bool skip_plain_name, LinkNamePatterns patterns)
    : m_name(std::move(name)),
      m_patterns(std::move(patterns)),
      m_stage(skip_plain_name ? Stage::Formatted : Stage::Plain),
      m_number(m_patterns.first_number) {}

std::optional<std::string> LinkNameCandidates::Next() {
  switch (m_stage) {
    case Stage::Plain:
      m_stage = Stage::Formatted;
      return m_name;
    case Stage::Formatted: {
      std::string formatted = FormatNamePattern(m_patterns.name_format, m_name);
      m_extension = std::string(FileNameExtension(m_name));
      m_base = formatted.substr(0, formatted.size() - FileNameExtension(formatted).size());
      m_stage = Stage::Numbered;
      return formatted;
    }
    case Stage::Numbered: {
      if (m_number >= kLinkNumberLimit) {
        m_stage = Stage::Done;
        return std::nullopt;
      }
      std::string numbered = FormatNamePattern(m_patterns.numbered_format, m_base, m_number++);
      if (FileNameExtension(numbered).empty()) numbered += m_extension;
      return numbered;
    }
    case Stage::Done:
      break;
  }
  return std::nullopt;
}

}  // namespace qm

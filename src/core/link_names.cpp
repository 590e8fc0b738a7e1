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
  std::string name;
  if (!Next(name)) return std::nullopt;
  return name;
}

void LinkNameCandidates::Restart(std::string_view name, bool skip_plain_name) {
  m_name.assign(name);
  m_stage = skip_plain_name ? Stage::Formatted : Stage::Plain;
  m_number = m_patterns.first_number;
}

bool LinkNameCandidates::Next(std::string& name) {
  switch (m_stage) {
    case Stage::Plain:
      m_stage = Stage::Formatted;
      name.assign(m_name);
      return true;
    case Stage::Formatted:
      name.clear();
      AppendNamePattern(name, m_patterns.name_format, m_name);
      m_extension.assign(FileNameExtension(m_name));
      m_base.assign(name, 0, name.size() - FileNameExtension(name).size());
      m_stage = Stage::Numbered;
      return true;
    case Stage::Numbered:
      if (m_number >= kLinkNumberLimit) {
        m_stage = Stage::Done;
        return false;
      }
      name.clear();
      AppendNamePattern(name, m_patterns.numbered_format, m_base, m_number++);
      if (FileNameExtension(name).empty()) name += m_extension;
      return true;
    case Stage::Done:
      break;
  }
  return false;
}

}  // namespace qm

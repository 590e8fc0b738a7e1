// The names a new link may take in its destination folder, in the order
// they are tried: the source's own name (unless skipped), the name pattern
// applied to it ("Soft Link to Music"), then numbered forms
// ("Soft Link to Music (2)") up to number 99, keeping the source's
// extension last ("Hard Link to notes (2).txt").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Numbers stop below this.
constexpr int kLinkNumberLimit = 100;

struct LinkNamePatterns {
  std::string name_format;      // one "%s": the source's name
  std::string numbered_format;  // "%s" then "%d": the base name and a number
  int first_number = 2;
};

// The extension of a file name as the shell finds it: from its last period
// on, unless a space follows that period; empty without one.
std::string_view FileNameExtension(std::string_view name);

class LinkNameCandidates {
 public:
  LinkNameCandidates(std::string name, bool skip_plain_name, LinkNamePatterns patterns);

  // The next name to try, or nothing when all were offered.
  std::optional<std::string> Next();
  // The same into `name`, whose buffer is reused; false when all were offered.
  bool Next(std::string& name);
  // Starts over with another source's name, keeping the patterns and buffers.
  void Restart(std::string_view name, bool skip_plain_name);

 private:
  enum class Stage { Plain, Formatted, Numbered, Done };

  std::string m_name;
  LinkNamePatterns m_patterns;
  Stage m_stage;
  int m_number;
  std::string m_base;
  std::string m_extension;
};

}  // namespace qm

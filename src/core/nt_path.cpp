#include "core/nt_path.h"

namespace qm {

bool HasNtPathPrefix(std::u16string_view path) { return path.substr(0, kNtPathPrefix.size()) == kNtPathPrefix; }

std::u16string SubstituteNameForTarget(std::u16string_view target) {
  std::u16string name;
  SubstituteNameForTarget(target, name);
  return name;
}

void SubstituteNameForTarget(std::u16string_view target, std::u16string& name) {
  if (HasNtPathPrefix(target)) {
    name.assign(target);
    return;
  }
  name.assign(kNtPathPrefix);
  name += target;
  if (name.size() >= 2 && name.compare(name.size() - 2, 2, u":\\") == 0) name.pop_back();
}

std::u16string_view TargetOfSubstituteName(std::u16string_view substitute_name) {
  return HasNtPathPrefix(substitute_name) ? substitute_name.substr(kNtPathPrefix.size()) : substitute_name;
}

}  // namespace qm

// NT paths as junctions store them: "\??\" followed by a drive-letter path.
#pragma once

#include <string>
#include <string_view>

namespace qm {

constexpr std::u16string_view kNtPathPrefix = u"\\??\\";

bool HasNtPathPrefix(std::u16string_view path);

// The substitute name a junction to `target` stores. A target that already
// begins with "\??\" (a name taken from another junction) stays unchanged;
// any other gets the prefix, and a drive root "X:\" loses its backslash
// (\??\X:). No other trailing backslash is touched.
std::u16string SubstituteNameForTarget(std::u16string_view target);
// The same into `name`, whose buffer is reused.
void SubstituteNameForTarget(std::u16string_view target, std::u16string& name);

// The target a substitute name leads to: the name without a leading "\??\"
// (compared exactly), otherwise unchanged.
std::u16string_view TargetOfSubstituteName(std::u16string_view substitute_name);

}  // namespace qm

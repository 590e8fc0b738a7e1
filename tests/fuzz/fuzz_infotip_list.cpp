// "InfoTip" property lists as users and other programs leave them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/infotip_list.h"
#include "core/status.h"

namespace {

constexpr std::string_view kFmtid = "{A3D4F871-62C5-4B09-8E7A-15C9D2B0E447}";
constexpr int kPids[] = {1, 3};

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Stripped(std::string text) {
  qm::StripInfoTipPropertyList(text, kFmtid);
  return text;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether an entry of the list after "prop:" belongs to the set.
bool HoldsSetEntry(std::string_view entries) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= entries.size(); ++i) {
    if (i < entries.size() && entries[i] != ';') continue;
    const std::string_view entry = entries.substr(start, i - start);
    start = i + 1;
    if (entry.size() < kFmtid.size()) continue;
    bool same = true;
    for (std::size_t k = 0; k < kFmtid.size(); ++k) same = same && Upper(entry[k]) == kFmtid[k];
    if (same) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);

  const std::string stripped = Stripped(original);
  Check(Stripped(stripped) == stripped);
  if (stripped != original) Check(stripped.empty() || !HoldsSetEntry(std::string_view(stripped).substr(5)));

  std::string merged = original;
  try {
    qm::MergeInfoTipPropertyList(merged, kFmtid, kPids);
  } catch (const qm::CAtlException& e) {
    Check(e.status() == qm::status::InfoTipNotAPropertyList && merged == original);
    return 0;
  }
  std::string again = merged;
  qm::MergeInfoTipPropertyList(again, kFmtid, kPids);
  Check(again == merged);
  // Unregistration takes back what registration added, and only that.
  const std::string unmerged = Stripped(merged);
  Check(unmerged == stripped || (unmerged.empty() && (stripped == "prop:" || stripped.empty())));
  return 0;
}

#include "core/infotip_list.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/status.h"

namespace qm {
namespace {

constexpr std::string_view kPrefix = "prop:";

char FoldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char x, char y) {
           return FoldCase(x) == FoldCase(y);
         });
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool BelongsTo(std::string_view entry, std::string_view fmtid) { return StartsWithIgnoringCase(entry, fmtid); }

// The PID an entry of the set names: after the identifier, leading "," are
// dropped and white space trimmed; what remains is an optional "-" and digits.
std::optional<long long> NamedPid(std::string_view entry, std::string_view fmtid) {
  std::string_view rest = entry.substr(fmtid.size());
  while (!rest.empty() && rest.front() == ',') rest.remove_prefix(1);
  while (!rest.empty() && IsSpace(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsSpace(rest.back())) rest.remove_suffix(1);
  const bool negative = !rest.empty() && rest.front() == '-';
  if (negative) rest.remove_prefix(1);
  if (rest.empty() || rest.size() > 10) return std::nullopt;
  long long value = 0;
  for (const char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// Calls `visit(entry)` for each entry of `list`, runs of ";" separating them.
template <class Visit>
void ForEachEntry(std::string_view list, Visit visit) {
  std::size_t at = 0;
  for (;;) {
    while (at < list.size() && list[at] == ';') ++at;
    if (at >= list.size()) return;
    const std::size_t end = std::min(list.find(';', at), list.size());
    visit(list.substr(at, end - at));
    at = end;
  }
}

}  // namespace

void MergeInfoTipPropertyList(std::string& text, std::string_view fmtid, std::span<const int> pids) {
  if (!text.empty() && !StartsWithIgnoringCase(text, kPrefix)) RaiseStatus(status::InfoTipNotAPropertyList);
  std::vector<int> pending(pids.begin(), pids.end());
  if (!text.empty()) {
    ForEachEntry(std::string_view(text).substr(kPrefix.size()), [&](std::string_view entry) {
      if (!BelongsTo(entry, fmtid)) return;
      if (const auto pid = NamedPid(entry, fmtid)) std::erase(pending, *pid);
    });
  }
  if (pending.empty()) return;
  if (text.empty()) text = kPrefix;
  for (const int pid : pending) {
    // Only the prefix's own colon needs no separator: an entry that ends with
    // one would otherwise swallow the new entry.
    if (text.size() > kPrefix.size() && text.back() != ';') text += ';';
    text.append(fmtid);
    text += std::to_string(pid);
  }
}

void StripInfoTipPropertyList(std::string& text, std::string_view fmtid) {
  if (!StartsWithIgnoringCase(text, kPrefix)) return;
  std::string list = ";" + text.substr(kPrefix.size());
  // Each entry of the set goes with the separators between the previous
  // entry and it, and the one separator after it.
  std::size_t stretch = 0;
  for (;;) {
    std::size_t at = stretch;
    while (at < list.size() && list[at] == ';') ++at;
    if (at >= list.size()) break;
    const std::size_t end = std::min(list.find(';', at), list.size());
    const std::size_t next = std::min(end + 1, list.size());
    if (BelongsTo(std::string_view(list).substr(at, end - at), fmtid))
      list.erase(stretch, next - stretch);
    else
      stretch = next;
  }
  if (list.empty()) {
    text.clear();
    return;
  }
  if (list.front() == ';') list.erase(0, 1);
  while (!list.empty() && list.back() == ';') list.pop_back();
  text = std::string(kPrefix) + list;
}

}  // namespace qm

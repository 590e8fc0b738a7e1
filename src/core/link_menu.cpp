#include "core/link_menu.h"

#include "resources/resource_ids.h"

namespace qm {

bool IsPasteCommand(LinkCommand command) {
  return command == LinkCommand::PasteSoftLinks || command == LinkCommand::PasteHardLinks;
}

bool IsSoftLinkCommand(LinkCommand command) {
  return command == LinkCommand::CreateSoftLinks || command == LinkCommand::PasteSoftLinks;
}

EarnedLinks LinksEarnedBy(const Path& destination, const PathList& sources, LinkMenuFacts& facts) {
  if (sources.empty()) return EarnedLinks::None;
  bool soft = !facts.IsUnc(sources[0]);
  bool hard = facts.IsSameRoot(destination, sources[0]);
  for (const Path& source : sources) {
    if (!soft && !hard) break;
    (facts.IsDirectory(source) ? hard : soft) = false;
  }
  return soft ? EarnedLinks::Soft : hard ? EarnedLinks::Hard : EarnedLinks::None;
}

namespace {

std::size_t TextIndex(const PathList& sources) { return sources.size() == 1 ? 0 : 1; }

bool IsLocalNtfsDirectory(const Path& path, LinkMenuFacts& facts) {
  return facts.IsDirectory(path) && !facts.IsUnc(path) && facts.IsNtfsVolume(path);
}

// The entry for the kind of link the sources earned, if any.
void AddEarnedEntry(EarnedLinks earned, LinkCommand soft, LinkCommand hard, int position, std::size_t text_index,
                    std::vector<LinkMenuEntry>& entries) {
  if (earned == EarnedLinks::Soft) entries.push_back({soft, position, text_index});
  if (earned == EarnedLinks::Hard) entries.push_back({hard, position, text_index});
}

void ChooseDropEntries(const Path& folder, const PathList& items, int index_menu, LinkMenuFacts& facts,
                       std::vector<LinkMenuEntry>& entries) {
  if (items.empty() || !IsLocalNtfsDirectory(folder, facts)) return;
  AddEarnedEntry(LinksEarnedBy(folder, items, facts), LinkCommand::CreateSoftLinks, LinkCommand::CreateHardLinks,
                 index_menu, TextIndex(items), entries);
}

void ChoosePasteEntries(const PathList& items, int index_menu, LinkMenuFacts& facts,
                        std::vector<LinkMenuEntry>& entries) {
  if (items.size() != 1 || !IsLocalNtfsDirectory(items[0], facts)) return;
  PathList clipboard;
  if (!facts.ReadClipboard(clipboard) || clipboard.empty()) return;
  const int host_item = facts.HostPasteItemPosition();
  const int position = host_item >= 0 ? host_item + 1 : index_menu;
  AddEarnedEntry(LinksEarnedBy(items[0], clipboard, facts), LinkCommand::PasteSoftLinks, LinkCommand::PasteHardLinks,
                 position, TextIndex(clipboard), entries);
}

}  // namespace

std::vector<LinkMenuEntry> ChooseLinkMenuEntries(const Path& folder, const PathList& items, int index_menu,
                                                 LinkMenuFacts& facts) {
  std::vector<LinkMenuEntry> entries;
  if (!folder.empty()) {
    ChooseDropEntries(folder, items, index_menu, facts, entries);
  } else {
    ChoosePasteEntries(items, index_menu, facts, entries);
  }
  return entries;
}

unsigned MenuTextStringId(LinkCommand command) {
  switch (command) {
    case LinkCommand::CreateSoftLinks: return IDS_CREATE_SOFT_LINKS_HERE;
    case LinkCommand::PasteSoftLinks: return IDS_PASTE_SOFT_LINKS;
    case LinkCommand::CreateHardLinks: return IDS_CREATE_HARD_LINKS_HERE;
    case LinkCommand::PasteHardLinks: return IDS_PASTE_HARD_LINKS;
  }
  return 0;
}

unsigned VerbStringId(LinkCommand command) {
  switch (command) {
    case LinkCommand::CreateSoftLinks: return IDS_VERB_CREATE_SOFT_LINKS;
    case LinkCommand::PasteSoftLinks: return IDS_VERB_PASTE_SOFT_LINKS;
    case LinkCommand::CreateHardLinks: return IDS_VERB_CREATE_HARD_LINKS;
    case LinkCommand::PasteHardLinks: return IDS_VERB_PASTE_HARD_LINKS;
  }
  return 0;
}

unsigned LinkNameStringId(LinkCommand command) {
  return IsSoftLinkCommand(command) ? IDS_SOFT_LINK_NAME : IDS_HARD_LINK_NAME;
}

}  // namespace qm

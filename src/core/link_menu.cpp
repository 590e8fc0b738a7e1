#include "core/link_menu.h"

#include "resources/resource_ids.h"

namespace qm {

bool IsPasteCommand(LinkCommand command) {
  return command == LinkCommand::PasteSoftLinks || command == LinkCommand::PasteHardLinks;
}

bool IsSoftLinkCommand(LinkCommand command) {
  return command == LinkCommand::CreateSoftLinks || command == LinkCommand::PasteSoftLinks;
}

bool DirectoryTests::Test(std::size_t index) {
  if (m_known.size() < m_paths.size()) m_known.resize(m_paths.size());
  auto& known = m_known[index];
  if (!known) known = m_facts.IsDirectory(m_paths[index]);
  return *known;
}

bool DirectoryTests::All() {
  for (std::size_t i = 0; i < m_paths.size(); ++i)
    if (!Test(i)) return false;
  return true;
}

bool DirectoryTests::Any() {
  for (std::size_t i = 0; i < m_paths.size(); ++i)
    if (Test(i)) return true;
  return false;
}

namespace {

std::size_t TextIndex(const PathList& sources) { return sources.size() == 1 ? 0 : 1; }

bool IsLocalNtfsDirectory(const Path& path, LinkMenuFacts& facts) {
  return facts.IsDirectory(path) && !facts.IsUnc(path) && facts.IsNtfsVolume(path);
}

void ChooseDropEntries(const Path& folder, const PathList& items, int index_menu, LinkMenuFacts& facts,
                       std::vector<LinkMenuEntry>& entries) {
  if (items.empty() || !IsLocalNtfsDirectory(folder, facts)) return;
  DirectoryTests directories(items, facts);
  if (directories.All() && !facts.IsUnc(items[0]))
    entries.push_back({LinkCommand::CreateSoftLinks, index_menu++, TextIndex(items)});
  if (!directories.Any() && facts.IsSameRoot(folder, items[0]))
    entries.push_back({LinkCommand::CreateHardLinks, index_menu++, TextIndex(items)});
}

void ChoosePasteEntries(const PathList& items, int index_menu, LinkMenuFacts& facts,
                        std::vector<LinkMenuEntry>& entries) {
  if (items.size() != 1 || !IsLocalNtfsDirectory(items[0], facts)) return;
  PathList clipboard;
  if (!facts.ReadClipboard(clipboard) || clipboard.empty()) return;
  int host_item = facts.HostPasteItemPosition();
  auto next_position = [&] { return host_item >= 0 ? ++host_item : index_menu++; };
  DirectoryTests directories(clipboard, facts);
  if (directories.All() && !facts.IsUnc(clipboard[0]))
    entries.push_back({LinkCommand::PasteSoftLinks, next_position(), TextIndex(clipboard)});
  if (!directories.Any() && facts.IsSameRoot(items[0], clipboard[0]))
    entries.push_back({LinkCommand::PasteHardLinks, next_position(), TextIndex(clipboard)});
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

// Which link-creation entry a menu offers, decided from facts asked lazily.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "core/path_list.h"

namespace qm {

// Command offsets from the host's first command identifier.
enum class LinkCommand : unsigned { CreateSoftLinks = 0, PasteSoftLinks = 1, CreateHardLinks = 2, PasteHardLinks = 3 };
constexpr unsigned kLinkCommandCount = 4;

bool IsPasteCommand(LinkCommand command);
bool IsSoftLinkCommand(LinkCommand command);

// The questions the decision needs. Each is asked only when the decision
// depends on it; a directory test is asked at most once per path.
class LinkMenuFacts {
 public:
  virtual ~LinkMenuFacts() = default;
  virtual bool IsDirectory(const Path& path) = 0;
  virtual bool IsUnc(const Path& path) = 0;
  virtual bool IsNtfsVolume(const Path& path) = 0;  // may raise
  virtual bool IsSameRoot(const Path& a, const Path& b) = 0;
  // Appends the clipboard's file names; false without a file list. May raise.
  virtual bool ReadClipboard(PathList& names) = 0;
  // Position of the host's own item 31003 in the menu, or -1.
  virtual int HostPasteItemPosition() = 0;
};

struct LinkMenuEntry {
  LinkCommand command;
  int position;            // where to insert, by position
  std::size_t text_index;  // 0 for one source item, 1 for more
};

// The selection as Initialize recorded it: a drop folder (empty for a
// context menu) and the items.
std::vector<LinkMenuEntry> ChooseLinkMenuEntries(const Path& folder, const PathList& items, int index_menu,
                                                 LinkMenuFacts& facts);

// Directory tests over a list, each path asked at most once.
class DirectoryTests {
 public:
  DirectoryTests(const PathList& paths, LinkMenuFacts& facts) : m_paths(paths), m_facts(facts) {}
  bool All();
  bool Any();

 private:
  bool Test(std::size_t index);
  const PathList& m_paths;
  LinkMenuFacts& m_facts;
  std::vector<std::optional<bool>> m_known;
};

// String resources of a command: its menu texts, its verb and help text, and
// the name pattern of the links it makes.
unsigned MenuTextStringId(LinkCommand command);
unsigned VerbStringId(LinkCommand command);
unsigned LinkNameStringId(LinkCommand command);

}  // namespace qm

// Which link-creation entry a menu offers, decided from facts asked lazily.
#pragma once

#include <cstddef>
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

// The kind of link a list of sources earns in `destination`: soft links when
// every source is a directory and the first is no UNC path, hard links when
// none is a directory and the first lies on the destination's root. The
// first source's UNC and root tests come first; then each source is asked
// once whether it is a directory, in order, until an answer rules out both.
enum class EarnedLinks { None, Soft, Hard };
EarnedLinks LinksEarnedBy(const Path& destination, const PathList& sources, LinkMenuFacts& facts);

// String resources of a command: its menu texts, its verb and help text, and
// the name pattern of the links it makes.
unsigned MenuTextStringId(LinkCommand command);
unsigned VerbStringId(LinkCommand command);
unsigned LinkNameStringId(LinkCommand command);

}  // namespace qm

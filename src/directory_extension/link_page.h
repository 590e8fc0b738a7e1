// The "Link" page of the Properties dialog of one link: its kind, where it
// leads and whether that is there, or the other names of a file; a junction
// is re-pointed with the sheet's Apply.
#pragma once

#include <windows.h>
#include <prsht.h>

#include "core/path_list.h"
#include "directory_extension/item_link.h"
#include "ui/property_page.h"

namespace qm {

// Adds the page for `item`, a link as `link` describes it, through `add`.
void AddLinkPage(const Path& item, const ItemLink& link, LPFNADDPROPSHEETPAGE add, LPARAM add_parameter);

class LinkPage final : public CPropertyPage {
 public:
  LinkPage(Path item, ItemLink link);

 private:
  bool OnInitDialog() override;
  bool OnCommand(int id, int notification) override;
  void OnApply() override;

  HWND Item(int id) const;
  bool IsJunction() const { return m_link.kind == ItemLink::Kind::Junction; }
  std::wstring KindText() const;
  std::wstring NamesText() const;
  // The state line and the button, from the target as it is now.
  void ShowTargetState();
  void OpenTargetFolder();

  Path m_item;
  ItemLink m_link;
};

}  // namespace qm

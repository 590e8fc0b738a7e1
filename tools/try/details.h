// What Explorer shows of a folder's items through the extension: the details
// view's columns, the infotips, and the icon overlay.
#pragma once

#include <string>

#include "disk.h"

namespace tour {

// The columns the folder extension offers, then `folder` in the details
// view with the visible ones.
void ShowDetailsView(const Disk& disk, const std::wstring& folder);
// The registry's infotip lists, and the tip of each item of `folder`.
void ShowInfotips(const Disk& disk, const std::wstring& folder);
// The overlay image and priority, and the overlay's answer for each item.
void ShowOverlays(const Disk& disk, const std::wstring& folder);

}  // namespace tour

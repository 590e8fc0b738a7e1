// File lists as Explorer hands them over: a CF_HDROP block, and Explorer's
// Copy or Cut on the clipboard. Made with the platform's own calls; no test
// framework, so that tools/try can use them too.
#pragma once

#include <string>
#include <vector>

namespace harness {

// A global memory block in CF_HDROP form with wide names, as Explorer makes it.
void* MakeDropList(const std::vector<std::wstring>& names);
// A global memory block of exactly `bytes`.
void* MakeGlobalBlock(const std::string& bytes);
// Explorer's Copy (or Cut, `move`) of files: CF_HDROP and the preferred drop
// effect. False when the clipboard cannot be opened.
bool PlaceFilesOnClipboard(const std::vector<std::wstring>& names, bool move = false);

}  // namespace harness

// The whole tour: every feature of the extension, driven as Explorer and the
// shell's file operations drive it, in the demo folder `root`.
#pragma once

#include <string>

namespace tour {

// 0 when every step did what the extension promises; otherwise the number of
// steps that did not (each is marked UNEXPECTED in the transcript).
int RunTour(const std::wstring& root);

// The copy hook's question about copying the plain directory `source` into
// `into`, asked with Control held so that it shows even when its setting
// hides it: the dialog described, photographed to `picture` and closed with
// Escape, so nothing is copied. 0 when it was answered so.
int AskAboutCopy(const std::wstring& source, const std::wstring& into, const std::string& picture);

// The Properties of `item` with the extension's "Link" page, photographed to
// `picture` and closed; with a `target`, `item` is first made a junction to
// it in the NTFS model. 0 when the page was shown.
int ShowLinkPage(const std::wstring& item, const std::wstring& target, const std::string& picture);

}  // namespace tour

// Files, folders and clipboard contents for tests, made with the platform's
// own calls (never through the module under test).
#pragma once

#include <string>
#include <vector>

#include "harness/drop_list.h"

namespace harness {

bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
// Both fail the running test when the platform refuses.
void MakeDirectory(const std::string& path);
void MakeFile(const std::string& path, const std::string& content = "x");
void RemoveTree(const std::string& path);

// Explorer's Copy (or Cut, `move`) of files: CF_HDROP and the preferred drop effect.
void PutFilesOnClipboard(const std::vector<std::wstring>& names, bool move = false);
void PutTextOnClipboard(const char* text);
// A CF_HDROP block of exactly these bytes, as another process may write it.
void PutDropBlockOnClipboard(const std::string& bytes);

}  // namespace harness

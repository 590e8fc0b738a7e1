// The demo's files as Explorer would show them. Once the NTFS model is in use
// (Wine stores no junctions), soft links are the model's: real, empty
// directories whose reparse points the model keeps for this process.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace harness {
class Imports;
class NtfsModel;
}  // namespace harness

namespace tour {

class Disk {
 public:
  Disk();
  ~Disk();
  Disk(const Disk&) = delete;
  Disk& operator=(const Disk&) = delete;

  // Lays out `root` afresh: Docs (report.txt, notes.txt), Music (two tracks)
  // and the empty folders Links, Backup, Desk, Shared and Archive.
  static bool MakeDemo(const std::wstring& root);

  // From now on `dll` sees NTFS as Windows has it, through its imports.
  void UseNtfsModel(HMODULE dll);
  bool modelled() const { return m_model != nullptr; }
  // Makes `link` (a new or empty directory) a junction to `target` in the
  // model, as another tool would.
  bool MakeJunction(const std::wstring& link, const std::wstring& target);

  // The attributes Explorer passes for an item: with the reparse point bit
  // of a soft link.
  DWORD Attributes(const std::wstring& path) const;
  // The target a soft link stores ("\??\" dropped); empty when it is none.
  std::wstring SoftLinkTarget(const std::wstring& path) const;
  // What a user would see of an item: "report.txt  file, 3 names",
  // "Music  soft link to D:\Demo\Music", "Docs  directory", "(none)".
  std::wstring Describe(const std::wstring& path) const;
  // Each item of `folder` described, as Explorer lists them.
  void List(const std::wstring& folder) const;

  static std::vector<std::wstring> Names(const std::wstring& folder);
  static DWORD LinkCount(const std::wstring& path);

 private:
  std::unique_ptr<harness::Imports> m_imports;
  std::unique_ptr<harness::NtfsModel> m_model;
};

}  // namespace tour

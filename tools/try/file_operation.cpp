#include "file_operation.h"

#include <shellapi.h>
#include <shlobj.h>

#include "directory_extension/shell_fakes.h"
#include "resources/class_ids.h"
#include "shell.h"
#include "transcript.h"
#include "win/shell_interface_ids.h"

namespace tour {
namespace {

const wchar_t* OperationName(UINT operation) {
  switch (operation) {
    case FO_COPY: return L"FO_COPY";
    case FO_MOVE: return L"FO_MOVE";
    case FO_DELETE: return L"FO_DELETE";
    default: return L"FO_RENAME";
  }
}

std::string AnswerText(UINT answer) {
  switch (answer) {
    case IDYES: return "IDYES: the shell goes on with the item itself";
    case IDNO: return "IDNO: the shell skips the item (the extension has done what was chosen)";
    case IDCANCEL: return "IDCANCEL: the shell stops the whole operation";
    default: return "answer " + std::to_string(answer);
  }
}

// Wine's file operation on the item, without dialogs of its own.
void LetTheShellDoIt(UINT operation, const std::wstring& source, const std::wstring& into) {
  const std::wstring from = source + L'\0', to = into + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = operation;
  op.pFrom = from.c_str();
  op.pTo = operation == FO_DELETE ? nullptr : to.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
  const int result = SHFileOperationW(&op);
  Say(result == 0 ? "Wine's shell does it" : "Wine's shell fails: " + std::to_string(result));
}

}  // namespace

UINT FileOperation(const Disk& disk, UINT operation, const std::wstring& source, const std::wstring& into,
                   std::vector<Reaction> reactions, UINT flags) {
  auto hook = CreateRegistered<ICopyHookW>(qm::kClsidDirectoryShellExtension);
  if (!hook) return IDCANCEL;
  const std::wstring name = source.substr(source.find_last_of(L'\\') + 1);
  const std::wstring destination = operation == FO_DELETE ? L"" : into + L"\\" + name;
  wchar_t attributes[16];
  swprintf(attributes, 16, L"0x%lx", disk.Attributes(source));
  Say(L"the shell asks its copy hooks: CopyCallback(" + std::wstring(OperationName(operation)) + L", " + source +
      (destination.empty() ? L"" : L" -> " + destination) + L", attributes " + attributes + L")");
  fakes::ExplorerWindow window(nullptr);
  UINT answer;
  {
    User user(std::move(reactions));
    answer = hook->CopyCallback(window.frame(), operation, flags, source.c_str(), disk.Attributes(source),
                                destination.empty() ? nullptr : destination.c_str(), 0);
  }
  Say("the copy hook answers " + AnswerText(answer));
  if (answer == IDYES) LetTheShellDoIt(operation, source, into);
  return answer;
}

}  // namespace tour

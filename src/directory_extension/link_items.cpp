#include "directory_extension/link_items.h"

#include <cstring>

#include "win/com_object.h"
#include "win/text.h"

namespace qm {
namespace {

// Hands the shell the find data of the item being parsed.
class CFileSystemBindData : public ComClass<IFileSystemBindData> {
 public:
  STDMETHODIMP SetFindData(const WIN32_FIND_DATAW* data) override {
    if (!data) return E_INVALIDARG;
    m_data = *data;
    return S_OK;
  }
  STDMETHODIMP GetFindData(WIN32_FIND_DATAW* data) override {
    if (!data) return E_INVALIDARG;
    *data = m_data;
    return S_OK;
  }

 protected:
  ~CFileSystemBindData() = default;

 private:
  WIN32_FIND_DATAW m_data{};
};

std::size_t ItemIdListSize(PCUIDLIST_RELATIVE list) {
  std::size_t size = 0;
  for (const auto* id = reinterpret_cast<const std::uint8_t*>(list);;) {
    USHORT length;
    std::memcpy(&length, id + size, sizeof length);
    if (length == 0) return size;
    size += length;
  }
}

}  // namespace

PCIDLIST_ABSOLUTE LinkItems::ItemOf(std::string_view path, const std::optional<WIN32_FILE_ATTRIBUTE_DATA>& file) noexcept {
  try {
    const std::size_t separator = path.rfind('\\');
    if (file && separator != std::string_view::npos && separator + 1 < path.size()) {
      // A drive's root keeps its backslash.
      try {
        UseFolder(path.substr(0, separator == 2 && path[1] == ':' ? 3 : separator));
      } catch (...) {
        m_shell_folder.reset();  // each link is then parsed from its path
      }
      if (m_shell_folder)
        if (PCIDLIST_ABSOLUTE item = FromData(path.substr(separator + 1), *file)) return item;
    }
    PathToWide(path, m_wide);
    m_parsed.reset(ILCreateFromPathW(m_wide.c_str()));
    return m_parsed.get();
  } catch (...) {
    return nullptr;
  }
}

void LinkItems::UseFolder(std::string_view folder) {
  if (m_has_folder && folder == m_folder) return;
  m_has_folder = true;
  m_folder.assign(folder);
  m_shell_folder.reset();
  m_folder_item.reset();
  PathToWide(m_folder, m_wide);
  m_folder_item.reset(ILCreateFromPathW(m_wide.c_str()));
  ComPtr<IShellFolder> desktop;
  if (!m_folder_item || FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return;
  ComPtr<IShellFolder> folder_object;
  if (m_folder_item.get()->mkid.cb == 0) {
    folder_object = desktop;
  } else if (FAILED(desktop->BindToObject(m_folder_item.get(), nullptr, IID_IShellFolder, folder_object.put_void()))) {
    return;
  }
  if (!m_data) m_data = ComPtr<IFileSystemBindData>(new ComObject<CFileSystemBindData>);
  if (!m_bind) {
    ComPtr<IBindCtx> bind;
    if (FAILED(CreateBindCtx(0, bind.put())) || !bind ||
        FAILED(bind->RegisterObjectParam(const_cast<LPOLESTR>(STR_FILE_SYS_BIND_DATA), m_data.get())))
      return;
    m_bind = bind;
  }
  m_shell_folder = folder_object;
}

PCIDLIST_ABSOLUTE LinkItems::FromData(std::string_view name, const WIN32_FILE_ATTRIBUTE_DATA& file) {
  WIN32_FIND_DATAW found{};
  found.dwFileAttributes = file.dwFileAttributes;
  found.ftCreationTime = file.ftCreationTime;
  found.ftLastAccessTime = file.ftLastAccessTime;
  found.ftLastWriteTime = file.ftLastWriteTime;
  found.nFileSizeHigh = file.nFileSizeHigh;
  found.nFileSizeLow = file.nFileSizeLow;
  PathToWide(name, m_wide);
  if (m_wide.size() >= MAX_PATH) return nullptr;
  std::memcpy(found.cFileName, m_wide.c_str(), (m_wide.size() + 1) * sizeof(wchar_t));
  if (FAILED(m_data->SetFindData(&found))) return nullptr;
  PIDLIST_RELATIVE child = nullptr;
  const HRESULT parsed =
      m_shell_folder->ParseDisplayName(nullptr, m_bind.get(), m_wide.data(), nullptr, &child, nullptr);
  const UniqueParsedItemIdList owned(child);
  if (FAILED(parsed) || !child) return nullptr;
  // The folder's ids, then the link's with the list's terminator.
  const std::size_t folder_size = ItemIdListSize(m_folder_item.get());
  const std::size_t child_size = ItemIdListSize(child) + sizeof(USHORT);
  m_item.resize(folder_size + child_size);
  std::memcpy(m_item.data(), m_folder_item.get(), folder_size);
  std::memcpy(m_item.data() + folder_size, child, child_size);
  return reinterpret_cast<PCIDLIST_ABSOLUTE>(m_item.data());
}

}  // namespace qm

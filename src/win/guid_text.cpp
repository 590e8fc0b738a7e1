#include "win/guid_text.h"

#include <objbase.h>

#include "win/errors.h"
#include "win/text.h"

namespace qm {

std::string GuidText(REFGUID guid) {
  wchar_t text[39];
  const int length = StringFromGUID2(guid, text, ARRAYSIZE(text));
  if (length <= 1) RaiseStatus(status::Fail);
  return ToNarrow(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
}

}  // namespace qm

// IObjectWithSite::GetSite over the site an object keeps.
#pragma once

#include <unknwn.h>

namespace qm {

// E_POINTER for a null `out`; without a site, a null result and E_FAIL;
// otherwise the site's own answer for `iid`.
inline HRESULT QuerySite(IUnknown* site, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  if (!site) {
    *out = nullptr;
    return E_FAIL;
  }
  return site->QueryInterface(iid, out);
}

}  // namespace qm

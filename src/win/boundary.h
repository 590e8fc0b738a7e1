// The one place where raised failures become returned statuses.
#pragma once

#include <windows.h>

#include <new>
#include <type_traits>

#include "core/status.h"

namespace qm {

// Runs `body` and turns what it raises into the status returned at an
// interface boundary: a CAtlException gives its status when it is a failure
// and S_OK otherwise; running out of memory gives E_OUTOFMEMORY; anything else
// gives `unknown_failure` rather than unwinding into the caller.
// `body` returns either void (S_OK) or an HRESULT of its own.
template <class Body>
HRESULT CallAtBoundary(Body&& body, HRESULT unknown_failure = E_UNEXPECTED) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      return S_OK;
    } else {
      return body();
    }
  } catch (const CAtlException& e) {
    return Failed(e.status()) ? e.status() : S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return unknown_failure;
  }
}

}  // namespace qm

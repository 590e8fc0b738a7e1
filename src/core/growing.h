// Growing a container: running out of memory (or of its size limit) is
// raised as the E_OUTOFMEMORY status, as every other failure is.
#pragma once

#include <new>
#include <stdexcept>

#include "core/status.h"

namespace qm {

template <class Grow>
void GrowOrRaise(Grow&& grow) {
  try {
    grow();
  } catch (const std::bad_alloc&) {
    RaiseStatus(status::OutOfMemory);
  } catch (const std::length_error&) {
    RaiseStatus(status::OutOfMemory);
  }
}

}  // namespace qm

// The object map of this module's classes.
#pragma once

#include "module/object_map.h"

namespace qm {

ObjectMap& ProductObjectMap() noexcept;

}  // namespace qm

#include "core/status.h"

namespace qm {

void RaiseStatus(Status status) { throw CAtlException(status); }

}  // namespace qm

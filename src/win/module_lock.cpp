#include "win/module_lock.h"

namespace qm {
namespace {

constinit LONG volatile g_lock_count = 0;

}  // namespace

LONG LockModule() noexcept { return InterlockedIncrement(&g_lock_count); }
LONG UnlockModule() noexcept { return InterlockedDecrement(&g_lock_count); }
LONG ModuleLockCount() noexcept { return InterlockedCompareExchange(&g_lock_count, 0, 0); }

}  // namespace qm

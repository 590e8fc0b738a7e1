// Accounting of the heap a module holds: its malloc, calloc, realloc and
// free (the C runtime's, which operator new and delete use) are counted by
// block size while the account is installed.
#pragma once

#include <cstdint>

#include "harness/imports.h"

namespace harness {

class HeapAccount {
 public:
  // Takes over the module's heap calls, passing them on to the previous
  // targets. One account at a time; `imports` must outlive it.
  explicit HeapAccount(Imports& imports);
  ~HeapAccount();  // puts the previous targets back
  HeapAccount(const HeapAccount&) = delete;
  HeapAccount& operator=(const HeapAccount&) = delete;

  // Bytes the module allocated and has not freed since the account began
  // (negative when it freed older blocks).
  std::int64_t Held() const;
  // Blocks the module obtained (malloc, calloc, realloc) since it began.
  std::uint64_t Allocations() const;
};

// The size the C runtime gave a block, as the account counts it.
std::int64_t BlockSize(const void* block);

}  // namespace harness

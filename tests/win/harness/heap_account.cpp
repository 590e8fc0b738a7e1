#include "harness/heap_account.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>

namespace harness {
namespace {

using Malloc = void*(__cdecl*)(size_t);
using Calloc = void*(__cdecl*)(size_t, size_t);
using Realloc = void*(__cdecl*)(void*, size_t);
using Free = void(__cdecl*)(void*);

std::atomic<std::int64_t> g_held{0};
std::atomic<std::uint64_t> g_allocations{0};
Imports* g_imports = nullptr;
Malloc g_malloc = nullptr;
Calloc g_calloc = nullptr;
Realloc g_realloc = nullptr;
Free g_free = nullptr;

void* __cdecl CountedMalloc(size_t size) {
  void* block = g_malloc(size);
  g_held += BlockSize(block);
  if (block) ++g_allocations;
  return block;
}
void* __cdecl CountedCalloc(size_t count, size_t size) {
  void* block = g_calloc(count, size);
  g_held += BlockSize(block);
  if (block) ++g_allocations;
  return block;
}
void* __cdecl CountedRealloc(void* old, size_t size) {
  const std::int64_t before = BlockSize(old);
  void* block = g_realloc(old, size);
  if (block) {
    g_held += BlockSize(block) - before;
    ++g_allocations;
  }
  else if (size == 0) g_held -= before;  // realloc to 0 frees the block
  return block;
}
void __cdecl CountedFree(void* block) {
  g_held -= BlockSize(block);
  g_free(block);
}

}  // namespace

std::int64_t BlockSize(const void* block) {
  return block ? static_cast<std::int64_t>(_msize(const_cast<void*>(block))) : 0;
}

HeapAccount::HeapAccount(Imports& imports) {
  g_imports = &imports;
  g_held = 0;
  g_allocations = 0;
  g_malloc = imports.Replace<void*(size_t)>("malloc", &CountedMalloc);
  g_calloc = imports.Replace<void*(size_t, size_t)>("calloc", &CountedCalloc);
  g_realloc = imports.Replace<void*(void*, size_t)>("realloc", &CountedRealloc);
  g_free = imports.Replace<void(void*)>("free", &CountedFree);
}

HeapAccount::~HeapAccount() {
  g_imports->Replace<void*(size_t)>("malloc", g_malloc);
  g_imports->Replace<void*(size_t, size_t)>("calloc", g_calloc);
  g_imports->Replace<void*(void*, size_t)>("realloc", g_realloc);
  g_imports->Replace<void(void*)>("free", g_free);
  g_imports = nullptr;
}

std::int64_t HeapAccount::Held() const { return g_held.load(); }

std::uint64_t HeapAccount::Allocations() const { return g_allocations.load(); }

}  // namespace harness

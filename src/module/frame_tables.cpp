#include "module/frame_tables.h"

#if defined(__i386__) && !defined(__SEH__) && !defined(__USING_SJLJ_EXCEPTIONS__)

#include <utility>

// The unwinder linked into this DLL (libgcc): its registry of tables, and
// its lookup of the table entry that covers a code address.
struct dwarf_eh_bases {
  void* tbase;
  void* dbase;
  void* func;
};
extern "C" void __register_frame_info(const void* begin, void* record);
extern "C" void* __deregister_frame_info(const void* begin);
extern "C" const void* _Unwind_Find_FDE(void* pc, dwarf_eh_bases* bases);

// A label inside the DLL's .eh_frame section: an empty contribution, so the
// records around it stay as they are.
extern "C" const char qm_frame_tables_marker[];
asm(".section .eh_frame,\"dr\"\n"
    ".globl _qm_frame_tables_marker\n"
    "_qm_frame_tables_marker:\n"
    ".text\n");

namespace qm {
namespace {

// The start-up code (crtbegin.o) asks for this name, and takes that DLL's
// registry when it is loaded.
constexpr char kRuntimeDll[] = "libgcc_s_dw2-1.dll";

// Room for the unwinder's record of a table (six words in gcc's start-up code).
alignas(void*) constinit unsigned char g_record[16 * sizeof(void*)] = {};
constinit const void* g_registered = nullptr;

// The start of the module's section that holds `inside`: the whole
// .eh_frame, complete records one after another up to the terminator that
// crtend.o puts last.
const void* SectionStart(HMODULE module, const void* inside) {
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto offset = static_cast<DWORD>(static_cast<const unsigned char*>(inside) - base);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (offset >= section->VirtualAddress && offset < section->VirtualAddress + section->Misc.VirtualSize)
      return base + section->VirtualAddress;
  }
  return nullptr;
}

}  // namespace

void RegisterFrameTables(HMODULE module) noexcept {
  // The start-up code's choice, made just before in this same attach under
  // the loader lock; and whether this DLL's unwinder sees its tables anyway
  // (a build that links the C runtime's DLL).
  if (!GetModuleHandleA(kRuntimeDll)) return;
  dwarf_eh_bases bases;
  if (_Unwind_Find_FDE(reinterpret_cast<void*>(&RegisterFrameTables), &bases)) return;
  const void* begin = SectionStart(module, qm_frame_tables_marker);
  if (!begin) return;
  __register_frame_info(begin, g_record);
  g_registered = begin;
}

void DeregisterFrameTables() noexcept {
  if (const void* begin = std::exchange(g_registered, nullptr)) __deregister_frame_info(begin);
}

}  // namespace qm

#else

namespace qm {

void RegisterFrameTables(HMODULE) noexcept {}
void DeregisterFrameTables() noexcept {}

}  // namespace qm

#endif

// The i686 DLL unwinds its C++ exceptions with DWARF frame tables that the
// start-up code registers with one unwinder: the C runtime's DLL when the
// host process already has it loaded (libgcc_s_dw2-1.dll, which many programs
// built with mingw-w64 carry), else the unwinder linked into this DLL. The
// DLL's own throws search only the latter, so without its tables there every
// exception would end in std::terminate.
#pragma once

#include <windows.h>

namespace qm {

// Gives the DLL's frame tables to its own unwinder too when the start-up code
// gave them to the DLL's; nothing on x86_64, where unwinding uses the
// system's tables. Called while the DLL loads, before anything can raise.
void RegisterFrameTables(HMODULE module) noexcept;
// Takes them back while the DLL unloads.
void DeregisterFrameTables() noexcept;

}  // namespace qm

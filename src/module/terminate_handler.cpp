// The C++ runtime's default terminate handler names the pending exception's
// type on standard error before it aborts, and brings a demangler and a
// printf with it: some 70 KB of the DLL. A shell extension has no standard
// error to write to, so this definition, which the linker takes instead of the
// runtime's, only aborts.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

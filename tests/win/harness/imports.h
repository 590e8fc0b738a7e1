// Interception of a module's imports, for testing the module as built.
//
// Every entry of the module's import address table is pointed at a small
// thunk that counts the call, can fail it, and then jumps to the entry's
// target: the real function, or a replacement a test or model installs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace harness {

struct ImportState;

class Imports {
 public:
  // Patches every import of `module`; the patches stay until destruction.
  explicit Imports(HMODULE module);
  ~Imports();
  Imports(const Imports&) = delete;
  Imports& operator=(const Imports&) = delete;

  HMODULE module() const { return m_module; }

  // True when the module imports `name` (by name, or by an ordinal that
  // its DLL exports under that name).
  bool Has(std::string_view name) const;

  // Calls of `name` since the last ResetCounts.
  std::uint64_t Calls(std::string_view name) const;
  void ResetCounts();

  // Fails call number `nth` (1-based, counted from now) of `name`: the call
  // does not reach its target, the last error becomes `error`, and it returns
  // `result`, by default the usual failure value of that function.
  void FailCall(std::string_view name, std::uint64_t nth, DWORD error,
                std::optional<std::uintptr_t> result = std::nullopt);
  void ClearFaults();
  // Whether an armed fault has fired since it was armed.
  bool FaultFired() const;

  // Records the names of calls while on, in call order.
  void StartRecording();
  std::vector<std::string> StopRecording();

  // Replaces the target of `name`; returns the previous target so that a
  // replacement can pass calls on. Restore puts the real function back. On
  // i686 a replacement that would pop other argument bytes than the import
  // (a missing WINAPI) is refused.
  void* ReplaceRaw(std::string_view name, void* replacement);
  template <class F>
  F* Replace(std::string_view name, F* replacement) {
    CheckArgumentBytes(name, ArgumentBytes<F>::value);
    return reinterpret_cast<F*>(ReplaceRaw(name, reinterpret_cast<void*>(replacement)));
  }
  void Restore(std::string_view name);
  // What the module's calls of `name` go through (its thunk): a caller
  // outside the module reaches the same target, a model's for one.
  template <class F>
  F* Entry(std::string_view name) const {
    return reinterpret_cast<F*>(EntryRaw(name));
  }
  void* EntryRaw(std::string_view name) const;
  void RestoreAll();

  // After the module was unloaded: counts stay readable, and the destructor
  // leaves the import table that is gone alone.
  void ModuleUnloaded() { m_unloaded = true; }

 private:
  // What a function of type F pops on return: its arguments when stdcall,
  // none when cdecl (i686); -1 where that is not checked.
  template <class F>
  struct ArgumentBytes {
    static constexpr int value = -1;
  };
#if defined(__i386__)
  template <class R, class... A>
  struct ArgumentBytes<R(A...)> {
    static constexpr int value = 0;
  };
  template <class R, class... A>
  struct ArgumentBytes<R __attribute__((stdcall))(A...)> {
    static constexpr int value = (0 + ... + static_cast<int>((sizeof(A) + 3) & ~std::size_t{3}));
  };
#endif
  void CheckArgumentBytes(std::string_view name, int bytes) const;

  ImportState* Find(std::string_view name) const;
  ImportState& Get(std::string_view name) const;

  HMODULE m_module;
  std::vector<std::unique_ptr<ImportState>> m_states;
  void* m_thunks = nullptr;
  bool m_unloaded = false;
};

// The value a failing call of `name` returns unless a test says otherwise.
std::uintptr_t DefaultFailureResult(std::string_view name, DWORD error);

// Functions a fault sweep leaves alone: runtime, locking and unwinding
// plumbing whose failure the platform never reports.
bool IsPlumbing(std::string_view name);

}  // namespace harness

#include "harness/imports.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "win/unique_resource.h"

namespace harness {

struct ImportState {
  std::string dll;
  std::string name;
  void** slot = nullptr;       // the module's import address table entry
  void* original = nullptr;    // what the entry held before patching
  void* target = nullptr;      // where the thunk passes calls on
  std::uint64_t calls = 0;
  std::uint64_t fail_on = 0;   // 0: no fault armed
  std::uint64_t armed_at = 0;  // calls when the fault was armed
  DWORD fail_error = 0;
  std::uintptr_t fail_result = 0;
  bool fired = false;
  int argument_bytes = 0;      // i686: what the import pops on return, -1 unknown
  Imports* owner = nullptr;
};

namespace {

qm::CriticalSection g_lock;

std::vector<std::string>* g_recording = nullptr;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x | 0x20) == (y | 0x20) || x == y;
         });
}

// Called by every thunk before the import runs: returns where to go on, or
// null when the call is to fail (the thunk then returns fail_result). The
// i686 thunk may be entered with the stack aligned to 4 bytes only.
#if defined(__i386__)
#define HARNESS_ANY_STACK_ALIGNMENT __attribute__((force_align_arg_pointer))
#else
#define HARNESS_ANY_STACK_ALIGNMENT
#endif
extern "C" HARNESS_ANY_STACK_ALIGNMENT void* HarnessDecide(ImportState* state) {
  const DWORD saved_error = GetLastError();
  qm::CriticalSectionLock lock(g_lock);
  ++state->calls;
  if (g_recording) g_recording->push_back(state->name);
  if (state->fail_on != 0 && state->calls - state->armed_at == state->fail_on) {
    state->fail_on = 0;
    state->fired = true;
    SetLastError(state->fail_error);
    return nullptr;
  }
  SetLastError(saved_error);
  return state->target;
}

constexpr std::size_t kThunkSize = 160;

template <class T>
void Put(unsigned char* code, std::size_t& at, T value) {
  std::memcpy(code + at, &value, sizeof value);
  at += sizeof value;
}

#if defined(__x86_64__)
// x64: keep the register arguments in the caller's home space and xmm0-3 on
// our frame, ask HarnessDecide, then tail-jump to the target or return the
// failure value.
void WriteThunk(unsigned char* code, ImportState* state) {
  std::size_t at = 0;
  auto bytes = [&](std::initializer_list<unsigned char> list) {
    for (unsigned char b : list) code[at++] = b;
  };
  auto imm64 = [&](const void* value) { Put(code, at, value); };
  bytes({0x48, 0x89, 0x4C, 0x24, 0x08});        // mov [rsp+8], rcx
  bytes({0x48, 0x89, 0x54, 0x24, 0x10});        // mov [rsp+16], rdx
  bytes({0x4C, 0x89, 0x44, 0x24, 0x18});        // mov [rsp+24], r8
  bytes({0x4C, 0x89, 0x4C, 0x24, 0x20});        // mov [rsp+32], r9
  bytes({0x48, 0x83, 0xEC, 0x68});              // sub rsp, 0x68
  bytes({0x0F, 0x11, 0x44, 0x24, 0x20});        // movups [rsp+0x20], xmm0
  bytes({0x0F, 0x11, 0x4C, 0x24, 0x30});        // movups [rsp+0x30], xmm1
  bytes({0x0F, 0x11, 0x54, 0x24, 0x40});        // movups [rsp+0x40], xmm2
  bytes({0x0F, 0x11, 0x5C, 0x24, 0x50});        // movups [rsp+0x50], xmm3
  bytes({0x48, 0xB9});                          // mov rcx, state
  imm64(state);
  bytes({0x48, 0xB8});                          // mov rax, HarnessDecide
  imm64(reinterpret_cast<const void*>(&HarnessDecide));
  bytes({0xFF, 0xD0});                          // call rax
  bytes({0x0F, 0x10, 0x44, 0x24, 0x20});        // movups xmm0, [rsp+0x20]
  bytes({0x0F, 0x10, 0x4C, 0x24, 0x30});        // movups xmm1, [rsp+0x30]
  bytes({0x0F, 0x10, 0x54, 0x24, 0x40});        // movups xmm2, [rsp+0x40]
  bytes({0x0F, 0x10, 0x5C, 0x24, 0x50});        // movups xmm3, [rsp+0x50]
  bytes({0x48, 0x83, 0xC4, 0x68});              // add rsp, 0x68
  bytes({0x48, 0x8B, 0x4C, 0x24, 0x08});        // mov rcx, [rsp+8]
  bytes({0x48, 0x8B, 0x54, 0x24, 0x10});        // mov rdx, [rsp+16]
  bytes({0x4C, 0x8B, 0x44, 0x24, 0x18});        // mov r8, [rsp+24]
  bytes({0x4C, 0x8B, 0x4C, 0x24, 0x20});        // mov r9, [rsp+32]
  bytes({0x48, 0x85, 0xC0});                    // test rax, rax
  bytes({0x74, 0x02});                          // jz fail
  bytes({0xFF, 0xE0});                          // jmp rax
  bytes({0x48, 0xB8});                          // fail: mov rax, &state->fail_result
  imm64(&state->fail_result);
  bytes({0x48, 0x8B, 0x00});                    // mov rax, [rax]
  bytes({0xC3});                                // ret
  if (at > kThunkSize) std::abort();
}
#elif defined(__i386__)
// i686: the arguments stay on the stack. Keep ecx and edx, ask HarnessDecide,
// then jump to the target, or return the failure value popping the stdcall
// argument bytes of the import (none for cdecl).
void WriteThunk(unsigned char* code, ImportState* state) {
  std::size_t at = 0;
  auto bytes = [&](std::initializer_list<unsigned char> list) {
    for (unsigned char b : list) code[at++] = b;
  };
  bytes({0x51, 0x52});                          // push ecx; push edx
  bytes({0x68});                                // push state
  Put(code, at, state);
  bytes({0xB8});                                // mov eax, HarnessDecide
  Put(code, at, &HarnessDecide);
  bytes({0xFF, 0xD0});                          // call eax
  bytes({0x83, 0xC4, 0x04});                    // add esp, 4
  bytes({0x5A, 0x59});                          // pop edx; pop ecx
  bytes({0x85, 0xC0});                          // test eax, eax
  bytes({0x74, 0x02});                          // jz fail
  bytes({0xFF, 0xE0});                          // jmp eax
  bytes({0xA1});                                // fail: mov eax, [&state->fail_result]
  Put(code, at, &state->fail_result);
  bytes({0xC2});                                // ret argument_bytes
  Put(code, at, static_cast<std::uint16_t>(std::max(state->argument_bytes, 0)));
  if (at > kThunkSize) std::abort();
}

// What an import of a system DLL pops on return, from the import libraries
// (stdcall-bytes.sh); -1 when not known. The C runtime's calls are cdecl.
int ImportArgumentBytes(const std::string& dll, const std::string& name) {
  struct Entry {
    const char* name;
    int bytes;
  };
  static constexpr Entry table[] = {
#include "stdcall_bytes.inc"
  };
  const auto* found = std::lower_bound(std::begin(table), std::end(table), name,
                                       [](const Entry& e, const std::string& n) { return std::strcmp(e.name, n.c_str()) < 0; });
  if (found != std::end(table) && name == found->name) return found->bytes;
  return SameName(dll, "msvcrt.dll") ? 0 : -1;
}
#endif

std::string ExportNameByOrdinal(HMODULE dll, WORD ordinal) {
  if (!dll) return {};
  auto* base = reinterpret_cast<const unsigned char*>(dll);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!dir.VirtualAddress) return {};
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    if (ordinals[i] + exports->Base == ordinal) return reinterpret_cast<const char*>(base + names[i]);
  return {};
}

// Never thunked: the thunk itself relies on them, or they run while the
// loader or unwinder holds its locks (x86_64: the system's unwinder; i686:
// libgcc's, whose registry lock is a semaphore).
bool NeverPatch(std::string_view name) {
  static const char* const names[] = {"GetLastError", "SetLastError", "RtlCaptureContext", "RtlLookupFunctionEntry",
                                      "RtlVirtualUnwind", "RtlUnwindEx", "RtlAddFunctionTable", "RtlDeleteFunctionTable",
                                      "TlsGetValue", "TlsSetValue", "__C_specific_handler", "CreateSemaphoreW",
                                      "WaitForSingleObject", "ReleaseSemaphore"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

}  // namespace

bool IsPlumbing(std::string_view name) {
  static const char* const prefixes[] = {"Rtl", "Tls", "Interlocked", "EnterCriticalSection", "LeaveCriticalSection",
                                         "InitializeCriticalSection", "DeleteCriticalSection", "TryEnterCriticalSection",
                                         "GetCurrentThread", "GetCurrentProcess", "GetLastError", "SetLastError",
                                         "RaiseException", "Sleep", "Virtual", "GetModuleHandle", "GetProcAddress",
                                         "SetUnhandledExceptionFilter", "GetStartupInfo", "GetSystemTimeAsFileTime",
                                         "QueryPerformanceCounter", "GetTickCount", "IsDebuggerPresent",
                                         "UnhandledExceptionFilter", "TerminateProcess", "Heap", "GetProcessHeap",
                                         "IsProcessorFeaturePresent", "DisableThreadLibraryCalls", "InitOnce"};
  for (const char* p : prefixes)
    if (name.substr(0, std::strlen(p)) == p) return true;
  // The C runtime's own entry points (lower-case names, leading underscores).
  return !name.empty() && (name[0] == '_' || (name[0] >= 'a' && name[0] <= 'z'));
}

std::uintptr_t DefaultFailureResult(std::string_view name, DWORD error) {
  const auto invalid = static_cast<std::uintptr_t>(-1);
  if (name == "CreateFileA" || name == "CreateFileW" || name.substr(0, 13) == "FindFirstFile" || name == "CreateActCtxA" ||
      name == "CreateActCtxW")
    return invalid;
  if (name == "GetFileAttributesA" || name == "GetFileAttributesW") return INVALID_FILE_ATTRIBUTES;
  if (name.substr(0, 3) == "Reg") return error;
  static const char* const hresult_calls[] = {"CoCreateInstance", "CoInitialize", "CoInitializeEx", "LoadTypeLib",
                                              "LoadTypeLibEx", "RegisterTypeLib", "UnRegisterTypeLib", "LoadRegTypeLib",
                                              "SHGetMalloc", "SHGetDesktopFolder", "SHGetFolderPathA", "StringFromCLSID",
                                              "CLSIDFromString", "OleInitialize", "CoGetMalloc", "VariantClear",
                                              "CreateStreamOnHGlobal", "SHCreateItemFromParsingName"};
  for (const char* n : hresult_calls)
    if (name == n) return static_cast<std::uintptr_t>(static_cast<std::int64_t>(static_cast<LONG>(
                    error ? (0x80070000u | (error & 0xFFFFu)) : 0x80004005u)));
  return 0;
}

Imports::Imports(HMODULE module) : m_module(module) {
  if (!module) throw std::runtime_error("Imports: no module");
  auto* base = reinterpret_cast<unsigned char*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       dir.VirtualAddress && desc->Name; ++desc) {
    const char* dll = reinterpret_cast<const char*>(base + desc->Name);
    auto* lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (desc->OriginalFirstThunk ? desc->OriginalFirstThunk
                                                                                          : desc->FirstThunk));
    auto* iat = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    for (; lookup->u1.AddressOfData; ++lookup, ++iat) {
      std::string name;
      if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) {
        const WORD ordinal = static_cast<WORD>(IMAGE_ORDINAL(lookup->u1.Ordinal));
        name = ExportNameByOrdinal(GetModuleHandleA(dll), ordinal);
        if (name.empty()) name = std::string(dll) + "#" + std::to_string(ordinal);
      } else {
        name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData)->Name;
      }
      if (NeverPatch(name)) continue;
      auto state = std::make_unique<ImportState>();
      state->dll = dll;
      state->name = std::move(name);
      state->slot = reinterpret_cast<void**>(&iat->u1.Function);
      state->original = *state->slot;
      state->target = state->original;
      state->owner = this;
#if defined(__i386__)
      state->argument_bytes = ImportArgumentBytes(state->dll, state->name);
#endif
      m_states.push_back(std::move(state));
    }
  }
  m_thunks = VirtualAlloc(nullptr, kThunkSize * (m_states.size() + 1), MEM_COMMIT | MEM_RESERVE,
                          PAGE_EXECUTE_READWRITE);
  if (!m_thunks) throw std::runtime_error("Imports: no memory for thunks");
  auto* code = static_cast<unsigned char*>(m_thunks);
  for (std::size_t i = 0; i < m_states.size(); ++i) {
    auto& state = *m_states[i];
    unsigned char* thunk = code + i * kThunkSize;
    WriteThunk(thunk, &state);
    DWORD old = 0;
    VirtualProtect(state.slot, sizeof(void*), PAGE_READWRITE, &old);
    *state.slot = thunk;
    VirtualProtect(state.slot, sizeof(void*), old, &old);
  }
  FlushInstructionCache(GetCurrentProcess(), m_thunks, kThunkSize * (m_states.size() + 1));
}

Imports::~Imports() {
  for (auto& state : m_states) {
    if (m_unloaded) break;  // the table went with the module
    DWORD old = 0;
    VirtualProtect(state->slot, sizeof(void*), PAGE_READWRITE, &old);
    *state->slot = state->original;
    VirtualProtect(state->slot, sizeof(void*), old, &old);
  }
  if (m_thunks) VirtualFree(m_thunks, 0, MEM_RELEASE);
}

ImportState* Imports::Find(std::string_view name) const {
  for (auto& state : m_states)
    if (SameName(state->name, name)) return state.get();
  return nullptr;
}

ImportState& Imports::Get(std::string_view name) const {
  ImportState* state = Find(name);
  if (!state) throw std::invalid_argument("the module does not import " + std::string(name));
  return *state;
}

bool Imports::Has(std::string_view name) const { return Find(name) != nullptr; }

std::uint64_t Imports::Calls(std::string_view name) const {
  qm::CriticalSectionLock lock(g_lock);
  const ImportState* state = Find(name);
  return state ? state->calls : 0;
}

void Imports::ResetCounts() {
  qm::CriticalSectionLock lock(g_lock);
  for (auto& state : m_states) {
    state->calls = 0;
    state->armed_at = 0;
  }
}

void Imports::FailCall(std::string_view name, std::uint64_t nth, DWORD error, std::optional<std::uintptr_t> result) {
  auto& state = Get(name);
  if (state.argument_bytes < 0) throw std::invalid_argument("cannot fail " + state.name + ": its argument bytes are unknown");
  qm::CriticalSectionLock lock(g_lock);
  state.fail_on = nth;
  state.armed_at = state.calls;
  state.fail_error = error;
  state.fail_result = result ? *result : DefaultFailureResult(state.name, error);
  state.fired = false;
}

void Imports::ClearFaults() {
  qm::CriticalSectionLock lock(g_lock);
  for (auto& state : m_states) {
    state->fail_on = 0;
    state->fired = false;
  }
}

bool Imports::FaultFired() const {
  qm::CriticalSectionLock lock(g_lock);
  for (auto& state : m_states)
    if (state->fired) return true;
  return false;
}

void Imports::StartRecording() {
  qm::CriticalSectionLock lock(g_lock);
  delete g_recording;
  g_recording = new std::vector<std::string>();
}

std::vector<std::string> Imports::StopRecording() {
  qm::CriticalSectionLock lock(g_lock);
  std::vector<std::string> result;
  if (g_recording) result = std::move(*g_recording);
  delete g_recording;
  g_recording = nullptr;
  return result;
}

void Imports::CheckArgumentBytes(std::string_view name, int bytes) const {
  const ImportState& state = Get(name);
  if (bytes >= 0 && state.argument_bytes >= 0 && bytes != state.argument_bytes)
    throw std::invalid_argument("the replacement of " + state.name + " pops " + std::to_string(bytes) +
                                " argument bytes, the import " + std::to_string(state.argument_bytes));
}

void* Imports::ReplaceRaw(std::string_view name, void* replacement) {
  auto& state = Get(name);
  qm::CriticalSectionLock lock(g_lock);
  return std::exchange(state.target, replacement);
}

void Imports::Restore(std::string_view name) {
  auto& state = Get(name);
  qm::CriticalSectionLock lock(g_lock);
  state.target = state.original;
}

void* Imports::EntryRaw(std::string_view name) const { return *Get(name).slot; }

void Imports::RestoreAll() {
  qm::CriticalSectionLock lock(g_lock);
  for (auto& state : m_states) state->target = state->original;
}

}  // namespace harness

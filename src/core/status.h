// Status codes and the one exception type that carries them.
#pragma once

#include <cstdint>

namespace qm {

using Status = std::int32_t;

namespace status {
constexpr Status Ok = 0;
constexpr Status False = 1;
constexpr Status Fail = static_cast<Status>(0x80004005u);
constexpr Status Pointer = static_cast<Status>(0x80004003u);
constexpr Status NoInterface = static_cast<Status>(0x80004002u);
constexpr Status Unexpected = static_cast<Status>(0x8000FFFFu);
constexpr Status InvalidArg = static_cast<Status>(0x80070057u);
constexpr Status OutOfMemory = static_cast<Status>(0x8007000Eu);
constexpr Status ClassNotAvailable = static_cast<Status>(0x80040111u);
constexpr Status NoAggregation = static_cast<Status>(0x80040110u);

// The system's own failure codes: failure and customer bits, facility 0x201.
constexpr Status NoFreeLinkName = static_cast<Status>(0xA20101C4u);
constexpr Status CommandFailedWithoutStatus = static_cast<Status>(0xA20106DFu);
constexpr Status ForeignPropertySet = static_cast<Status>(0xA20108F4u);
constexpr Status PropertyIdOutOfRange = static_cast<Status>(0xA2010914u);
constexpr Status InfoTipNotAPropertyList = static_cast<Status>(0xA2010279u);

// Win32 errors the system refers to by value.
constexpr std::uint32_t Win32FilenameExceedsRange = 206;
constexpr std::uint32_t Win32Directory = 267;  // "The directory name is invalid."
constexpr std::uint32_t Win32NoUnicodeTranslation = 1113;
}  // namespace status

constexpr bool Failed(Status s) { return s < 0; }
constexpr bool Succeeded(Status s) { return s >= 0; }

// A Win32 error above 0 becomes 0x8007xxxx; 0 and values already negative pass unchanged.
constexpr Status StatusFromWin32(std::uint32_t error) {
  const auto as_signed = static_cast<Status>(error);
  if (as_signed <= 0) return as_signed;
  return static_cast<Status>(0x80070000u | (error & 0xFFFFu));
}

class CAtlException {
 public:
  explicit CAtlException(Status status) noexcept : m_status(status) {}
  Status status() const noexcept { return m_status; }

 private:
  Status m_status;
};

[[noreturn]] void RaiseStatus(Status status);

}  // namespace qm

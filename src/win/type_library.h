// Registration of the module's type library (TYPELIB 1 of the module, or a
// .tlb file of the same name beside it).
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace qm {

// Registers the library with its path and the path's directory as help
// directory. Raises failures; returns the registration's success status.
HRESULT RegisterTypeLibrary(HMODULE module);

// Removes the registration of the library's identifier, version, locale and
// system kind. Raises failures; returns the removal's success status.
HRESULT UnregisterTypeLibrary(HMODULE module);

// The type information of coclass `clsid` from the module's type library,
// for IProvideClassInfo.
HRESULT GetClassTypeInfo(HMODULE module, REFCLSID clsid, ITypeInfo** out) noexcept;

}  // namespace qm

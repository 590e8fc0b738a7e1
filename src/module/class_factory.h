// The class object of an object map row: an IClassFactory over the row's
// object creator. Its count is shared between threads and guarded by its own
// critical section; while a client holds a reference beyond the map's one, it
// holds a module lock.
#pragma once

#include <unknwn.h>

#include "win/com_object.h"
#include "win/unique_resource.h"

namespace qm {

class ClassFactory final : public IClassFactory {
 public:
  // The class-object creator of a map row: a new class object for `creator`,
  // queried for `iid`.
  static HRESULT Create(ObjectCreator creator, REFIID iid, void** out) noexcept;

  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  explicit ClassFactory(ObjectCreator creator) noexcept : m_creator(creator) {}
  ~ClassFactory() = default;

  ObjectCreator m_creator;
  CriticalSection m_section;
  LONG m_references = 0;
};

}  // namespace qm

// The IUnknown part shared by the program's COM objects: a reference count that starts at 1
// and changes atomically, and a query that answers IUnknown and the object's own interfaces
// only.  Interface ids come from __uuidof: linked statically, some IID_ symbols of the
// import libraries resolve to an import stub instead of the id.
#pragma once
#include <windows.h>
#include <unknwn.h>

template <class Interface, class... AlsoAnswered>
class TComObject : public Interface {
public:
    virtual ~TComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **result) override
    {
        if (!result)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(Interface)) ||
            (IsEqualIID(iid, __uuidof(AlsoAnswered)) || ...)) {
            AddRef();
            *result = static_cast<Interface *>(this);
            return S_OK;
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&RefCount));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG count = InterlockedDecrement(&RefCount);
        if (count == 0)
            delete this;
        return static_cast<ULONG>(count);
    }

private:
    LONG RefCount = 1;
};

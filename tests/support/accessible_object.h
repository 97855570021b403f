// Reading a window's accessible object, shared by the accessibility tests and their client.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

// The child id `id` as the VARIANT the IAccessible calls take.
inline VARIANT Child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// The object of `window`'s client area, or null.
inline IAccessible *ObjectOf(HWND window)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&object))))
        return nullptr;
    return object;
}

// What `get` answers for child `id`: nothing when the call does not succeed, "" for no text.
inline std::optional<std::wstring> AccessibleText(
    HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR *), IAccessible *object, long id)
{
    BSTR text = nullptr;
    if ((object->*get)(Child(id), &text) != S_OK)
        return std::nullopt;
    std::wstring out = text ? text : L"";
    SysFreeString(text);
    return out;
}

// What `get` answers for child `id` as a number, or -1.
inline long AccessibleNumber(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT *),
                             IAccessible *object, long id)
{
    VARIANT v;
    VariantInit(&v);
    if ((object->*get)(Child(id), &v) != S_OK || v.vt != VT_I4)
        return -1;
    return v.lVal;
}

// The common part of the program's Active Accessibility objects: an answer for every property
// an object does not have.  Each object overrides what it knows.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <new>

#include "common/com_object.h"

class CAccessibleBase : public TComObject<IAccessible, IDispatch> {
public:
    // Clients reach the properties through IAccessible itself, never through automation.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                     EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return NoObject(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return Alive() ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch **child) override
    {
        NoObject(child);
        return Alive() ? E_INVALIDARG : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR *name) override { return NoText(name); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR *value) override { return NoText(value); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR *text) override
    {
        return NoText(text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT *role) override
    {
        return NoVariant(role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT *state) override
    {
        return NoVariant(state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR *help) override { return NoText(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT, long *topic) override
    {
        if (topic)
            *topic = 0;
        return NoText(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR *keys) override
    {
        return NoText(keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override { return NoVariant(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override
    {
        return NoVariant(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR *action) override
    {
        return NoText(action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return Missing(); }
    HRESULT STDMETHODCALLTYPE accLocation(long *x, long *y, long *width, long *height,
                                          VARIANT) override
    {
        if (!x || !y || !width || !height)
            return E_POINTER;
        *x = *y = *width = *height = 0;
        return Missing();
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT *end) override
    {
        return NoVariant(end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long, long, VARIANT *child) override
    {
        return NoVariant(child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return Missing(); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

protected:
    // False once the window the object speaks for is gone: every call then fails.
    virtual bool Alive() const = 0;

    HRESULT Missing() const { return Alive() ? DISP_E_MEMBERNOTFOUND : RPC_E_DISCONNECTED; }
    HRESULT NoText(BSTR *text) const
    {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        return Missing();
    }
    HRESULT NoVariant(VARIANT *value) const
    {
        if (!value)
            return E_POINTER;
        Empty(value);
        return Missing();
    }
    HRESULT NoObject(IDispatch **object) const
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        return Missing();
    }
    // No answer, for the reason given.
    static HRESULT Failed(BSTR *text, HRESULT failure)
    {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        return failure;
    }
    static HRESULT Failed(VARIANT *value, HRESULT failure)
    {
        if (!value)
            return E_POINTER;
        Empty(value);
        return failure;
    }
    // VariantInit without oleaut32, which the hook library does not import.
    static void Empty(VARIANT *value)
    {
        ZeroMemory(value, sizeof *value);
        value->vt = VT_EMPTY;
    }
    // A text answer; S_FALSE with no text for an empty one.  Needs oleaut32.
    static HRESULT Text(const wchar_t *value, BSTR *text)
    {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        if (!value || !value[0])
            return S_FALSE;
        *text = SysAllocString(value);
        return *text ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT Number(long value, VARIANT *result)
    {
        if (!result)
            return E_POINTER;
        Empty(result);
        result->vt = VT_I4;
        result->lVal = value;
        return S_OK;
    }
    static bool IsSelf(const VARIANT &child)
    {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }

};

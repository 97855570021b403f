// What screen readers see of the start button: a push button with the product's name, whose
// default action is a click.  The library runs in every process it is mapped into, so it
// imports nothing for this: oleacc (and oleaut32, which oleacc loads) are loaded when a
// client first asks, and the object lives from then until the button is destroyed.  The
// standard proxies would name the button after its window text, "MyStartButton", and
// Wine's give every window the client role.
#include <windows.h>
#include <oleacc.h>

#include "common/accessible_base.h"
#include "common/messages.h"
#include "hook/button_state.h"

namespace {

constexpr wchar_t kPressAction[] = L"Press";

using TLresultFromObject = LRESULT(WINAPI *)(REFIID, WPARAM, LPUNKNOWN);
using TSysAllocString = BSTR(WINAPI *)(const OLECHAR *);

struct TAccessibilityFunctions {
    TLresultFromObject LresultFromObject;
    TSysAllocString SysAllocString;
};

// Loaded once and kept: clients may hold the object as long as the button lives.
const TAccessibilityFunctions *LoadFunctions()
{
    static TAccessibilityFunctions functions{};
    if (!functions.LresultFromObject) {
        HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
        HMODULE oleaut = oleacc ? LoadLibraryW(L"oleaut32.dll") : nullptr;
        if (!oleaut)
            return nullptr;
        functions.SysAllocString =
            reinterpret_cast<TSysAllocString>(GetProcAddress(oleaut, "SysAllocString"));
        functions.LresultFromObject =
            reinterpret_cast<TLresultFromObject>(GetProcAddress(oleacc, "LresultFromObject"));
    }
    return functions.LresultFromObject && functions.SysAllocString ? &functions : nullptr;
}

} // namespace

class CStartButtonAccessible final : public CAccessibleBase {
public:
    CStartButtonAccessible(HWND button, TSysAllocString alloc) : Button(button), Alloc(alloc) {}

    void Disconnect() { Button = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        return Say(child, kProductName, name);
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        return Say(child, kPressAction, action);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(role, failed);
        return Number(ROLE_SYSTEM_PUSHBUTTON, role);
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(state, failed);
        long bits = ButtonState.Pushed ? STATE_SYSTEM_PRESSED : 0;
        if (!IsWindowVisible(Button))
            bits |= STATE_SYSTEM_INVISIBLE;
        if (!ButtonState.Enabled)
            bits |= STATE_SYSTEM_UNAVAILABLE;
        return Number(bits, state);
    }

    HRESULT STDMETHODCALLTYPE accLocation(long *x, long *y, long *width, long *height,
                                          VARIANT child) override
    {
        if (HRESULT failed = Check(child); failed != S_OK) {
            CAccessibleBase::accLocation(x, y, width, height, child);
            return failed;
        }
        if (!x || !y || !width || !height)
            return E_POINTER;
        RECT r{};
        GetWindowRect(Button, &r);
        *x = r.left;
        *y = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }

    // What a click does; ignored while the button is disabled, as a click is.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return failed;
        if (!ButtonState.Enabled)
            return E_FAIL;
        PostToMainWindow(UM_TOGGLE_MENU);
        return S_OK;
    }

protected:
    bool Alive() const override { return Button != nullptr; }

private:
    HRESULT Check(const VARIANT &child) const
    {
        if (!Button)
            return RPC_E_DISCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }

    HRESULT Say(const VARIANT &child, const wchar_t *what, BSTR *text) const
    {
        if (!text)
            return E_POINTER;
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(text, failed);
        *text = Alloc(what);
        return *text ? S_OK : E_OUTOFMEMORY;
    }

    HWND Button;
    TSysAllocString Alloc;
};

LRESULT OnButtonGetObject(HWND button, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return DefWindowProcW(button, WM_GETOBJECT, wParam, lParam);
    const TAccessibilityFunctions *functions = LoadFunctions();
    if (!functions)
        return 0;
    if (!ButtonState.Accessible) {
        ButtonState.Accessible =
            new (std::nothrow) CStartButtonAccessible(button, functions->SysAllocString);
        // A client inside the shell's own process holds the object itself, not a proxy, and
        // may call it after the hooks are gone; the library must then still be mapped.
        HMODULE self = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&OnButtonGetObject), &self);
    }
    if (!ButtonState.Accessible)
        return 0;
    return functions->LresultFromObject(__uuidof(IAccessible), wParam, ButtonState.Accessible);
}

void DisconnectButtonAccessible()
{
    CStartButtonAccessible *object = ButtonState.Accessible;
    if (!object)
        return;
    ButtonState.Accessible = nullptr;
    object->Disconnect();
    CoDisconnectObject(object, 0);
    object->Release();
}

#include "menu/launch_seam.h"

#include <shellapi.h>
#include <shldisp.h>

#include "settings/recent_items.h"

TLaunchSeam LaunchSeam = {
    ShellExecuteLaunch, CallShellAutomation, nullptr, nullptr, ClearRecentItems, ClearJumpLists,
};

void ShellExecuteLaunch(HWND owner, const wchar_t *verb, const wchar_t *file,
                        const wchar_t *parameters, int show)
{
    // The shell reports its own failures; nothing is examined here.
    ShellExecuteW(owner, verb, file, parameters, nullptr, show);
}

namespace {

// Owns a BSTR for the length of one call.
class TBstr {
public:
    explicit TBstr(const wchar_t *text) : text_(SysAllocString(text)) {}
    ~TBstr() { SysFreeString(text_); }
    TBstr(const TBstr &) = delete;
    TBstr &operator=(const TBstr &) = delete;
    BSTR Get() const { return text_; }

private:
    BSTR text_;
};

void InvokeShellMethod(IShellDispatch2 *shell, TShellCall call)
{
    switch (call) {
    case TShellCall::Help:
        shell->Help();
        break;
    case TShellCall::FileRun:
        shell->FileRun();
        break;
    case TShellCall::FindFiles:
        shell->FindFiles();
        break;
    case TShellCall::FindComputer:
        shell->FindComputer();
        break;
    case TShellCall::FindPrinter: {
        TBstr name(L""), location(L""), model(L"");
        shell->FindPrinter(name.Get(), location.Get(), model.Get());
        break;
    }
    case TShellCall::WindowSwitcher:
        break;
    }
}

} // namespace

void CallShellAutomation(TShellCall call)
{
    const HRESULT init = CoInitialize(nullptr);
    if (call == TShellCall::WindowSwitcher) {
        // Only the fifth version of the interface knows the window switcher.
        IShellDispatch5 *shell = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                       __uuidof(IShellDispatch5),
                                       reinterpret_cast<void **>(&shell)))) {
            shell->WindowSwitcher();
            shell->Release();
        }
    } else {
        IShellDispatch2 *shell = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                       __uuidof(IShellDispatch2),
                                       reinterpret_cast<void **>(&shell)))) {
            InvokeShellMethod(shell, call);
            shell->Release();
        }
    }
    if (SUCCEEDED(init))
        CoUninitialize();
}

// Drags resting on the start button open the menu (the drag then goes on into the menu's
// own windows); dropping on the button itself is refused.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <new>

#include "common/com_object.h"
#include "common/messages.h"
#include "hook/button_state.h"

static void PreferCopy(DWORD *effect)
{
    if (effect && (*effect & DROPEFFECT_COPY))
        *effect = DROPEFFECT_COPY;
}

class CDropTargetForStartButton final : public TComObject<IDropTarget> {
public:
    explicit CDropTargetForStartButton(HWND button) : Button(button)
    {
        CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(&Helper));
    }

    ~CDropTargetForStartButton() override
    {
        if (Helper)
            Helper->Release();
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *data, DWORD, POINTL point,
                                        DWORD *effect) override
    {
        PreferCopy(effect);
        if (Helper) {
            POINT at{point.x, point.y};
            Helper->DragEnter(Button, data, &at, effect ? *effect : DROPEFFECT_NONE);
        }
        SendMessageW(Button, UM_BUTTON_DRAG_ENTER, 0, 0);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL point, DWORD *effect) override
    {
        PreferCopy(effect);
        POINT at{point.x, point.y};
        if (Helper)
            Helper->DragOver(&at, effect ? *effect : DROPEFFECT_NONE);
        ScreenToClient(Button, &at);
        SendMessageW(Button, UM_BUTTON_DRAG_MOVE, 0, MAKELPARAM(at.x, at.y));
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (Helper)
            Helper->DragLeave();
        SendMessageW(Button, UM_BUTTON_DRAG_LEAVE, 0, 0);
        return S_OK;
    }

    // The drop ends the drag without a DragLeave: the rest timer is stopped here, or the
    // menu would open behind the refusal.
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *data, DWORD, POINTL point, DWORD *effect) override
    {
        if (Helper) {
            POINT at{point.x, point.y};
            Helper->Drop(data, &at, effect ? *effect : DROPEFFECT_NONE);
        }
        SendMessageW(Button, UM_BUTTON_DRAG_LEAVE, 0, 0);
        MessageBoxW(Button, L"You can't drop here", L"Error", MB_OK);
        if (effect)
            *effect = DROPEFFECT_NONE;
        return S_OK;
    }

private:
    HWND Button;
    IDropTargetHelper *Helper = nullptr;
};

IDropTarget *CreateButtonDropTarget(HWND button)
{
    return new (std::nothrow) CDropTargetForStartButton(button);
}

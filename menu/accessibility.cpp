#include "menu/accessibility.h"

#include <oleacc.h>

#include <string>
#include <vector>

#include "common/accessible_base.h"
#include "common/messages.h"
#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/portable/level_accessibility.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

static_assert(kAccSelf == CHILDID_SELF);
static_assert(kNavUp == NAVDIR_UP && kNavDown == NAVDIR_DOWN && kNavNext == NAVDIR_NEXT &&
              kNavPrevious == NAVDIR_PREVIOUS && kNavFirstChild == NAVDIR_FIRSTCHILD &&
              kNavLastChild == NAVDIR_LASTCHILD);
static_assert(kRoleMenuPopup == ROLE_SYSTEM_MENUPOPUP && kRoleMenuItem == ROLE_SYSTEM_MENUITEM &&
              kRoleSeparator == ROLE_SYSTEM_SEPARATOR);
static_assert(kStateUnavailable == STATE_SYSTEM_UNAVAILABLE &&
              kStateFocused == STATE_SYSTEM_FOCUSED && kStateHotTracked == STATE_SYSTEM_HOTTRACKED &&
              kStateInvisible == STATE_SYSTEM_INVISIBLE &&
              kStateFocusable == STATE_SYSTEM_FOCUSABLE && kStateHasPopup == STATE_SYSTEM_HASPOPUP);

namespace {

constexpr wchar_t kOpenAction[] = L"Open";
constexpr wchar_t kExecuteAction[] = L"Execute";

bool IsClientRequest(LPARAM lParam) { return static_cast<LONG>(lParam) == OBJID_CLIENT; }

HRESULT WindowObject(HWND window, IDispatch **parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    return AccessibleObjectFromWindow(window, OBJID_WINDOW, __uuidof(IDispatch),
                                      reinterpret_cast<void **>(parent));
}

HRESULT ScreenRect(HWND window, RECT rect, long *x, long *y, long *width, long *height)
{
    if (!x || !y || !width || !height)
        return E_POINTER;
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&rect), 2);
    *x = rect.left;
    *y = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

// A child given as a number; the id of a simple element is always a VT_I4.
bool ChildNumber(const VARIANT &child, long &id)
{
    if (child.vt != VT_I4)
        return false;
    id = child.lVal;
    return true;
}

TLayoutRect ToLayout(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

} // namespace

// ---- The object of one level ----

class CMenuAccessible final : public CAccessibleBase {
public:
    explicit CMenuAccessible(TMenu *level) : Level(level) {}

    void Disconnect() { Level = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        if (!Level)
            return NoObject(parent);
        return WindowObject(Level->Window, parent);
    }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        if (!Level)
            return RPC_E_DISCONNECTED;
        *count = Level->Count();
        return S_OK;
    }

    // Items are simple elements, known by their child id alone.
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **result) override
    {
        NoObject(result);
        if (!Level)
            return RPC_E_DISCONNECTED;
        long id = 0;
        return ChildNumber(child, id) && ChildIndex(id, Level->Count()) >= 0 ? S_FALSE
                                                                              : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(name, failed);
        if (!item)
            return Text(Level->ParentItem ? Level->ParentItem->Caption : kProductName, name);
        return Text(item->IsSeparator ? nullptr : item->Caption, name);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(text, failed);
        return Text(item ? item->Tip : nullptr, text);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(role, failed);
        return Number(item ? ItemRole(Facts(item)) : kRoleMenuPopup, role);
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(state, failed);
        if (item)
            return Number(static_cast<long>(ItemState(Facts(item))), state);
        long own = IsWindowVisible(Level->Window) ? 0 : STATE_SYSTEM_INVISIBLE;
        if (GetFocus() == Level->Window)
            own |= STATE_SYSTEM_FOCUSED;
        return Number(own, state);
    }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *keys) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(keys, failed);
        if (!item)
            return Text(nullptr, keys);
        std::vector<std::u16string_view> captions;
        int index = -1;
        for (const TMenuItem *i = Level->Items; i; i = i->Next) {
            if (i == item)
                index = static_cast<int>(captions.size());
            captions.push_back(U16View(i->Caption));
        }
        const wchar_t key[2] = {
            static_cast<wchar_t>(UniqueTypeAheadKey(captions.data(), captions.size(), index)), 0};
        return Text(key, keys);
    }

    // The hot item while the level has the keyboard focus.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override
    {
        if (!focus)
            return E_POINTER;
        Empty(focus);
        if (!Level)
            return RPC_E_DISCONNECTED;
        if (GetFocus() != Level->Window)
            return S_FALSE;
        const int hot = Level->HotIndex();
        return Number(hot >= 0 ? ChildIdOf(hot) : CHILDID_SELF, focus);
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return Failed(action, failed);
        switch (item ? ItemDefaultAction(Facts(item)) : TAccAction::None) {
        case TAccAction::Open:
            return Text(kOpenAction, action);
        case TAccAction::Execute:
            return Text(kExecuteAction, action);
        case TAccAction::None:
            break;
        }
        return Text(nullptr, action);
    }

    HRESULT STDMETHODCALLTYPE accLocation(long *x, long *y, long *width, long *height,
                                          VARIANT child) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK) {
            CAccessibleBase::accLocation(x, y, width, height, child);
            return failed;
        }
        RECT rect{};
        if (item)
            rect = item->Rect;
        else
            GetClientRect(Level->Window, &rect);
        return ScreenRect(Level->Window, rect, x, y, width, height);
    }

    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        if (!end)
            return E_POINTER;
        Empty(end);
        if (!Level)
            return RPC_E_DISCONNECTED;
        long id = 0;
        const int count = Level->Count();
        if (!ChildNumber(start, id) || !IsValidChild(id, count))
            return E_INVALIDARG;
        const int32_t reached = NavigateChild(direction, id, count);
        return reached < 0 ? S_FALSE : Number(reached, end);
    }

    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override
    {
        if (!child)
            return E_POINTER;
        Empty(child);
        if (!Level)
            return RPC_E_DISCONNECTED;
        POINT point{x, y};
        ScreenToClient(Level->Window, &point);
        RECT client{};
        GetClientRect(Level->Window, &client);
        std::vector<TLayoutRect> rects;
        for (const TMenuItem *item = Level->Items; item; item = item->Next)
            rects.push_back(ToLayout(item->Rect));
        const int32_t hit = HitChild(rects.data(), rects.size(), client.right, client.bottom,
                                     point.x, point.y);
        return hit < 0 ? S_FALSE : Number(hit, child);
    }

    // Enter on the item, later: the command may run a message loop of its own, and the
    // client's call must not wait for it.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return failed;
        if (!item || ItemDefaultAction(Facts(item)) == TAccAction::None)
            return DISP_E_MEMBERNOTFOUND;
        if (!IsWindowVisible(Level->Window))
            return E_FAIL;
        long id = 0;
        ChildNumber(child, id);
        PostMessageW(Level->Window, UM_MENU_ACCESSIBLE_ACTION, ChildIndex(id, Level->Count()), 0);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        const TMenuItem *item = nullptr;
        if (HRESULT failed = Resolve(child, item); failed != S_OK)
            return failed;
        if (!item || !(flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) || item->IsSeparator)
            return E_INVALIDARG;
        long id = 0;
        ChildNumber(child, id);
        SetHot(Level, ChildIndex(id, Level->Count()));
        return S_OK;
    }

protected:
    bool Alive() const override { return Level != nullptr; }

private:
    // S_OK with the item the child id names (null for the level itself), or the error.
    HRESULT Resolve(const VARIANT &child, const TMenuItem *&item) const
    {
        item = nullptr;
        if (!Level)
            return RPC_E_DISCONNECTED;
        long id = 0;
        if (!ChildNumber(child, id))
            return E_INVALIDARG;
        if (id == CHILDID_SELF)
            return S_OK;
        item = Level->ItemAt(ChildIndex(id, Level->Count()));
        return item ? S_OK : E_INVALIDARG;
    }

    TAccItemFacts Facts(const TMenuItem *item) const
    {
        return {item->Hot, item->Submenu != nullptr, item->IsSeparator, item->IsEmptyMarker,
                IsWindowVisible(Level->Window) != FALSE};
    }

    TMenu *Level;
};

// ---- The search box ----

class CSearchBoxAccessible final : public CAccessibleBase {
public:
    explicit CSearchBoxAccessible(HWND box) : Box(box) {}

    void Disconnect() { Box = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        if (!Box)
            return NoObject(parent);
        return WindowObject(Box, parent);
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(value, failed);
        const int length = GetWindowTextLengthW(Box);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(Box, text.data(), length + 1);
        if (!value)
            return E_POINTER;
        // An empty box has an empty value, not none.
        *value = SysAllocString(text.c_str());
        return *value ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(help, failed);
        return Text(Settings.Local[LocalPressTab], help);
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(role, failed);
        return Number(ROLE_SYSTEM_TEXT, role);
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (HRESULT failed = Check(child); failed != S_OK)
            return Failed(state, failed);
        long bits = STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == Box)
            bits |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(Box))
            bits |= STATE_SYSTEM_INVISIBLE;
        return Number(bits, state);
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override
    {
        if (!focus)
            return E_POINTER;
        Empty(focus);
        if (!Box)
            return RPC_E_DISCONNECTED;
        return GetFocus() == Box ? Number(CHILDID_SELF, focus) : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE accLocation(long *x, long *y, long *width, long *height,
                                          VARIANT child) override
    {
        if (HRESULT failed = Check(child); failed != S_OK) {
            CAccessibleBase::accLocation(x, y, width, height, child);
            return failed;
        }
        RECT client{};
        GetClientRect(Box, &client);
        return ScreenRect(Box, client, x, y, width, height);
    }

protected:
    bool Alive() const override { return Box != nullptr; }

private:
    HRESULT Check(const VARIANT &child) const
    {
        if (!Box)
            return RPC_E_DISCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }

    HWND Box;
};

// ---- Making, answering and disconnecting ----

namespace {

template <typename TObject>
void Disconnect(TObject *&object)
{
    if (!object)
        return;
    object->Disconnect();
    // Drops the references the clients' proxies hold; their next call fails.
    CoDisconnectObject(object, 0);
    object->Release();
    object = nullptr;
}

LRESULT Answer(IAccessible *object, WPARAM wParam)
{
    return object ? LresultFromObject(__uuidof(IAccessible), wParam, object) : 0;
}

void Notify(TMenu *level, DWORD event, LONG child)
{
    NotifyWinEvent(event, level->Window, OBJID_CLIENT, child);
}

} // namespace

LRESULT OnLevelGetObject(TMenu *level, WPARAM wParam, LPARAM lParam)
{
    if (!IsClientRequest(lParam))
        return DefWindowProcW(level->Window, WM_GETOBJECT, wParam, lParam);
    if (!level->Accessible)
        level->Accessible = new (std::nothrow) CMenuAccessible(level);
    return Answer(level->Accessible, wParam);
}

void DisconnectLevelAccessible(TMenu *level) { Disconnect(level->Accessible); }

void OnLevelAccessibleAction(TMenu *level, WPARAM itemIndex)
{
    const int index = static_cast<int>(itemIndex);
    // A modal loop of a dialog, a drag or a command may dispatch the request: Enter would not
    // reach the level then either.
    if (MenuIsBusy() || !IsWindowVisible(level->Window) || !level->ItemAt(index))
        return;
    SetHot(level, index);
    OnKey(level, VK_RETURN);
}

void NotifyLevelShown(TMenu *level)
{
    Notify(level, EVENT_SYSTEM_MENUPOPUPSTART, CHILDID_SELF);
    const int hot = level->HotIndex();
    if (hot >= 0)
        Notify(level, EVENT_OBJECT_FOCUS, ChildIdOf(hot));
}

void NotifyLevelHidden(TMenu *level) { Notify(level, EVENT_SYSTEM_MENUPOPUPEND, CHILDID_SELF); }

void NotifyLevelHotItem(TMenu *level)
{
    const int hot = level->HotIndex();
    if (hot >= 0 && IsWindowVisible(level->Window))
        Notify(level, EVENT_OBJECT_FOCUS, ChildIdOf(hot));
}

void NotifyLevelChanged(TMenu *level)
{
    if (IsWindowVisible(level->Window))
        Notify(level, EVENT_OBJECT_NAMECHANGE, CHILDID_SELF);
}

LRESULT OnSearchBoxGetObject(HWND box, CSearchBoxAccessible *&object, WPARAM wParam,
                             LPARAM lParam)
{
    if (!IsClientRequest(lParam))
        return DefWindowProcW(box, WM_GETOBJECT, wParam, lParam);
    if (!object)
        object = new (std::nothrow) CSearchBoxAccessible(box);
    return Answer(object, wParam);
}

void DisconnectSearchBoxAccessible(CSearchBoxAccessible *&object) { Disconnect(object); }

void NotifySearchBoxValue(HWND box)
{
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, box, OBJID_CLIENT, CHILDID_SELF);
}

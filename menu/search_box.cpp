#include "menu/search_box.h"

#include "common/messages.h"
#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/portable/menu_keywords.h"
#include "menu/tmenu.h"

namespace {

constexpr int kSearchBoxInset = 4;
// The class is our own, so the system reads only the high word; 0x800 is the box's own bit.
constexpr DWORD kSearchBoxOwnStyle = 0x800;
constexpr DWORD kSearchBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kSearchBoxOwnStyle;
// Placed on its line when the level is shown.
constexpr int kSearchBoxWidth = 100;
constexpr int kSearchBoxHeight = 20;

HWND SearchBoxOf(const TMenu *root) { return GetDlgItem(root->Window, kSearchBoxControlId); }

} // namespace

LRESULT CALLBACK SearchBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SearchBoxWindowClass()
{
    return {kSearchBoxClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_IBEAM, false, nullptr,
            SearchBoxWindowProc};
}

void CreateSearchBox(TMenu *root)
{
    if (!root->Window || root->IsSample || SearchBoxOf(root))
        return;
    MenuState.SearchEdit = CreateWindowExW(
        0, kSearchBoxClass, L"", kSearchBoxStyle, 0, 0, kSearchBoxWidth, kSearchBoxHeight,
        root->Window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSearchBoxControlId)),
        GetModuleHandleW(nullptr), root);
}

void DestroySearchBox(TMenu *root)
{
    if (!root->Window)
        return;
    if (HWND box = SearchBoxOf(root)) {
        if (MenuState.SearchEdit == box)
            MenuState.SearchEdit = nullptr;
        DestroyWindow(box);
    }
}

void PlaceSearchBox(TMenu *root)
{
    TMenuItem *line = root->ItemWithPath(W(kSearchBoxKeyword.data()));
    if (!line)
        return;
    MenuState.SearchBoxPresent = true;
    RECT box = line->Rect;
    InflateRect(&box, -kSearchBoxInset, -kSearchBoxInset);
    SetWindowPos(SearchBoxOf(root), nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FocusSearchBox(TMenu *root)
{
    CloseSubLevels(root, root, false);
    SetFocus(SearchBoxOf(root));
}

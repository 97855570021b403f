#include "render/options/preview.h"

#include <dwmapi.h>

#include <span>

#include "common/messages.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "render/drawing.h"
#include "render/level_layout.h"
#include "render/options/portable/preview_rules.h"
#include "render/paint.h"
#include "render/portable/paint_rules.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

namespace {

constexpr int kLevelsSlot = 0;

// The two sample levels as plain views, built when the window is made; the icons are theirs.
struct TSampleLevels {
    wchar_t logoutCaption[MAX_PATH];
    TItemView top[kSampleTopRows];
    TItemView sub[kSampleSubRows];
    int arrowWidth;
};

TSampleLevels *LevelsOf(HWND window)
{
    return reinterpret_cast<TSampleLevels *>(GetWindowLongPtrW(window, kLevelsSlot));
}

HICON LoadSampleIcon(const TSampleRow &row)
{
    switch (row.iconKind) {
    case TSampleIcon::Slot:
        return LoadSpecialIcon(row.slot);
    case TSampleIcon::Shell32:
        return LoadIconAt(L"shell32.dll", kShell32SampleIconIndex);
    case TSampleIcon::None:
        break;
    }
    return nullptr;
}

void FillSampleLevel(std::span<const TSampleRow> rows, TItemView *views,
                     const wchar_t *logoutCaption)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        const TSampleRow &row = rows[i];
        // A separator shows no caption: centred on its three-pixel row, the text would spill
        // over the items around it.
        const wchar_t *caption = row.isSeparator     ? L""
                                 : row.logoutCaption ? logoutCaption
                                                     : W(row.caption.data());
        views[i] = {.icon = LoadSampleIcon(row),
                    .caption = caption,
                    .captionLength = lstrlenW(caption),
                    .hot = row.hot,
                    .isSeparator = row.isSeparator,
                    .hasSubLevel = row.hasSubLevel,
                    .dropBefore = row.dropBefore,
                    .dropAfter = row.dropAfter};
    }
}

TSampleLevels *BuildSampleLevels()
{
    auto *levels = new TSampleLevels{};
    FillLogoutCaption(levels->logoutCaption, MAX_PATH);
    FillSampleLevel(kSampleTopLevel, levels->top, levels->logoutCaption);
    FillSampleLevel(kSampleSubLevel, levels->sub, levels->logoutCaption);
    levels->arrowWidth = MeasureArrowWidth();
    return levels;
}

void DestroySampleLevels(HWND window)
{
    TSampleLevels *levels = LevelsOf(window);
    if (!levels)
        return;
    SetWindowLongPtrW(window, kLevelsSlot, 0);
    for (const TItemView &item : levels->top)
        if (item.icon)
            DestroyIcon(item.icon);
    for (const TItemView &item : levels->sub)
        if (item.icon)
            DestroyIcon(item.icon);
    delete levels;
}

void OnCreate(HWND window, const CREATESTRUCTW *create)
{
    RECT sheet{};
    if (GetWindowRect(static_cast<HWND>(create->lpCreateParams), &sheet)) {
        const TLayoutRect place =
            PlacePreview({sheet.left, sheet.top, sheet.right, sheet.bottom},
                         GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CXBORDER));
        SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The sample levels are measured in the fonts of the current settings.
    BuildSettingsFonts();
    SetWindowLongPtrW(window, kLevelsSlot, reinterpret_cast<LONG_PTR>(BuildSampleLevels()));
}

HRGN CreateBlurRegion(const TBlurRegion &blur)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i < blur.count; ++i) {
        const TLayoutRect &r = blur.rects[i];
        TGdiObject part(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        CombineRgn(region, region, static_cast<HRGN>(part.Get()), RGN_OR);
    }
    return region;
}

// Classic menus stand on the window colour; others on the blurred desktop where they are.
void ApplyBlurBehind(HWND window, HDC dc, const RECT &client, TLevelSize top, TLevelSize sub)
{
    DWM_BLURBEHIND blur{};
    blur.dwFlags = DWM_BB_ENABLE;
    if (Settings.ClassicAppearance) {
        blur.fEnable = FALSE;
        DwmEnableBlurBehindWindow(window, &blur);
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    TGdiObject region(CreateBlurRegion(PreviewBlurRegion(Settings.DrawBlur, top, sub)));
    blur.dwFlags |= DWM_BB_BLURREGION;
    blur.fEnable = TRUE;
    blur.hRgnBlur = static_cast<HRGN>(region.Get());
    DwmEnableBlurBehindWindow(window, &blur);
}

uint32_t LocalFileTimeHigh()
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME time{};
    SystemTimeToFileTime(&local, &time);
    return time.dwHighDateTime;
}

// The second row was made a moment ago.  Its age is taken against the same clock it was
// made by, so that it shows as new in every time zone.
void MarkNewRows(TSampleLevels *levels)
{
    const uint32_t now = LocalFileTimeHigh();
    for (int i = 0; i < kSampleTopRows; ++i)
        if (kSampleTopLevel[i].isNew)
            levels->top[i].isNew = IsCreatedRecently(Settings.Hilight, now, now - 1, Settings.Days);
}

void PaintPreview(HWND window, HDC dc, const RECT &area)
{
    TSampleLevels *levels = LevelsOf(window);
    if (!levels)
        return;
    // Neither frame nor outline: the levels stand side by side as they would open.
    const int menuStyle = Settings.MenuStyle;
    Settings.MenuStyle = kMenuStylePlain;
    const int monitorHeight = MonitorHeightOf(window);
    const TLevelSize top = LayoutLevel(levels->top, {true, monitorHeight, levels->arrowWidth});
    const TLevelSize sub = LayoutLevel(levels->sub, {false, monitorHeight, levels->arrowWidth});
    RECT client;
    GetClientRect(window, &client);
    ApplyBlurBehind(window, dc, client, top, sub);
    MarkNewRows(levels);
    {
        TSurface surface(dc, client.right, client.bottom);
        if (Settings.ClassicAppearance)
            FillRect(surface.Dc(), &client, GetSysColorBrush(COLOR_WINDOW));
        PaintLevel({nullptr, top.width, top.height, true, false, nullptr, levels->top},
                   surface.Dc(), client);
        POINT origin;
        SetViewportOrgEx(surface.Dc(), top.width, 0, &origin);
        PaintLevel({nullptr, sub.width, sub.height, false, false, nullptr, levels->sub},
                   surface.Dc(), client);
        SetViewportOrgEx(surface.Dc(), origin.x, origin.y, nullptr);
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               surface.Dc(), area.left, area.top, SRCCOPY);
    }
    Settings.MenuStyle = menuStyle;
}

} // namespace

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window, reinterpret_cast<const CREATESTRUCTW *>(lParam));
        return 0;
    case WM_PAINT:
        PaintUpdate(window, PaintPreview);
        return 0;
    case WM_PRINTCLIENT:
        PaintClient(window, reinterpret_cast<HDC>(wParam), PaintPreview);
        return 0;
    case WM_CLOSE:
        DestroySampleLevels(window);
        DestroyWindow(window);
        return 0;
    case WM_NCDESTROY:
        DestroySampleLevels(window);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SampleWindowClass()
{
    return {kSampleClass, kResizeRedraw | CS_DROPSHADOW, 8, nullptr, false,
            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), SampleWindowProc};
}

#include "app/options_command.h"

#include <memory>

#include "common/messages.h"
#include "menu/tmenu.h"
#include "render/options/options_sheet.h"
#include "settings/settings.h"

namespace {

template <typename T>
void DeleteHandle(T &handle)
{
    if (handle)
        DeleteObject(handle);
    handle = nullptr;
}

} // namespace

void RestoreSettings(const TSettings &kept)
{
    for (HBITMAP *picture : {&Settings.HilightBitmap, &Settings.SelectionBitmap,
                             &Settings.RibbonBitmap, &Settings.BackMenuBitmap})
        DeleteHandle(*picture);
    for (HFONT *font : {&Settings.MenuFont, &Settings.SystemMenuFont, &Settings.RibbonFont})
        DeleteHandle(*font);
    Settings = kept;
    Settings.HilightBitmap = Settings.SelectionBitmap = nullptr;
    Settings.RibbonBitmap = Settings.BackMenuBitmap = nullptr;
    Settings.MenuFont = Settings.SystemMenuFont = Settings.RibbonFont = nullptr;
    ReloadSettingsPictures();
}

void RunOptionsCommand(HWND mainWindow)
{
    EnableStartButton(false);
    // The record holds every language string: too big for the stack.
    const auto kept = std::make_unique<TSettings>(Settings);
    if (RunOptionsSheet(mainWindow) < 1) {
        RestoreSettings(*kept);
        SendMessageW(mainWindow, UM_OPTIONS_CANCELLED, 0, 0);
    } else {
        SaveSettings();
        SendMessageW(mainWindow, UM_OPTIONS_APPLY_STYLE, 0, 0);
        SendMessageW(mainWindow, UM_OPTIONS_APPLY_ITEMS, 0, 0);
    }
    EnableStartButton(true);
}

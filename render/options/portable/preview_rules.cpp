#include "render/options/portable/preview_rules.h"

const TSampleRow kSampleTopLevel[kSampleTopRows] = {
    {.caption = u"Item 8", .iconKind = TSampleIcon::Shell32, .hasSubLevel = true},
    {.caption = u"Item 7", .slot = IconManage, .isNew = true},
    {.caption = u"Item 6", .slot = IconConsole},
    {.caption = u"Item 6", .slot = IconD3},
    {.caption = u"Item 6", .slot = IconDefaultMenu},
    {.caption = u"Item 5", .slot = IconHelp, .dropAfter = true},
    {.caption = u"Item 4", .slot = IconControl, .hasSubLevel = true, .dropBefore = true},
    {.caption = u"Item 3", .iconKind = TSampleIcon::None, .isSeparator = true},
    {.caption = u"Item 2", .slot = IconLogout, .hot = true, .logoutCaption = true},
    {.caption = u"Item 1", .slot = IconShutdown},
};

const TSampleRow kSampleSubLevel[kSampleSubRows] = {
    {.caption = u"Subitem 1", .slot = IconFindFiles},
    {.caption = u"Subitem 2", .slot = IconFindPersons},
    {.caption = u"Subitem 3", .slot = IconFindComputers},
};

TLayoutRect PlacePreview(const TLayoutRect &sheet, int dialogFrameWidth, int borderWidth)
{
    const int32_t left = sheet.right + 3 * (dialogFrameWidth + borderWidth);
    return {left, sheet.top, left + kPreviewWidth, sheet.bottom};
}

TBlurRegion PreviewBlurRegion(bool drawBlur, TLevelSize top, TLevelSize sub)
{
    if (!drawBlur)
        return {1, {{0, 0, 1, 1}, {}}};
    return {2, {{0, 0, top.width, top.height},
                {top.width, 0, top.width + sub.width, sub.height}}};
}

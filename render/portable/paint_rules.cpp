#include "render/portable/paint_rules.h"

PixelRect BandRect(int frame, int ribbonWidth, int menuHeight)
{
    return {frame, frame, frame + ribbonWidth, menuHeight - frame};
}

int BandTextOffset(int ribbonWidth, int textHeight) { return (ribbonWidth - textHeight) / 2; }

PixelRect FillerRect(PixelRect lastItem, int menuWidth, int menuHeight, int frameX, int frameY)
{
    if (lastItem.right == menuWidth && lastItem.bottom == menuHeight)
        return {0, 0, 0, 0};
    return {lastItem.left, lastItem.bottom, menuWidth - frameX, menuHeight - frameY};
}

bool IsCreatedRecently(bool hilight, uint32_t nowHigh, uint32_t createdHigh, int days)
{
    if (!hilight)
        return false;
    uint32_t age = nowHigh - createdHigh;
    return double(age) < double(days) * kFileTimeHighUnitsPerDay;
}

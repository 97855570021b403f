#include "render/portable/paint_rules.h"

namespace {
// Units of the upper file-time word in one day: 86400 s / (2^32 x 100 ns).
constexpr double kHighUnitsPerDay = 201.1656761;
}  // namespace

bool IsNewItem(bool hilight, int days, uint32_t nowHigh, uint32_t createdHigh)
{
    if (!hilight || createdHigh == 0)
        return false;
    uint32_t age = nowHigh - createdHigh;
    return static_cast<double>(days) * kHighUnitsPerDay > static_cast<double>(age);
}

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

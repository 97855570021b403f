#include "hook/portable/button_geometry.h"

// The taskbar counts as on screen only when its task list reaches this far in.
static constexpr int kOnScreenMargin = 5;

bool IsHorizontalEdge(int edge)
{
    return edge == kEdgeTop || edge == kEdgeBottom;
}

int ButtonSizeForDpi(long long dpi)
{
    // Far beyond any real screen; also keeps the product below from overflowing.
    if (dpi <= 0 || dpi > 100000)
        return 0;
    int size = static_cast<int>(dpi * kButtonSizeAt96Dpi / 96);
    if (size > kLargestButtonSize)
        size = kLargestButtonSize;
    return size;
}

// The button's coordinate across the taskbar, between `low` and `high` (top and bottom, or
// left and right); a button too large for the taskbar overhangs past `high` or `low`.
static int AcrossPosition(int low, int high, int size, bool overhangHigh)
{
    if (size < high - low)
        return low + (high - low - size) / 2;
    return overhangHigh ? high - size + size / 8 : low - size / 8;
}

BoxPoint ButtonCorner(int edge, const BoxRect &taskList, int size)
{
    if (IsHorizontalEdge(edge))
        return {taskList.left,
                AcrossPosition(taskList.top, taskList.bottom, size, edge == kEdgeBottom)};
    return {AcrossPosition(taskList.left, taskList.right, size, edge == kEdgeLeft),
            taskList.top};
}

BoxRect TaskListWithRoom(int edge, const BoxRect &taskList, int size)
{
    BoxRect r = taskList;
    if (IsHorizontalEdge(edge))
        r.left += size;
    else
        r.top += size;
    return r;
}

bool TaskListOnScreen(int edge, const BoxRect &taskList, const BoxRect &monitor)
{
    switch (edge) {
    case kEdgeLeft:
        return taskList.right > monitor.left + kOnScreenMargin;
    case kEdgeTop:
        return taskList.bottom > monitor.top + kOnScreenMargin;
    case kEdgeRight:
        return taskList.left < monitor.right - kOnScreenMargin;
    case kEdgeBottom:
        return taskList.top < monitor.bottom - kOnScreenMargin;
    default:
        return false;
    }
}

BoxRect MovedOffScreen(int edge, const BoxRect &button)
{
    BoxRect r = button;
    if (IsHorizontalEdge(edge)) {
        r.top -= kOffScreenDistance;
        r.bottom -= kOffScreenDistance;
    } else {
        r.left -= kOffScreenDistance;
        r.right -= kOffScreenDistance;
    }
    return r;
}

BoxRect TaskListAtCorner(const BoxRect &taskList, BoxPoint taskbarCorner)
{
    return {taskbarCorner.x, taskbarCorner.y, taskbarCorner.x + taskList.Width(),
            taskbarCorner.y + taskList.Height()};
}

BoxRect ButtonFollowingSlide(int edge, const BoxRect &button, const BoxRect &slidTaskList,
                             int size)
{
    BoxPoint corner = ButtonCorner(edge, slidTaskList, size);
    if (IsHorizontalEdge(edge))
        return {button.left, corner.y, button.left + size, corner.y + size};
    return {corner.x, button.top, corner.x + size, button.top + size};
}

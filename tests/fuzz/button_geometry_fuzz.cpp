// The start button's geometry: for any DPI and any taskbar on any monitor, the size is
// bounded, the button sits on the taskbar's monitor (overhanging by at most an eighth),
// moving it off screen takes it off the monitor, and no arithmetic overflows.
#include <algorithm>
#include <cstdlib>

#include "hook/portable/button_geometry.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool Overlap(const BoxRect &a, const BoxRect &b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const long long dpi = in.ConsumeIntegral<long long>();
    const int edge = in.ConsumeIntegralInRange<int>(-1, 4);
    // A monitor anywhere on a virtual screen, at most 8K pixels each way.
    BoxRect monitor;
    monitor.left = in.ConsumeIntegralInRange<int>(-32768, 32767);
    monitor.top = in.ConsumeIntegralInRange<int>(-32768, 32767);
    monitor.right = monitor.left + in.ConsumeIntegralInRange<int>(1, 8192);
    monitor.bottom = monitor.top + in.ConsumeIntegralInRange<int>(1, 8192);
    const int thickness = in.ConsumeIntegralInRange<int>(0, 400);
    const int slide = in.ConsumeIntegralInRange<int>(0, 400);  // how far an auto-hidden bar hid
    const int along = in.ConsumeIntegralInRange<int>(0, 100);  // where the task list starts

    const int sized = ButtonSizeForDpi(dpi);
    FUZZ_CHECK(sized >= 0 && sized <= kLargestButtonSize);
    FUZZ_CHECK((sized == 0) == (dpi <= 0 || dpi > 100000 || dpi * kButtonSizeAt96Dpi < 96));
    const int buttonSize = sized ? sized : kButtonSizeAt96Dpi;
    if (edge < 0 || edge > 3) {
        FUZZ_CHECK(!TaskListOnScreen(edge, monitor, monitor));
        return 0;
    }

    // The task list along the given edge of the monitor, inside it.
    BoxRect list = monitor;
    const int t = std::min({thickness, monitor.Width(), monitor.Height()});
    switch (edge) {
    case kEdgeLeft: list.right = list.left + t; list.top += std::min(along, monitor.Height() - 1); break;
    case kEdgeRight: list.left = list.right - t; list.top += std::min(along, monitor.Height() - 1); break;
    case kEdgeTop: list.bottom = list.top + t; list.left += std::min(along, monitor.Width() - 1); break;
    case kEdgeBottom: list.top = list.bottom - t; list.left += std::min(along, monitor.Width() - 1); break;
    }

    const BoxPoint corner = ButtonCorner(edge, list, buttonSize);
    const BoxRect button{corner.x, corner.y, corner.x + buttonSize, corner.y + buttonSize};
    // Along the taskbar it starts where the task list starts; across it, it is centred in a
    // thick enough task list, else it overhangs the screen's edge by an eighth of its size.
    const int overhang = buttonSize / 8;
    const bool fits = buttonSize < t;
    if (IsHorizontalEdge(edge)) {
        FUZZ_CHECK(button.left == list.left);
        if (fits)
            FUZZ_CHECK(button.top >= list.top && button.bottom <= list.bottom &&
                       std::abs((button.top - list.top) - (list.bottom - button.bottom)) <= 1);
        else if (edge == kEdgeBottom)
            FUZZ_CHECK(button.bottom == list.bottom + overhang);
        else
            FUZZ_CHECK(button.top == list.top - overhang);
    } else {
        FUZZ_CHECK(button.top == list.top);
        if (fits)
            FUZZ_CHECK(button.left >= list.left && button.right <= list.right &&
                       std::abs((button.left - list.left) - (list.right - button.right)) <= 1);
        else if (edge == kEdgeLeft)
            FUZZ_CHECK(button.right == list.right + overhang);
        else
            FUZZ_CHECK(button.left == list.left - overhang);
    }
    FUZZ_CHECK(Overlap(button, monitor) || t == 0);

    const BoxRect room = TaskListWithRoom(edge, list, buttonSize);
    FUZZ_CHECK(IsHorizontalEdge(edge) ? room.left == list.left + buttonSize
                                      : room.top == list.top + buttonSize);

    FUZZ_CHECK(!Overlap(MovedOffScreen(edge, button), monitor));

    // An auto-hidden taskbar slid toward its edge is off screen once it reaches in 5 pixels
    // or less; following the slide keeps the button's size and its place along the bar.
    BoxRect slid = list;
    const int dx = edge == kEdgeLeft ? -slide : edge == kEdgeRight ? slide : 0;
    const int dy = edge == kEdgeTop ? -slide : edge == kEdgeBottom ? slide : 0;
    slid = TaskListAtCorner(list, {list.left + dx, list.top + dy});
    FUZZ_CHECK(slid.Width() == list.Width() && slid.Height() == list.Height());
    FUZZ_CHECK(TaskListOnScreen(edge, slid, monitor) == (t - slide > 5));
    const BoxRect followed = ButtonFollowingSlide(edge, button, slid, buttonSize);
    FUZZ_CHECK(followed.Width() == buttonSize && followed.Height() == buttonSize);
    FUZZ_CHECK(IsHorizontalEdge(edge) ? followed.left == button.left : followed.top == button.top);
    return 0;
}

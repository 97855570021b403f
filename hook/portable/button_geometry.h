// Where the start button sits among the taskbar's children: the arithmetic behind creating
// it, following the taskbar as it slides, and moving it away while the taskbar is hidden.
#pragma once

// The taskbar's edge, numbered as the system's ABE_ values.
enum TaskbarEdge : int { kEdgeLeft = 0, kEdgeTop = 1, kEdgeRight = 2, kEdgeBottom = 3 };

struct BoxRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const BoxRect &) const = default;
};

struct BoxPoint {
    int x, y;
    bool operator==(const BoxPoint &) const = default;
};

inline constexpr int kButtonSizeAt96Dpi = 48;
inline constexpr int kLargestButtonSize = 88;
// How far the button is moved while the taskbar is hidden, so that it cannot be seen or hit.
inline constexpr int kOffScreenDistance = 10000;

bool IsHorizontalEdge(int edge);

// The button size for a screen DPI; 0 when the DPI is unknown (no answer or nonsense), so
// that the caller keeps the size it has.
int ButtonSizeForDpi(long long dpi);

// The button's top-left corner for a task list (or taskbar) rectangle: at its start along
// the taskbar, centred across it, or, when the button is larger than the taskbar is thick,
// overhanging it by an eighth of its size (past the bottom of a bottom taskbar and the top
// of a top one; past the right of a left taskbar and the left of a right one).
BoxPoint ButtonCorner(int edge, const BoxRect &taskList, int size);

// The task list's rectangle with room made for the button at its start.
BoxRect TaskListWithRoom(int edge, const BoxRect &taskList, int size);

// Whether a task list rectangle reaches more than 5 pixels into its monitor: false while an
// auto-hidden taskbar has slid away (and for an unknown edge).
bool TaskListOnScreen(int edge, const BoxRect &taskList, const BoxRect &monitor);

// The button rectangle moved across the taskbar, out of every screen.
BoxRect MovedOffScreen(int edge, const BoxRect &button);

// The task list rectangle `taskList` (screen coordinates) carried to a taskbar whose new
// top-left corner is `taskbarCorner`; its size is kept.
BoxRect TaskListAtCorner(const BoxRect &taskList, BoxPoint taskbarCorner);

// The button rectangle while the taskbar slides without changing size: the button keeps
// its place along the taskbar and takes its place across it from `slidTaskList`.
BoxRect ButtonFollowingSlide(int edge, const BoxRect &button, const BoxRect &slidTaskList,
                             int size);

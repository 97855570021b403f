// The hook library's per-process state.  Every process that maps the library has its own
// copy; only the copy inside the shell, on the taskbar's thread, is ever used for the button.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <cstdint>

#include "hook/portable/button_frames.h"
#include "hook/portable/button_geometry.h"

// A top-down 32-bit DIB section and its pixels.
struct TPicture {
    HBITMAP Bitmap;
    uint32_t *Bits;
    int Width, Height;
};

class CStartButtonAccessible;

enum SourceImage { kNormalImage, kHoverImage, kPushedImage, kSourceImageCount };

struct TButtonState {
    int ButtonSize = kButtonSizeAt96Dpi;
    RECT SavedTaskList{};            // in the rebar's coordinates, as the taskbar wants it
    bool HaveSavedTaskList = false;
    bool Enabled = true;
    bool TaskbarShown = true;
    bool Pushed = false;
    int HoverStep = 0;
    bool Tracking = false;
    bool ChangingVisibility = false;  // inside our own show or hide of the button
    TPicture Sources[kSourceImageCount]{};
    TPicture Frames[kFrameCount]{};
    int FramesSize = 0;              // the button size the frames were built for; 0: none
    // Remembered edge-panel window: set on the taskbar's thread, read by every thread.
    std::atomic<HWND> EdgeWindow{nullptr};
    // Windows of the shell the button lives among, kept while it exists.
    HWND Button = nullptr;
    HWND Taskbar = nullptr;
    HWND TaskList = nullptr;
    IDropTarget *DropTarget = nullptr;
    CStartButtonAccessible *Accessible = nullptr;  // made when a screen reader first asks
};

extern TButtonState ButtonState;

// hallet.cpp
bool IsWindowOfClass(HWND window, const wchar_t *className);
bool ShiftIsDown();
void PostToMainWindow(UINT message);
void CloseMainWindow();

// start_button.cpp
void CreateStartButton(HWND taskbar);
void RemoveStartButton();

// button_pictures.cpp
void LoadButtonImages();
void DeleteButtonPictures();
void PaintButton(HWND button);

// button_drop_target.cpp
IDropTarget *CreateButtonDropTarget(HWND button);

// button_accessible.cpp
LRESULT OnButtonGetObject(HWND button, WPARAM wParam, LPARAM lParam);
void DisconnectButtonAccessible();

// edge_panels.cpp
void StopCornersWatch();
bool IsEdgeMouseMessage(UINT message);
bool SwallowRememberedEdgeMouse(MSG *msg);
bool SwallowEdgeMouseByClass(MSG *msg);
void RememberEdgeWindow();

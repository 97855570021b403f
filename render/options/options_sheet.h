// The options property sheet: three pages bound to the settings record, the theme chooser
// and the preview button on the row of OK and Cancel, and the live preview beside it.
// Every change goes straight into Settings; the caller decides whether it lasts.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "render/options/portable/options_binding.h"

// The system's modal font and open-file dialogs; tests answer them in their place.
struct TOptionsSeam {
    BOOL(WINAPI *ChooseFont)(CHOOSEFONTW *choose);
    BOOL(WINAPI *GetOpenFileName)(OPENFILENAMEW *open);
};
extern TOptionsSeam OptionsSeam;

inline constexpr int kOptionsPageCount = 3;

// Run-time state of the one open sheet.
struct TOptionsState {
    HWND Sheet;
    HWND Pages[kOptionsPageCount];
    HWND Preview;
    TItemLists Items;        // rows of lists 110 and 114
    TRowDrag Drag;
    HWND DragList;           // the list the dragged row lies in now
    int RowHeight;           // of the item lists, as measured
    HIMAGELIST ItemIcons;
    HCURSOR DragCursor;
};
extern TOptionsState OptionsState;

// Runs the sheet modally; below 1 when it was cancelled.
INT_PTR RunOptionsSheet(HWND owner);

// ---- Between the sheet's files ----
TIconMetrics SystemIconMetrics();
// Sets every bound control of a page from the record.
void LoadPageControls(HWND page, int pageIndex);
// A change of a bound control: stores it by its row; true when the control is bound.
bool StoreBoundControl(HWND page, int control);
bool OnUpDownDelta(HWND page, const NMUPDOWN &change);
void OnTrackBarScroll(HWND page, HWND trackBar);
void OnColourChosen(HWND page, int control, COLORREF colour);
void OnColourRightClick(HWND page, int control);
void ChooseMenuFont(HWND page, bool band);
void ChoosePictureFile(HWND page, int button);
void FillPictureList(HWND list, const wchar_t *pattern);
void DeletePictureListPictures(HWND list);
void MeasurePictureEntry(MEASUREITEMSTRUCT &measure);
void DrawPictureEntry(const DRAWITEMSTRUCT &draw);
void WriteRegistryFlags(HWND page);
void RepaintPreview();

// The item lists 110 and 114.
void InitItemLists(HWND page);
void FillItemLists(HWND page);
void MeasureItemRow(MEASUREITEMSTRUCT &measure);
void DrawItemRow(const DRAWITEMSTRUCT &draw);
void BeginItemDrag(HWND page, const NMLISTVIEW &start);
bool OnItemDragMove(HWND page);
bool OnItemDragEnd(HWND page);
void OnItemDragScroll(HWND page);
void ReleaseItemLists();

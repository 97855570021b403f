// The result list under the search box (class ListEx): a top-most pop-up with an owner-drawn
// list box of the matching programs and documents, and the count in its caption.
#pragma once
#include <windows.h>

#include <string>

#include "common/window_class.h"
#include "menu/portable/search_filter.h"

class TMenu;

LRESULT CALLBACK SearchListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TWindowClass SearchListWindowClass();

// Creates the (hidden) list of the search box `box`, beside the top level.
HWND CreateSearchList(HWND box);
// Appends every searchable item of the tree under `root` to `index` (message 1047).
void FillSearchIndex(TMenu *root, TSearchIndex *index);
// The index the list searches now; null when `list` is no result list.
const TSearchIndex *SearchListIndex(HWND list);
// The MD5 digest of a text's UTF-16LE units as 32 lower-case hexadecimal digits; empty when
// the system's hash provider fails.
std::string SearchTextDigest(std::u16string_view text);

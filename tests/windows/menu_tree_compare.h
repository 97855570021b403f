// How the Windows tests compare a menu tree with a fresh build of the same files: one line
// per item, indented by depth, so that a failed comparison shows the differing lines.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "menu/menu_item.h"
#include "menu/tmenu.h"

enum class TTreeDetail {
    Captions,    // caption and path
    Everything,  // and tip, creation key, flags and the icon's pixels
};

// `level` and every level below it, depth first.
inline void CollectLevels(TMenu *level, std::vector<TMenu *> &levels)
{
    levels.push_back(level);
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (item->Submenu)
            CollectLevels(item->Submenu, levels);
}

// FNV-1a of the icon's colour and mask bits; 0 for no icon, 1 for a handle that is no icon.
inline uint64_t IconPixelsHash(HICON icon)
{
    if (!icon)
        return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 1;
    uint64_t hash = 1469598103934665603ull;
    HDC screen = GetDC(nullptr);
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
        if (!bitmap)
            continue;
        BITMAP shape{};
        GetObjectW(bitmap, sizeof(shape), &shape);
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = shape.bmWidth;
        format.bmiHeader.biHeight = -shape.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        std::vector<uint32_t> pixels(size_t(shape.bmWidth) * size_t(shape.bmHeight));
        GetDIBits(screen, bitmap, 0, shape.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
        for (uint32_t pixel : pixels)
            hash = (hash ^ pixel) * 1099511628211ull;
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return hash;
}

inline std::wstring DescribeTree(const TMenu *level, TTreeDetail detail = TTreeDetail::Captions,
                                 int depth = 0)
{
    std::wstring text;
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        text += std::wstring(depth * 2, L' ') + item->Caption + L" | " + item->Path;
        if (detail == TTreeDetail::Everything) {
            text += std::wstring(L" | tip ") + item->Tip + L" | created " +
                    std::to_wstring(item->CreatedHigh) + L" | " +
                    (item->IsMovable ? L"movable" : L"fixed") +
                    (item->IsSeparator ? L" separator" : L"") +
                    (item->IsEmptyMarker ? L" placeholder" : L"") +
                    (item->IsProgramsFolder ? L" programs" : L"") + L" | icon " +
                    std::to_wstring(IconPixelsHash(item->Icon));
        }
        text += L"\n";
        if (item->Submenu)
            text += DescribeTree(item->Submenu, detail, depth + 1);
    }
    return text;
}

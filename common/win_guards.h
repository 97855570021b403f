// Small owners for handles that a function acquires and must release on every way out.
#pragma once
#include <windows.h>
#include <uxtheme.h>

#include <cstdint>

// A kernel handle closed with CloseHandle (files, events, threads).  Holds either a valid
// handle or null; INVALID_HANDLE_VALUE from CreateFile is stored as null.
class TKernelHandle {
public:
    TKernelHandle() = default;
    explicit TKernelHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~TKernelHandle() { Reset(); }
    TKernelHandle(const TKernelHandle &) = delete;
    TKernelHandle &operator=(const TKernelHandle &) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Release()
    {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr)
    {
        if (handle_)
            CloseHandle(handle_);
        handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// A directory search closed with FindClose.
class TFindHandle {
public:
    explicit TFindHandle(HANDLE handle) : handle_(handle) {}
    ~TFindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    TFindHandle(const TFindHandle &) = delete;
    TFindHandle &operator=(const TFindHandle &) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// A screen device context for one measurement.
class TScreenDC {
public:
    TScreenDC() : dc_(GetDC(nullptr)) {}
    ~TScreenDC()
    {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    TScreenDC(const TScreenDC &) = delete;
    TScreenDC &operator=(const TScreenDC &) = delete;

    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Theme data opened for one scope and closed at its end.
class TThemeData {
public:
    explicit TThemeData(HTHEME theme) : theme_(theme) {}
    ~TThemeData()
    {
        if (theme_)
            CloseThemeData(theme_);
    }
    TThemeData(const TThemeData &) = delete;
    TThemeData &operator=(const TThemeData &) = delete;
    HTHEME Get() const { return theme_; }

private:
    HTHEME theme_;
};

// Selects a GDI object into a DC for one scope and puts the previous one back.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelection()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    TSelection(const TSelection &) = delete;
    TSelection &operator=(const TSelection &) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A pen, brush, bitmap or region made for one scope and deleted at its end.
class TGdiObject {
public:
    explicit TGdiObject(HGDIOBJ object) : object_(object) {}
    ~TGdiObject()
    {
        if (object_)
            DeleteObject(object_);
    }
    TGdiObject(const TGdiObject &) = delete;
    TGdiObject &operator=(const TGdiObject &) = delete;
    HGDIOBJ Get() const { return object_; }

private:
    HGDIOBJ object_;
};

// A memory DC (from CreateCompatibleDC) deleted at the end of its scope.  Whatever was
// selected into it must be put back first: declare the TSelection after it.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC dc) : dc_(dc) {}
    ~TMemoryDC()
    {
        if (dc_)
            DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC &) = delete;
    TMemoryDC &operator=(const TMemoryDC &) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A top-down 32-bit DIB section of width x height for `dc` (null: the screen), all zero:
// blue in the low byte, alpha in the high one, bits[0] the top-left pixel.  `bits`, when
// given, receives the pixels.  Null (and null bits) for an empty size or a failed section.
inline HBITMAP CreateTopDownDib(HDC dc, int width, int height, uint32_t **bits = nullptr)
{
    if (bits)
        *bits = nullptr;
    if (width <= 0 || height <= 0)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // a negative height makes the rows run top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap && !pixels) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    if (bits && bitmap)
        *bits = static_cast<uint32_t *>(pixels);
    return bitmap;
}

// A registry key opened for one scope and closed at its end; null when it did not open.
class TRegistryKey {
public:
    enum TOpenMode { kOpenExisting, kCreateMissing };
    TRegistryKey(HKEY parent, const wchar_t *subKey, REGSAM access,
                 TOpenMode mode = kOpenExisting)
    {
        const LSTATUS status =
            mode == kCreateMissing
                ? RegCreateKeyExW(parent, subKey, 0, nullptr, 0, access, nullptr, &key_, nullptr)
                : RegOpenKeyExW(parent, subKey, 0, access, &key_);
        if (status != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~TRegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    TRegistryKey(const TRegistryKey &) = delete;
    TRegistryKey &operator=(const TRegistryKey &) = delete;
    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

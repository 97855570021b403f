// Small owners for handles that a function acquires and must release on every way out.
#pragma once
#include <windows.h>
#include <uxtheme.h>

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

// The start button's pictures: three PNG images beside the library, decoded once, and the
// twelve frames built from them at the button size.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "hook/button_state.h"

static constexpr const wchar_t *kImageFiles[kSourceImageCount] = {
    L"images\\start-normal.png", L"images\\start-hover.png", L"images\\start-pushed.png"};
// Larger pictures than this are refused rather than decoded into the shell's memory.
static constexpr UINT kLargestImageSide = 1024;

static TPicture CreatePicture(int width, int height)
{
    uint32_t *bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(nullptr, width, height, &bits);
    if (!bitmap)
        return {};
    return {bitmap, bits, width, height};
}

static void DeletePicture(TPicture &picture)
{
    if (picture.Bitmap)
        DeleteObject(picture.Bitmap);
    picture = {};
}

// Releases a COM interface pointer when leaving the scope.
template <class T> struct ComRef {
    T *p = nullptr;
    ~ComRef()
    {
        if (p)
            p->Release();
    }
};

// Decodes a picture file to premultiplied BGRA; an empty picture on any failure.
static TPicture DecodePicture(const wchar_t *path)
{
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory.p))))
        return {};
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory.p->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &decoder.p)))
        return {};
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder.p->GetFrame(0, &frame.p)))
        return {};
    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory.p->CreateFormatConverter(&converter.p)) ||
        FAILED(converter.p->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA,
                                       WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom)))
        return {};
    UINT width = 0, height = 0;
    if (FAILED(converter.p->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > kLargestImageSide || height > kLargestImageSide)
        return {};
    TPicture picture = CreatePicture(static_cast<int>(width), static_cast<int>(height));
    if (!picture.Bitmap)
        return {};
    const UINT stride = width * 4;
    if (FAILED(converter.p->CopyPixels(nullptr, stride, stride * height,
                                       reinterpret_cast<BYTE *>(picture.Bits)))) {
        DeletePicture(picture);
        return {};
    }
    return picture;
}

// The folder of this library, with its backslash; false when the path does not fit.
static bool LibraryFolder(wchar_t *folder, DWORD capacity)
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&LibraryFolder), &self))
        return false;
    DWORD length = GetModuleFileNameW(self, folder, capacity);
    if (length == 0 || length >= capacity)
        return false;
    wchar_t *slash = wcsrchr(folder, L'\\');
    if (!slash)
        return false;
    slash[1] = 0;
    return true;
}

void LoadButtonImages()
{
    wchar_t folder[MAX_PATH];
    if (!LibraryFolder(folder, MAX_PATH))
        return;
    // The shell's thread normally has COM already; a host without it gets it for the
    // decoding only.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (int i = 0; i < kSourceImageCount; ++i) {
        wchar_t path[MAX_PATH];
        const size_t folderLength = CopyText(U16(path), MAX_PATH, U16View(folder));
        const std::u16string_view file = U16View(kImageFiles[i]);
        if (folderLength + file.size() >= MAX_PATH)
            continue;
        CopyText(U16(path) + folderLength, MAX_PATH - folderLength, file);
        DeletePicture(ButtonState.Sources[i]);
        ButtonState.Sources[i] = DecodePicture(path);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

static void DeleteFrames()
{
    for (TPicture &frame : ButtonState.Frames)
        DeletePicture(frame);
    ButtonState.FramesSize = 0;
}

void DeleteButtonPictures()
{
    DeleteFrames();
    for (TPicture &source : ButtonState.Sources)
        DeletePicture(source);
}

// One of the three main frames from its image; false when the image is missing.
static bool ScaleSource(SourceImage image, TPicture &frame)
{
    const TPicture &source = ButtonState.Sources[image];
    if (!source.Bitmap)
        return false;
    ScaleAreaAverage(source.Bits, source.Width, source.Height, frame.Bits, frame.Width);
    return true;
}

// A missing hover image falls back to the normal one, a missing pushed image to the hover
// one, and a missing normal image to a plain disc: the button is always visible.
static void BuildFrames(int size)
{
    DeleteFrames();
    for (TPicture &frame : ButtonState.Frames) {
        frame = CreatePicture(size, size);
        if (!frame.Bitmap) {
            DeleteFrames();
            return;
        }
    }
    TPicture *frames = ButtonState.Frames;
    const size_t bytes = static_cast<size_t>(size) * size * sizeof(uint32_t);
    if (!ScaleSource(kNormalImage, frames[0]))
        DrawFallbackButton(frames[0].Bits, size);
    if (!ScaleSource(kHoverImage, frames[kHoverFrame]))
        std::memcpy(frames[kHoverFrame].Bits, frames[0].Bits, bytes);
    if (!ScaleSource(kPushedImage, frames[kPushedFrame]))
        std::memcpy(frames[kPushedFrame].Bits, frames[kHoverFrame].Bits, bytes);
    for (int step = 1; step < kHoverFrame; ++step)
        BlendFrames(frames[0].Bits, frames[kHoverFrame].Bits, step, frames[step].Bits,
                    size * size);
    GdiFlush();
    ButtonState.FramesSize = size;
}

// The frame becomes the whole window content, per-pixel alpha over what is behind.
static void ShowFrame(HWND button, const TPicture &frame)
{
    RECT window{};
    if (!GetWindowRect(button, &window))
        return;
    TScreenDC screen;
    if (!screen.Get())
        return;
    TMemoryDC memory(CreateCompatibleDC(screen.Get()));
    TSelection selected(memory.Get(), frame.Bitmap);
    if (!memory.Get())
        return;
    POINT destination{window.left, window.top};
    SIZE size{frame.Width, frame.Height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(button, screen.Get(), &destination, &size, memory.Get(), &origin, 0, &blend,
                        ULW_ALPHA);
}

void PaintButton(HWND button)
{
    PAINTSTRUCT paint;
    BeginPaint(button, &paint);
    const int size = ButtonState.ButtonSize;
    if (size > 0 && ButtonState.FramesSize != size)
        BuildFrames(size);
    const int index =
        ButtonState.Pushed ? kPushedFrame : std::clamp(ButtonState.HoverStep, 0, kHoverFrame);
    if (ButtonState.FramesSize > 0)
        ShowFrame(button, ButtonState.Frames[index]);
    EndPaint(button, &paint);
}

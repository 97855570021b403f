// Golden pictures of the Windows tests: PNG files read and written through the Windows
// Imaging Component, and the comparison that saves a differing paint for inspection.
#pragma once
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/portable/pixels.h"
#include "settings/settings.h"

namespace golden {

namespace fs = std::filesystem;

// A path of the Linux build tree as Wine sees it.
inline fs::path HostPath(const char *unixPath)
{
    std::wstring path = L"Z:";
    for (const char *c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : wchar_t(*c);
    return fs::path(path);
}

// The reference pictures of one subject (tests/golden/<subject>) and where a differing
// paint is saved (<build>/golden-diff/<subject>).
inline fs::path GoldenFolder(const wchar_t *subject)
{
    return HostPath(ORVELLA_SOURCE_DIR) / L"tests" / L"golden" / subject;
}
inline fs::path OutputFolder(const wchar_t *subject)
{
    return HostPath(ORVELLA_IMAGE_DIR).parent_path() / L"golden-diff" / subject;
}

struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

inline IWICImagingFactory *Factory()
{
    static IWICImagingFactory *factory = [] {
        IWICImagingFactory *made = nullptr;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
        return made;
    }();
    return factory;
}

// Reads a PNG as straight 32-bit BGRA, byte for byte as stored.
inline bool LoadPng(const fs::path &path, Image &image)
{
    IWICBitmapDecoder *decoder = nullptr;
    if (FAILED(Factory()->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &decoder)))
        return false;
    bool ok = false;
    IWICBitmapFrameDecode *frame = nullptr;
    IWICBitmapSource *converted = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
        SUCCEEDED(converted->GetSize(&w, &h))) {
        image.width = int(w);
        image.height = int(h);
        image.pixels.assign(size_t(w) * h, 0);
        ok = SUCCEEDED(converted->CopyPixels(nullptr, w * 4, UINT(image.pixels.size() * 4),
                                             reinterpret_cast<BYTE *>(image.pixels.data())));
    }
    if (converted)
        converted->Release();
    if (frame)
        frame->Release();
    decoder->Release();
    return ok;
}

inline bool SavePng(const fs::path &path, const Image &image)
{
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    IWICStream *stream = nullptr;
    IWICBitmapEncoder *encoder = nullptr;
    IWICBitmapFrameEncode *frame = nullptr;
    bool ok = SUCCEEDED(Factory()->CreateStream(&stream)) &&
              SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(Factory()->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
              SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
              SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr));
    if (ok) {
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        ok = SUCCEEDED(frame->SetSize(UINT(image.width), UINT(image.height))) &&
             SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
             SUCCEEDED(frame->WritePixels(UINT(image.height), UINT(image.width) * 4,
                                          UINT(image.pixels.size() * 4),
                                          reinterpret_cast<BYTE *>(const_cast<uint32_t *>(image.pixels.data())))) &&
             SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    return ok;
}

inline Image Crop(const Image &image, RECT r)
{
    Image out;
    out.width = r.right - r.left;
    out.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            out.pixels.push_back(image.pixels[size_t(y) * image.width + x]);
    return out;
}

// Compares with the reference picture; on a difference the whole picture and the differing
// region of both are saved under the build folder for inspection.
inline void ExpectMatchesGolden(const Image &actual, const wchar_t *subject, const wchar_t *name)
{
    fs::path golden = GoldenFolder(subject) / (std::wstring(name) + L".png");
    fs::path out = OutputFolder(subject);
    Image expected;
    if (!LoadPng(golden, expected)) {
        SavePng(out / (std::wstring(name) + L"-actual.png"), actual);
        ADD_FAILURE() << "no reference picture " << golden.string() << "; this paint is saved as "
                      << (out / (std::wstring(name) + L"-actual.png")).string();
        return;
    }
    ASSERT_EQ(expected.width, actual.width);
    ASSERT_EQ(expected.height, actual.height);
    RECT diff = {actual.width, actual.height, 0, 0};
    int count = 0;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.pixels[size_t(y) * actual.width + x] != expected.pixels[size_t(y) * actual.width + x]) {
                ++count;
                diff = {std::min<LONG>(diff.left, x), std::min<LONG>(diff.top, y),
                        std::max<LONG>(diff.right, x + 1), std::max<LONG>(diff.bottom, y + 1)};
            }
    if (count == 0)
        return;
    SavePng(out / (std::wstring(name) + L"-actual.png"), actual);
    SavePng(out / (std::wstring(name) + L"-region-actual.png"), Crop(actual, diff));
    SavePng(out / (std::wstring(name) + L"-region-expected.png"), Crop(expected, diff));
    ADD_FAILURE() << count << " pixels differ in (" << diff.left << ", " << diff.top << ") - ("
                  << diff.right << ", " << diff.bottom << "); saved in " << out.string();
}


// A premultiplied picture of w x h: a vertical ramp of `color` from alpha `from` to `to`.
inline HBITMAP MakePicture(int w, int h, COLORREF color, int from, int to)
{
    uint32_t *pixels = nullptr;
    HBITMAP picture = CreateTopDownDib(nullptr, w, h, &pixels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[y * w + x] = PremultipliedPixel(color, uint32_t(from + (to - from) * y / std::max(h - 1, 1)));
    return picture;
}

// A look that does not depend on the prefix's settings file, the date or the user's name:
// captions and a colour band, themed or classic, painted plain (no frame, no outline).
inline void SetGoldenLook(bool classic, bool glow, const wchar_t *bandText)
{
    Settings.ClassicAppearance = classic;
    Settings.MenuStyle = kMenuStylePlain;  // as the preview paints: no frame, no outline
    Settings.IconSize1 = 32;
    Settings.IconSize2 = 16;
    Settings.Flags = kSettingsFlagNoDecoration;  // the decoration depends on the date
    Settings.DrawCursorStyle = kCursorDark;
    Settings.DrawFontDefault = false;
    lstrcpyW(Settings.DrawFontFace, L"Tahoma");
    Settings.DrawFontSize = 9;
    Settings.DrawFontBold = false;
    Settings.DrawFontItalic = false;
    Settings.DrawFontColor = RGB(16, 16, 48);
    Settings.DrawColorMode = kColorModeVerticalGradient;
    Settings.DrawColorAlpha = 200;
    Settings.DrawColorPlain = RGB(240, 240, 250);
    Settings.DrawColorGradient1 = RGB(250, 250, 255);
    Settings.DrawColorGradient2 = RGB(170, 190, 230);
    Settings.DrawGlow = glow;
    Settings.DrawGlowSize = 6;
    Settings.DrawGlowDouble = false;
    Settings.GlowColor = RGB(255, 255, 255);
    Settings.ShadowInsteadOfGlow = false;
    Settings.RibbonStyle = kRibbonColorBand;
    Settings.RibbonWidth = 30;
    lstrcpyW(Settings.RibbonText, bandText);
    lstrcpyW(Settings.RibbonFontFace, L"Tahoma");
    Settings.RibbonFontSize = 14;
    Settings.RibbonFontBold = true;
    Settings.RibbonFontItalic = false;
    Settings.RibbonFontColor = RGB(255, 255, 255);
    Settings.RibbonColorMode = kColorModeVerticalGradient;
    Settings.RibbonColorAlpha = 230;
    Settings.RibbonColorPlain = RGB(40, 60, 120);
    Settings.RibbonColorGradient1 = RGB(20, 40, 110);
    Settings.RibbonColorGradient2 = RGB(90, 140, 220);
    Settings.RibbonGlow = glow;
    Settings.RibbonGlowSize = 4;
    Settings.RibbonGlowDouble = true;
    Settings.RibbonGlowBlack = true;
    BuildSettingsFonts();
}

} // namespace golden

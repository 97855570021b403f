#include <windows.h>
#include <wincodec.h>

#include <cstdint>

#include "settings/settings.h"

// Pixels of the first frame, converted by the imaging component, into a new top-down DIB.
static HBITMAP CopyFrameToBitmap(IWICBitmapSource *source)
{
    UINT width = 0;
    UINT height = 0;
    if (FAILED(source->GetSize(&width, &height)) || width == 0 || height == 0)
        return nullptr;
    const uint64_t bytes = uint64_t(width) * height * 4;
    if (bytes > 0x7FFFFFFF)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = LONG(width);
    info.bmiHeader.biHeight = -LONG(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    if (FAILED(source->CopyPixels(nullptr, width * 4, UINT(bytes), static_cast<BYTE *>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

HBITMAP LoadPicture(const wchar_t *path, bool premultiplied)
{
    HBITMAP bitmap = nullptr;
    IWICImagingFactory *factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void **>(&factory))))
        return nullptr;
    IWICBitmapDecoder *decoder = nullptr;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder))) {
        IWICBitmapFrameDecode *frame = nullptr;
        if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
            IWICFormatConverter *converter = nullptr;
            if (SUCCEEDED(factory->CreateFormatConverter(&converter))) {
                if (SUCCEEDED(converter->Initialize(
                        frame, premultiplied ? GUID_WICPixelFormat32bppPBGRA
                                             : GUID_WICPixelFormat32bppBGRA,
                        WICBitmapDitherTypeNone, nullptr, 0, WICBitmapPaletteTypeCustom)))
                    bitmap = CopyFrameToBitmap(converter);
                converter->Release();
            }
            frame->Release();
        }
        decoder->Release();
    }
    factory->Release();
    return bitmap;
}

#include <windows.h>
#include <wincodec.h>

#include <cstdint>

#include "common/win_guards.h"
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
    uint32_t *bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(nullptr, LONG(width), LONG(height), &bits);
    if (!bitmap)
        return nullptr;
    if (FAILED(source->CopyPixels(nullptr, width * 4, UINT(bytes), reinterpret_cast<BYTE *>(bits)))) {
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

#include <cstring>
#include "skin/skin_engine.h"

namespace {

const unsigned kHeaderSize = 32;
const unsigned kVersion = 1;
const int kPictureSizes[SkinPictureCount][2] = {{90, 18}, {78, 13}, {32, 24}, {96, 14}, {48, 20}, {60, 75}};

COLORREF colours[SkinColourCount];
HBITMAP pictures[SkinPictureCount];
HBRUSH backgroundBrush;

unsigned ReadWord(const unsigned char* at) { return at[0] | at[1] << 8; }
unsigned ReadLong(const unsigned char* at) { return ReadWord(at) | ReadWord(at + 2) << 16; }

// A top-down 24-bit section from RGB triples.
HBITMAP MakeBitmap(const unsigned char* pixels, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = static_cast<unsigned char*>(bits) + y * stride;
        for (int x = 0; x < width; ++x, pixels += 3) {
            row[x * 3] = pixels[2];
            row[x * 3 + 1] = pixels[1];
            row[x * 3 + 2] = pixels[0];
        }
    }
    GdiFlush();
    return bitmap;
}

}  // namespace

SkinResult CheckSkinImage(const void* image, unsigned length)
{
    if (image == nullptr || length != kSkinImageSize) return SkinBadLength;
    const unsigned char* bytes = static_cast<const unsigned char*>(image);
    if (std::memcmp(bytes, ".SHE", 4) != 0) return SkinBadMagic;
    if (ReadWord(bytes + 4) != kVersion || ReadWord(bytes + 6) != kHeaderSize || ReadLong(bytes + 8) != length ||
        ReadWord(bytes + 12) != SkinColourCount || ReadWord(bytes + 14) != SkinPictureCount)
        return SkinBadHeader;
    return SkinAttached;
}

bool LoadSkin(const unsigned char* image)
{
    FreeSkin();
    const unsigned char* at = image + kHeaderSize;
    for (int i = 0; i < SkinColourCount; ++i, at += 4) colours[i] = RGB(at[0], at[1], at[2]);
    for (int i = 0; i < SkinPictureCount; ++i) {
        pictures[i] = MakeBitmap(at, kPictureSizes[i][0], kPictureSizes[i][1]);
        at += kPictureSizes[i][0] * kPictureSizes[i][1] * 3;
        if (pictures[i] == nullptr) {
            FreeSkin();
            return false;
        }
    }
    backgroundBrush = CreatePatternBrush(pictures[BackgroundPicture]);
    if (backgroundBrush == nullptr) FreeSkin();
    return backgroundBrush != nullptr;
}

void FreeSkin()
{
    for (HBITMAP& picture : pictures) {
        if (picture) DeleteObject(picture);
        picture = nullptr;
    }
    if (backgroundBrush) DeleteObject(backgroundBrush);
    backgroundBrush = nullptr;
}

COLORREF SkinColourOf(SkinColour colour) { return colours[colour]; }

HBITMAP SkinPictureBitmap(SkinPicture picture, int* width, int* height)
{
    *width = kPictureSizes[picture][0];
    *height = kPictureSizes[picture][1];
    return pictures[picture];
}

HBRUSH SkinBackgroundBrush() { return backgroundBrush; }

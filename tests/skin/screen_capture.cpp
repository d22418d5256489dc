#include "screen_capture.h"
#include <cstdio>
#include <cstdlib>
#include "driver/driver.h"
#include "support/test_support.h"

COLORREF Screen::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

namespace {

// A binary PPM ("P6"), as ImageMagick writes it.
bool ReadPpm(const std::string& bytes, Screen* screen)
{
    int width = 0, height = 0, maximum = 0, consumed = 0;
    if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &width, &height, &maximum, &consumed) != 3 ||
        (maximum != 255 && maximum != 65535))
        return false;
    // A 16-bit build of ImageMagick writes two bytes a channel, the high one first.
    size_t channel = maximum == 255 ? 1 : 2;
    size_t start = static_cast<size_t>(consumed) + 1;
    size_t count = static_cast<size_t>(width) * height * 3;
    if (bytes.size() < start + count * channel) return false;
    screen->width = width;
    screen->height = height;
    screen->rgb.resize(count);
    for (size_t i = 0; i < count; ++i) screen->rgb[i] = static_cast<unsigned char>(bytes[start + i * channel]);
    return true;
}

}  // namespace

bool CaptureScreen(const std::string& name, Screen* screen)
{
    std::string folder = BinDir() + "\\skin-shots";
    MakeFolders(folder);
    std::string ppm = folder + "\\" + name + ".ppm";
    if (!SaveScreenshot(folder + "\\" + name + ".png") || !SaveScreenshot(ppm)) return false;
    bool read = ReadPpm(ReadFileBytes(ppm), screen);
    DeleteFileA(ppm.c_str());
    return read;
}

double DifferingShare(const Screen& a, const Screen& b, const RECT& area)
{
    int total = 0, differing = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x, ++total)
            if (a.At(x, y) != b.At(x, y)) ++differing;
    return total ? static_cast<double>(differing) / total : 0.0;
}

int CountNear(const Screen& screen, const RECT& area, COLORREF colour, int tolerance)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            COLORREF at = screen.At(x, y);
            if (std::abs(GetRValue(at) - GetRValue(colour)) <= tolerance &&
                std::abs(GetGValue(at) - GetGValue(colour)) <= tolerance &&
                std::abs(GetBValue(at) - GetBValue(colour)) <= tolerance)
                ++count;
        }
    return count;
}

RECT ScreenRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

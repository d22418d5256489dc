// Screenshots for the skin tests: the whole screen saved as a PNG to look at and read back as
// pixels, so that a test can compare the skinned and the plain look of the same places.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Screen {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    COLORREF At(int x, int y) const;
};

// Saves <build tree>\skin-shots\<name>.png and reads the same picture into *screen.
bool CaptureScreen(const std::string& name, Screen* screen);

// The share (0..1) of pixels in area (screen coordinates) that differ between the two pictures.
double DifferingShare(const Screen& a, const Screen& b, const RECT& area);
// How many pixels in area are near enough to the colour (each channel within tolerance).
int CountNear(const Screen& screen, const RECT& area, COLORREF colour, int tolerance);
// A control's rectangle in screen coordinates.
RECT ScreenRect(HWND window);

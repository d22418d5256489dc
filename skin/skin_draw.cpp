#include "skin/skin_engine.h"

namespace {

const COLORREF kTransparent = RGB(255, 0, 255);

}  // namespace

void DrawPicture(HDC dc, SkinPicture picture, int frame, int frameCount, const RECT& target, int edge)
{
    int width, height;
    HBITMAP bitmap = SkinPictureBitmap(picture, &width, &height);
    int frameWidth = width / frameCount;
    int targetWidth = target.right - target.left, targetHeight = target.bottom - target.top;
    if (bitmap == nullptr || targetWidth <= 0 || targetHeight <= 0) return;
    int edgeX = edge * 2 < targetWidth ? edge : targetWidth / 2;
    int edgeY = edge * 2 < targetHeight ? edge : targetHeight / 2;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    const int sourceX[4] = {0, edgeX, frameWidth - edgeX, frameWidth};
    const int sourceY[4] = {0, edgeY, height - edgeY, height};
    const int targetX[4] = {target.left, target.left + edgeX, target.right - edgeX, target.right};
    const int targetY[4] = {target.top, target.top + edgeY, target.bottom - edgeY, target.bottom};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            int w = targetX[column + 1] - targetX[column], h = targetY[row + 1] - targetY[row];
            int sw = sourceX[column + 1] - sourceX[column], sh = sourceY[row + 1] - sourceY[row];
            if (w > 0 && h > 0 && sw > 0 && sh > 0)
                TransparentBlt(dc, targetX[column], targetY[row], w, h, source, frame * frameWidth + sourceX[column],
                               sourceY[row], sw, sh, kTransparent);
        }
    SelectObject(source, old);
    DeleteDC(source);
}

void FillBackground(HDC dc, const RECT& area, POINT offset)
{
    HBRUSH brush = SkinBackgroundBrush();
    if (brush == nullptr) return;
    int width, height;
    SkinPictureBitmap(BackgroundPicture, &width, &height);
    // The brush origin is in device units; the tile must line up with the window's own tiling.
    POINT origin = {area.left, area.top};
    LPtoDP(dc, &origin, 1);
    int x = ((-(offset.x + area.left) + origin.x) % width + width) % width;
    int y = ((-(offset.y + area.top) + origin.y) % height + height) % height;
    SetBrushOrgEx(dc, x, y, nullptr);
    FillRect(dc, &area, brush);
}

void FillColour(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void OutlineColour(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &area, brush);
    DeleteObject(brush);
}

HFONT FontOf(HWND window)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void PaintBuffered(HWND window, WPARAM wParam, void (*paint)(HWND window, HDC dc, const RECT& client))
{
    PAINTSTRUCT ps;
    HDC target = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right > 0 ? client.right : 1,
                                            client.bottom > 0 ? client.bottom : 1);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    SetBkMode(buffer, TRANSPARENT);
    paint(window, buffer, client);
    BitBlt(target, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    if (!wParam) EndPaint(window, &ps);
}

POINT OffsetInRoot(HWND control)
{
    POINT offset = {0, 0};
    MapWindowPoints(control, GetAncestor(control, GA_ROOT), &offset, 1);
    return offset;
}

COLORREF ParentTextColour(HWND control)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SendMessageA(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

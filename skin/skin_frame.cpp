#include <windowsx.h>
#include "skin/skin_engine.h"

namespace {

const int kButtonWidth = 16, kButtonHeight = 14, kButtonGap = 2;

struct FrameLayout {
    int width, height;
    RECT client;   // in window coordinates
    RECT caption;
    RECT close, minimise;  // empty when the window has no such button
};

FrameLayout LayOut(HWND window)
{
    FrameLayout layout = {};
    RECT outer, inner;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inner);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    layout.width = outer.right - outer.left;
    layout.height = outer.bottom - outer.top;
    layout.client = {origin.x - outer.left, origin.y - outer.top, origin.x - outer.left + inner.right,
                     origin.y - outer.top + inner.bottom};
    int border = layout.height - layout.client.bottom;
    layout.caption = {layout.client.left, border, layout.width - (layout.width - layout.client.right), layout.client.top};
    DWORD style = GetWindowLongA(window, GWL_STYLE);
    int top = (layout.caption.top + layout.caption.bottom - kButtonHeight) / 2;
    int right = layout.caption.right - kButtonGap;
    if (style & WS_SYSMENU) {
        layout.close = {right - kButtonWidth, top, right, top + kButtonHeight};
        right -= kButtonWidth + kButtonGap;
        if (style & WS_MINIMIZEBOX) layout.minimise = {right - kButtonWidth, top, right, top + kButtonHeight};
    }
    return layout;
}

int CaptionButtonAt(HWND window, POINT screen)
{
    RECT outer;
    GetWindowRect(window, &outer);
    POINT at = {screen.x - outer.left, screen.y - outer.top};
    FrameLayout layout = LayOut(window);
    if (PtInRect(&layout.close, at)) return HTCLOSE;
    if (PtInRect(&layout.minimise, at)) return HTMINBUTTON;
    return 0;
}

HICON SmallIcon(HWND window)
{
    HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon;
}

void DrawCaptionButton(HDC dc, const RECT& place, int first, int hit, const SkinnedWindow* skinned)
{
    if (IsRectEmpty(&place)) return;
    int look = skinned->pressedButton == hit ? 2 : skinned->hotButton == hit ? 1 : 0;
    DrawPicture(dc, CaptionButtonsPicture, first + look, CaptionButtonFrames, place, 0);
}

void DrawFrame(SkinnedWindow* skinned, HDC dc, const FrameLayout& layout)
{
    HWND window = skinned->hwnd;
    bool active = skinned->active;
    RECT whole = {0, 0, layout.width, layout.height};
    FillColour(dc, whole, SkinColourOf(active ? FrameInnerActive : FrameInnerInactive));
    OutlineColour(dc, whole, SkinColourOf(active ? FrameOuterActive : FrameOuterInactive));
    DrawPicture(dc, CaptionPicture, active ? 0 : 1, CaptionFrames, layout.caption, 0);

    RECT text = layout.caption;
    text.left += 4;
    if (GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU) {
        if (HICON icon = SmallIcon(window)) {
            int size = GetSystemMetrics(SM_CXSMICON);
            DrawIconEx(dc, text.left, (text.top + text.bottom - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
            text.left += size + 4;
        }
    }
    text.right = (IsRectEmpty(&layout.minimise) ? layout.close.left : layout.minimise.left) - 4;
    if (IsRectEmpty(&layout.close)) text.right = layout.caption.right - 4;

    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinColourOf(active ? CaptionTextActive : CaptionTextInactive));
    DrawTextA(dc, title, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    DeleteObject(font);

    DrawCaptionButton(dc, layout.close, 0, HTCLOSE, skinned);
    DrawCaptionButton(dc, layout.minimise, 3, HTMINBUTTON, skinned);
}

// Our own press of a caption button, so the system never draws its classic one over ours.
void TrackCaptionButton(SkinnedWindow* skinned, int hit)
{
    HWND window = skinned->hwnd;
    skinned->pressedButton = hit;
    PaintFrame(skinned);
    SetCapture(window);
    bool inside = true;
    for (;;) {
        MSG message;
        if (!GetMessageA(&message, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            inside = false;
            break;
        }
        if (message.message == WM_LBUTTONUP) {
            inside = CaptionButtonAt(window, message.pt) == hit;
            break;
        }
        if (message.message == WM_MOUSEMOVE) {
            bool now = CaptionButtonAt(window, message.pt) == hit;
            if (now != inside) {
                inside = now;
                skinned->pressedButton = inside ? hit : 0;
                PaintFrame(skinned);
            }
            continue;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            inside = false;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (GetCapture() != window) {
            inside = false;
            break;
        }
    }
    if (GetCapture() == window) ReleaseCapture();
    if (!IsWindow(window)) return;
    skinned->pressedButton = 0;
    PaintFrame(skinned);
    if (inside) SendMessageA(window, WM_SYSCOMMAND, hit == HTCLOSE ? SC_CLOSE : SC_MINIMIZE, 0);
}

}  // namespace

bool CanSkinFrame(DWORD style, DWORD, bool hasMenu)
{
    // A menu bar, scroll bars or a maximise box would need more than our caption draws.
    return !hasMenu && !(style & (WS_VSCROLL | WS_HSCROLL | WS_MAXIMIZEBOX));
}

void PaintFrame(SkinnedWindow* skinned)
{
    HWND window = skinned->hwnd;
    if (!skinned->skinFrame || IsIconic(window) || !IsWindowVisible(window)) return;
    FrameLayout layout = LayOut(window);
    HDC target = GetWindowDC(window);
    HDC buffer = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, layout.width, layout.height);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    DrawFrame(skinned, buffer, layout);
    ExcludeClipRect(target, layout.client.left, layout.client.top, layout.client.right, layout.client.bottom);
    BitBlt(target, 0, 0, layout.width, layout.height, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    ReleaseDC(window, target);
}

LRESULT FrameMessage(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = skinned->hwnd;
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillBackground(reinterpret_cast<HDC>(wParam), client, POINT{0, 0});
        return 1;
    }
    case WM_COMMAND: {
        LRESULT result = CallOriginal(skinned, message, wParam, lParam);
        // The combo box draws its own text when its list closes; ours follows.
        SkinnedWindow* control = FindSkinned(reinterpret_cast<HWND>(lParam));
        if (control && control->kind == ComboKind) InvalidateRect(control->hwnd, nullptr, FALSE);
        return result;
    }
    }
    if (!skinned->skinFrame || IsIconic(window)) return CallOriginal(skinned, message, wParam, lParam);
    switch (message) {
    case WM_NCPAINT:
        PaintFrame(skinned);
        return 0;
    case WM_NCACTIVATE: {
        skinned->active = wParam != 0;
        LRESULT result = CallOriginal(skinned, message, wParam, lParam);
        PaintFrame(skinned);
        return result;
    }
    case WM_NCHITTEST: {
        LRESULT hit = CallOriginal(skinned, message, wParam, lParam);
        int ours = CaptionButtonAt(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (ours) return ours;
        // The system's own buttons sit elsewhere than ours; there the caption is just a caption.
        if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON) return HTCAPTION;
        return hit;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCLOSE || wParam == HTMINBUTTON) {
            TrackCaptionButton(skinned, static_cast<int>(wParam));
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCLOSE || wParam == HTMINBUTTON) return 0;
        break;
    case WM_NCMOUSEMOVE: {
        int hot = wParam == HTCLOSE || wParam == HTMINBUTTON ? static_cast<int>(wParam) : 0;
        if (hot != skinned->hotButton) {
            skinned->hotButton = hot;
            PaintFrame(skinned);
        }
        TrackMouseLeave(window, true);
        break;
    }
    case WM_NCMOUSELEAVE:
        if (skinned->hotButton) {
            skinned->hotButton = 0;
            PaintFrame(skinned);
        }
        break;
    }
    LRESULT result = CallOriginal(skinned, message, wParam, lParam);
    switch (message) {
    case WM_SETTEXT: case WM_SETICON: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONUP: case WM_SYSCOMMAND: case WM_ACTIVATE: case WM_ENABLE: case WM_SHOWWINDOW:
        if (IsWindow(window)) PaintFrame(skinned);
        break;
    }
    return result;
}

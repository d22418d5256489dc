#include "skin/skin_engine.h"

namespace {

const int kButtonEdge = 4;
const int kCheckSize = 13;

void ParentBackground(HWND control, HDC dc, const RECT& client) { FillBackground(dc, client, OffsetInRoot(control)); }

void TextOf(HWND window, char* text, int size)
{
    text[0] = 0;
    GetWindowTextA(window, text, size);
}

void PaintPushButton(HWND button, HDC dc, const RECT& client)
{
    SkinnedWindow* skinned = FindSkinned(button);
    LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
    ButtonLook look = !IsWindowEnabled(button)      ? ButtonDisabled
                      : (state & BST_PUSHED)        ? ButtonPressed
                      : skinned && skinned->hot     ? ButtonHot
                      : GetFocus() == button        ? ButtonFocused
                                                    : ButtonNormal;
    static const SkinColour kTextColours[] = {ButtonText, ButtonTextHot, ButtonTextPressed, ButtonText,
                                              ButtonTextDisabled};
    ParentBackground(button, dc, client);
    DrawPicture(dc, ButtonPicture, look, ButtonFrames, client, kButtonEdge);
    char text[256];
    TextOf(button, text, sizeof text);
    RECT place = client;
    if (look == ButtonPressed) OffsetRect(&place, 1, 1);
    HGDIOBJ old = SelectObject(dc, FontOf(button));
    SetTextColor(dc, SkinColourOf(kTextColours[look]));
    DWORD style = GetWindowLongA(button, GWL_STYLE);
    UINT format = DT_CENTER | (style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER);
    DrawTextA(dc, text, -1, &place, format);
    SelectObject(dc, old);
}

void PaintCheckBox(HWND box, HDC dc, const RECT& client)
{
    SkinnedWindow* skinned = FindSkinned(box);
    bool enabled = IsWindowEnabled(box) != FALSE;
    bool checked = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    COLORREF colour = ParentTextColour(box);
    ParentBackground(box, dc, client);
    DWORD style = GetWindowLongA(box, GWL_STYLE);
    bool rightBox = (style & BS_LEFTTEXT) != 0;
    int top = (client.bottom - kCheckSize) / 2;
    RECT glyph = {rightBox ? client.right - kCheckSize : 0, top, 0, top + kCheckSize};
    glyph.right = glyph.left + kCheckSize;
    int frame = (checked ? 3 : 0) + (!enabled ? 2 : skinned && skinned->hot ? 1 : 0);
    DrawPicture(dc, CheckPicture, frame, CheckFrames, glyph, 0);

    char text[256];
    TextOf(box, text, sizeof text);
    RECT place = client;
    if (rightBox) place.right = glyph.left - 4;
    else place.left = glyph.right + 4;
    HGDIOBJ old = SelectObject(dc, FontOf(box));
    SetTextColor(dc, enabled ? colour : SkinColourOf(CheckTextDisabled));
    UINT format = style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    DrawTextA(dc, text, -1, &place, format);
    if (GetFocus() == box && text[0]) {
        RECT measured = place;
        DrawTextA(dc, text, -1, &measured, format | DT_CALCRECT);
        int height = measured.bottom - measured.top;
        if (!(style & BS_MULTILINE)) OffsetRect(&measured, 0, (client.bottom - height) / 2 - measured.top);
        InflateRect(&measured, 1, 1);
        IntersectRect(&measured, &measured, &client);
        SetTextColor(dc, SkinColourOf(FocusMark));
        DrawFocusRect(dc, &measured);
    }
    SelectObject(dc, old);
}

void PaintLabel(HWND label, HDC dc, const RECT& client)
{
    COLORREF colour = ParentTextColour(label);
    ParentBackground(label, dc, client);
    char text[1024];
    TextOf(label, text, sizeof text);
    DWORD style = GetWindowLongA(label, GWL_STYLE);
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFT: format |= DT_WORDBREAK; break;
    default: format |= DT_SINGLELINE; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    HGDIOBJ old = SelectObject(dc, FontOf(label));
    SetTextColor(dc, IsWindowEnabled(label) ? colour : SkinColourOf(CheckTextDisabled));
    RECT place = client;
    DrawTextA(dc, text, -1, &place, format);
    SelectObject(dc, old);
}

void PaintCombo(HWND combo, HDC dc, const RECT& client)
{
    SkinnedWindow* skinned = FindSkinned(combo);
    bool enabled = IsWindowEnabled(combo) != FALSE;
    bool dropped = SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    bool focused = GetFocus() == combo;
    FillColour(dc, client, SkinColourOf(ComboFace));
    OutlineColour(dc, client, SkinColourOf(!enabled ? EditBorderDisabled : focused ? ComboBorderFocused : ComboBorder));
    // The system's arrow width, so our arrow covers the part that opens the list.
    RECT arrow = {client.right - 1 - GetSystemMetrics(SM_CXVSCROLL), 1, client.right - 1, client.bottom - 1};
    DrawPicture(dc, ComboArrowPicture, dropped ? 2 : skinned && skinned->hot ? 1 : 0, ComboArrowFrames, arrow, 2);

    RECT place = {2, 2, arrow.left - 1, client.bottom - 2};
    bool marked = focused && !dropped;
    if (marked) FillColour(dc, place, SkinColourOf(ComboSelectedFace));
    LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    char text[512] = {};
    if (selected != CB_ERR && SendMessageA(combo, CB_GETLBTEXTLEN, selected, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
    HGDIOBJ old = SelectObject(dc, FontOf(combo));
    SetTextColor(dc, SkinColourOf(!enabled ? CheckTextDisabled : marked ? ComboSelectedText : ComboText));
    place.left += 2;
    DrawTextA(dc, text, -1, &place, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
}

void PaintEditBorder(HWND edit)
{
    DWORD exStyle = GetWindowLongA(edit, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_CLIENTEDGE) && !(GetWindowLongA(edit, GWL_STYLE) & WS_BORDER)) return;
    HDC dc = GetWindowDC(edit);
    RECT whole;
    GetWindowRect(edit, &whole);
    OffsetRect(&whole, -whole.left, -whole.top);
    SkinColour border = !IsWindowEnabled(edit) ? EditBorderDisabled : GetFocus() == edit ? EditBorderFocused : EditBorder;
    OutlineColour(dc, whole, SkinColourOf(border));
    if (exStyle & WS_EX_CLIENTEDGE) {
        InflateRect(&whole, -1, -1);
        OutlineColour(dc, whole, SkinColourOf(ComboFace));
    }
    ReleaseDC(edit, dc);
}

// Messages after which the control's default procedure has drawn a state of its own.
bool ChangesLook(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_SETFOCUS: case WM_KILLFOCUS:
    case WM_ENABLE: case WM_SETTEXT: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE: case WM_SETFONT: case WM_MOUSEWHEEL:
    case BM_SETSTATE: case BM_SETCHECK: case BM_SETSTYLE: case BM_CLICK:
    case CB_SETCURSEL: case CB_RESETCONTENT: case CB_SHOWDROPDOWN: case CB_SELECTSTRING: case CB_DELETESTRING:
        return true;
    default:
        return false;
    }
}

void (*PainterOf(SkinKind kind))(HWND, HDC, const RECT&)
{
    switch (kind) {
    case PushButtonKind: return PaintPushButton;
    case CheckBoxKind: return PaintCheckBox;
    case LabelKind: return PaintLabel;
    case ComboKind: return PaintCombo;
    default: return nullptr;
    }
}

}  // namespace

LRESULT ControlMessage(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = skinned->hwnd;
    auto paint = PainterOf(skinned->kind);
    switch (message) {
    case WM_PAINT:
        if (!paint) break;
        PaintBuffered(control, wParam, paint);
        return 0;
    case WM_ERASEBKGND:
        if (paint) return 1;
        break;
    case WM_NCPAINT:
        if (skinned->kind != EditKind) break;
        PaintEditBorder(control);
        return 0;
    case WM_MOUSEMOVE:
        if (!skinned->hot && skinned->kind != LabelKind && skinned->kind != EditKind) {
            skinned->hot = true;
            TrackMouseLeave(control, false);
            InvalidateRect(control, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        skinned->hot = false;
        InvalidateRect(control, nullptr, FALSE);
        break;
    }
    LRESULT result = CallOriginal(skinned, message, wParam, lParam);
    if (ChangesLook(message) && IsWindow(control)) {
        // Deferred: the default procedure may still draw directly after it returns.
        if (skinned->kind == EditKind) RedrawWindow(control, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        else if (paint) InvalidateRect(control, nullptr, FALSE);
    }
    return result;
}

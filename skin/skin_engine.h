// Our skin engine: the attached skin image's colours and bitmaps, the painting they are used for,
// and the windows of the GUI thread that the engine has subclassed to paint them.
#pragma once
#include <windows.h>

// SkinH_AttachRes results; anything but SkinAttached means nothing was changed.
enum SkinResult { SkinAttached = 0, SkinBadLength = 1, SkinBadMagic = 2, SkinBadHeader = 3, SkinNoResources = 4,
                  SkinNoHook = 5 };

const unsigned kSkinImageSize = 30738;

// In the order of the image's colour table (tools/make-skin.py).
enum SkinColour {
    CaptionTextActive, CaptionTextInactive, FrameOuterActive, FrameInnerActive, FrameOuterInactive,
    FrameInnerInactive, ButtonText, ButtonTextHot, ButtonTextPressed, ButtonTextDisabled, FocusMark,
    EditBorder, EditBorderFocused, EditBorderDisabled, ComboFace, ComboText, ComboSelectedFace,
    ComboSelectedText, ComboBorder, ComboBorderFocused, CheckTextDisabled, WindowFace, SkinColourCount
};

// In the order of the image's pictures, with their frame counts.
enum SkinPicture { ButtonPicture, CheckPicture, CaptionPicture, CaptionButtonsPicture, ComboArrowPicture,
                   BackgroundPicture, SkinPictureCount };
enum { ButtonFrames = 5, CheckFrames = 6, CaptionFrames = 2, CaptionButtonFrames = 6, ComboArrowFrames = 3 };
enum ButtonLook { ButtonNormal, ButtonHot, ButtonPressed, ButtonFocused, ButtonDisabled };

// skin_image.cpp
SkinResult CheckSkinImage(const void* image, unsigned length);
bool LoadSkin(const unsigned char* image);  // an image CheckSkinImage accepted
void FreeSkin();
COLORREF SkinColourOf(SkinColour colour);
HBITMAP SkinPictureBitmap(SkinPicture picture, int* width, int* height);
HBRUSH SkinBackgroundBrush();

// skin_draw.cpp
// One frame of a picture into target; edge pixels on every side keep their size, the rest stretches.
void DrawPicture(HDC dc, SkinPicture picture, int frame, int frameCount, const RECT& target, int edge);
// The background tile, aligned to the client area of the window at offset (the area's place in it).
void FillBackground(HDC dc, const RECT& area, POINT offset);
void FillColour(HDC dc, const RECT& area, COLORREF colour);
void OutlineColour(HDC dc, const RECT& area, COLORREF colour);
HFONT FontOf(HWND window);
// Paints through an off-screen bitmap, into wParam's DC when the message brings one.
void PaintBuffered(HWND window, WPARAM wParam, void (*paint)(HWND window, HDC dc, const RECT& client));
// The offset of a control's client area in its top-level window's client area.
POINT OffsetInRoot(HWND control);
// The text colour the control's parent asks for through WM_CTLCOLORSTATIC.
COLORREF ParentTextColour(HWND control);

// skin_windows.cpp
enum SkinKind { FrameKind, PushButtonKind, CheckBoxKind, LabelKind, EditKind, ComboKind };
struct SkinnedWindow {
    HWND hwnd;
    WNDPROC original;
    SkinKind kind;
    bool skinFrame;       // FrameKind: the caption and border are ours
    bool hot;             // the mouse is over it
    bool active;          // FrameKind: the caption shows the active look
    int hotButton;        // FrameKind: HTCLOSE, HTMINBUTTON or 0
    int pressedButton;
};
SkinnedWindow* FindSkinned(HWND window);
LRESULT CallOriginal(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam);
void TrackMouseLeave(HWND window, bool nonClient);

// skin_frame.cpp / skin_controls.cpp: each kind's messages
LRESULT FrameMessage(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam);
bool CanSkinFrame(DWORD style, DWORD exStyle, bool hasMenu);
void PaintFrame(SkinnedWindow* skinned);
LRESULT ControlMessage(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam);

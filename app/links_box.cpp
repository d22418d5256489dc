#include "app/links_box.h"
#include <shellapi.h>
#include "sys/sys_files.h"
#include "sys/sys_registry.h"

const char* const kHomePageLink = "https://brinkvale.example/";
const char* const kPersonalPageLink = "https://brinkvale.example/about";

namespace {

const char* const kLinksClass = "BrinkvaleLinks";
const char* const kSeparator = "|";
const char* const kPreferredFace = "宋体";
const char* const kFallbackFace = "Verdana";
const COLORREF kLinkBlue = RGB(0, 0, 255);
const COLORREF kTextBlack = RGB(0, 0, 0);
const int kNoLink = -1;

struct Link {
    const char* label;
    const char* const* target;
    RECT area;
};

Link g_Links[] = {{"访问官网", &kHomePageLink, {}}, {"空间", &kPersonalPageLink, {}}};
const int kLinkCount = 2;
int g_HotLink = kNoLink;
HFONT g_PlainFont = nullptr;
HFONT g_UnderlinedFont = nullptr;

// 9 pt in the preferred family, or the fallback when the system does not have it.
HFONT MakeFont(HDC dc, bool underlined)
{
    int height = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kPreferredFace);
    HGDIOBJ old = SelectObject(dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    if (lstrcmpiA(face, kPreferredFace) == 0 || lstrcmpiA(face, "SimSun") == 0) return font;
    DeleteObject(font);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFallbackFace);
}

int TextWidth(HDC dc, const char* text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size.cx;
}

// The links side by side with the separator between them; each link remembers where it is.
void OnPaint(HWND box)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    RECT client;
    GetClientRect(box, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    int x = 0;
    for (int i = 0; i < kLinkCount; i++) {
        if (i > 0) {
            SelectObject(dc, g_PlainFont);
            SetTextColor(dc, kTextBlack);
            int width = TextWidth(dc, kSeparator);
            TextOutA(dc, x, 1, kSeparator, 1);
            x += width;
        }
        SelectObject(dc, i == g_HotLink ? g_UnderlinedFont : g_PlainFont);
        SetTextColor(dc, kLinkBlue);
        int width = TextWidth(dc, g_Links[i].label);
        TextOutA(dc, x, 1, g_Links[i].label, lstrlenA(g_Links[i].label));
        g_Links[i].area = {x, 0, x + width, client.bottom};
        x += width;
    }
    EndPaint(box, &paint);
}

int LinkAt(LPARAM point)
{
    POINT p = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    for (int i = 0; i < kLinkCount; i++)
        if (PtInRect(&g_Links[i].area, p)) return i;
    return kNoLink;
}

void SetHotLink(HWND box, int link)
{
    if (link == g_HotLink) return;
    g_HotLink = link;
    InvalidateRect(box, nullptr, FALSE);
}

void OnMouseMove(HWND box, LPARAM point)
{
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, box, 0};
    TrackMouseEvent(&track);
    SetHotLink(box, LinkAt(point));
}

bool OnSetCursor(HWND box)
{
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(box, &p);
    if (LinkAt(MAKELPARAM(p.x, p.y)) == kNoLink) return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

void OnCreate(HWND box)
{
    HDC dc = GetDC(box);
    if (!g_PlainFont) g_PlainFont = MakeFont(dc, false);
    if (!g_UnderlinedFont) g_UnderlinedFont = MakeFont(dc, true);
    ReleaseDC(box, dc);
}

LRESULT CALLBACK LinksBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(box); return 0;
    case WM_PAINT: OnPaint(box); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE: OnMouseMove(box, lParam); return 0;
    case WM_MOUSELEAVE: SetHotLink(box, kNoLink); return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(box)) return TRUE;
        break;
    case WM_LBUTTONUP: {
        int link = LinkAt(lParam);
        if (link != kNoLink) OpenLink(*g_Links[link].target);
        return 0;
    }
    }
    return DefWindowProcA(box, message, wParam, lParam);
}

}  // namespace

HWND CreateLinksBox(HWND parent, int id, int left, int top, int width, int height)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA linksClass = {};
    linksClass.lpfnWndProc = LinksBoxProc;
    linksClass.hInstance = instance;
    linksClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    linksClass.lpszClassName = kLinksClass;
    RegisterClassA(&linksClass);
    return CreateWindowExA(0, kLinksClass, "访问官网|空间", WS_CHILD | WS_VISIBLE, left, top, width, height,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

Text BrowserCommandLine(const Text& openCommand, const Text& target)
{
    int cut = FindText(openCommand, "\"%1\"");
    if (cut == -1) cut = FindText(openCommand, "%1");
    Text command = cut == -1 ? openCommand : LeftText(openCommand, cut - 1);
    return JoinTexts(command, " ", target);
}

void OpenLink(const Text& target)
{
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
    if (result > 32) return;
    Text htmClass = ReadRegistryText(ClassesRoot, ".htm\\", "无");
    if (TextEquals(htmClass, "无")) return;
    Text command = ReadRegistryText(ClassesRoot, JoinTexts(htmClass, "\\shell\\open\\command\\"), "无");
    if (TextEquals(command, "无")) return;
    RunProgram(BrowserCommandLine(command, target), false);
}

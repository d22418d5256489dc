#include <cstring>
#include "skin/skin_engine.h"

namespace {

const int kMaxWindows = 512;

HINSTANCE instance;
HHOOK createHook;
DWORD skinnedThread;
SkinnedWindow windows[kMaxWindows];  // fixed places: a nested creation never moves an entry

bool ClassIs(HWND window, const char* name)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, name) == 0;
}

// Message boxes and file dialogs keep the system's look: we never learn their inner controls.
bool InsideDialog(HWND window)
{
    for (HWND at = window; at != nullptr; at = GetParent(at))
        if (ClassIs(at, "#32770")) return true;
    return false;
}

bool KindOf(HWND window, HWND parent, DWORD style, DWORD exStyle, bool hasMenu, SkinKind* kind, bool* skinFrame)
{
    if (InsideDialog(window) || (parent && InsideDialog(parent))) return false;
    if (!(style & WS_CHILD)) {
        if ((style & WS_CAPTION) != WS_CAPTION || (exStyle & WS_EX_TOOLWINDOW)) return false;
        *kind = FrameKind;
        *skinFrame = CanSkinFrame(style, exStyle, hasMenu);
        return true;
    }
    // A control is ours only where the window around it is.
    SkinnedWindow* root = FindSkinned(GetAncestor(parent ? parent : window, GA_ROOT));
    if (root == nullptr || root->kind != FrameKind) return false;
    if (ClassIs(window, "Button")) {
        if (style & (BS_BITMAP | BS_ICON)) return false;
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: *kind = PushButtonKind; return true;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX: *kind = CheckBoxKind; return true;
        default: return false;
        }
    }
    if (ClassIs(window, "Static")) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT: case SS_CENTER: case SS_RIGHT: case SS_LEFTNOWORDWRAP: case SS_SIMPLE:
            *kind = LabelKind;
            return !(style & WS_BORDER) && !(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        default: return false;
        }
    }
    if (ClassIs(window, "Edit")) {
        *kind = EditKind;
        return !(style & (WS_VSCROLL | WS_HSCROLL)) && !ClassIs(parent ? parent : GetParent(window), "ComboBox");
    }
    if (ClassIs(window, "ComboBox")) {
        *kind = ComboKind;
        return (style & 3) == CBS_DROPDOWNLIST;
    }
    return false;
}

LRESULT CALLBACK SkinnedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SkinnedWindow* skinned = FindSkinned(window);
    if (skinned == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = skinned->original;
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        skinned->hwnd = nullptr;
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    return skinned->kind == FrameKind ? FrameMessage(skinned, message, wParam, lParam)
                                      : ControlMessage(skinned, message, wParam, lParam);
}

void Skin(HWND window, HWND parent, DWORD style, DWORD exStyle, bool hasMenu)
{
    SkinKind kind;
    bool skinFrame = false;
    if (FindSkinned(window) || !KindOf(window, parent, style, exStyle, hasMenu, &kind, &skinFrame)) return;
    for (SkinnedWindow& entry : windows) {
        if (entry.hwnd != nullptr) continue;
        entry = SkinnedWindow{window, nullptr, kind, skinFrame, false, GetActiveWindow() == window, 0, 0};
        entry.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SkinnedProc)));
        if (entry.original == nullptr) entry.hwnd = nullptr;
        return;
    }
}

void SkinExisting(HWND window)
{
    Skin(window, GetParent(window), GetWindowLongA(window, GWL_STYLE), GetWindowLongA(window, GWL_EXSTYLE),
         GetMenu(window) != nullptr && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD));
}

BOOL CALLBACK SkinChild(HWND window, LPARAM)
{
    SkinExisting(window);
    return TRUE;
}

BOOL CALLBACK SkinTopLevel(HWND window, LPARAM)
{
    SkinExisting(window);
    if (FindSkinned(window)) {
        EnumChildWindows(window, SkinChild, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        HWND window = reinterpret_cast<HWND>(wParam);
        bool hasMenu = !(create->style & WS_CHILD) && create->hMenu != nullptr;
        Skin(window, create->hwndParent, create->style, create->dwExStyle, hasMenu);
    }
    return CallNextHookEx(createHook, code, wParam, lParam);
}

void Unskin()
{
    for (SkinnedWindow& entry : windows) {
        if (entry.hwnd == nullptr) continue;
        // Give the window back only where nobody subclassed it after us.
        if (GetWindowLongPtrA(entry.hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SkinnedProc)) {
            SetWindowLongPtrA(entry.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
            RedrawWindow(entry.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        entry.hwnd = nullptr;
    }
}

}  // namespace

SkinnedWindow* FindSkinned(HWND window)
{
    if (window == nullptr) return nullptr;
    for (SkinnedWindow& entry : windows)
        if (entry.hwnd == window) return &entry;
    return nullptr;
}

LRESULT CallOriginal(SkinnedWindow* skinned, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(skinned->original, skinned->hwnd, message, wParam, lParam);
}

void TrackMouseLeave(HWND window, bool nonClient)
{
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | (nonClient ? TME_NONCLIENT : 0u), window, 0};
    TrackMouseEvent(&track);
}

extern "C" int __stdcall SkinH_AttachRes(const void* image, unsigned length, const char* /*password*/, int, int, int)
{
    SkinResult checked = CheckSkinImage(image, length);
    if (checked != SkinAttached) return checked;
    if (!LoadSkin(static_cast<const unsigned char*>(image))) return SkinNoResources;
    if (createHook == nullptr) {
        createHook = SetWindowsHookExA(WH_CBT, CreateHookProc, instance, GetCurrentThreadId());
        if (createHook == nullptr) {
            FreeSkin();
            return SkinNoHook;
        }
        skinnedThread = GetCurrentThreadId();
    }
    EnumThreadWindows(skinnedThread, SkinTopLevel, 0);
    return SkinAttached;
}

BOOL WINAPI DllMain(HINSTANCE dll, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        instance = dll;
        DisableThreadLibraryCalls(dll);
    } else if (reason == DLL_PROCESS_DETACH) {
        if (createHook) UnhookWindowsHookEx(createHook);
        createHook = nullptr;
        // Unloaded while the program goes on: its windows must not keep procedures of ours.
        if (reserved == nullptr) {
            Unskin();
            FreeSkin();
        }
    }
    return TRUE;
}

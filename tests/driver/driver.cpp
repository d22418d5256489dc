#include "driver.h"
#include <cstring>
#include <vector>

namespace {

const int kFileNameCombo = 0x47C;  // cmb13: the file-name combo box of the common dialogs
const int kFileNameEdit = 0x480;   // edt1: the plain file-name edit
const int kFileList = 0x460;       // lst1

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->pid || !IsWindowVisible(window)) return TRUE;
    if (search->className && ClassOf(window) != search->className) return TRUE;
    if (search->title && WindowText(window) != search->title) return TRUE;
    search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> ProcessWindows(DWORD pid, const char* className, const char* title)
{
    WindowSearch search{pid, className, title, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM context)
{
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND DescendantWithId(HWND window, int id)
{
    for (HWND child : Descendants(window)) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

bool IsFileDialog(HWND dialog)
{
    return DescendantWithId(dialog, kFileNameCombo) || DescendantWithId(dialog, kFileNameEdit) ||
           (DescendantWithId(dialog, IDOK) && DescendantWithId(dialog, kFileList));
}

std::vector<char> EnvironmentWith(const std::vector<std::string>& extra)
{
    std::vector<std::string> entries;
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += std::strlen(p) + 1) {
        std::string entry = p;
        bool replaced = false;
        for (const std::string& added : extra) {
            std::string name = added.substr(0, added.find('=') + 1);
            if (_strnicmp(entry.c_str(), name.c_str(), name.size()) == 0) replaced = true;
        }
        if (!replaced) entries.push_back(entry);
    }
    FreeEnvironmentStringsA(block);
    entries.insert(entries.end(), extra.begin(), extra.end());
    std::vector<char> environment;
    for (const std::string& entry : entries) environment.insert(environment.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    environment.push_back('\0');
    return environment;
}

template <class Find>
auto Poll(DWORD timeoutMs, Find find) -> decltype(find())
{
    DWORD start = GetTickCount();
    for (;;) {
        auto found = find();
        if (found || GetTickCount() - start >= timeoutMs) return found;
        Sleep(50);
    }
}

}  // namespace

Program StartProgram(const std::string& commandLine, const std::string& directory,
                     const std::vector<std::string>& extraEnvironment)
{
    Program program;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    std::vector<char> environment;
    if (!extraEnvironment.empty()) environment = EnvironmentWith(extraEnvironment);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                        environment.empty() ? nullptr : environment.data(),
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return program;
    CloseHandle(process.hThread);
    program.process = process.hProcess;
    program.pid = process.dwProcessId;
    return program;
}

bool WaitForExit(Program& program, DWORD timeoutMs, DWORD* exitCode)
{
    if (!program.process || WaitForSingleObject(program.process, timeoutMs) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    if (exitCode) *exitCode = code;
    return true;
}

void KillProgram(Program& program)
{
    if (!program.process) return;
    TerminateProcess(program.process, 1);
    WaitForSingleObject(program.process, 5000);
    CloseProgram(program);
}

void CloseProgram(Program& program)
{
    if (program.process) CloseHandle(program.process);
    program.process = nullptr;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title)
{
    std::vector<HWND> windows = ProcessWindows(pid, className, title);
    return windows.empty() ? nullptr : windows.front();
}

HWND WaitForWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs)
{
    return Poll(timeoutMs, [&] { return FindProcessWindow(pid, className, title); });
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT is carried across processes, unlike GetWindowText on another process's control.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return std::string();
    std::vector<char> text(length + 2, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return std::string(text.data());
}

std::vector<ControlInfo> ListControls(HWND window)
{
    std::vector<ControlInfo> controls;
    for (HWND child : Descendants(window)) {
        ControlInfo info;
        info.hwnd = child;
        info.className = ClassOf(child);
        info.id = GetDlgCtrlID(child);
        GetWindowRect(child, &info.rect);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&info.rect), 2);
        info.style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
        info.exStyle = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
        info.text = WindowText(child);
        controls.push_back(info);
    }
    return controls;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WPARAM virtualKey)
{
    UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
}

bool WaitForMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* info)
{
    HWND box = Poll(timeoutMs, [&]() -> HWND {
        for (HWND dialog : ProcessWindows(pid, "#32770", nullptr)) {
            if (!IsFileDialog(dialog)) return dialog;
        }
        return nullptr;
    });
    if (!box) return false;
    if (!info) return true;
    *info = MessageBoxInfo();
    info->hwnd = box;
    info->title = WindowText(box);
    for (const ControlInfo& control : ListControls(box)) {
        if (!(control.style & WS_VISIBLE)) continue;
        if (control.className == "Button") {
            info->buttons.push_back(control.text);
        } else if (control.className == "Static") {
            if ((control.style & SS_TYPEMASK) == SS_ICON) {
                DWORD_PTR icon = 0;
                SendMessageTimeoutA(control.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
                if (icon) info->hasIcon = true;
            } else if (control.id == 0xFFFF || info->text.empty()) {
                info->text = control.text;
            }
        }
    }
    return true;
}

void PressDialogButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button) {
        ClickButton(button);
    } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
}

void CloseDialog(HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }

HWND WaitForFileDialog(DWORD pid, DWORD timeoutMs)
{
    return Poll(timeoutMs, [&]() -> HWND {
        for (HWND dialog : ProcessWindows(pid, "#32770", nullptr)) {
            if (IsFileDialog(dialog)) return dialog;
        }
        return nullptr;
    });
}

bool AnswerFileDialog(DWORD pid, const std::string& path, DWORD timeoutMs)
{
    HWND dialog = WaitForFileDialog(pid, timeoutMs);
    if (!dialog) return false;
    HWND field = nullptr;
    if (HWND combo = DescendantWithId(dialog, kFileNameCombo)) {
        field = FindWindowExA(combo, nullptr, "Edit", nullptr);
        if (!field) field = combo;
    } else {
        field = DescendantWithId(dialog, kFileNameEdit);
    }
    if (!field) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 5000, &ignored);
    // The shell view inside the dialog has children with id 1 too; the dialog's own OK button is its child.
    HWND ok = GetDlgItem(dialog, IDOK);
    if (!ok) ok = DescendantWithId(dialog, IDOK);
    if (ok) {
        ClickButton(ok);
    } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return true;
}

bool CancelFileDialog(DWORD pid, DWORD timeoutMs)
{
    HWND dialog = WaitForFileDialog(pid, timeoutMs);
    if (!dialog) return false;
    HWND cancel = DescendantWithId(dialog, IDCANCEL);
    if (cancel) {
        ClickButton(cancel);
    } else {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return true;
}

bool SaveScreenshot(const std::string& windowsPath)
{
    // Wine tells the Unix path of a Windows one; import runs as a Unix program from a Windows one.
    using UnixNameFunction = char*(CDECL*)(const WCHAR*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto unixName = reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (!unixName) return false;
    int wideLength = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(wideLength);
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), wideLength);
    char* unixPath = unixName(wide.data());
    if (!unixPath) return false;
    std::string command = std::string("/usr/bin/import -window root \"") + unixPath + "\"";
    HeapFree(GetProcessHeap(), 0, unixPath);
    // The Unix path is UTF-8; pass it through the wide call so that no code page is in between.
    int commandLength = MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> commandWide(commandLength);
    MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1, commandWide.data(), commandLength);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandWide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // Wine does not wait for a Unix process to end; the picture is there once import has written it.
    for (int i = 0; i < 200 && GetFileAttributesA(windowsPath.c_str()) == INVALID_FILE_ATTRIBUTES; i++) Sleep(100);
    Sleep(200);
    return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

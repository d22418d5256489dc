#include "sys/sys_messages.h"
#include <windows.h>
#include <cstdio>
#include "sys/sys_exit.h"

const char* const kDefaultMessageTitle = "信息：";

namespace {

const char* const kFatalTitle = "错误";

MessageResult ResultOf(int pressed, MessageButtons buttons)
{
    // Windows answers IDOK however a one-button box is closed; some hosts answer IDCANCEL to Esc.
    if (buttons == OkOnly) return Ok;
    if (pressed >= IDOK && pressed <= IDNO) return static_cast<MessageResult>(pressed - IDOK);
    // A box that could not be shown is not an agreement.
    return buttons == OkCancel ? Cancel : Ok;
}

[[noreturn]] void ShowFatalBoxAndEnd(const char* boxText)
{
    MessageBoxA(nullptr, boxText, kFatalTitle, MB_OK | MB_ICONERROR);
    // The program's own clean-up must not run after a fault it did not expect.
    ClearExitCallback();
    EndProgram(-1);
}

}  // namespace

MessageResult ShowMessage(const Text& text, MessageButtons buttons, const Text& title)
{
    const char* shownTitle = title.empty() ? kDefaultMessageTitle : title.c_str();
    int pressed = MessageBoxA(nullptr, text.c_str(), shownTitle, static_cast<UINT>(buttons) | MB_TASKMODAL);
    return ResultOf(pressed, buttons);
}

Text FatalErrorText(int code)
{
    switch (code) {
    case 1: return "数组成员引用下标超出定义范围";
    case 4: return "数组成员引用下标必须大于等于1";
    case 6: return "调用DLL命令后发现堆栈错误";
    default: return Text();
    }
}

Text FatalErrorBoxText(const Text& message, int code)
{
    Text box = "运行时出错!\r\n\r\n";
    if (code != 0) box += JoinTexts("错误代码：", std::to_string(code), "\r\n\r\n");
    if (!message.empty()) box += JoinTexts("错误信息：", message, "\r\n");
    return box;
}

void FatalRuntimeError(int code) { FatalRuntimeError(FatalErrorText(code), code); }

void FatalRuntimeError(const Text& message, int code)
{
    ShowFatalBoxAndEnd(FatalErrorBoxText(message, code).c_str());
}

void FatalAllocationError(size_t bytes)
{
    // Built in fixed storage: the heap has just refused us.
    static char box[256];
    std::snprintf(box, sizeof box, "运行时出错!\r\n\r\n错误信息：分配 %llu 字节内存失败!\r\n",
                  static_cast<unsigned long long>(bytes));
    ShowFatalBoxAndEnd(box);
}

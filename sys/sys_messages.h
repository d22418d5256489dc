// The task-modal message box with its fixed title, and the fatal run-time error box that ends
// the process with exit code -1 without the program's own exit clean-up.
#pragma once
#include "sys/sys_text.h"

enum MessageButtons { OkOnly = 0, OkCancel = 1 };
enum MessageResult { Ok = 0, Cancel = 1, Abort = 2, Retry = 3, Ignore = 4, Yes = 5, No = 6 };

extern const char* const kDefaultMessageTitle;  // "信息："

MessageResult ShowMessage(const Text& text, MessageButtons buttons = OkOnly,
                          const Text& title = kDefaultMessageTitle);

Text FatalErrorText(int code);                              // the text of a coded error
Text FatalErrorBoxText(const Text& message, int code);      // the whole box text
[[noreturn]] void FatalRuntimeError(int code);
[[noreturn]] void FatalRuntimeError(const Text& message, int code = 0);
[[noreturn]] void FatalAllocationError(size_t bytes);

// Whether QQ runs, and the guard both operations pass first: ask, then end every QQ process.
#pragma once
#include <cstdint>
#include "sys/sys_text.h"

bool IsProcessRunning(const Text& imageName);
uint32_t FindProcessId(const Text& imageName);
void KillProcess(uint32_t processId);
// True when the caller may go on: QQ was not running, or the user agreed and QQ has ended.
bool EndQqIfRunning(const Text& prompt);

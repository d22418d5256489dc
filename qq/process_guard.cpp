#include "qq/process_guard.h"
bool IsProcessRunning(const Text&) { return false; }
uint32_t FindProcessId(const Text&) { return 0; }
void KillProcess(uint32_t) {}
bool EndQqIfRunning(const Text&) { return true; }

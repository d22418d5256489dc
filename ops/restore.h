// The Restore button and the command-line restore: a ".qq" file unpacked over QQ's data folder.
#pragma once
#include "sys/sys_text.h"

void OnRestoreClicked();
void RestoreFromFile(const Text& path);
